// Renders every picture into one PNG sheet at 1x, 2x and 3x device pixel ratio, followed by a
// mock of the window (starting position, hands, labels, title) on each background, for
// looking at the pictures as a player sees them.
//   kiryuza-picture-sheet [output.png]              the whole sheet (default pictures.png)
//   kiryuza-picture-sheet --mock BG RATIO out.png   one mock window on background BG (2..6)
//   kiryuza-picture-sheet --picture CODE RATIO out.png   one picture
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/pictures/pictures.h"
#include "rules/position.h"

namespace pic = kiryuza::pictures;

namespace {

// Every code that has a picture, in sheet order.
std::vector<int> sheetCodes() {
    std::vector<int> codes{0, pic::絵_タイトル};
    for (int c = pic::背景_緑; c <= pic::背景_煉瓦; ++c) codes.push_back(c);
    for (int side : {-1, 1})
        for (int k : {10, 11, 20, 21, 30, 31, 100, 101, 110, 800, 801, 900, 901, 950})
            codes.push_back(side * k);
    return codes;
}

// The image drawn one image pixel per sheet pixel.
QImage devicePixels(QImage img) {
    img.setDevicePixelRatio(1);
    return img;
}

// The top-left corner of grid cell (x, y) in natural pixels, relative to `origin`.
QPointF cell(double x, double y, QPointF origin) {
    return QPointF(70 + 38 * x, 7 + 44 * y) - origin;
}

// One line of the window's text: the shadow first, then the text, top-left at the cell.
void printText(QPainter& p, QPointF at, QPointF shadowAt, const QString& text, double points,
               QColor colour) {
    QFont font = pic::minchoFont(points);
    font.setPixelSize(qRound(points * 96 / 72));
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRectF(shadowAt, QSizeF(400, 100)), Qt::AlignLeft | Qt::AlignTop, text);
    p.setPen(colour);
    p.drawText(QRectF(at, QSizeF(400, 100)), Qt::AlignLeft | Qt::AlignTop, text);
}

// A mock of the window's middle part: cells x = -2..15, y = -1..11.
QImage mockWindow(int background, qreal ratio) {
    if (!(ratio >= 0.5 && ratio <= 8)) ratio = 1;
    const QPointF origin = QPointF(70 - 38 * 2, 7 - 44 * 1);
    const QSizeF size(38 * 18, 44 * 13);
    QImage out((size * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    out.setDevicePixelRatio(ratio);
    out.fill(Qt::black);
    QPainter p(&out);
    auto picture = [&](int code, double x, double y) {
        const QPointF at = cell(x, y, origin);
        p.drawImage(at, pic::image(code, ratio));
    };
    auto outline = [&](double x, double y, QColor colour) {
        const QRectF r(cell(x, y, origin), QSizeF(38, 44));
        p.fillRect(QRectF(r.left(), r.top(), 39, 1), colour);
        p.fillRect(QRectF(r.left(), r.bottom(), 39, 1), colour);
        p.fillRect(QRectF(r.left(), r.top(), 1, 45), colour);
        p.fillRect(QRectF(r.right(), r.top(), 1, 45), colour);
    };
    for (int x = -3; x <= 16; ++x)
        for (int y = -2; y <= 12; ++y)
            if (x < 1 || x > 9 || y < 1 || y > 9) picture(background, x, y);

    kiryuza::局面 局;
    kiryuza::初期配置(局);
    static const char* const ranks[] = {"一", "二", "三", "四", "五", "六", "七", "八", "九"};
    for (int i = 1; i <= 9; ++i) {
        const QString file = QString::number(10 - i).prepend(QLatin1Char(' '));
        printText(p, cell(i + 0.1, 0.4, origin), cell(i + 0.2, 0.5, origin), file, 16,
                  QColor(255, 255, 0));
        printText(p, cell(10.1, i + 0.3, origin), cell(10.2, i + 0.4, origin),
                  QString::fromUtf8(ranks[i - 1]), 12, QColor(255, 255, 0));
    }
    // Hands: a few pieces in hand so that the promoted faces and counts can be judged.
    const int manHand[8] = {0, 2, 0, 0, 1, 0, 1, 0};
    const int comHand[8] = {0, 1, 0, 0, 0, 1, 0, 0};
    for (int k = 1; k <= 7; ++k) {
        picture(manHand[k] ? kiryuza::打駒_MAN[k] : 0, 11, k + 2);
        outline(11, k + 2, Qt::black);
        if (manHand[k])
            printText(p, cell(12, k + 2.2, origin), cell(12.1, k + 2.3, origin),
                      QString::number(manHand[k]).prepend(QLatin1Char(' ')), 14, QColor(255, 0, 0));
        const int j = 8 - k;
        picture(comHand[j] ? kiryuza::打駒_COM[j] : 0, -1, k);
        outline(-1, k, Qt::black);
        if (comHand[j])
            printText(p, cell(0, k + 0.2, origin), cell(0.1, k + 0.3, origin),
                      QString::number(comHand[j]).prepend(QLatin1Char(' ')), 14, QColor(255, 0, 0));
    }
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
            picture(局.盤面[x][y], x, y);
            outline(x, y, Qt::black);
        }
    outline(5, 7, QColor(255, 0, 0));
    printText(p, cell(-1.5, 0.1, origin), cell(-1.4, 0.2, origin), QStringLiteral("LEVEL"), 10,
              Qt::white);
    printText(p, cell(0, 0, origin), cell(0.1, 0.1, origin), QStringLiteral(" 3"), 12, Qt::white);
    printText(p, cell(13.2, 3.3, origin), cell(13.3, 3.4, origin), QStringLiteral(" 1"), 12,
              Qt::white);
    printText(p, cell(13.8 + 0.21, 3.1 + 0.24, origin), cell(13.9 + 0.21, 3.2 + 0.24, origin),
              QString::fromUtf8("手目"), 10, Qt::white);
    printText(p, cell(12.4, 2.4, origin), cell(12.5, 2.5, origin), QString::fromUtf8("７"), 12,
              Qt::white);
    printText(p, cell(12.8, 2.4, origin), cell(12.9, 2.5, origin), QString::fromUtf8("六"), 12,
              Qt::white);
    printText(p, cell(13.4, 2.4, origin), cell(13.5, 2.5, origin), QString::fromUtf8("と"), 12,
              Qt::white);
    picture(pic::絵_タイトル, 10.8, 0);
    return out;
}

// The sheet: for each ratio a row of all pictures and a 3x3 tiling of every tile, then the
// mock window on each background at 1x and on green at 2x.
QImage sheet() {
    const std::vector<int> codes = sheetCodes();
    const int margin = 8;
    std::vector<QImage> rows;
    for (qreal ratio : {1.0, 2.0, 3.0}) {
        const int unit = qRound(ratio);
        QImage row(QSize(1760, 420) * unit, QImage::Format_ARGB32_Premultiplied);
        row.fill(QColor(0x40, 0x40, 0x40));
        QPainter p(&row);
        int x = margin, y = margin, rowHeight = 0;
        for (int code : codes) {
            const QImage img = devicePixels(pic::image(code, ratio));
            if (x + img.width() + margin > row.width()) {
                x = margin;
                y += rowHeight + margin;
                rowHeight = 0;
            }
            p.drawImage(x, y, img);
            x += img.width() + margin;
            rowHeight = std::max(rowHeight, img.height());
        }
        y += rowHeight + margin;
        x = margin;
        for (int code = pic::背景_緑; code <= pic::背景_煉瓦; ++code) {
            const QImage img = devicePixels(pic::image(code, ratio));
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j) p.drawImage(x + i * 38 * unit, y + j * 44 * unit, img);
            x += (38 * 3 + 2) * unit + margin;
        }
        y += (44 * 3 + 1) * unit + margin;
        p.end();
        rows.push_back(row.copy(0, 0, row.width(), y));
    }
    std::vector<QImage> mocks;
    for (int code = pic::背景_緑; code <= pic::背景_煉瓦; ++code)
        mocks.push_back(mockWindow(code, 1.0));
    QImage mockRow(mocks.size() * (mocks[0].width() + margin), mocks[0].height(),
                   QImage::Format_ARGB32_Premultiplied);
    mockRow.fill(QColor(0x40, 0x40, 0x40));
    {
        QPainter p(&mockRow);
        for (std::size_t i = 0; i < mocks.size(); ++i)
            p.drawImage(static_cast<int>(i) * (mocks[0].width() + margin), 0, mocks[i]);
    }
    rows.push_back(mockRow);
    rows.push_back(devicePixels(mockWindow(pic::背景_緑, 2.0)));
    int width = 0, height = 0;
    for (const QImage& r : rows) {
        width = std::max(width, r.width());
        height += r.height() + margin;
    }
    QImage out(width, height, QImage::Format_ARGB32_Premultiplied);
    out.fill(QColor(0x40, 0x40, 0x40));
    QPainter p(&out);
    int y = 0;
    for (const QImage& r : rows) {
        p.drawImage(0, y, r);
        y += r.height() + margin;
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == QStringLiteral("--mock")) {
        return devicePixels(mockWindow(args[2].toInt(), args[3].toDouble())).save(args[4])
                   ? EXIT_SUCCESS
                   : EXIT_FAILURE;
    }
    if (args.size() == 5 && args[1] == QStringLiteral("--picture")) {
        const QImage picture = devicePixels(pic::image(args[2].toInt(), args[3].toDouble()));
        return !picture.isNull() && picture.save(args[4]) ? EXIT_SUCCESS : EXIT_FAILURE;
    }
    const QString output = args.size() > 1 ? args[1] : QStringLiteral("pictures.png");
    if (!sheet().save(output)) {
        std::fprintf(stderr, "cannot write %s\n", output.toLocal8Bit().constData());
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
