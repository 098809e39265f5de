// Internal drawing routines of the pictures library. Each draws one picture in its natural
// pixel units (top-left at 0,0) onto a painter already scaled to the target.
#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <QString>
#include <cstdint>

class QPainter;

namespace kiryuza::pictures::detail {

// A small seeded generator (splitmix64): the same pictures on every run and every platform.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next();
    // Uniform in [lo, hi).
    double range(double lo, double hi);
    // Uniform integer in [0, n).
    int below(int n);

  private:
    std::uint64_t state_;
};

// `c` with its alpha set to `alpha` (0..1).
QColor withAlpha(QColor c, double alpha);

// The outline of `text` in the bold Mincho face at a pixel size of 100, baseline at y = 0.
// Empty when no application or no face is available.
QPainterPath glyphOutline(const QString& text);

// The empty square (39 x 44): the board's wood.
void drawBoardSurface(QPainter& p);
// A piece picture (39 x 44): the board's wood with the piece standing on it; the piece alone
// when `onSurface` is false, for drawing over a copy of the empty square.
void drawPiece(QPainter& p, int pieceCode, bool onSurface = true);
// A background tile (40 x 45), repeating every cell step.
void drawTile(QPainter& p, int tileCode);
// The title (126 x 39) on a transparent ground.
void drawTitle(QPainter& p);

}  // namespace kiryuza::pictures::detail
