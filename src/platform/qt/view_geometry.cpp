#include "platform/qt/view_geometry.h"

#include <algorithm>
#include <cmath>

#include "interfaces/canvas.h"

namespace kiryuza::window {

ViewGeometry ViewGeometry::fit(QSizeF logicalSize, double devicePixelRatio) {
    ViewGeometry g;
    const double w = logicalSize.width();
    const double h = logicalSize.height();
    if (!std::isfinite(w) || !std::isfinite(h) || !std::isfinite(devicePixelRatio) || w <= 0 ||
        h <= 0 || devicePixelRatio <= 0 || w > 1e5 || h > 1e5)
        return g;
    g.devicePixelRatio = devicePixelRatio;
    g.devicePixels = QSize(std::max(1, static_cast<int>(std::lround(w * devicePixelRatio))),
                           std::max(1, static_cast<int>(std::lround(h * devicePixelRatio))));
    g.scale = std::min(g.devicePixels.width() / 画面幅, g.devicePixels.height() / 画面高);
    const QRect canvas = g.canvasRect();
    g.origin = QPoint((g.devicePixels.width() - canvas.width()) / 2,
                      (g.devicePixels.height() - canvas.height()) / 2);
    return g;
}

QRect ViewGeometry::canvasRect() const {
    return QRect(origin, QSize(static_cast<int>(std::lround(画面幅 * scale)),
                               static_cast<int>(std::lround(画面高 * scale))));
}

QPointF ViewGeometry::twipsToDevice(QPointF twips) const {
    return QPointF(origin) + twips * scale;
}

QPointF ViewGeometry::deviceToTwips(QPointF device) const {
    if (!isValid()) return {};
    return (device - QPointF(origin)) / scale;
}

QPointF ViewGeometry::twipsToLogical(QPointF twips) const {
    return twipsToDevice(twips) / devicePixelRatio;
}

QPointF ViewGeometry::logicalToTwips(QPointF logical) const {
    return deviceToTwips(logical * devicePixelRatio);
}

QRect ViewGeometry::snap(const QRectF& twips) const {
    const QRectF r = twips.normalized();
    const auto edge = [this](double t, int o) {
        return o + static_cast<int>(std::lround(t * scale));
    };
    const int left = edge(r.left(), origin.x());
    const int top = edge(r.top(), origin.y());
    const int right = edge(r.right(), origin.x());
    const int bottom = edge(r.bottom(), origin.y());
    return QRect(QPoint(left, top), QSize(right - left, bottom - top));
}

QRectF ViewGeometry::twipsToLogical(const QRectF& twips) const {
    const QRect device = snap(twips);
    return QRectF(QPointF(device.topLeft()) / devicePixelRatio,
                  QSizeF(device.size()) / devicePixelRatio);
}

}  // namespace kiryuza::window
