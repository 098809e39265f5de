// The main window: the menu tree with its control names and captions, menu events and check
// marks owned by the game, window placement in twips, the end of the program, the timer kept
// out of running handlers, message boxes and the about box.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDate>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <QTime>
#include <QToolButton>
#include <functional>
#include <map>

#include "interfaces/product.h"
#include "platform/qt/main_window.h"
#include "platform/qt/services.h"
#include "platform/qt/style.h"
#include "qt_app.h"

namespace kiryuza::window {
namespace {

// Records every event; a menu name may have a reaction run inside its handler.
class RecordingEvents : public GameEvents {
  public:
    std::vector<std::string> log;
    std::map<std::string, std::function<void()>> reactions;

    void menu(std::string_view name) override {
        log.emplace_back(name);
        if (auto it = reactions.find(std::string(name)); it != reactions.end()) it->second();
    }
    void mouseDown(int b, int s, double, double) override {
        log.push_back("mouse " + std::to_string(b) + " " + std::to_string(s));
    }
    void keyPress(int key) override { log.push_back("key " + std::to_string(key)); }
    void keyDown(int code) override { log.push_back("down " + std::to_string(code)); }
    void timerTick() override { ++ticks; }
    void unload() override { log.emplace_back("unload"); }
    void fileClick(const std::string& p) override { log.push_back("file " + p); }
    void driveChange(const std::string& d) override { log.push_back("drive " + d); }
    void folderChange(const std::string& f) override { log.push_back("folder " + f); }
    void returnClick() override { log.emplace_back("return"); }
    void autosaveWritten() override { log.emplace_back("autosave"); }
    void searchAnswered() override { log.emplace_back("search"); }
    void entryChosen(int n) override { log.push_back("entry " + std::to_string(n)); }
    void panelShown(bool shown) override { log.push_back(shown ? "shown" : "hidden"); }
    void analysisToggled() override { log.emplace_back("analysis"); }
    void copyRecord() override { log.emplace_back("copy"); }
    void saveRecordText() override { log.emplace_back("save text"); }
    int ticks = 0;
};

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.setEvents(&events);
        window.setQuitHandler([this] { ++quits; });
    }
    void TearDown() override { window.setEvents(nullptr); }

    RecordingEvents events;
    MainWindow window;
    int quits = 0;
};

// The menu bar is built from the table of controls: every control is there, under its menu,
// in the table's order, with its caption, checkable when it carries a mark.
TEST_F(MainWindowTest, MenuBarHoldsEveryControlOfTheTableInOrder) {
    EXPECT_EQ(window.windowTitle().toStdString(), 製品名);
    std::map<std::string, int> 位置;
    for (const 操作項目& e : 操作一覧) {
        const QString name = QString::fromUtf8(e.名.data(), qsizetype(e.名.size()));
        const QAction* a = window.action(name);
        ASSERT_NE(a, nullptr) << e.名;
        EXPECT_EQ(a->text().toStdString(), e.見出し) << e.名;
        EXPECT_EQ(a->isCheckable(), e.種類 == 項目種類::チェック) << e.名;
        EXPECT_EQ(a->menu() != nullptr, e.種類 == 項目種類::メニュー) << e.名;
        const QList<QAction*> siblings =
            e.親.empty() ? window.menuBar()->actions()
                         : window.action(QString::fromUtf8(e.親.data(), qsizetype(e.親.size())))
                               ->menu()
                               ->actions();
        const int at = static_cast<int>(siblings.indexOf(const_cast<QAction*>(a)));
        ASSERT_GE(at, 0) << e.名;
        // Later siblings come later.
        const std::string parent(e.親);
        if (位置.count(parent)) {
            EXPECT_GT(at, 位置[parent]) << e.名;
        }
        位置[parent] = at;
    }
}

TEST_F(MainWindowTest, OpeningMenusAndChoosingItemsReachTheGameByName) {
    for (const char* name : {"TAIKYOKU", "MATCH_MAN", "STOP", "KIFU", "OPTION"})
        emit window.findChild<QMenu*>(QString::fromLatin1(name))->aboutToShow();
    for (const char* name : {"SENTE", "REPLAY", "LBEL_UP", "KIFU_WRITE", "VER", "OWARI"})
        window.action(QString::fromLatin1(name))->trigger();
    EXPECT_EQ(events.log,
              (std::vector<std::string>{"TAIKYOKU", "MATCH_MAN", "STOP", "KIFU", "OPTION", "SENTE",
                                        "REPLAY", "LBEL_UP", "KIFU_WRITE", "VER", "OWARI"}));
}

TEST_F(MainWindowTest, TheGameOwnsTheCheckMarks) {
    bool seenDuringHandler = true;
    events.reactions["SIDOU"] = [&] {
        seenDuringHandler = window.チェック("SIDOU");
        window.チェック設定("SIDOU", !seenDuringHandler);
    };
    window.action("SIDOU")->trigger();
    EXPECT_FALSE(seenDuringHandler);  // the old state, not Qt's toggled one
    EXPECT_TRUE(window.チェック("SIDOU"));
    window.action("SIDOU")->trigger();
    EXPECT_TRUE(seenDuringHandler);
    EXPECT_FALSE(window.チェック("SIDOU"));

    // A handler that leaves the mark alone leaves it as it was.
    window.チェック設定("UCHU", true);
    window.action("UCHU")->trigger();
    EXPECT_TRUE(window.チェック("UCHU"));
    window.action("MIDORI")->trigger();
    EXPECT_FALSE(window.チェック("MIDORI"));

    // Unknown names and items without marks.
    window.チェック設定("NO_SUCH_ITEM", true);
    EXPECT_FALSE(window.チェック("NO_SUCH_ITEM"));
    window.チェック設定("SENTE", true);
    EXPECT_FALSE(window.チェック("SENTE"));
}

TEST_F(MainWindowTest, PlacesTheWindowInTwipsWithTheCanvasAtItsNaturalSize) {
    const double twipsPerPixel = 1440.0 / window.screen()->logicalDotsPerInchY();
    window.配置(0, 0, 9800, 8000);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // The client area below the menu bar is the canvas's 9660 x 7320 twips.
    EXPECT_NEAR(window.view().width(), 9660 / twipsPerPixel, 1);
    EXPECT_NEAR(window.view().height(), 7320 / twipsPerPixel, 1);
    window.配置(450, 300, 14000, 11000);
    QCoreApplication::processEvents();
    EXPECT_NEAR(window.上端(), 300, twipsPerPixel);
    EXPECT_NEAR(window.view().width(), (14000 - 140) / twipsPerPixel, 1);
    window.showMaximized();
    QCoreApplication::processEvents();
    if (window.isMaximized()) {
        EXPECT_EQ(window.上端(), -60);
    }
}

TEST_F(MainWindowTest, EndsOnlyAfterTheHandlerThatAskedReturnsAndThenIgnoresEvents) {
    bool quitBeforeReturn = false;
    events.reactions["OWARI"] = [&] {
        window.終了();
        QCoreApplication::processEvents();
        quitBeforeReturn = quits > 0 || window.ended();
    };
    window.show();
    window.action("OWARI")->trigger();
    EXPECT_FALSE(quitBeforeReturn);
    EXPECT_TRUE(window.ended());
    EXPECT_FALSE(window.isVisible());
    QTest::qWait(20);
    EXPECT_EQ(quits, 1);
    window.action("SENTE")->trigger();
    EXPECT_EQ(events.log, std::vector<std::string>{"OWARI"});
}

TEST_F(MainWindowTest, ClosingTheWindowUnloadsTheGameOnce) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.close();
    window.close();
    QTest::qWait(20);
    EXPECT_EQ(events.log, std::vector<std::string>{"unload"});
    EXPECT_EQ(quits, 1);
}

TEST_F(MainWindowTest, TimerTicksNeverRunInsideAHandler) {
    int ticksWhileBoxOpen = -1;
    events.reactions["SENTE"] = [&] {
        window.timer().開始();
        const int before = events.ticks;
        // The box stays open for several timer intervals.
        QTimer::singleShot(300, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                QTest::keyClick(box, Qt::Key_Return);
        });
        window.messages().表示("MANの番です", " ", ボタン種類::OK, false);
        ticksWhileBoxOpen = events.ticks - before;
    };
    window.show();
    window.action("SENTE")->trigger();
    EXPECT_EQ(ticksWhileBoxOpen, 0);
    EXPECT_TRUE(window.timer().動作中());
    EXPECT_TRUE(QTest::qWaitFor([&] { return events.ticks >= 2; }, 5000));
    window.timer().停止();
    EXPECT_FALSE(window.timer().動作中());
}

TEST_F(MainWindowTest, BoardAndPanelEventsGoThroughTheSameDispatcher) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(&window.view(), Qt::MiddleButton, Qt::AltModifier, QPoint(100, 100));
    window.view().setFocus();
    QTest::keyClick(&window.view(), Qt::Key_Escape);
    window.panel().入力欄表示(true);
    window.panel().returnButton()->click();
    EXPECT_EQ(events.log, (std::vector<std::string>{"mouse 4 4", "key 27", "return"}));
}

// The menu bar's arrow for items that do not fit, made only when first drawn, looks as the
// style draws it, at every size, state and pixel ratio; and a narrow window still shows it.
TEST(DeferredIconsTest, TheMenuBarsOverflowArrowLooksAsTheStyleDrawsIt) {
    struct Look {
        QStyle::StandardPixmap which;
        int size;
        qreal ratio;
        QIcon::Mode mode;
    };
    const Look looks[] = {
        {QStyle::SP_ToolBarHorizontalExtensionButton, 16, 1, QIcon::Normal},
        {QStyle::SP_ToolBarHorizontalExtensionButton, 24, 2, QIcon::Disabled},
        {QStyle::SP_ToolBarVerticalExtensionButton, 32, 1.5, QIcon::Active},
    };
    std::vector<QImage> before;
    for (const Look& l : looks)
        before.push_back(QApplication::style()
                             ->standardIcon(l.which)
                             .pixmap(QSize(l.size, l.size), l.ratio, l.mode)
                             .toImage());
    deferSeldomShownIcons();
    deferSeldomShownIcons();  // once is enough; a second call changes nothing
    for (std::size_t i = 0; i < std::size(looks); ++i) {
        const Look& l = looks[i];
        const QIcon icon = QApplication::style()->standardIcon(l.which);
        EXPECT_FALSE(icon.isNull());
        EXPECT_EQ(icon.pixmap(QSize(l.size, l.size), l.ratio, l.mode).toImage(), before[i]) << i;
    }

    QMainWindow window;
    for (int i = 0; i < 12; ++i) window.menuBar()->addMenu(QStringLiteral("メニュー%1").arg(i));
    window.resize(200, 150);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const auto* arrow = window.menuBar()->findChild<QToolButton*>();
    ASSERT_NE(arrow, nullptr);
    EXPECT_TRUE(arrow->isVisible());
    EXPECT_EQ(arrow->icon().pixmap(QSize(16, 16)).toImage(),
              QApplication::style()
                  ->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton)
                  .pixmap(QSize(16, 16))
                  .toImage());
}

TEST(MessageBoxesTest, AnswersComeBackAsTheButtonPressed) {
    QWidget parent;
    MessageBoxes boxes(&parent);
    struct Row {
        const char* name;
        ボタン種類 kind;
        bool warning;
        const char* press;
        押されたボタン expected;
    };
    const Row rows[] = {
        {"OK box", ボタン種類::OK, false, "OK", 押されたボタン::OK},
        {"yes", ボタン種類::はいいいえ, true, "はい", 押されたボタン::はい},
        {"no", ボタン種類::はいいいえ, false, "いいえ", 押されたボタン::いいえ},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QMessageBox::Icon icon = QMessageBox::Critical;
        QStringList buttons;
        testing::ModalAnswerer answerer([&](const QWidget& box) {
            icon = static_cast<const QMessageBox&>(box).icon();
            for (const QAbstractButton* b : box.findChildren<QAbstractButton*>())
                buttons << b->text();
            return QString::fromUtf8(row.press);
        });
        EXPECT_EQ(boxes.表示("棋譜を書き込みました", "  ", row.kind, row.warning), row.expected);
        ASSERT_EQ(answerer.seen().size(), 1u);
        EXPECT_EQ(answerer.seen()[0].title, QStringLiteral("  "));
        EXPECT_TRUE(answerer.seen()[0].text.contains(QStringLiteral("棋譜を書き込みました")));
        EXPECT_EQ(icon, row.warning ? QMessageBox::Warning : QMessageBox::NoIcon);
        buttons.sort();
        const QStringList expected =
            row.kind == ボタン種類::OK ? QStringList{"OK"} : QStringList{"いいえ", "はい"};
        EXPECT_EQ(buttons, expected);
    }
    // Escape on a yes/no box counts as no.
    QTimer::singleShot(50, [] {
        if (QWidget* box = QApplication::activeModalWidget()) QTest::keyClick(box, Qt::Key_Escape);
    });
    EXPECT_EQ(boxes.表示("?", "?", ボタン種類::はいいいえ, false), 押されたボタン::いいえ);
    // The game breaks lines with carriage returns; they show as line breaks.
    testing::ModalAnswerer lines;
    boxes.表示("反転後ではできません\r\r局面→最初にして下さい", "t", ボタン種類::OK, false);
    ASSERT_EQ(lines.seen().size(), 1u);
    EXPECT_EQ(lines.seen()[0].text,
              QStringLiteral("反転後ではできません\n\n局面→最初にして下さい"));
}

// Only what is true: name, version, licence and the build's date; no addresses.
TEST(MainWindowAboutTest, AboutBoxNamesTheProductVersionLicenceAndBuildDate) {
    MainWindow window;
    testing::ModalAnswerer answerer;
    window.バージョン情報();
    ASSERT_EQ(answerer.seen().size(), 1u);
    const QString text = answerer.seen()[0].text;
    for (const char* part : {"Kiryuza", KIRYUZA_VERSION, "MIT", "将棋"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part;
    const QRegularExpression date(QStringLiteral("ビルド日：(\\d{4}-\\d{2}-\\d{2})"));
    const QRegularExpressionMatch built = date.match(text);
    ASSERT_TRUE(built.hasMatch()) << text.toStdString();
    EXPECT_TRUE(QDate::fromString(built.captured(1), Qt::ISODate).isValid());
    EXPECT_FALSE(text.contains(QStringLiteral("http")));
    EXPECT_FALSE(text.contains(u'@'));
}

TEST(TimeOfDayTest, SecondsSinceMidnightFollowTheClock) {
    TimeOfDay clock;
    const double now = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    const double t = clock.現在秒();
    EXPECT_GE(t, 0);
    EXPECT_LT(t, 86400);
    EXPECT_TRUE(std::abs(t - now) < 2 || std::abs(t - now) > 86398);  // or midnight passed
}

}  // namespace
}  // namespace kiryuza::window
