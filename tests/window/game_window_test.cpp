// The real game in the real window: start a game against the computer from the menu, answer
// its boxes, click a move at its twip position, let the computer reply, and check that the
// window shows the board the game holds, square by square.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBackingStore>
#include <QCheckBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <cmath>
#include <random>

#include "game/form1.h"
#include "platform/files/qt_autosave.h"
#include "platform/files/qt_file_system.h"
#include "platform/files/qt_text_codec.h"
#include "platform/pictures/pictures.h"
#include "platform/qt/canvas_renderer.h"
#include "platform/qt/main_window.h"
#include "qt_app.h"

namespace kiryuza::window {
namespace {

// A sound library that accepts everything and plays nothing.
class SilentSound : public サウンド {
  public:
    std::int32_t dsInitialize() override { return 1; }
    std::int32_t dsCreateDSB(std::int32_t, const std::uint8_t*, std::size_t,
                             std::int32_t) override {
        return ++buffers_;
    }
    void dsPlay(std::int32_t) override {}
    void dsPlayLooping(std::int32_t) override {}
    void dsStop(std::int32_t) override {}
    void dsFree(std::int32_t) override {}
    void dsTerminate(std::int32_t) override {}

  private:
    std::int32_t buffers_ = 100;
};

// The window's time of day, put forward by `ahead` seconds, so that a clock runs out at once.
class ShiftedTime : public 時刻源 {
  public:
    explicit ShiftedTime(時刻源& real) : real_(real) {}
    double ahead = 0;
    double 現在秒() override { return std::fmod(real_.現在秒() + ahead, 86400.0); }
    void 少し待つ() override { real_.少し待つ(); }

  private:
    時刻源& real_;
};

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
  public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++count;
        return false;
    }
};

// The twip rectangle of board cell (x, y).
QRectF cellRect(int x, int y) {
    return QRectF(1050 + 570 * x, 100 + 660 * y, 570, 660);
}

// The same tests run at 1x and, with QT_SCALE_FACTOR=2, once more under names starting "2x.".

// The game wired to the window as the program does it, in a fresh working folder.
class GameWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        previous = QDir::currentPath();
        QDir::setCurrent(folder.path());
        window.setQuitHandler([this] { ++quits; });
        window.setEvents(&events);
        form.Form_Load();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void TearDown() override {
        window.setEvents(nullptr);
        QDir::setCurrent(previous);
    }

    // Clicks the centre of board cell (x, y) on the view.
    void clickCell(int x, int y) {
        const QPointF centre = cellRect(x, y).center();
        QTest::mouseClick(&window.view(), Qt::LeftButton, {},
                          window.view().viewGeometry().twipsToLogical(centre).toPoint());
    }

    QImage grabbed() { return window.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // Whether the grabbed window shows picture `code` in the cell-sized twip rectangle `cell`,
    // `insetPixels` pixels in from its edges.
    bool showsPicture(const QImage& shot, int code, const QRectF& cell, int insetPixels = 3) {
        const ViewGeometry g = window.view().viewGeometry();
        const QPoint viewAt = window.view().mapTo(&window, QPoint(0, 0)) * g.devicePixelRatio;
        const int inset = insetPixels * static_cast<int>(g.devicePixelRatio);
        const QRect picture = g.snap(QRectF(cell.topLeft(), QSizeF(585, 660)));
        QImage alone(picture.size(), QImage::Format_ARGB32_Premultiplied);
        alone.fill(Qt::transparent);
        {
            QPainter painter(&alone);
            pictures::paint(painter, code, QRectF(QPointF(0, 0), QSizeF(picture.size())));
        }
        const QRect inner = g.snap(cell).adjusted(inset, inset, -inset, -inset);
        const QImage expected =
            alone.convertToFormat(QImage::Format_RGB32).copy(inner.translated(-picture.topLeft()));
        return shot.copy(inner.translated(viewAt)) == expected;
    }

    // The board squares whose picture in the grabbed window differs from the game's board.
    std::vector<std::string> squaresNotShowingTheBoard() {
        const QImage shot = grabbed();
        std::vector<std::string> wrong;
        for (int x = 1; x <= 9; ++x)
            for (int y = 1; y <= 9; ++y)
                if (!showsPicture(shot, (*state).局.盤面[x][y], cellRect(x, y)))
                    wrong.push_back(std::to_string(x) + "," + std::to_string(y));
        return wrong;
    }

    // Whether the pixels the window holds, painted a changed part at a time as the game drew,
    // are those of the whole picture rendered afresh.
    bool windowHoldsTheWholePicture() {
        QPaintDevice* store = window.backingStore()->paintDevice();
        if (store == nullptr || store->devType() != QInternal::Image) return false;
        const QImage held = static_cast<QImage*>(store)->convertToFormat(QImage::Format_RGB32);
        const double ratio = window.view().viewGeometry().devicePixelRatio;
        const QPoint viewAt = window.view().mapTo(&window, QPoint(0, 0)) * ratio;
        const QImage whole = window.view().backBuffer();
        return !whole.isNull() && held.copy(QRect(viewAt, whole.size())) == whole;
    }

    // Plays a game between two people of `moves` moves by clicking, each a board move chosen
    // at random (never one that takes a king), so that the game goes on.
    void playLongGame(int moves, unsigned seed) {
        window.action("START")->trigger();
        std::mt19937 random(seed);
        std::vector<指し手> legal(合法手最大数);
        while (state->棋譜.棋譜記録数() < moves && state->局.勝者 == 手番_なし) {
            局面 position = state->局;
            const bool upper = state->状況.手番 == position.手番値COM;
            const int count = 合法手一覧(position, upper, legal.data());
            std::vector<指し手> board;
            for (int i = 0; i < count; ++i) {
                const 指し手& m = legal[static_cast<std::size_t>(i)];
                const int taken = std::abs(state->局.盤面[m.先X][m.先Y]);
                if (m.元X >= 1 && m.元X <= 9 && taken != std::abs(駒_MAN王)) board.push_back(m);
            }
            ASSERT_FALSE(board.empty());
            const 指し手 m = board[random() % board.size()];
            clickCell(m.元X, m.元Y);
            clickCell(m.先X, m.先Y);
        }
        ASSERT_EQ(state->棋譜.棋譜記録数(), moves);
    }

    QTemporaryDir folder;
    QString previous;
    MainWindow window;
    SilentSound sound;
    QtFileSystem files;
    QtTextCodec codec;
    QtAutosave autosave{folder.filePath(QStringLiteral("current-game")).toStdString()};
    読み手サービス search{2, 4, [this] { window.tellSearchAnswered(); }};
    ShiftedTime time{window.timeOfDay()};
    プラットフォーム platform{
        window.view(), window.messages(), time,   window.timer(), window, sound,         files,
        codec,         window.panel(),    window, autosave,       search, window.study()};
    std::unique_ptr<対局状態> state = std::make_unique<対局状態>();
    Form1 form{platform, *state};
    FormEvents events{form};
    int quits = 0;
};

TEST_F(GameWindowTest, PlaysAMoveAgainstTheComputerAndShowsTheNewBoard) {
    EXPECT_TRUE(window.チェック("LEVEL3"));
    EXPECT_TRUE(window.チェック("MIDORI"));
    EXPECT_TRUE(squaresNotShowingTheBoard().empty());
    ASSERT_EQ((*state).局.盤面[5][7], -11);

    testing::ModalAnswerer answerer;
    window.action("SENTE")->trigger();
    ASSERT_FALSE(answerer.seen().empty());
    EXPECT_EQ(answerer.seen().front().text, QStringLiteral("MANの番です"));
    const int manToMove = (*state).状況.手番;

    // The computer's turn blinks its piece inside the click handler: the window must be
    // repainted while the handler still runs.
    PaintCounter paints;
    window.view().installEventFilter(&paints);
    clickCell(5, 7);
    clickCell(5, 6);
    window.view().removeEventFilter(&paints);
    EXPECT_GE(paints.count, 4);

    const 局面& board = (*state).局;
    EXPECT_EQ(board.盤面[5][7], 0);
    EXPECT_EQ(board.盤面[5][6], -11);
    EXPECT_EQ((*state).状況.手数, 2);  // the computer has replied
    EXPECT_EQ((*state).状況.手番, manToMove);
    QCoreApplication::processEvents();
    EXPECT_EQ(squaresNotShowingTheBoard(), std::vector<std::string>{});
    EXPECT_TRUE(windowHoldsTheWholePicture());
    // The list of drawing commands has not grown with the game.
    EXPECT_LT(window.view().canvas().size(), 1500u);

    // Esc ends the program.
    window.view().setFocus();
    QTest::keyClick(&window.view(), Qt::Key_Escape);
    EXPECT_TRUE(window.ended());
    EXPECT_TRUE(QTest::qWaitFor([&] { return quits == 1; }, 2000));
}

// Level 4 thinks on threads of its own: while it does, a menu opens, the clock and the window
// go on, and a click on the board is refused; then its move arrives and the turn is the
// player's again.
TEST_F(GameWindowTest, TheWindowStaysAliveWhileLevel4Thinks) {
    testing::ModalAnswerer answerer;
    window.action("LEVEL4")->trigger();
    window.action("SENTE")->trigger();
    clickCell(5, 7);
    clickCell(5, 6);
    ASSERT_EQ((*state).状況.手数, 1);  // the click handler has returned: the computer thinks
    auto* menu = window.findChild<QMenu*>("TAIKYOKU");
    ASSERT_NE(menu, nullptr);
    menu->popup(window.mapToGlobal(QPoint(10, 10)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, 2000));
    EXPECT_EQ((*state).状況.手数, 1);
    menu->hide();
    clickCell(4, 7);
    EXPECT_EQ((*state).状況.選択状態, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return (*state).状況.手数 == 2; }, 20000));
    EXPECT_EQ((*state).状況.手番, (*state).局.手番値MAN);
    QCoreApplication::processEvents();
    EXPECT_EQ(squaresNotShowingTheBoard(), std::vector<std::string>{});
}

TEST_F(GameWindowTest, MenusReachTheGameAndTheRecordPanelOpensOverTheBoard) {
    testing::ModalAnswerer answerer;
    window.action("UCHU")->trigger();
    EXPECT_EQ(state->設定.背景種類, pictures::背景_宇宙);
    EXPECT_TRUE(window.チェック("UCHU"));
    EXPECT_FALSE(window.チェック("MIDORI"));
    window.action("KEIKA")->trigger();
    EXPECT_FALSE(window.チェック("KEIKA"));

    window.action("KIFU_READ")->trigger();
    EXPECT_TRUE(window.panel().files()->isVisible());
    EXPECT_TRUE(window.panel().folders()->isVisible());
    emit window.findChild<QMenu*>("TAIKYOKU")->aboutToShow();
    EXPECT_FALSE(window.panel().files()->isVisible());

    window.action("VER")->trigger();
    ASSERT_FALSE(answerer.seen().empty());
    EXPECT_TRUE(answerer.seen().back().text.contains(QStringLiteral("Kiryuza")));
    EXPECT_TRUE(squaresNotShowingTheBoard().empty());
}

// The whole game by keyboard: a move with the cursor, the record panel by Tab and Enter, the
// history stepped with the arrows, and the menus opened with F10.
TEST_F(GameWindowTest, PlaysAndSavesByKeyboardAlone) {
    testing::ModalAnswerer answerer;
    window.action("SENTE")->trigger();
    QWidget& view = window.view();
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Return);  // shows the cursor on the middle pawn
    QTest::keyClick(&view, Qt::Key_Return);
    QTest::keyClick(&view, Qt::Key_Up);
    QTest::keyClick(&view, Qt::Key_Space);
    EXPECT_EQ(state->局.盤面[5][6], 駒_MANと);
    EXPECT_EQ(state->状況.手数, 2);

    // 書込, then the fields top to bottom by Tab, and Enter in the file name saves.
    window.action("KIFU_WRITE")->trigger();
    RecordPanel& panel = window.panel();
    panel.ファイルフォルダ設定(folder.path().toStdString());
    panel.textBox(2)->setFocus();
    QTest::keyClicks(panel.textBox(2), QStringLiteral("practice"));
    for (int box : {3, 4, 1}) {
        QTest::keyClick(window.focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(window.focusWidget(), panel.textBox(box)) << box;
    }
    QTest::keyClicks(panel.textBox(1), QStringLiteral("keys"));
    QTest::keyClick(panel.textBox(1), Qt::Key_Return);
    EXPECT_TRUE(QFile::exists(folder.filePath(QStringLiteral("keys.棋譜"))));
    ASSERT_FALSE(answerer.seen().empty());
    EXPECT_EQ(answerer.seen().back().text, QStringLiteral("棋譜を書き込みました"));

    // ← and → step through the history once it is being stepped.
    view.setFocus();
    window.action("REPLAY")->trigger();
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_EQ(state->状況.手数, 0);
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(state->状況.手数, 1);

    // F10 opens the first menu for the keyboard.
    QTest::keyClick(&view, Qt::Key_F10);
    EXPECT_EQ(window.menuBar()->activeAction(), window.action("TAIKYOKU"));
    QTest::keyClick(window.menuBar(), Qt::Key_Escape);
    QTest::keyClick(
        QApplication::activePopupWidget() ? QApplication::activePopupWidget() : window.menuBar(),
        Qt::Key_Escape);
    // Once the menu is closed, the keys reach the board again.
    QTest::keyClick(window.focusWidget(), Qt::Key_Right);
    EXPECT_EQ(state->状況.手数, 2);
}

// Replacing a game nobody saved asks first, with いいえ the default; a side whose time runs out
// on the clock loses, on a tick of the window's timer.
TEST_F(GameWindowTest, AsksBeforeDroppingAGameAndEndsItWhenTimeRunsOut) {
    testing::ModalAnswerer answerer([](const QWidget& box) {
        const auto* m = qobject_cast<const QMessageBox*>(&box);
        return m != nullptr && m->defaultButton() != nullptr ? m->defaultButton()->text()
                                                             : QString();
    });
    window.action("MOCHI_1")->trigger();
    EXPECT_TRUE(window.チェック("MOCHI_1"));
    window.action("START")->trigger();
    clickCell(5, 7);
    clickCell(5, 6);
    ASSERT_EQ(state->状況.手数, 1);

    window.action("SHINKI")->trigger();
    ASSERT_FALSE(answerer.seen().empty());
    EXPECT_EQ(answerer.seen().back().text,
              QStringLiteral("対局中の棋譜は保存されていません。破棄してよろしいですか？"));
    EXPECT_EQ(answerer.seen().back().answer, QStringLiteral("いいえ"));
    EXPECT_EQ(state->状況.手数, 1);

    time.ahead = 61;
    EXPECT_TRUE(QTest::qWaitFor([&] { return state->局.勝者 != 手番_なし; }, 2000));
    EXPECT_EQ(state->局.勝者, 手番_先手);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return answerer.seen().back().text ==
                   QStringLiteral("後手の時間切れです。\n先手の勝ちです");
        },
        2000));
    EXPECT_FALSE(window.timer().動作中());
}

// With 成・不成を選ぶ on, a pawn entering the far zone shows both its forms at the destination,
// the change of form framed; a click on the other one plays the move keeping the piece as it is.
TEST_F(GameWindowTest, ShowsBothFormsAtTheDestinationAndTakesTheOneClicked) {
    testing::ModalAnswerer answerer;
    window.action("NARI_FUNARI")->trigger();
    EXPECT_TRUE(window.チェック("NARI_FUNARI"));
    window.action("START")->trigger();
    // The lower player's middle pawn walks up; the upper player moves its edge pawn meanwhile.
    for (int step = 0; step < 3; ++step) {
        clickCell(5, 7 - step);
        clickCell(5, 6 - step);
        clickCell(1, 3 + step);
        clickCell(1, 4 + step);
    }
    ASSERT_EQ(state->状況.手数, 6);
    ASSERT_EQ(state->局.盤面[5][4], 駒_MANと);
    clickCell(5, 4);
    clickCell(5, 3);  // takes the upper player's pawn and enters the zone
    ASSERT_TRUE(form.入力中の手().形を選ぶ);
    EXPECT_EQ(state->状況.手数, 6);
    QCoreApplication::processEvents();

    const QRectF changed(cellRect(0, 3).topLeft() + QPointF(570 * 形の選択の左列(5), 0),
                         QSizeF(570, 660));
    const QRectF kept = changed.translated(570, 0);
    const QImage shot = grabbed();
    EXPECT_TRUE(showsPicture(shot, 駒_MAN歩, changed, 6));
    EXPECT_TRUE(showsPicture(shot, 駒_MANと, kept));
    // The change of form is framed in the pick's colour, the other piece not.
    const ViewGeometry g = window.view().viewGeometry();
    const QPoint viewAt = window.view().mapTo(&window, QPoint(0, 0)) * g.devicePixelRatio;
    const auto framed = [&](const QRectF& cell) {
        const QRect r = g.snap(cell).translated(viewAt);
        int n = 0;
        for (int x = r.left(); x <= r.right(); ++x)
            for (int y = r.top(); y <= r.bottom(); ++y)
                n += QColor(shot.pixel(x, y)) == paletteColour(色_選択枠);
        return n;
    };
    EXPECT_GT(framed(changed), 100);
    EXPECT_EQ(framed(kept), 0);

    QTest::mouseClick(&window.view(), Qt::LeftButton, {},
                      g.twipsToLogical(kept.center()).toPoint());
    EXPECT_FALSE(form.入力中の手().形を選ぶ);
    EXPECT_EQ(state->局.盤面[5][3], 駒_MANと);
    EXPECT_EQ(state->状況.手数, 7);
    EXPECT_EQ(state->局.持駒MAN[1], 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(squaresNotShowingTheBoard(), std::vector<std::string>{});
    EXPECT_TRUE(windowHoldsTheWholePicture());
}

// 棋譜と形勢 beside the board: the window widens for it within the screen and the board keeps
// its size (where the screen is short, the panel narrows and the board gives a tenth at most),
// the list follows the game, a row chosen with the mouse or the keys puts its entry on the
// board, and F3 gives the list the keyboard.
TEST_F(GameWindowTest, TheMoveListSitsBesideTheBoardAndStepsThroughTheGame) {
    testing::ModalAnswerer answerer;
    window.action("SENTE")->trigger();
    clickCell(5, 7);
    clickCell(5, 6);
    ASSERT_EQ(state->状況.手数, 2);
    const QSize board = window.view().size();
    const int canvas = window.view().viewGeometry().canvasRect().width();
    const int width = window.width();
    // Shortcuts reach the active window only.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window.view(), Qt::Key_F3);
    QDockWidget* dock = window.study().dock(false);
    ASSERT_NE(dock, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dock->isVisible(); }, 2000));
    EXPECT_TRUE(window.チェック("KIFU_LIST"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.width() > width; }, 2000));
    QTest::qWait(20);
    const QRect area = availableArea(window);
    EXPECT_TRUE(area.contains(window.frameGeometry())) << window.frameGeometry().right();
    EXPECT_FALSE(dock->isFloating());
    if (window.frameGeometry().right() < area.right()) {
        EXPECT_EQ(window.view().size(), board);
    } else {
        EXPECT_GE(window.view().viewGeometry().canvasRect().width() * 10, canvas * 9);
    }
    // 検討's lines take room in the panel, never beyond the screen.
    auto* analysis = window.findChild<QCheckBox*>(QStringLiteral("KENTOU"));
    ASSERT_NE(analysis, nullptr);
    analysis->click();
    QTest::qWait(20);
    EXPECT_TRUE(area.contains(window.frameGeometry())) << window.frameGeometry().bottom();
    analysis->click();
    QTreeWidget* list = window.study().list();
    ASSERT_EQ(list->topLevelItemCount(), 3);
    EXPECT_TRUE(list->hasFocus());
    EXPECT_EQ(list->currentIndex().row(), 2);

    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(state->棋譜.棋譜手数(), 1);
    QTest::keyClick(list, Qt::Key_Home);
    EXPECT_EQ(state->棋譜.棋譜手数(), 0);
    EXPECT_EQ(state->局.盤面[5][7], 駒_MANと);
    const QRect last = list->visualItemRect(list->topLevelItem(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, last.center());
    EXPECT_EQ(state->棋譜.棋譜手数(), 2);
    EXPECT_EQ(squaresNotShowingTheBoard(), std::vector<std::string>{});

    // F3 in the list hides the panel again, and the window gives the width back.
    QTest::keyClick(list, Qt::Key_F3);
    EXPECT_FALSE(dock->isVisible());
    EXPECT_FALSE(window.チェック("KIFU_LIST"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.width() == width; }, 2000));
}

}  // namespace
}  // namespace kiryuza::window

namespace kiryuza::window {
namespace {

// A row pressed with the mouse, for a short or a long press and with the pointer wandering a
// pixel while it is down, puts its entry on the board, and the row highlighted is that entry,
// shown whole, however the list scrolled to centre it; the keys then go on from there, and End
// shows the last row whole.
TEST_F(GameWindowTest, ThePressedRowIsTheEntryOnTheBoardAndIsShownWhole) {
    testing::ModalAnswerer answerer;
    playLongGame(60, 7);
    window.action("KIFU_LIST")->trigger();
    QTreeWidget* list = window.study().list();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->topLevelItemCount(), 61);
    QCoreApplication::processEvents();
    const auto highlighted = [&] {
        const QList<QTreeWidgetItem*> items = list->selectedItems();
        return items.size() == 1 ? list->indexOfTopLevelItem(items.front()) : -1;
    };
    const auto shownWhole = [&](int row) {
        const QRect r = list->visualItemRect(list->topLevelItem(row));
        return !r.isEmpty() && list->viewport()->rect().contains(r);
    };
    struct Press {
        int row;
        int holdMs;
        bool wander;
    };
    for (const Press& p : {Press{41, 0, false}, Press{46, 60, true}, Press{40, 150, false},
                           Press{12, 150, true}, Press{55, 30, false}, Press{3, 200, true}}) {
        // Bring the row into sight as a player would scroll to it, then press it.
        list->scrollToItem(list->topLevelItem(p.row), QAbstractItemView::PositionAtTop);
        const QPoint at = list->visualItemRect(list->topLevelItem(p.row)).center();
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);
        if (p.wander) QTest::mouseMove(list->viewport(), at + QPoint(1, 1));
        if (p.holdMs > 0) QTest::qWait(p.holdMs);
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
        EXPECT_EQ(state->棋譜.棋譜手数(), p.row) << p.row;
        EXPECT_EQ(highlighted(), p.row) << p.row << " held " << p.holdMs;
        EXPECT_EQ(list->currentIndex().row(), p.row);
        EXPECT_TRUE(shownWhole(p.row)) << p.row;
    }
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(state->棋譜.棋譜手数(), 4);
    EXPECT_EQ(highlighted(), 4);
    QTest::keyClick(list, Qt::Key_End);
    QCoreApplication::processEvents();
    EXPECT_EQ(state->棋譜.棋譜手数(), 60);
    EXPECT_EQ(highlighted(), 60);
    EXPECT_TRUE(shownWhole(60));
    // The list grows shorter (the window made lower, as the summary's lines would): the last
    // row stays whole.
    const int before = list->viewport()->height();
    window.resize(window.width(), window.height() - 57);
    EXPECT_TRUE(QTest::qWaitFor([&] { return list->viewport()->height() < before; }, 2000));
    QTest::qWait(20);
    EXPECT_TRUE(shownWhole(60));
}

}  // namespace
}  // namespace kiryuza::window

namespace kiryuza::window {
namespace {

// A window made smaller by the player with the panel docked: the panel narrows first and the
// board keeps its size; only with the panel at its narrowest does the board grow smaller.
TEST_F(GameWindowTest, InASmallerWindowThePanelGivesWayBeforeTheBoard) {
    testing::ModalAnswerer answerer;
    window.action("KIFU_LIST")->trigger();
    QDockWidget* dock = window.study().dock(false);
    ASSERT_NE(dock, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dock->isVisible(); }, 2000));
    QTest::qWait(50);
    ASSERT_FALSE(dock->isFloating());
    const int narrowest = dock->widget()->minimumWidth();
    const auto canvas = [&] { return window.view().viewGeometry().canvasRect().size(); };
    const QSize board = canvas();
    const int panel = dock->width();
    if (panel > narrowest + 10) {
        window.resize(window.width() - (panel - narrowest) / 2, window.height());
        EXPECT_TRUE(QTest::qWaitFor([&] { return dock->width() < panel; }, 2000));
        EXPECT_EQ(canvas(), board);
    }
    window.resize(window.width() * 2 / 3, window.height());
    EXPECT_TRUE(QTest::qWaitFor([&] { return dock->widget()->width() == narrowest; }, 2000))
        << dock->widget()->width() << " narrowest " << narrowest;
    EXPECT_LT(canvas().width(), board.width());
    EXPECT_FALSE(dock->isFloating());
}

}  // namespace
}  // namespace kiryuza::window

namespace kiryuza::window {
namespace {

// KIF形式で保存… starts in the documents folder, or at home when there is none: Enter saves
// there, never into the folder the game was started from.
TEST_F(GameWindowTest, TheKifSaveStartsInDocumentsElseAtHomeNeverInTheWorkingFolder) {
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")).toUtf8());
    // Boxes are answered with their first button; the save dialog with Enter, where it opened.
    QStringList openedIn;
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) return;
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            openedIn << QDir::cleanPath(dialog->directory().absolutePath());
            QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_Return);
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            if (!box->buttons().isEmpty()) box->buttons().front()->click();
        }
    });
    watch.start();
    window.action("START")->trigger();
    clickCell(5, 7);
    clickCell(5, 6);
    ASSERT_EQ(state->棋譜.棋譜記録数(), 1);
    window.action("KIFU_LIST")->trigger();
    auto* save = window.findChild<QPushButton*>(QStringLiteral("KIFU_KIF_SAVE"));
    ASSERT_NE(save, nullptr);
    for (const bool documents : {false, true}) {
        ASSERT_TRUE(!documents || QDir(home.path()).mkpath(QStringLiteral("Documents")));
        save->click();
        const QString where =
            QDir::cleanPath(documents ? home.filePath(QStringLiteral("Documents")) : home.path());
        ASSERT_EQ(openedIn.size(), documents ? 2 : 1);
        EXPECT_EQ(openedIn.back().toStdString(), where.toStdString());
        EXPECT_EQ(QDir(where).entryList({QStringLiteral("*.kif")}, QDir::Files).size(), 1);
    }
    EXPECT_TRUE(QDir(folder.path()).entryList({QStringLiteral("*.kif")}, QDir::Files).isEmpty());
    qputenv("HOME", oldHome);
    if (oldConfig.isNull()) {
        qunsetenv("XDG_CONFIG_HOME");
    } else {
        qputenv("XDG_CONFIG_HOME", oldConfig);
    }
}

}  // namespace
}  // namespace kiryuza::window
