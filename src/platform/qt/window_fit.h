// How the window and the panel beside its board share the screen. The window never grows
// beyond the screen's available area; when room is short the board keeps its size first and
// the panel yields: narrower, and floated when even its narrowest would squeeze the board.
// Plain arithmetic in logical pixels, so that every case can be tried without a screen.
#pragma once

#include <QRect>
#include <QSize>

namespace kiryuza::window {

// `wanted` made no larger than `area` and moved inside it; unchanged when `area` is empty.
QRect fitInside(QRect wanted, const QRect& area);

// `wanted` made no larger than `most`, keeping its shape (the canvas keeps its proportions and
// shows without margins); never smaller than 1 x 1.
QSize shrinkToFit(QSize wanted, QSize most);

// The width of a view of `viewHeight` in which the canvas shows at that full height: wider
// only adds margins, narrower makes the board smaller.
int fullHeightWidth(int viewHeight);

// The window, its board's view and its docked panel as they are, and what the screen allows.
struct PanelRoom {
    int windowWidth = 0;
    int viewWidth = 0;
    int viewHeight = 0;
    int panelWidth = 0;     // what a docked panel takes from the window; 0 when none
    int widestWindow = 0;   // the screen's available width for the window
    bool mayWiden = false;  // neither maximised nor full screen
    int panelMinimum = 0;   // the narrowest panel that still shows its columns and buttons
    int panelPreferred = 0;
};

struct PanelPlace {
    int windowWidth = 0;  // the window's width from now on
    int panelWidth = 0;   // what the docked panel takes; 0 when it floats
    bool floats = false;
};

// The width a docked panel takes in a window of `windowWidth`: what the board, at the view's
// full height, leaves beside it, within the panel's narrowest and preferred widths. So the
// panel gives way before the board when the window is made smaller, and takes more room only
// once the board has all it can use.
int dockedPanelWidth(const PanelRoom& room, int windowWidth);

// The panel shown beside the board (or found docked as the window was put back): the window
// widens as far as the screen allows, until the board keeps the size it has without the
// panel. Where the screen is too small for that, the panel narrows first; when even its
// narrowest would take more than a tenth of the board's width, it floats and the window keeps
// its width, unless it may not float (it was left docked): it then stays at its narrowest.
PanelPlace panelShown(const PanelRoom& room, bool mayFloat = true);

// What a docked panel frees that the board, at the view's full height, cannot use once the
// panel is hidden: the width a window found with its panel may give back.
int widthFreedBeyondBoard(const PanelRoom& room);

}  // namespace kiryuza::window
