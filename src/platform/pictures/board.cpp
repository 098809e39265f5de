// The board surface (empty square) and the pieces standing on it.
#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QTransform>
#include <cmath>
#include <numbers>

#include "platform/pictures/drawing.h"

namespace kiryuza::pictures::detail {

namespace {

constexpr double kSquareWidth = 39;
constexpr double kSquareHeight = 44;
constexpr double kTau = 2 * std::numbers::pi;

// What a piece looks like: its face, whether the face is the promoted (red) one, and its size.
struct PieceLook {
    int kind;
    const char* face;
    bool promoted;
    double height;
    double width;
};

constexpr PieceLook kLooks[] = {
    {10, "歩", false, 35.0, 29.5},  {11, "と", true, 35.0, 29.5},   {20, "香", false, 36.0, 30.2},
    {21, "杏", true, 36.0, 30.2},   {30, "桂", false, 36.8, 31.0},  {31, "圭", true, 36.8, 31.0},
    {100, "銀", false, 38.0, 32.2}, {101, "全", true, 38.0, 32.2},  {110, "金", false, 38.0, 32.2},
    {800, "角", false, 39.4, 33.4}, {801, "馬", true, 39.4, 33.4},  {900, "飛", false, 39.4, 33.4},
    {901, "龍", true, 39.4, 33.4},  {950, "王", false, 41.0, 34.6},
};

const PieceLook* lookOf(long long kind) {
    for (const PieceLook& look : kLooks)
        if (look.kind == kind) return &look;
    return nullptr;
}

// The five-sided outline of a piece pointing up, centred on the origin.
QPolygonF pieceOutline(const PieceLook& look) {
    const double top = -look.height / 2, base = look.height / 2;
    const double shoulderY = top + 0.24 * look.height;
    const double shoulderX = 0.5 * look.width * 0.86, baseX = 0.5 * look.width;
    return QPolygonF({QPointF(0, top), QPointF(shoulderX, shoulderY), QPointF(baseX, base),
                      QPointF(-baseX, base), QPointF(-shoulderX, shoulderY)});
}

// The convex polygon `poly` moved inwards by `d` along every edge.
QPolygonF inset(const QPolygonF& poly, double d) {
    const int n = static_cast<int>(poly.size());
    QPolygonF result;
    for (int i = 0; i < n; ++i) {
        const QPointF a = poly[(i + n - 1) % n], b = poly[i], c = poly[(i + 1) % n];
        auto inwardNormal = [](QPointF from, QPointF to) {
            const QPointF e = to - from;
            const double len = std::hypot(e.x(), e.y());
            return QPointF(-e.y() / len, e.x() / len);  // clockwise on screen: left is inside
        };
        const QPointF n1 = inwardNormal(a, b), n2 = inwardNormal(b, c);
        const QPointF bisector = n1 + n2;
        const double cosHalf = (1 + QPointF::dotProduct(n1, n2)) / 2;
        const double scale = d / std::max(0.2, std::sqrt(cosHalf)) /
                             std::max(1e-6, std::hypot(bisector.x(), bisector.y()));
        result << b + bisector * scale;
    }
    return result;
}

// Fine straight grain running along a surface from y0 to y1, wavy with period `period` so that
// it continues across squares stacked vertically.
void drawGrain(QPainter& p, Random& rnd, double x0, double x1, double y0, double y1, double period,
               int lines, double waviness, QColor dark, QColor light) {
    for (int i = 0; i < lines; ++i) {
        const double x = rnd.range(x0, x1);
        const double amp = waviness * rnd.range(0.2, 1.0);
        const int waves = 1 + rnd.below(2);
        const double phase = rnd.range(0, kTau);
        const bool isLight = rnd.below(4) == 0;
        QPainterPath path;
        const int steps = 24;
        for (int s = 0; s <= steps; ++s) {
            const double y = y0 + (y1 - y0) * s / steps;
            const QPointF pt(x + amp * std::sin(kTau * waves * y / period + phase), y);
            if (s == 0)
                path.moveTo(pt);
            else
                path.lineTo(pt);
        }
        QColor c = isLight ? light : dark;
        c = withAlpha(c, c.alphaF() * rnd.range(0.45, 1.0));
        p.strokePath(path, QPen(c, rnd.range(0.25, 0.75), Qt::SolidLine, Qt::FlatCap));
    }
}

// The piece's shadow on the board. The light is fixed above left, whichever way the piece
// points, so both sides' pieces cast their shadow down and to the right.
void drawShadow(QPainter& p, const QPolygonF& outline) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5A, 0x34, 0x0C, 40));
    p.drawPolygon(outline.translated(1.1, 1.3));
    p.setBrush(QColor(0x5A, 0x34, 0x0C, 70));
    p.drawPolygon(outline.translated(0.55, 0.7));
}

// The face in the piece's own coordinates (pointing up, centred on the origin): boxwood,
// a shade lighter at the tip, with fine grain along the piece.
void drawFace(QPainter& p, const PieceLook& look) {
    const QPolygonF outline = pieceOutline(look);
    const double top = -look.height / 2, base = look.height / 2;
    QLinearGradient wood(0, top, 0, base);
    wood.setColorAt(0, QColor(0xFB, 0xEC, 0xC6));
    wood.setColorAt(1, QColor(0xF0, 0xD8, 0xA2));
    p.setBrush(wood);
    p.drawPolygon(outline);
    QPainterPath body;
    body.addPolygon(outline);
    p.save();
    p.setClipPath(body, Qt::IntersectClip);
    Random rnd(0x50C0 + static_cast<std::uint64_t>(look.kind));
    drawGrain(p, rnd, -look.width / 2, look.width / 2, top, base, look.height, 12, 0.5,
              withAlpha(QColor(0xC0, 0x96, 0x58), 0.3), withAlpha(QColor(0xFF, 0xFA, 0xE8), 0.6));
    p.restore();
}

// A narrow bevel along the edge, each side lit by how much it faces the light, and a fine
// dark rim that separates the piece from the board.
void drawBevel(QPainter& p, const QPolygonF& outline) {
    const QPolygonF inner = inset(outline, 1.3);
    const QPointF light(-0.5, -0.866);
    const int n = static_cast<int>(outline.size());
    for (int i = 0; i < n; ++i) {
        const QPointF a = outline[i], b = outline[(i + 1) % n];
        const QPointF e = b - a;
        const QPointF outward = QPointF(e.y(), -e.x()) / std::hypot(e.x(), e.y());
        const double facing = QPointF::dotProduct(outward, light);
        const QColor c = facing > 0 ? QColor(0xFF, 0xFB, 0xEA, static_cast<int>(170 * facing))
                                    : QColor(0x7A, 0x4E, 0x1C, static_cast<int>(-120 * facing));
        const QPointF mid = (a + b) / 2;
        QLinearGradient band(mid, mid - outward * 1.3);
        band.setColorAt(0, c);
        band.setColorAt(1, withAlpha(c, 0));
        p.setBrush(band);
        p.drawPolygon(QPolygonF({a, b, inner[(i + 1) % n], inner[i]}));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(
        QPen(QColor(0x6E, 0x4A, 0x20, 200), 0.55, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPolygon(outline);
    p.setPen(Qt::NoPen);
}

// The character in the piece's own coordinates, in the bold Mincho face: black lacquer for the
// ordinary face, red for the promoted one. It sits in the body below the roof, sized to the
// piece. Glyph outlines come at the regular weight, so a stroke of the same ink makes it bold.
void drawCharacter(QPainter& p, const PieceLook& look) {
    const QPainterPath glyph = glyphOutline(QString::fromUtf8(look.face));
    if (glyph.isEmpty()) return;
    const double scale = 0.66 * look.width / 100;
    p.translate(0, -look.height / 2 + 0.6 * look.height);
    p.scale(scale, scale);
    p.translate(-glyph.boundingRect().center());
    const QColor ink = look.promoted ? QColor(0xC4, 0x16, 0x1C) : QColor(0x1B, 0x15, 0x11);
    p.setBrush(ink);
    p.setPen(QPen(ink, 4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(glyph);
    p.setPen(Qt::NoPen);
}

}  // namespace

// Kaya: warm yellow with soft ring bands and fine straight grain running down the board,
// the same in every square so that the grain continues from square to square.
void drawBoardSurface(QPainter& p) {
    const QRectF square(0, 0, kSquareWidth, kSquareHeight);
    p.fillRect(square, QColor(0xDC, 0xA8, 0x58));
    Random rnd(0x6B6179);  // "kay"
    // Broad soft bands of the annual rings, then the fine grain over them.
    for (int i = 0; i < 5; ++i) {
        const double x = rnd.range(0, kSquareWidth), w = rnd.range(2.0, 6.0);
        const QColor c = rnd.below(2) ? QColor(0xC4, 0x88, 0x3A) : QColor(0xEC, 0xC2, 0x74);
        p.fillRect(QRectF(x - w / 2, 0, w, kSquareHeight), withAlpha(c, rnd.range(0.12, 0.25)));
    }
    drawGrain(p, rnd, -1, kSquareWidth + 1, 0, kSquareHeight, kSquareHeight, 26, 0.35,
              withAlpha(QColor(0x9C, 0x62, 0x22), 0.4), withAlpha(QColor(0xF6, 0xD4, 0x8E), 0.55));
}

void drawPiece(QPainter& p, int pieceCode, bool onSurface) {
    const PieceLook* look = lookOf(pieceCode < 0 ? -static_cast<long long>(pieceCode) : pieceCode);
    if (!look) return;
    if (onSurface) drawBoardSurface(p);
    // Upper-side pieces (positive codes) are the same piece turned half round.
    QTransform place;
    place.translate(kSquareWidth / 2, kSquareHeight / 2 + 0.5);
    if (pieceCode > 0) place.rotate(180);
    const QPolygonF outline = place.map(pieceOutline(*look));
    drawShadow(p, outline);
    p.save();
    p.setTransform(place, true);
    drawFace(p, *look);
    p.restore();
    drawBevel(p, outline);
    p.save();
    p.setTransform(place, true);
    drawCharacter(p, *look);
    p.restore();
}

}  // namespace kiryuza::pictures::detail
