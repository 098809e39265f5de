#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <climits>
#include <cmath>
#include <limits>
#include <vector>

#include "pictures/qt_app.h"
#include "platform/pictures/pictures.h"
#include "rules/pieces.h"

namespace kiryuza::pictures {
namespace {

const auto* const gui = ::testing::AddGlobalTestEnvironment(new testing::GuiEnvironment);

// The 14 piece kinds (magnitude of the piece codes) and which of them are promoted faces.
const int kKinds[] = {10, 11, 20, 21, 30, 31, 100, 101, 110, 800, 801, 900, 901, 950};
bool promotedFace(int kind) {
    return kind % 10 == 1;
}

std::vector<int> codesWithPictures() {
    std::vector<int> codes{空桝, 絵_タイトル, 背景_緑, 背景_畳, 背景_竹, 背景_宇宙, 背景_煉瓦};
    for (int k : kKinds) {
        codes.push_back(k);
        codes.push_back(-k);
    }
    return codes;
}

// Pixels (device pixels) of an image, independent of its ratio.
QColor at(const QImage& img, int x, int y) {
    return img.pixelColor(x, y);
}

int opaqueCount(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += at(img, x, y).alpha() == 255;
    return n;
}

// Lettering: black ink is far darker than any wood; red ink is strongly red.
bool blackInk(QColor c) {
    return c.red() + c.green() + c.blue() < 200;
}
bool redInk(QColor c) {
    return c.red() > 150 && c.green() < 90 && c.blue() < 90;
}

int channelDifference(QColor a, QColor b) {
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                     std::abs(a.blue() - b.blue()), std::abs(a.alpha() - b.alpha())});
}

TEST(絵の大きさ, 絵のある符号とない符号) {
    for (int code : codesWithPictures()) EXPECT_TRUE(hasPicture(code)) << code;
    EXPECT_EQ(naturalSize(空桝), QSize(39, 44));
    EXPECT_EQ(naturalSize(絵_タイトル), QSize(126, 39));
    for (int code = 背景_緑; code <= 背景_煉瓦; ++code) EXPECT_EQ(naturalSize(code), QSize(40, 45));
    for (int k : kKinds) {
        EXPECT_EQ(naturalSize(k), QSize(39, 44)) << k;
        EXPECT_EQ(naturalSize(-k), QSize(39, 44)) << k;
    }
    for (int code : {駒_MAN金成, 駒_COM金成, 7, -1, -2, 12, 951, -951, 1000, INT_MIN, INT_MAX}) {
        EXPECT_FALSE(hasPicture(code)) << code;
        EXPECT_TRUE(naturalSize(code).isEmpty()) << code;
        EXPECT_TRUE(image(code, 1).isNull()) << code;
    }
}

TEST(絵の描画, 絵のある符号はその大きさいっぱいに描かれる) {
    for (int code : codesWithPictures()) {
        const QImage img = image(code, 1);
        ASSERT_EQ(img.size(), naturalSize(code)) << code;
        const int pixels = img.width() * img.height();
        if (code == 絵_タイトル) {
            // Lettering on a transparent ground.
            EXPECT_GT(opaqueCount(img), pixels / 10);
            EXPECT_EQ(at(img, 0, 0).alpha(), 0);
            EXPECT_EQ(at(img, img.width() - 1, img.height() - 1).alpha(), 0);
        } else {
            // Squares, pieces and tiles cover their whole rectangle.
            EXPECT_EQ(opaqueCount(img), pixels) << code;
        }
    }
}

TEST(絵の描画, 絵のない符号は何も描かない) {
    for (int code : {駒_MAN金成, 駒_COM金成, 7, 99, -5, 100000}) {
        QImage img(80, 80, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        paint(p, code, QRectF(0, 0, 80, 80));
        p.end();
        EXPECT_EQ(opaqueCount(img), 0) << code;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) ASSERT_EQ(at(img, x, y).alpha(), 0) << code;
    }
}

TEST(絵の描画, 指定した矩形の外には描かない) {
    for (int code : codesWithPictures()) {
        const QSize size = naturalSize(code);
        QImage img(size + QSize(20, 20), QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setPen(Qt::red);  // the painter's state must not leak into the picture or out of it
        paint(p, code, QRectF(QPointF(10, 10), QSizeF(size)));
        EXPECT_EQ(p.pen().color(), QColor(Qt::red));
        p.end();
        int outside = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const bool inside =
                    x >= 10 && y >= 10 && x < 10 + size.width() && y < 10 + size.height();
                if (!inside && at(img, x, y).alpha() > 0) ++outside;
            }
        EXPECT_EQ(outside, 0) << code;
    }
}

// A piece of the upper side is the lower side's piece turned half round about the square's
// middle; the lettering must match pixel for pixel (the light and shadow stay fixed).
TEST(駒の絵, 上手の駒は下手の駒を半回転したもの) {
    for (qreal ratio : {1.0, 2.0}) {
        const int r = static_cast<int>(ratio);
        for (int k : kKinds) {
            const QImage lower = image(-k, ratio), upper = image(k, ratio);
            int ink = 0, mismatched = 0, unturnedMismatch = 0;
            for (int y = r; y < lower.height(); ++y)
                for (int x = 0; x < lower.width(); ++x) {
                    auto inkAt = [](QColor c) { return blackInk(c) || redInk(c); };
                    const bool a = inkAt(at(lower, x, y));
                    const bool turned = inkAt(at(upper, 39 * r - 1 - x, 45 * r - 1 - y));
                    ink += a;
                    mismatched += a != turned;
                    unturnedMismatch += a != inkAt(at(upper, x, y));
                }
            EXPECT_GT(ink, 40 * r * r) << k;
            EXPECT_LE(mismatched, ink / 25 + 2) << k << " at " << ratio;
            EXPECT_GT(unturnedMismatch, ink / 4) << k << " at " << ratio;
        }
    }
}

TEST(駒の絵, 成った面は赤でもとの面は黒) {
    for (int k : kKinds) {
        for (int code : {k, -k}) {
            const QImage img = image(code, 2);
            int red = 0, black = 0;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x) {
                    red += redInk(at(img, x, y));
                    black += blackInk(at(img, x, y));
                }
            if (promotedFace(k)) {
                EXPECT_GT(red, 150) << code;
                EXPECT_LT(black, red / 20) << code;
            } else {
                EXPECT_GT(black, 150) << code;
                EXPECT_EQ(red, 0) << code;
            }
        }
    }
    // Each promoted face differs from its ordinary face.
    for (int k : {10, 20, 30, 100, 800, 900}) EXPECT_NE(image(-k, 1), image(-(k + 1), 1)) << k;
}

TEST(駒の絵, 駒の後ろは空桝と同じ盤面) {
    const QImage empty = image(空桝, 1);
    for (int code : {駒_MAN歩, 駒_COM王, 駒_MAN飛成}) {
        const QImage piece = image(code, 1);
        // The corners of the square are board, not piece.
        for (QPoint c : {QPoint(1, 1), QPoint(37, 1), QPoint(1, 43), QPoint(19, 0)})
            EXPECT_LE(channelDifference(at(piece, c.x(), c.y()), at(empty, c.x(), c.y())), 2)
                << code << " at " << c.x() << "," << c.y();
    }
}

// Mean difference between neighbouring columns (or rows) `a` and `b` of the image.
double meanStep(const QImage& img, int a, int b, bool columns) {
    const int n = columns ? img.height() : img.width();
    double sum = 0;
    for (int i = 0; i < n; ++i)
        sum += columns ? channelDifference(at(img, a, i), at(img, b, i))
                       : channelDifference(at(img, i, a), at(img, i, b));
    return sum / n;
}

// Tiles are painted at every cell corner (38 x 44 apart) in any order, so what a tile shows
// past one step must repeat its start, and its last column and row must flow into its first
// ones as smoothly as its own columns and rows flow into each other.
TEST(背景の絵, 背景は継ぎ目なく並ぶ) {
    for (int code = 背景_緑; code <= 背景_煉瓦; ++code)
        for (qreal ratio : {1.0, 2.0}) {
            const int r = static_cast<int>(ratio);
            const QImage tile = image(code, ratio);
            const int stepX = セル間隔.width() * r, stepY = セル間隔.height() * r;
            int worst = 0;
            for (int y = 0; y < tile.height(); ++y)
                for (int x = stepX; x < tile.width(); ++x)
                    worst = std::max(
                        worst, channelDifference(at(tile, x, y), at(tile, x - stepX, y % stepY)));
            for (int x = 0; x < tile.width(); ++x)
                for (int y = stepY; y < tile.height(); ++y)
                    worst = std::max(
                        worst, channelDifference(at(tile, x, y), at(tile, x % stepX, y - stepY)));
            EXPECT_LE(worst, 4) << code << " at " << ratio;

            // A 2 x 2 wall, painted the way the window paints it: column by column.
            QImage wall(2 * stepX + (tile.width() - stepX), 2 * stepY + (tile.height() - stepY),
                        QImage::Format_ARGB32_Premultiplied);
            wall.fill(Qt::transparent);
            QImage plain = tile;
            plain.setDevicePixelRatio(1);
            QPainter p(&wall);
            for (int i = 0; i < 2; ++i)
                for (int j = 0; j < 2; ++j) p.drawImage(i * stepX, j * stepY, plain);
            p.end();
            double worstInside = 0;
            for (int c = 1; c + 1 < stepX; ++c)
                worstInside = std::max(worstInside, meanStep(wall, c - 1, c, true));
            EXPECT_LE(meanStep(wall, stepX - 1, stepX, true), worstInside + 1) << code;
            worstInside = 0;
            for (int c = 1; c + 1 < stepY; ++c)
                worstInside = std::max(worstInside, meanStep(wall, c - 1, c, false));
            EXPECT_LE(meanStep(wall, stepY - 1, stepY, false), worstInside + 1) << code;
        }
}

TEST(背景の絵, 背景はそれぞれ違う絵) {
    for (int a = 背景_緑; a <= 背景_煉瓦; ++a)
        for (int b = a + 1; b <= 背景_煉瓦; ++b) EXPECT_NE(image(a, 1), image(b, 1)) << a << b;
}

// At a higher ratio the picture is drawn again with more pixels, not enlarged: the same
// picture when averaged back down, but with detail a blown-up small bitmap does not have.
TEST(解像度, 高い解像度では画素の数が増える) {
    for (int code : codesWithPictures()) {
        const QSize size = naturalSize(code);
        const QImage one = image(code, 1), two = image(code, 2), three = image(code, 3);
        EXPECT_EQ(two.size(), size * 2) << code;
        EXPECT_EQ(three.size(), size * 3) << code;
        EXPECT_EQ(two.devicePixelRatio(), 2.0);
        EXPECT_EQ(three.deviceIndependentSize(), QSizeF(size));

        const QImage down = two.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        double difference = 0;
        int blockyPixels = 0;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                difference += channelDifference(at(down, x, y), at(one, x, y));
                const QColor c = at(two, 2 * x, 2 * y);
                blockyPixels += c == at(two, 2 * x + 1, 2 * y) && c == at(two, 2 * x, 2 * y + 1) &&
                                c == at(two, 2 * x + 1, 2 * y + 1);
            }
        EXPECT_LT(difference / (size.width() * size.height()), 14) << code;
        EXPECT_LT(blockyPixels, size.width() * size.height() * 9 / 10) << code;
    }
}

TEST(解像度, 不正な倍率は等倍として扱う) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double ratio : {0.0, -2.0, nan, inf, -inf})
        EXPECT_EQ(image(駒_MAN王, ratio).size(), QSize(39, 44)) << ratio;
    EXPECT_EQ(image(空桝, 1000).size(), QSize(39 * 8, 44 * 8));
    EXPECT_EQ(image(空桝, 1.5).size(), QSize(59, 66));
}

TEST(解像度, 同じ絵は使い回される) {
    EXPECT_EQ(image(背景_竹, 2).cacheKey(), image(背景_竹, 2).cacheKey());
    EXPECT_NE(image(背景_竹, 2).cacheKey(), image(背景_竹, 1).cacheKey());
}

// Pictures drawn ahead on another thread are the very pictures drawn on demand, at the size
// the ratio gives; codes without a picture are left out.
// At 1x one thread draws them all; from 1.5x two threads share them.
TEST(先に描く絵, 別のスレッドで描いても同じ絵) {
    for (const double ratio : {1.0, 1.5}) {
        auto ahead = drawAhead({駒_MAN飛成, 背景_竹, 12345, 空桝, 駒_COM王}, ratio);
        const std::vector<DrawnPicture> pictures = ahead.get();
        ASSERT_EQ(pictures.size(), 4u) << ratio;
        for (const DrawnPicture& p : pictures) {
            const QSize natural = naturalSize(p.code);
            const QSize pixels(qRound(natural.width() * ratio), qRound(natural.height() * ratio));
            EXPECT_EQ(p.image.size(), pixels) << p.code;
            EXPECT_EQ(p.image, drawn(p.code, pixels)) << p.code;
        }
    }
}

// A drawn picture is, pixel for pixel, the picture painted onto a clear image, at any size: a
// piece drawn over a copy of the empty square included.
TEST(先に描く絵, 描いた絵は透明な画像に描いたものと同じ) {
    for (const QSize pixels : {QSize(39, 44), QSize(59, 66), QSize(78, 88), QSize(40, 45)})
        for (int code : codesWithPictures()) {
            const QSize size = code == 絵_タイトル ? naturalSize(code) : pixels;
            QImage painted(size, QImage::Format_ARGB32_Premultiplied);
            painted.fill(Qt::transparent);
            {
                QPainter painter(&painted);
                paint(painter, code, QRectF(QPointF(0, 0), QSizeF(size)));
            }
            ASSERT_EQ(drawn(code, size), painted) << code << " at " << size.width();
        }
}

}  // namespace
}  // namespace kiryuza::pictures
