// The program's icon, a piece of the game with its promoted face, as a list of filled and
// stroked outlines on a 256 x 256 square: drawn once with QPainter for the PNG files and
// written out as SVG, so both show the same drawing.
#pragma once

#include <QColor>
#include <QGradientStops>
#include <QPainterPath>
#include <QPointF>
#include <QString>
#include <vector>

class QPainter;

namespace kiryuza::icon {

inline constexpr double kSize = 256;

// One outline: filled with a colour or a vertical gradient, optionally stroked.
struct Layer {
    QPainterPath path;
    QColor fill;              // when there is no gradient; transparent for none
    QGradientStops gradient;  // top to bottom of `gradientFrom`..`gradientTo`
    QPointF gradientFrom, gradientTo;
    QColor stroke;  // transparent for none
    double strokeWidth = 0;
};

// The icon's layers, back to front. Empty when the Mincho face is missing.
std::vector<Layer> layers();

// Paints the layers onto `painter`, whose coordinates are the 256 x 256 square.
void paint(QPainter& painter, const std::vector<Layer>& layers);

// The layers as an SVG document of the 256 x 256 square.
QString svg(const std::vector<Layer>& layers);

}  // namespace kiryuza::icon
