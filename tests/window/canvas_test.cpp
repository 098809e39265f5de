// The board view's geometry and back buffer: where twips land in device pixels at any size
// and pixel ratio, what the retained list keeps, and that the buffer is re-rendered sharply.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPainter>
#include <QTest>
#include <cmath>
#include <limits>

#include "platform/pictures/pictures.h"
#include "platform/qt/board_view.h"
#include "platform/qt/canvas_renderer.h"
#include "platform/qt/retained_canvas.h"
#include "platform/qt/view_geometry.h"
#include "qt_app.h"

namespace kiryuza::window {
namespace {

constexpr int kWhite = 15, kBlack = 0, kRed = 12;

// The corner of board cell (x, y) in twips.
QPointF cell(double x, double y) {
    return {1050 + 570 * x, 100 + 660 * y};
}

QImage render(const RetainedCanvas& canvas, QSize logical, double ratio) {
    CanvasRenderer renderer;
    renderer.setGeometry(ViewGeometry::fit(QSizeF(logical), ratio));
    return renderer.render(canvas);
}

// The picture of `code` drawn on its own into `size` device pixels.
QImage lonePicture(int code, QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    pictures::paint(painter, code, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

TEST(ViewGeometryTest, FitsTheCanvasKeepingItsAspectCentredOnWholePixels) {
    struct Row {
        const char* name;
        QSizeF logical;
        double ratio;
        double scale;  // device pixels per twip
        QPoint origin;
    };
    const Row rows[] = {
        {"natural size", {644, 488}, 1, 1.0 / 15, {0, 0}},
        {"twice as large", {1288, 976}, 1, 2.0 / 15, {0, 0}},
        {"natural size at ratio 2", {644, 488}, 2, 2.0 / 15, {0, 0}},
        {"wider than the canvas", {1000, 488}, 1, 1.0 / 15, {178, 0}},
        {"taller than the canvas", {644, 700}, 1, 1.0 / 15, {0, 106}},
        {"wide at ratio 1.5", {1000, 488}, 1.5, 1.5 / 15, {267, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ViewGeometry g = ViewGeometry::fit(row.logical, row.ratio);
        ASSERT_TRUE(g.isValid());
        EXPECT_NEAR(g.scale, row.scale, 1e-12);
        EXPECT_EQ(g.origin, row.origin);
        EXPECT_EQ(g.devicePixels, (row.logical * row.ratio).toSize());
    }
    for (const QSizeF bad :
         {QSizeF(0, 100), QSizeF(-5, 10), QSizeF(std::numeric_limits<double>::quiet_NaN(), 10)}) {
        const ViewGeometry g = ViewGeometry::fit(bad, 1);
        EXPECT_FALSE(g.isValid());
        EXPECT_EQ(g.deviceToTwips(QPointF(10, 10)), QPointF());
    }
}

TEST(ViewGeometryTest, TwipsAndPixelsRoundTripIncludingTheLetterbox) {
    const QPointF points[] = {{0, 0}, cell(5, 7) + QPointF(285, 330), {9659, 7319}, {-500, 8000}};
    for (const QSizeF logical : {QSizeF(644, 488), QSizeF(1000, 488), QSizeF(700, 900),
                                 QSizeF(1920, 1050), QSizeF(333, 251)})
        for (const double ratio : {1.0, 1.25, 2.0}) {
            const ViewGeometry g = ViewGeometry::fit(logical, ratio);
            for (const QPointF& twips : points) {
                const QPointF back = g.logicalToTwips(g.twipsToLogical(twips));
                EXPECT_NEAR(back.x(), twips.x(), 1e-6);
                EXPECT_NEAR(back.y(), twips.y(), 1e-6);
            }
            // The canvas's corners sit at the letterbox edges.
            const QRect canvas = g.canvasRect();
            EXPECT_EQ(g.twipsToDevice({0, 0}), QPointF(canvas.topLeft()));
            EXPECT_LE(std::abs(canvas.right() + 1 - g.twipsToDevice({9660, 7320}).x()), 0.5);
        }
}

TEST(ViewGeometryTest, PicturesPlacedEdgeToEdgeInTwipsMeetOnScreen) {
    for (const double ratio : {1.0, 1.25, 1.5, 2.0})
        for (const QSizeF logical : {QSizeF(644, 488), QSizeF(911, 700), QSizeF(1777, 1001)}) {
            const ViewGeometry g = ViewGeometry::fit(logical, ratio);
            for (int x = -1; x <= 12; ++x) {
                const QRect left = g.snap(QRectF(cell(x, 3), QSizeF(570, 660)));
                const QRect right = g.snap(QRectF(cell(x + 1, 3), QSizeF(570, 660)));
                EXPECT_EQ(left.left() + left.width(), right.left());
            }
        }
}

TEST(CanvasRendererTest, APictureLandsOnItsDevicePixelsAtOneAndTwoTimes) {
    RetainedCanvas canvas;
    canvas.addFill(kBlack);
    const int king = -950;
    ASSERT_TRUE(canvas.addPicture(king, cell(5, 9).x(), cell(5, 9).y()));
    for (const double ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        const QImage image = render(canvas, {644, 488}, ratio);
        ASSERT_EQ(image.size(), QSize(644, 488) * ratio);
        // Cell (5, 9) starts at 3900, 6040 twips: 260, 402.67 pixels at 96 dpi.
        const QPoint corner(qRound(260 * ratio), qRound(6040 / 15.0 * ratio));
        const QSize size(qRound(39 * ratio), qRound(44 * ratio));
        const QImage expected = lonePicture(king, size).convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(image.copy(QRect(corner, size)), expected);
        EXPECT_EQ(image.pixelColor(corner - QPoint(1, 1)), QColor(Qt::black));
        EXPECT_EQ(image.pixelColor(corner + QPoint(size.width(), size.height())),
                  QColor(Qt::black));
    }
}

TEST(CanvasRendererTest, OutlinesStayOneLogicalPixelAndTextScalesWithTheCanvas) {
    RetainedCanvas canvas;
    canvas.addFill(kBlack);
    canvas.addOutline(kRed, 1620, 760, 570, 660);
    canvas.addText(3000, 3000, QStringLiteral("思考中"), kWhite, 12);
    const auto inkHeight = [](const QImage& image) {
        int top = image.height(), bottom = -1;
        for (int y = 2900 * image.height() / 7320; y < image.height(); ++y)
            for (int x = 3000 * image.width() / 9660; x < image.width(); ++x)
                if (image.pixelColor(x, y).lightness() > 128) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
        return bottom - top + 1;
    };
    int heightAt1 = 0;
    for (const auto& [logical, ratio] :
         {std::pair{QSize(644, 488), 1.0}, {QSize(644, 488), 2.0}, {QSize(1288, 976), 1.0}}) {
        const QImage image = render(canvas, logical, ratio);
        const ViewGeometry g = ViewGeometry::fit(QSizeF(logical), ratio);
        const QRect box = g.snap(QRectF(1620, 760, 570, 660));
        const int line = static_cast<int>(ratio);
        const int midY = box.center().y();
        // The left edge is `line` device pixels of pure red with black on either side.
        EXPECT_EQ(image.pixelColor(box.left() - 1, midY), QColor(Qt::black));
        for (int i = 0; i < line; ++i)
            EXPECT_EQ(image.pixelColor(box.left() + i, midY), QColor(255, 0, 0));
        EXPECT_EQ(image.pixelColor(box.left() + line, midY), QColor(Qt::black));
        // The far edge lies just past the rectangle.
        EXPECT_EQ(image.pixelColor(box.left() + box.width(), midY), QColor(255, 0, 0));
        const int height = inkHeight(image);
        if (heightAt1 == 0) {
            heightAt1 = height;
            EXPECT_GT(height, 8);
            EXPECT_LT(height, 20);  // 12 points are 16 pixels at 96 dpi, including leading
        } else {
            EXPECT_NEAR(height, 2 * heightAt1, 3);
        }
    }
}

TEST(CanvasRendererTest, MarginsRepeatTheLastBackgroundTileOrStayDark) {
    RetainedCanvas canvas;
    canvas.addFill(kBlack);
    const QImage dark = render(canvas, {1000, 488}, 1);
    EXPECT_EQ(dark.pixelColor(10, 200), kMarginColour);
    EXPECT_EQ(dark.pixelColor(500, 200), QColor(Qt::black));

    for (int x = -3; x <= 12; ++x)
        for (int y = -2; y <= 11; ++y)
            canvas.addPicture(pictures::背景_煉瓦, cell(x, y).x(), cell(x, y).y());
    const QImage tiled = render(canvas, {1400, 488}, 1);
    // Far left, beyond every tile drawn, the margin repeats the brick tile on the grid.
    const ViewGeometry g = ViewGeometry::fit(QSizeF(1400, 488), 1);
    const QRect farTile = g.snap(QRectF(cell(-8, 4), QSizeF(600, 675)));
    ASSERT_GT(farTile.left(), 0);
    const QRect nearTile = g.snap(QRectF(cell(0, 4), QSizeF(600, 675)));
    const QSize inner(30, 30);
    EXPECT_EQ(tiled.copy(QRect(farTile.topLeft() + QPoint(4, 4), inner)),
              tiled.copy(QRect(nearTile.topLeft() + QPoint(4, 4), inner)));
}

TEST(RetainedCanvasTest, DropsWhatLaterPaintingCoversAndKeepsTheRest) {
    const auto kinds = [](const RetainedCanvas& c) {
        std::string s;
        for (const DrawCommand& d : c.commands())
            s += d.kind == DrawCommand::Kind::Picture   ? 'P'
                 : d.kind == DrawCommand::Kind::Outline ? 'O'
                 : d.kind == DrawCommand::Kind::Text    ? 'T'
                                                        : 'F';
        return s;
    };
    const QPointF a = cell(3, 3);
    {
        SCOPED_TRACE("a piece under a square, a square under a tile");
        RetainedCanvas c;
        c.addPicture(-10, a.x(), a.y());
        c.addPicture(0, a.x(), a.y());
        EXPECT_EQ(kinds(c), "P");
        EXPECT_EQ(c.commands().front().code, 0);
        c.addPicture(pictures::背景_緑, a.x(), a.y());
        EXPECT_EQ(kinds(c), "P");
        EXPECT_EQ(c.marginTile(), pictures::背景_緑);
    }
    {
        SCOPED_TRACE("the title is not opaque");
        RetainedCanvas c;
        c.addPicture(0, a.x(), a.y());
        c.addPicture(pictures::絵_タイトル, a.x() - 100, a.y() - 100);
        EXPECT_EQ(kinds(c), "PP");
    }
    {
        SCOPED_TRACE("a text goes once the tiles under it are all painted again");
        RetainedCanvas c;
        // Wide enough to reach the third tile.
        c.addText(cell(13, 9.2).x(), cell(13, 9.2).y(), QStringLiteral("00:00:01:15"), kWhite, 12);
        c.addPicture(pictures::背景_緑, cell(13, 9).x(), cell(13, 9).y());
        c.addPicture(pictures::背景_緑, cell(14, 9).x(), cell(14, 9).y());
        EXPECT_EQ(kinds(c), "TPP");
        c.addPicture(pictures::背景_緑, cell(15, 9).x(), cell(15, 9).y());
        EXPECT_EQ(kinds(c), "PPP");
    }
    {
        SCOPED_TRACE("an outline of the same square replaces the earlier one");
        RetainedCanvas c;
        c.addOutline(kRed, a.x(), a.y(), 570, 660);
        c.addOutline(kBlack, a.x(), a.y(), 570, 660);
        c.addOutline(kBlack, a.x(), a.y(), 570, 661);
        EXPECT_EQ(kinds(c), "OO");
        EXPECT_EQ(c.commands().front().code, kBlack);
    }
    {
        SCOPED_TRACE("a fill clears the canvas but not what reaches beyond it");
        RetainedCanvas c;
        c.addPicture(-10, a.x(), a.y());
        c.addPicture(pictures::背景_緑, cell(16, 3).x(), cell(16, 3).y());
        c.addFill(kBlack);
        EXPECT_EQ(kinds(c), "PF");
    }
}

TEST(RetainedCanvasTest, StaysBoundedOverAWholeGameOfRedrawing) {
    // The game's drawing pattern: full redraws (background, board with outlines, clocks),
    // moves repainting two squares and re-outlining the board, a clock ticking every second.
    RetainedCanvas c;
    const auto fullRedraw = [&] {
        for (int x = -3; x <= 28; ++x)
            for (int y = -2; y <= 17; ++y)
                if (x < 1 || x > 9 || y < 1 || y > 9)
                    c.addPicture(2, cell(x, y).x(), cell(x, y).y());
        for (int x = 1; x <= 9; ++x)
            for (int y = 1; y <= 9; ++y) {
                c.addPicture((x + y) % 3 == 0 ? -11 : 0, cell(x, y).x(), cell(x, y).y());
                c.addOutline(kBlack, cell(x, y).x(), cell(x, y).y(), 570, 660);
            }
        c.addPicture(pictures::絵_タイトル, cell(10.8, 0).x(), cell(10.8, 0).y());
    };
    const auto tick = [&](int second) {
        for (int x = 13; x <= 15; ++x) c.addPicture(2, cell(x, 9).x(), cell(x, 9).y());
        const QString text = QStringLiteral("00:%1:%2")
                                 .arg(second / 60, 2, 10, QChar('0'))
                                 .arg(second % 60, 2, 10, QChar('0'));
        c.addText(cell(13.1, 9.3).x(), cell(13.1, 9.3).y(), text, kBlack, 12);
        c.addText(cell(13, 9.2).x(), cell(13, 9.2).y(), text, kWhite, 12);
    };
    c.addFill(kBlack);
    fullRedraw();
    const std::size_t afterRedraw = c.size();
    for (int move = 0; move < 300; ++move) {
        const int x = 1 + move % 9, y = 1 + (move / 9) % 9;
        c.addPicture(0, cell(x, y).x(), cell(x, y).y());
        c.addPicture(-11, cell(x, 9 - y + 1).x(), cell(x, 9 - y + 1).y());
        for (int bx = 1; bx <= 9; ++bx)
            for (int by = 1; by <= 9; ++by)
                c.addOutline(move % 2 ? kBlack : kRed, cell(bx, by).x(), cell(bx, by).y(), 570,
                             660);
        tick(move);
        if (move % 50 == 0) fullRedraw();
    }
    EXPECT_LT(c.size(), afterRedraw + 20);
}

TEST(RetainedCanvasTest, RefusesUnusableInput) {
    RetainedCanvas c;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(c.addPicture(111, 0, 0));
    EXPECT_FALSE(c.addPicture(-111, 0, 0));
    EXPECT_FALSE(c.addPicture(0, nan, 0));
    EXPECT_FALSE(c.addPicture(0, 1e300, 0));
    EXPECT_FALSE(c.addOutline(kRed, 0, 0, inf, 10));
    EXPECT_FALSE(c.addText(0, 0, QString(), kWhite, 12));
    EXPECT_FALSE(c.addText(0, 0, QStringLiteral("x"), kWhite, nan));
    EXPECT_FALSE(c.addText(0, 0, QStringLiteral("x"), kWhite, -3));
    EXPECT_EQ(c.size(), 0u);
    // Odd colours and huge sizes still draw, in black and clamped.
    EXPECT_TRUE(c.addOutline(99, 100, 100, -50, -50));
    EXPECT_TRUE(c.addText(0, 0, QStringLiteral("x"), -4, 1e9));
    EXPECT_EQ(paletteColour(99), QColor(Qt::black));
    EXPECT_FALSE(render(c, {644, 488}, 1).isNull());
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
  public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++count;
        return false;
    }
};

class BoardViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        view.resize(644, 488);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    BoardView view;
};

TEST_F(BoardViewTest, UpdateShowsTheNewPictureBeforeReturning) {
    PaintCounter counter;
    view.installEventFilter(&counter);
    view.背景色(kBlack);
    view.絵(-950, 4200, 6040);
    const int before = counter.count;
    view.更新();  // no event processing in between: the paint must happen inside
    EXPECT_GT(counter.count, before);
    EXPECT_EQ(view.grab().toImage().pixelColor(280 + 19, 403 + 40),
              view.backBuffer().pixelColor(280 + 19, 403 + 40));
    view.removeEventFilter(&counter);
}

TEST_F(BoardViewTest, ResizingRendersTheListAgainAtTheNewResolution) {
    view.背景色(kBlack);
    view.枠(kRed, 1620, 760, 570, 660);
    view.絵(-110, 4200, 6040);
    view.更新();
    EXPECT_EQ(view.backBuffer().size(), QSize(644, 488));
    view.resize(1288, 976);
    QCoreApplication::processEvents();
    const QImage big = view.backBuffer();
    ASSERT_EQ(big.size(), QSize(1288, 976));
    const QImage expected = lonePicture(-110, {78, 88}).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(big.copy(QRect(QPoint(560, 805), QSize(78, 88))), expected);
    // The outline is still one pixel wide after scaling.
    EXPECT_EQ(big.pixelColor(216, 150), QColor(255, 0, 0));
    EXPECT_EQ(big.pixelColor(217, 150), QColor(Qt::black));
    EXPECT_EQ(big.pixelColor(215, 150), QColor(Qt::black));
}

TEST_F(BoardViewTest, MouseAndKeysArriveInTwipsAndCharacterCodes) {
    struct Press {
        int button, shift;
        double x, y;
    };
    std::vector<Press> presses;
    std::vector<int> keys;
    view.setMouseHandler([&](int b, int s, double x, double y) {
        presses.push_back({b, s, x, y});
    });
    view.setKeyHandler([&](int k) { keys.push_back(k); });
    view.resize(1000, 600);  // letterboxed left and right
    QCoreApplication::processEvents();
    const ViewGeometry g = view.viewGeometry();
    const QPointF target = cell(5, 6) + QPointF(285, 330);
    QTest::mouseClick(&view, Qt::LeftButton, {}, g.twipsToLogical(target).toPoint());
    QTest::mouseClick(&view, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier,
                      QPoint(2, 2));  // in the margin, left of the board
    ASSERT_EQ(presses.size(), 2u);
    EXPECT_EQ(presses[0].button, 1);
    EXPECT_EQ(presses[0].shift, 0);
    EXPECT_NEAR(presses[0].x, target.x(), 15 / g.logicalZoom());
    EXPECT_NEAR(presses[0].y, target.y(), 15 / g.logicalZoom());
    EXPECT_EQ(presses[1].button, 2);
    EXPECT_EQ(presses[1].shift, 3);
    EXPECT_LT(presses[1].x, 0);

    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Escape);
    QTest::keyClick(&view, Qt::Key_A);
    QTest::keyClick(&view, Qt::Key_Shift);  // no character: not passed on
    EXPECT_EQ(keys, (std::vector<int>{27, 'a'}));
}

}  // namespace
}  // namespace kiryuza::window
