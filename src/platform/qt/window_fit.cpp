#include "platform/qt/window_fit.h"

#include <algorithm>
#include <cmath>

#include "interfaces/canvas.h"

namespace kiryuza::window {

QRect fitInside(QRect wanted, const QRect& area) {
    if (area.isEmpty()) return wanted;
    wanted.setWidth(std::clamp(wanted.width(), 1, area.width()));
    wanted.setHeight(std::clamp(wanted.height(), 1, area.height()));
    const int left = std::clamp(wanted.left(), area.left(), area.right() - wanted.width() + 1);
    const int top = std::clamp(wanted.top(), area.top(), area.bottom() - wanted.height() + 1);
    wanted.moveTo(left, top);
    return wanted;
}

QSize shrinkToFit(QSize wanted, QSize most) {
    if (wanted.width() <= 0 || wanted.height() <= 0) return QSize(1, 1);
    const double by = std::min({1.0, static_cast<double>(most.width()) / wanted.width(),
                                static_cast<double>(most.height()) / wanted.height()});
    return QSize(std::max(1, static_cast<int>(std::floor(wanted.width() * by))),
                 std::max(1, static_cast<int>(std::floor(wanted.height() * by))));
}

int fullHeightWidth(int viewHeight) {
    return static_cast<int>(std::ceil(std::max(0, viewHeight) * 画面幅 / 画面高));
}

namespace {

// What the window holds beside the view and the panel (nothing, as the window is built).
int besides(const PanelRoom& room) {
    return std::max(0, room.windowWidth - room.viewWidth - room.panelWidth);
}

}  // namespace

int dockedPanelWidth(const PanelRoom& room, int windowWidth) {
    const int left = windowWidth - besides(room) - fullHeightWidth(room.viewHeight);
    return std::clamp(left, room.panelMinimum, std::max(room.panelMinimum, room.panelPreferred));
}

PanelPlace panelShown(const PanelRoom& room, bool mayFloat) {
    // The board as large as it is without the panel: as wide as the view and the panel
    // together, and no wider than the view's height lets it be.
    const int full = fullHeightWidth(room.viewHeight);
    const int need = std::min(room.viewWidth + room.panelWidth, full);
    int width = room.windowWidth;
    if (room.mayWiden) {
        // Just wide enough: a board short of its full height leaves the panel its narrowest.
        const int wanted =
            besides(room) + need + (need >= full ? room.panelPreferred : room.panelMinimum);
        width = std::clamp(wanted, room.windowWidth, std::max(room.windowWidth, room.widestWindow));
    }
    // The board gives way once the panel is at its narrowest, by a tenth at most; beyond that
    // the panel floats rather than squeeze the board.
    const int panel = dockedPanelWidth(room, width);
    const int view = width - besides(room) - panel;
    if (mayFloat && view * 10 < need * 9) return {room.windowWidth, 0, true};
    return {width, panel, false};
}

int widthFreedBeyondBoard(const PanelRoom& room) {
    const int boardGains = std::max(0, fullHeightWidth(room.viewHeight) - room.viewWidth);
    return std::max(0, room.panelWidth - boardGains);
}

}  // namespace kiryuza::window
