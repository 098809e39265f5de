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

    const std::vector<DrawCommand>& commands() const {
        dropHidden();
        return commands_;
    }
    std::size_t size() const { return commands().size(); }
    // The command added last (there must be one).
    const DrawCommand& last() const { return commands_.back(); }
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
    // Marks the command at `index` as hidden, to be dropped.
    void hide(std::size_t index);
    // Drops the hidden commands.
    void dropHidden() const;

    // Both lists are kept in step; the hidden commands wait in them until the commands are
    // next read, so that a run of drawing calls moves the list about once, not every time.
    mutable std::vector<DrawCommand> commands_;
    // The bounds of each command, side by side for the scan of coverWith; a hidden command's
    // are empty, which meets nothing.
    mutable std::vector<QRect> bounds_;
    mutable std::size_t hidden_ = 0;
    int marginTile_ = 0;
};

}  // namespace kiryuza::window
