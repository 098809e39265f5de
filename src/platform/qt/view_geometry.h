// Where the game's logical canvas (画面幅 x 画面高 twips) lands in a view: scaled to fit the view
// keeping its aspect ratio, centred, with its top-left corner on a whole device pixel. All
// drawing happens in device pixels, so the picture stays sharp at any size and pixel ratio.
#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QSizeF>

namespace kiryuza::window {

// Twips per pixel of the natural 96 dpi layout the pictures are drawn for.
inline constexpr double kTwipsPerNaturalPixel = 15;

struct ViewGeometry {
    QSize devicePixels;           // the whole view in device pixels
    double devicePixelRatio = 1;  // device pixels per logical pixel
    double scale = 0;             // device pixels per twip
    QPoint origin;                // the device pixel of twip (0, 0)

    // The geometry of a view of `logicalSize` logical pixels at `devicePixelRatio`. Sizes that
    // are empty, negative or not finite give an invalid geometry.
    static ViewGeometry fit(QSizeF logicalSize, double devicePixelRatio);

    bool isValid() const { return scale > 0; }
    // The canvas in device pixels.
    QRect canvasRect() const;
    // Logical pixels per natural pixel: how much larger than at 96 dpi the canvas is shown.
    double logicalZoom() const { return scale * kTwipsPerNaturalPixel / devicePixelRatio; }

    QPointF twipsToDevice(QPointF twips) const;
    QPointF deviceToTwips(QPointF device) const;
    QPointF twipsToLogical(QPointF twips) const;
    QPointF logicalToTwips(QPointF logical) const;
    // A rectangle in twips with each edge rounded to the nearest device pixel, so that
    // pictures placed edge to edge in twips also meet edge to edge on screen.
    QRect snap(const QRectF& twips) const;
    // The same, in logical pixels (for placing child widgets).
    QRectF twipsToLogical(const QRectF& twips) const;

    bool operator==(const ViewGeometry&) const = default;
};

}  // namespace kiryuza::window
