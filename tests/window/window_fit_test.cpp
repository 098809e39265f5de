// How the window and the panel share the screen, over many windows, screens and panels: the
// window stays within the screen, the board keeps its size first, the panel yields.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/qt/window_fit.h"

namespace kiryuza::window {
namespace {

// A window, its view and a panel, docked or not, on a screen, drawn at random.
PanelRoom randomRoom(std::mt19937& random) {
    const auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    PanelRoom r;
    r.panelMinimum = pick(150, 280);
    r.panelPreferred = r.panelMinimum + pick(0, 120);
    r.viewHeight = pick(100, 1400);
    r.panelWidth = random() % 2 != 0 ? pick(r.panelMinimum, r.panelPreferred + 50) : 0;
    r.viewWidth = pick(100, 2000);
    r.windowWidth = r.viewWidth + r.panelWidth + pick(0, 1) * pick(0, 8);
    r.widestWindow = r.windowWidth + pick(-1, 1) * pick(0, 900);
    r.mayWiden = random() % 4 != 0;
    return r;
}

int boardWidth(int viewWidth, int viewHeight) {
    return std::min(viewWidth, fullHeightWidth(viewHeight));
}

TEST(WindowFitTest, APlaceIsMadeNoLargerThanTheAreaAndMovedOntoIt) {
    const QRect area(0, 30, 1600, 870);
    std::mt19937 random(3);
    for (int i = 0; i < 2000; ++i) {
        const QRect wanted(static_cast<int>(random() % 200000) - 100000,
                           static_cast<int>(random() % 200000) - 100000,
                           1 + static_cast<int>(random() % 100000),
                           1 + static_cast<int>(random() % 100000));
        const QRect fitted = fitInside(wanted, area);
        EXPECT_TRUE(area.contains(fitted)) << i;
        EXPECT_EQ(fitted.width(), std::min(wanted.width(), area.width()));
        EXPECT_EQ(fitted.height(), std::min(wanted.height(), area.height()));
        if (area.contains(wanted)) {
            EXPECT_EQ(fitted, wanted);
        }
    }
    // No screen known: the place is left as it is.
    EXPECT_EQ(fitInside(QRect(5, 5, 99999, 99999), QRect()), QRect(5, 5, 99999, 99999));
    // The canvas keeps its proportions when a window is made smaller to fit.
    const QSize natural(644, 488);
    EXPECT_EQ(shrinkToFit(natural, QSize(1600, 900)), natural);
    const QSize small = shrinkToFit(natural, QSize(800, 430));
    EXPECT_LE(small.height(), 430);
    EXPECT_NEAR(small.width() * 488.0 / small.height(), 644, 2);
}

// Showing the panel: the window never passes the screen nor narrows; a docked panel is within
// its limits and leaves the board at least nine tenths of its size, all of it where the screen
// has room; a panel floats only when its narrowest would take more, and the window then keeps
// its width; a panel that may not float docks all the same. Hiding one never shrinks the
// board.
TEST(WindowFitTest, TheBoardKeepsItsSizeFirstAndThePanelYields) {
    std::mt19937 random(11);
    int floated = 0;
    int narrowed = 0;
    for (int i = 0; i < 20000; ++i) {
        const PanelRoom r = randomRoom(random);
        // Hiding a panel found docked gives back only what the board cannot use.
        const int back = widthFreedBeyondBoard(r);
        EXPECT_TRUE(back >= 0 && back <= r.panelWidth);
        const int freed = r.viewWidth + r.panelWidth - back;
        EXPECT_GE(boardWidth(freed, r.viewHeight), boardWidth(r.viewWidth, r.viewHeight)) << i;
        EXPECT_TRUE(back == 0 || freed >= fullHeightWidth(r.viewHeight)) << i;

        const PanelPlace p = panelShown(r);
        // A panel the player left docked stays docked, narrowest where room is short.
        const PanelPlace kept = panelShown(r, false);
        EXPECT_FALSE(kept.floats);
        EXPECT_EQ(kept.panelWidth, dockedPanelWidth(r, kept.windowWidth));
        EXPECT_LE(kept.windowWidth, std::max(r.windowWidth, r.widestWindow));
        if (!p.floats) {
            EXPECT_EQ(kept.windowWidth, p.windowWidth);
        }
        const int besides = r.windowWidth - r.viewWidth - r.panelWidth;
        const int before = boardWidth(r.viewWidth + r.panelWidth, r.viewHeight);
        EXPECT_GE(p.windowWidth, r.windowWidth) << i;
        EXPECT_LE(p.windowWidth, std::max(r.windowWidth, r.widestWindow)) << i;
        if (!r.mayWiden) {
            EXPECT_EQ(p.windowWidth, r.windowWidth) << i;
        }
        if (p.floats) {
            ++floated;
            EXPECT_EQ(p.windowWidth, r.windowWidth);
            const int widest = r.mayWiden ? std::max(r.windowWidth, r.widestWindow) : r.windowWidth;
            EXPECT_LT(10 * boardWidth(widest - besides - r.panelMinimum, r.viewHeight), 9 * before)
                << i;
            continue;
        }
        EXPECT_GE(p.panelWidth, r.panelMinimum) << i;
        EXPECT_LE(p.panelWidth, std::max(r.panelMinimum, r.panelPreferred)) << i;
        const int after = boardWidth(p.windowWidth - besides - p.panelWidth, r.viewHeight);
        EXPECT_GE(10 * after, 9 * before) << i;
        const bool room = r.mayWiden && r.widestWindow >= besides + before + r.panelPreferred;
        if (room) {
            EXPECT_GE(after, before) << i;
        }
        narrowed += p.panelWidth < r.panelPreferred;
        // Resizes that follow leave the panel as it was placed.
        EXPECT_EQ(dockedPanelWidth(r, p.windowWidth), p.panelWidth) << i;
    }
    // Both ways of yielding happen among these rooms.
    EXPECT_GT(floated, 100);
    EXPECT_GT(narrowed, 100);
}

// Resizing a window with the panel docked: the panel narrows before the board does, down to
// its narrowest, and widens again only once the board is as large as the height allows.
TEST(WindowFitTest, ADockedPanelGivesWayBeforeTheBoardAsTheWindowShrinks) {
    std::mt19937 random(5);
    for (int i = 0; i < 2000; ++i) {
        PanelRoom r = randomRoom(random);
        int last = -1;
        for (int width = 200; width <= 3000; width += 7) {
            const int panel = dockedPanelWidth(r, width);
            EXPECT_GE(panel, r.panelMinimum);
            EXPECT_LE(panel, std::max(r.panelMinimum, r.panelPreferred));
            EXPECT_GE(panel, last) << "a wider window never narrows the panel";
            const int besides = r.windowWidth - r.viewWidth - r.panelWidth;
            const int view = width - besides - panel;
            if (panel > r.panelMinimum) {
                EXPECT_GE(view, fullHeightWidth(r.viewHeight)) << i;
            }
            last = panel;
        }
    }
}

}  // namespace
}  // namespace kiryuza::window
