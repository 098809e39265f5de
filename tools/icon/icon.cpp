#include "icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <cmath>

#include "platform/pictures/pictures.h"

namespace kiryuza::icon {

namespace {

constexpr double kTop = 14, kBase = 240, kWidth = 196;

// The piece's five-sided outline, pointing up, centred across the square.
QPolygonF outline(double inset) {
    const double height = kBase - kTop;
    const double shoulderY = kTop + 0.24 * height;
    const double cx = kSize / 2;
    return QPolygonF({QPointF(cx, kTop + inset * 1.6),
                      QPointF(cx + 0.43 * kWidth - inset, shoulderY + inset * 0.4),
                      QPointF(cx + 0.5 * kWidth - inset, kBase - inset),
                      QPointF(cx - 0.5 * kWidth + inset, kBase - inset),
                      QPointF(cx - 0.43 * kWidth + inset, shoulderY + inset * 0.4)});
}

QPainterPath pathOf(const QPolygonF& polygon) {
    QPainterPath p;
    p.addPolygon(polygon);
    p.closeSubpath();
    return p;
}

// The character: the promoted rook's face in the bold Mincho face, fitted to the piece's body.
QPainterPath character() {
    QFont font = pictures::minchoFont(12);
    font.setPixelSize(100);
    font.setHintingPreference(QFont::PreferNoHinting);
    QPainterPath glyph;
    glyph.addText(0, 0, font, QStringLiteral("龍"));
    if (glyph.isEmpty()) return {};
    const QRectF ink = glyph.boundingRect();
    const double scale =
        std::min(0.60 * kWidth / ink.width(), 0.56 * (kBase - kTop) / ink.height());
    QTransform fit;
    fit.translate(kSize / 2, kTop + 0.60 * (kBase - kTop));
    fit.scale(scale, scale);
    fit.translate(-ink.center().x(), -ink.center().y());
    QPainterPath placed = fit.map(glyph);
    placed.setFillRule(Qt::WindingFill);
    return placed;
}

QString number(double v) {
    return QString::number(std::round(v * 100) / 100, 'g', 8);
}

QString colour(const QColor& c) {
    return c.name(QColor::HexRgb);
}

// The path as SVG path data.
QString pathData(const QPainterPath& path) {
    QString d;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            d += QStringLiteral("M%1 %2").arg(number(e.x), number(e.y));
        } else if (e.isLineTo()) {
            d += QStringLiteral("L%1 %2").arg(number(e.x), number(e.y));
        } else if (e.isCurveTo()) {
            const QPainterPath::Element c2 = path.elementAt(i + 1), to = path.elementAt(i + 2);
            d += QStringLiteral("C%1 %2 %3 %4 %5 %6")
                     .arg(number(e.x), number(e.y), number(c2.x), number(c2.y), number(to.x),
                          number(to.y));
            i += 2;
        }
    }
    return d + u'Z';
}

}  // namespace

std::vector<Layer> layers() {
    const QPainterPath face = character();
    if (face.isEmpty()) return {};
    std::vector<Layer> all;
    // A soft shadow down and to the right.
    for (const auto& [offset, alpha] : {std::pair{7.0, 40}, std::pair{3.5, 70}}) {
        Layer shadow;
        shadow.path = pathOf(outline(0).translated(offset, offset * 1.2));
        shadow.fill = QColor(0x3A, 0x22, 0x08, alpha);
        all.push_back(shadow);
    }
    // Boxwood, lighter at the tip, with a dark rim.
    Layer wood;
    wood.path = pathOf(outline(0));
    wood.gradient = {{0.0, QColor(0xFC, 0xEE, 0xCB)}, {1.0, QColor(0xE9, 0xCB, 0x8C)}};
    wood.gradientFrom = QPointF(0, kTop);
    wood.gradientTo = QPointF(0, kBase);
    wood.stroke = QColor(0x6E, 0x4A, 0x20);
    wood.strokeWidth = 5;
    all.push_back(wood);
    // A lighter line inside the rim, where the bevel catches the light.
    Layer bevel;
    bevel.path = pathOf(outline(9));
    bevel.fill = Qt::transparent;
    bevel.stroke = QColor(0xFF, 0xF8, 0xE4);
    bevel.strokeWidth = 3;
    all.push_back(bevel);
    // The face in red lacquer, a stroke of the same ink making it bold.
    Layer ink;
    ink.path = face;
    ink.fill = QColor(0xC4, 0x16, 0x1C);
    ink.stroke = ink.fill;
    ink.strokeWidth = 5;
    all.push_back(ink);
    return all;
}

void paint(QPainter& painter, const std::vector<Layer>& layers) {
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Layer& l : layers) {
        if (!l.gradient.isEmpty()) {
            QLinearGradient g(l.gradientFrom, l.gradientTo);
            g.setStops(l.gradient);
            painter.setBrush(g);
        } else {
            painter.setBrush(l.fill);
        }
        if (l.stroke.alpha() > 0 && l.strokeWidth > 0)
            painter.setPen(
                QPen(l.stroke, l.strokeWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        else
            painter.setPen(Qt::NoPen);
        painter.drawPath(l.path);
    }
}

QString svg(const std::vector<Layer>& layers) {
    QString defs, body;
    int gradients = 0;
    for (const Layer& l : layers) {
        QString fill = QStringLiteral("none");
        if (!l.gradient.isEmpty()) {
            const QString id = QStringLiteral("g%1").arg(++gradients);
            defs += QStringLiteral(
                        "<linearGradient id=\"%1\" gradientUnits=\"userSpaceOnUse\" x1=\"%2\" "
                        "y1=\"%3\" x2=\"%4\" y2=\"%5\">")
                        .arg(id, number(l.gradientFrom.x()), number(l.gradientFrom.y()),
                             number(l.gradientTo.x()), number(l.gradientTo.y()));
            for (const auto& [at, c] : l.gradient)
                defs += QStringLiteral("<stop offset=\"%1\" stop-color=\"%2\"/>")
                            .arg(number(at), colour(c));
            defs += QStringLiteral("</linearGradient>");
            fill = QStringLiteral("url(#%1)").arg(id);
        } else if (l.fill.alpha() > 0) {
            fill = colour(l.fill);
            if (l.fill.alpha() < 255)
                fill += QStringLiteral("\" fill-opacity=\"%1").arg(number(l.fill.alphaF()));
        }
        QString attributes = QStringLiteral("fill=\"%1\"").arg(fill);
        if (l.path.fillRule() == Qt::WindingFill)
            attributes += QStringLiteral(" fill-rule=\"nonzero\"");
        else
            attributes += QStringLiteral(" fill-rule=\"evenodd\"");
        if (l.stroke.alpha() > 0 && l.strokeWidth > 0)
            attributes += QStringLiteral(
                              " stroke=\"%1\" stroke-width=\"%2\" stroke-linejoin=\"round\" "
                              "stroke-linecap=\"round\"")
                              .arg(colour(l.stroke), number(l.strokeWidth));
        body += QStringLiteral("<path %1 d=\"%2\"/>\n").arg(attributes, pathData(l.path));
    }
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
               "viewBox=\"0 0 256 256\">\n<defs>%1</defs>\n%2</svg>\n")
        .arg(defs, body);
}

}  // namespace kiryuza::icon
