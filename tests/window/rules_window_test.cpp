// The 遊び方 window: not modal, one at a time, and every board picture painted with the marks
// the rules worked out, at the screen's pixel ratio.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QScrollArea>
#include <QScrollBar>
#include <set>
#include <vector>

#include "display/rules_guide.h"
#include "platform/qt/rules_window.h"
#include "qt_app.h"

namespace kiryuza::window {
namespace {

std::vector<QWidget*> openRulesWindows() {
    std::vector<QWidget*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("rules") && w->isVisible()) found.push_back(w);
    return found;
}

bool near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
               std::abs(a.blue() - b.blue()) <
           40;
}

// Separate patches of pixels near `colour` (touching sideways or up and down), of at least
// `least` pixels each.
int patchesOf(const QImage& image, QColor colour, int least) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::vector<char> seen(static_cast<std::size_t>(rgb.width() * rgb.height()), 0);
    const auto fresh = [&](QPoint p) {
        if (!rgb.rect().contains(p) || seen[p.y() * rgb.width() + p.x()]) return false;
        seen[p.y() * rgb.width() + p.x()] = 1;
        return near(rgb.pixelColor(p), colour);
    };
    int patches = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            std::vector<QPoint> todo;
            if (fresh({x, y})) todo.push_back({x, y});
            int size = 0;
            for (; !todo.empty(); ++size) {
                const QPoint p = todo.back();
                todo.pop_back();
                for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)})
                    if (fresh(p + d)) todo.push_back(p + d);
            }
            patches += size >= least ? 1 : 0;
        }
    }
    return patches;
}

class RulesWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        parent_.resize(600, 500);
        parent_.show();
        showRulesWindow(&parent_);
        ASSERT_EQ(openRulesWindows().size(), 1u);
        window_ = openRulesWindows().front();
    }
    void TearDown() override {
        for (QWidget* w : openRulesWindows()) w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QMainWindow parent_;
    QWidget* window_ = nullptr;
};

TEST_F(RulesWindowTest, OpensOnceWithoutBlockingTheGameAndScrolls) {
    EXPECT_TRUE(window_->isWindow());
    EXPECT_EQ(window_->windowTitle(), QStringLiteral("遊び方"));
    EXPECT_FALSE(window_->isModal());
    EXPECT_EQ(window_->windowModality(), Qt::NonModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(parent_.isEnabled());
    auto* scroll = window_->findChild<QScrollArea*>(QStringLiteral("scroll"));
    ASSERT_NE(scroll, nullptr);
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);
    // A second call brings the open window forward.
    showRulesWindow(&parent_);
    showRulesWindow(nullptr);
    ASSERT_EQ(openRulesWindows().size(), 1u);
    EXPECT_EQ(openRulesWindows().front(), window_);
}

TEST_F(RulesWindowTest, EveryPictureOfMovesShowsOneDotForEachSquareTheRulesAllow) {
    std::multiset<int> expected;  // the number of moves of every form of every piece
    for (const 駒の形& 形 : 教える駒の順()) {
        for (const int code : {形.成駒, 形.元駒}) {
            const 盤の図 図 = 動きの図(code);
            int n = 0;
            for (int x = 1; x <= 盤桝数; ++x)
                for (int y = 1; y <= 盤桝数; ++y) n += 図.桝[x][y].行先 ? 1 : 0;
            expected.insert(n);
            if (形.元駒 == 形.成駒) break;
        }
    }
    std::multiset<int> shown;
    for (QWidget* picture : window_->findChildren<QWidget*>(QStringLiteral("boardPicture"))) {
        const qreal ratio = picture->devicePixelRatioF();
        const QImage image = picture->grab().toImage();
        EXPECT_DOUBLE_EQ(image.devicePixelRatio(), ratio);
        if (ratio >= 2) {  // drawn for the screen, not drawn at 1x and scaled up
            EXPECT_TRUE(image.scaled(image.size() / 2).scaled(image.size()) != image);
        }
        const int marks = picture->property("marks").toInt();
        const QColor markColour = picture->property("markColour").value<QColor>();
        if (marks > 0) shown.insert(marks);
        // One dot on each square the piece may go to, and nothing else of its colour.
        if (!picture->property("arrow").toBool()) {
            EXPECT_EQ(patchesOf(image, markColour, 4), marks);
        }
    }
    EXPECT_EQ(shown, expected);
}

TEST_F(RulesWindowTest, APictureScrolledIntoViewIsPaintedInTheWindow) {
    auto* scroll = window_->findChild<QScrollArea*>(QStringLiteral("scroll"));
    ASSERT_NE(scroll, nullptr);
    QWidget* picture = window_->findChildren<QWidget*>(QStringLiteral("boardPicture")).last();
    scroll->ensureWidgetVisible(picture);
    QApplication::processEvents();
    const QImage shot = window_->grab().toImage();
    const qreal ratio = shot.devicePixelRatio();
    const QRect where(picture->mapTo(window_, QPoint(0, 0)) * ratio, picture->size() * ratio);
    ASSERT_TRUE(shot.rect().contains(where));
    // There stands the picture, and it differs from the page beside it.
    const QImage inside = shot.copy(where).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(inside, picture->grab().toImage().convertToFormat(QImage::Format_RGB32));
    const QColor page =
        shot.pixelColor(where.left() - static_cast<int>(3 * ratio), where.center().y());
    EXPECT_EQ(patchesOf(inside, page, inside.width() * inside.height() / 20), 0);
}

}  // namespace
}  // namespace kiryuza::window
