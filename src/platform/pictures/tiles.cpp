// The five background tiles. Each is a pattern repeating every cell step (38 x 44), drawn by
// repeating every element one step away in each direction, so opposite edges always match.
#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QRadialGradient>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "platform/pictures/drawing.h"
#include "platform/pictures/pictures.h"

namespace kiryuza::pictures::detail {

namespace {

constexpr double kPeriodX = セル間隔.width();
constexpr double kPeriodY = セル間隔.height();
const QRectF kTile(0, 0, 40, 45);

// Draws an element (smaller than one step) at its place and at every neighbouring repeat.
void wrapped(QPainter& p, const std::function<void()>& draw) {
    for (int i = -1; i <= 1; ++i)
        for (int j = -1; j <= 1; ++j) {
            const QPointF shift(i * kPeriodX, j * kPeriodY);
            p.save();
            p.translate(shift);
            draw();
            p.restore();
        }
}

// A thin bar from `a` to `b`, filled rather than stroked: fills rasterise the same wherever
// they are moved by whole pixels, so a repeat matches its original.
QPolygonF bar(QPointF a, QPointF b, double width) {
    const QPointF d = b - a;
    const double len = std::max(1e-6, std::hypot(d.x(), d.y()));
    const QPointF n(-d.y() / len * width / 2, d.x() / len * width / 2);
    return QPolygonF({a + n, b + n, b - n, a - n});
}

// A soft round patch of colour fading out at `radius`.
void glow(QPainter& p, QPointF centre, double radius, QColor colour) {
    const QRectF bounds(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    wrapped(p, [&] {
        QRadialGradient g(centre, radius);
        g.setColorAt(0, colour);
        g.setColorAt(1, withAlpha(colour, 0));
        p.setBrush(g);
        p.drawEllipse(bounds);
    });
}

// Baize: deep green with soft mottling and fine fibres.
void drawFelt(QPainter& p) {
    p.fillRect(kTile, QColor(0x1C, 0x60, 0x35));
    Random rnd(0xFE17);
    for (int i = 0; i < 8; ++i) {
        const QPointF c(rnd.range(0, kPeriodX), rnd.range(0, kPeriodY));
        const QColor tone = i % 2 ? QColor(0x2B, 0x7A, 0x45) : QColor(0x13, 0x4C, 0x28);
        glow(p, c, rnd.range(8, 15), withAlpha(tone, 0.45));
    }
    for (int i = 0; i < 520; ++i) {
        const QPointF c(rnd.range(0, kPeriodX), rnd.range(0, kPeriodY));
        const double angle = rnd.range(0, std::numbers::pi), len = rnd.range(0.6, 2.0);
        const QPointF d(std::cos(angle) * len / 2, std::sin(angle) * len / 2);
        const bool light = rnd.below(2) == 0;
        const QColor colour = light ? withAlpha(QColor(0x4C, 0x9C, 0x64), rnd.range(0.2, 0.45))
                                    : withAlpha(QColor(0x0B, 0x3A, 0x1C), rnd.range(0.25, 0.55));
        const QPolygonF fibre = bar(c - d, c + d, rnd.range(0.28, 0.5));
        wrapped(p, [&] {
            p.setBrush(colour);
            p.drawPolygon(fibre);
        });
    }
}

// Tatami: rows of rush strands bound by warp threads at even intervals.
void drawTatami(QPainter& p) {
    p.fillRect(kTile, QColor(0x5E, 0x56, 0x24));
    Random rnd(0x7A7A);
    constexpr int rows = 20, columns = 2;
    constexpr double strand = kPeriodY / rows, span = kPeriodX / columns;
    for (int r = 0; r < rows; ++r) {
        const double y = r * strand;
        const double hue = rnd.range(-1, 1);
        for (int c = 0; c < columns; ++c) {
            const double x = c * span;
            const QRectF rect(x + 0.3, y + 0.2, span - 0.6, strand - 0.4);
            const double shade = hue * 8 + rnd.range(-6, 6);
            auto tone = [&](int r0, int g0, int b0) {
                return QColor(std::clamp(static_cast<int>(r0 + shade), 0, 255),
                              std::clamp(static_cast<int>(g0 + shade), 0, 255),
                              std::clamp(static_cast<int>(b0 + shade * 0.5), 0, 255));
            };
            wrapped(p, [&] {
                QLinearGradient g(0, rect.top(), 0, rect.bottom());
                g.setColorAt(0, tone(0x8A, 0x80, 0x3E));
                g.setColorAt(0.35, tone(0xB4, 0xA8, 0x5C));
                g.setColorAt(1, tone(0x74, 0x6A, 0x30));
                p.setBrush(g);
                p.drawRoundedRect(rect, strand / 2.2, strand / 2.2);
            });
        }
    }
    // The warp threads, drawn over the strands.
    for (int c = 0; c < columns; ++c) {
        const double x = c * span;
        wrapped(p, [&] {
            p.fillRect(QRectF(x - 0.45, 0, 0.9, kPeriodY), QColor(0x4A, 0x43, 0x1B, 200));
        });
    }
}

// Bamboo: two green culms with their nodes, in front of a dark grove.
void drawBamboo(QPainter& p) {
    p.fillRect(kTile, QColor(0x10, 0x22, 0x0E));
    struct Culm {
        double x, width, node;
    };
    constexpr Culm culms[] = {{9.5, 16.0, 13.0}, {28.5, 15.0, 35.0}};
    for (const Culm& culm : culms) {
        const double left = culm.x - culm.width / 2;
        const QRectF body(left, 0, culm.width, kPeriodY);
        auto skin = [&](double darken) {
            QLinearGradient g(left, 0, left + culm.width, 0);
            g.setColorAt(0.0, QColor(0x16, 0x36, 0x12).darker(darken));
            g.setColorAt(0.18, QColor(0x36, 0x6C, 0x28).darker(darken));
            g.setColorAt(0.36, QColor(0x62, 0x98, 0x46).darker(darken));
            g.setColorAt(0.55, QColor(0x44, 0x7C, 0x32).darker(darken));
            g.setColorAt(0.85, QColor(0x25, 0x52, 0x1C).darker(darken));
            g.setColorAt(1.0, QColor(0x12, 0x2C, 0x0F).darker(darken));
            return g;
        };
        wrapped(p, [&] {
            p.setBrush(skin(100));
            p.drawRect(body);
        });
        // Faint fibres along the culm.
        Random rnd(0xB0 + static_cast<std::uint64_t>(culm.x));
        for (int i = 0; i < 5; ++i) {
            const double x = left + rnd.range(0.15, 0.85) * culm.width;
            p.fillRect(QRectF(x, -1, 0.3, kPeriodY + 2), QColor(0x0E, 0x26, 0x0A, 45));
        }
        // The node: a slight swelling with a dark groove and a lit ridge above it.
        const QRectF ring(left - 0.5, culm.node - 1.1, culm.width + 1.0, 2.2);
        wrapped(p, [&] {
            QLinearGradient below(0, culm.node, 0, culm.node + 4);
            below.setColorAt(0, QColor(0x08, 0x18, 0x06, 110));
            below.setColorAt(1, QColor(0x08, 0x18, 0x06, 0));
            p.fillRect(QRectF(left, culm.node, culm.width, 4), below);
            p.setBrush(skin(125));
            p.drawRoundedRect(ring, 1.0, 1.0);
            p.fillRect(QRectF(left - 0.5, culm.node + 0.35, culm.width + 1.0, 0.7),
                       QColor(0x0A, 0x1E, 0x08, 220));
            p.fillRect(QRectF(left + culm.width * 0.12, culm.node - 0.95, culm.width * 0.5, 0.45),
                       QColor(0xB4, 0xD8, 0x8C, 120));
        });
    }
}

// Space: deep navy with a faint nebula and small stars.
void drawSpace(QPainter& p) {
    p.fillRect(kTile, QColor(0x05, 0x08, 0x1C));
    glow(p, QPointF(11, 13), 19, QColor(0x32, 0x20, 0x66, 60));
    glow(p, QPointF(29, 33), 17, QColor(0x14, 0x34, 0x70, 70));
    glow(p, QPointF(27, 7), 10, QColor(0x50, 0x1C, 0x58, 40));
    Random rnd(0x57A6);
    const QColor tints[] = {QColor(255, 255, 255), QColor(0xC8, 0xD8, 0xFF),
                            QColor(0xFF, 0xEC, 0xC0)};
    for (int i = 0; i < 34; ++i) {
        const QPointF c(rnd.range(0, kPeriodX), rnd.range(0, kPeriodY));
        const double r = rnd.range(0.15, 0.45);
        const QColor colour = withAlpha(tints[rnd.below(3)], rnd.range(0.45, 1.0));
        wrapped(p, [&] {
            p.setBrush(colour);
            p.drawEllipse(c, r, r);
        });
    }
    // One brighter star with a soft halo and a faint four-pointed glint.
    const QPointF c(30.5, 15.5);
    glow(p, c, 2.4, QColor(0xD8, 0xE4, 0xFF, 80));
    wrapped(p, [&] {
        p.setBrush(QColor(0xF0, 0xF4, 0xFF, 110));
        p.drawPolygon(bar(c - QPointF(1.8, 0), c + QPointF(1.8, 0), 0.2));
        p.drawPolygon(bar(c - QPointF(0, 1.8), c + QPointF(0, 1.8), 0.2));
        p.setBrush(QColor(0xF4, 0xF8, 0xFF));
        p.drawEllipse(c, 0.5, 0.5);
    });
}

// Brick: red-brown bricks in running bond on dark mortar.
void drawBrick(QPainter& p) {
    p.fillRect(kTile, QColor(0x5C, 0x53, 0x4A));
    Random rnd(0xB41C);
    constexpr int courses = 4;
    constexpr double course = kPeriodY / courses, joint = 1.5;
    const QColor reds[] = {QColor(0x8A, 0x36, 0x22), QColor(0x96, 0x42, 0x28),
                           QColor(0x7A, 0x30, 0x1E), QColor(0x9C, 0x4A, 0x2E)};
    for (int c = 0; c < courses; ++c) {
        const double x = (c % 2) * kPeriodX / 2;
        const QRectF brick(x + joint / 2, c * course + joint / 2, kPeriodX - joint, course - joint);
        const QColor base = reds[(c + rnd.below(2)) % 4];
        struct Speck {
            QPointF at;
            double r;
            QColor colour;
        };
        std::vector<Speck> specks;
        for (int i = 0; i < 26; ++i)
            specks.push_back(
                {QPointF(brick.left() + rnd.range(0.5, brick.width() - 0.5),
                         brick.top() + rnd.range(0.5, brick.height() - 0.5)),
                 rnd.range(0.2, 0.55),
                 rnd.below(2) ? QColor(0x4A, 0x1A, 0x0E, 70) : QColor(0xC0, 0x70, 0x50, 60)});
        wrapped(p, [&] {
            QLinearGradient g(0, brick.top(), 0, brick.bottom());
            g.setColorAt(0, base.lighter(112));
            g.setColorAt(1, base.darker(112));
            p.setBrush(g);
            p.drawRoundedRect(brick, 0.6, 0.6);
            for (const Speck& s : specks) {
                p.setBrush(s.colour);
                p.drawEllipse(s.at, s.r, s.r);
            }
            // Lit top edge, shaded bottom edge.
            p.fillRect(QRectF(brick.left() + 0.5, brick.top(), brick.width() - 1, 0.6),
                       QColor(0xD8, 0x8C, 0x68, 90));
            p.fillRect(QRectF(brick.left() + 0.5, brick.bottom() - 0.7, brick.width() - 1, 0.7),
                       QColor(0x30, 0x10, 0x08, 90));
        });
    }
}

}  // namespace

void drawTile(QPainter& p, int tileCode) {
    p.setPen(Qt::NoPen);
    switch (tileCode) {
        case 背景_緑:
            drawFelt(p);
            break;
        case 背景_畳:
            drawTatami(p);
            break;
        case 背景_竹:
            drawBamboo(p);
            break;
        case 背景_宇宙:
            drawSpace(p);
            break;
        case 背景_煉瓦:
            drawBrick(p);
            break;
        default:
            break;
    }
}

}  // namespace kiryuza::pictures::detail
