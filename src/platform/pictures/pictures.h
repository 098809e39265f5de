// The game's pictures (pieces, empty square, background tiles, title), drawn as vectors with
// QPainter so they stay sharp at any scale, and the Mincho face the window's texts use.
// A QGuiApplication must exist before anything here is called.
#pragma once

#include <QFont>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>
#include <future>
#include <vector>

#include "interfaces/canvas.h"

class QPainter;

namespace kiryuza::pictures {

// Picture codes besides the piece codes (0 is the empty square, 空桝).
using ::kiryuza::絵_タイトル;
using ::kiryuza::背景_宇宙;
using ::kiryuza::背景_煉瓦;
using ::kiryuza::背景_畳;
using ::kiryuza::背景_竹;
using ::kiryuza::背景_緑;

// The board's cell step in natural pixels (570 x 660 twips). Background tiles are 40 x 45 but
// repeat every 38 x 44, so tiles painted at cell corners join without seams in any order.
inline constexpr QSize セル間隔{38, 44};

// True for the codes that have a picture: 0, 1, 2..6 and the 28 piece codes.
bool hasPicture(int 絵コード);

// The picture's natural size in pixels at 96 dpi; an empty size when the code has none.
QSize naturalSize(int 絵コード);

// Paints the picture into `target` (stretched to fill it), antialiased. Codes without a
// picture paint nothing. The painter's state is left as it was.
void paint(QPainter& painter, int 絵コード, const QRectF& target);

// The picture rendered at the given device pixel ratio: naturalSize * ratio device pixels,
// with that ratio set on the image. Cached; a null image for codes without a picture (and
// before the application exists).
// A ratio that is not a positive finite number counts as 1; it is clamped to 0.5..8.
QImage image(int 絵コード, qreal devicePixelRatio);

// A picture drawn at a given pixel size, as a renderer asks for it: ARGB premultiplied, the
// picture stretched over the whole image, no pixel ratio set.
QImage drawn(int 絵コード, QSize pixels);

// Pictures drawn ahead of need on a thread of their own, each at its natural size times
// `ratio`: the program draws the first screen's pictures while it builds its window.
struct DrawnPicture {
    int code;
    QImage image;
};
std::future<std::vector<DrawnPicture>> drawAhead(std::vector<int> codes, qreal ratio);

// The window's text face name, as the program asks for it.
inline constexpr char minchoName[] = "ＭＳ Ｐ明朝";

// Registers the installed Mincho face (IPAex明朝, or another CJK serif) as the substitute for
// minchoName, once; returns the family used (empty when no Japanese face is installed).
QString registerMincho();

// The bold Mincho face at `pointSize` points (a bad size counts as 12; clamped to 1..400).
QFont minchoFont(qreal pointSize);

}  // namespace kiryuza::pictures
