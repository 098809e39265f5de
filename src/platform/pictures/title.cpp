// The title: the product name in gold serif lettering with a dark outline, on transparency.
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>

#include "platform/pictures/drawing.h"

namespace kiryuza::pictures::detail {

namespace {

// An installed serif family for the Latin lettering, the most elegant first.
QString titleFamily() {
    const QStringList families = QFontDatabase::families();
    for (const char* name : {"P052", "C059", "Nimbus Roman", "DejaVu Serif"})
        if (families.contains(QString::fromUtf8(name))) return QString::fromUtf8(name);
    return {};
}

}  // namespace

void drawTitle(QPainter& p) {
    if (!QGuiApplication::instance()) return;
    QFont font;
    const QString family = titleFamily();
    if (!family.isEmpty()) font.setFamily(family);
    font.setStyleHint(QFont::Serif);
    font.setWeight(QFont::Bold);
    font.setItalic(true);
    font.setPixelSize(100);
    font.setHintingPreference(QFont::PreferNoHinting);
    QPainterPath text;
    text.addText(0, 0, font, QStringLiteral("Kiryuza"));
    if (text.isEmpty()) return;

    // Fit the lettering into the picture with room for the outline and glow.
    const QRectF ink = text.boundingRect();
    const QRectF box(5, 4, 116, 29);
    const double scale = std::min(box.width() / ink.width(), box.height() / ink.height());
    QTransform fit;
    fit.translate(box.center().x(), box.center().y());
    fit.scale(scale, scale);
    fit.translate(-ink.center().x(), -ink.center().y());
    const QPainterPath letters = fit.map(text);
    const QRectF area = letters.boundingRect();

    // A soft dark halo, then the outline, then the gold.
    for (int i = 3; i >= 1; --i)
        p.strokePath(letters.translated(0.4, 0.6),
                     QPen(QColor(0x10, 0x08, 0x00, 34), 1.2 + 1.3 * i, Qt::SolidLine, Qt::RoundCap,
                          Qt::RoundJoin));
    p.strokePath(letters,
                 QPen(QColor(0x2E, 0x1A, 0x06), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QLinearGradient gold(0, area.top(), 0, area.bottom());
    gold.setColorAt(0.0, QColor(0xFF, 0xF4, 0xC4));
    gold.setColorAt(0.42, QColor(0xF0, 0xC2, 0x4A));
    gold.setColorAt(0.55, QColor(0xC8, 0x8C, 0x1C));
    gold.setColorAt(1.0, QColor(0xF6, 0xD3, 0x6A));
    p.fillPath(letters, gold);
}

}  // namespace kiryuza::pictures::detail
