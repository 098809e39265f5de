// The game's drawing as a list of commands in twips, kept so that the picture can be painted
// again at any resolution (a resize, a maximised window, another screen's pixel ratio).
// The list stays small: a command whose every pixel has been painted over by later opaque
// pictures, or by a later outline of the same rectangle, is dropped.
#pragma once

#include <QRect>
#include <QRectF>
#include <QRegion>
#include <QString>
#include <cstddef>
#include <vector>

namespace kiryuza::window {

struct DrawCommand {
    enum class Kind { Picture, Outline, Text, Fill };
    Kind kind = Kind::Picture;
    int code = 0;       // the picture code, or the palette colour of the other kinds
    QRectF rect;        // twips: the picture's or outline's rectangle; the text's top-left
    QString text;       // Text only
    double points = 0;  // Text only: the size in points (1 point = 20 twips)
    QRect bounds;       // whole twips covering every pixel the command may paint
    QRegion uncovered;  // the part of `bounds` not yet painted over by later commands
};

class RetainedCanvas {
  public:
    // Each returns false, adding nothing, when the command would paint nothing (a code
    // without a picture, empty text) or its numbers are unusable (not finite, far outside).
    bool addPicture(int code, double x, double y);
    bool addOutline(int colour, double x, double y, double width, double height);
    bool addText(double x, double y, const QString& text, int colour, double points);
    // Fills the whole canvas, which drops everything drawn inside it before.
    void addFill(int colour);

    const std::vector<DrawCommand>& commands() const { return commands_; }
    std::size_t size() const { return commands_.size(); }
    // The last background tile drawn (0 before any); the view repeats it beyond the canvas.
    int marginTile() const { return marginTile_; }

    // Whether a picture code paints every pixel of its rectangle.
    static bool isOpaque(int code);
    // The text's extent in twips from its top-left point, padded so that bold strokes,
    // antialiasing and pixel-rounded advances stay inside at the usual scales.
    static QRectF textExtent(const QString& text, double points);

  private:
    void append(DrawCommand command);
    // Drops the parts of earlier commands that `cover` paints over.
    void coverWith(const QRect& cover);

    std::vector<DrawCommand> commands_;
    int marginTile_ = 0;
};

}  // namespace kiryuza::window
