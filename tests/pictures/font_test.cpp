#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <limits>

#include "platform/pictures/pictures.h"

namespace kiryuza::pictures {
namespace {

// Dark pixels of `text` printed in `font` in black on white.
int inkOf(const QFont& font, const QString& text) {
    QImage img(120, 120, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRectF(0, 0, 120, 120), Qt::AlignCenter, text);
    p.end();
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += qGray(img.pixel(x, y)) < 128;
    return n;
}

TEST(明朝, 要求された名前は入っている明朝体になる) {
    const QString family = registerMincho();
    ASSERT_FALSE(family.isEmpty()) << "no Japanese face installed";
    EXPECT_EQ(registerMincho(), family);
    // The name the program asks for resolves to the registered face.
    EXPECT_EQ(QFontInfo(QFont(QString::fromUtf8(minchoName))).family(), family);
    EXPECT_EQ(QFontInfo(minchoFont(12)).family(), family);
}

TEST(明朝, 太字で王と歩が描ける) {
    for (qreal size : {10.0, 12.0, 16.0, 40.0}) {
        const QFont font = minchoFont(size);
        EXPECT_TRUE(font.bold());
        EXPECT_EQ(font.pointSizeF(), size);
        const QFontMetricsF metrics(font);
        for (const char* text : {"王", "歩"}) {
            const QString s = QString::fromUtf8(text);
            EXPECT_TRUE(metrics.inFont(s.at(0))) << text;
            EXPECT_FALSE(metrics.boundingRect(s).isEmpty()) << text;
            EXPECT_GT(inkOf(font, s), 0) << text << " at " << size;
        }
    }
    // Bold prints heavier strokes than the regular weight.
    QFont regular = minchoFont(40);
    regular.setBold(false);
    EXPECT_GT(inkOf(minchoFont(40), QString::fromUtf8("王")),
              inkOf(regular, QString::fromUtf8("王")));
}

TEST(明朝, 不正な大きさは既定の大きさ) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double size : {0.0, -3.0, nan}) EXPECT_EQ(minchoFont(size).pointSizeF(), 12.0) << size;
    EXPECT_EQ(minchoFont(1e9).pointSizeF(), 400.0);
}

}  // namespace
}  // namespace kiryuza::pictures
