// Paints the retained drawing commands in device pixels for one view geometry, into an image
// or straight into a window: pictures vector-drawn at their snapped device size (and cached at
// that size), outlines as crisp lines one logical pixel wide, text in the bold Mincho face
// scaled with the canvas, greyscale-antialiased on either.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <map>
#include <tuple>

#include "platform/pictures/pictures.h"
#include "platform/qt/retained_canvas.h"
#include "platform/qt/view_geometry.h"

class QPainter;

namespace kiryuza::window {

// The classic 16-colour palette; indices outside 0..15 give black.
QColor paletteColour(int index);

// What fills the view beyond the canvas before any background tile has been drawn.
inline const QColor kMarginColour{0x1c, 0x15, 0x10};

class CanvasRenderer {
  public:
    const ViewGeometry& geometry() const { return geometry_; }
    // Switches to another geometry; cached pictures of another scale are dropped.
    void setGeometry(const ViewGeometry& geometry);

    // A new image of the whole view: the margins, then every command in order.
    QImage render(const RetainedCanvas& canvas);
    // Paints `area` (device pixels) of the whole view as render() would: the margins and every
    // command that may touch it, in order. The painter's user space must be device pixels.
    void paintArea(QPainter& painter, const RetainedCanvas& canvas, const QRect& area);
    // Paints one command onto an image made by render().
    void paint(QPainter& painter, const DrawCommand& command);
    // The device pixels a command may touch.
    QRect deviceBounds(const DrawCommand& command) const;
    // Takes pictures drawn elsewhere into the cache, each for its own pixel size.
    void adopt(std::vector<pictures::DrawnPicture> drawn);

  private:
    void paintMargins(QPainter& painter, int tile);
    void paintPicture(QPainter& painter, int code, const QRect& target);
    const QImage& picture(int code, QSize size);

    ViewGeometry geometry_;
    std::map<std::tuple<int, int, int>, QImage> pictures_;
};

}  // namespace kiryuza::window
