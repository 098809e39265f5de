// The end of the session: SIGTERM or SIGHUP (a desktop's log-out) ends the real program in the
// real window whatever is open (a question, a notice, the about box, a menu, the rules window,
// the record panel), with later starts that never finish asking hanging on its socket. The
// kept game is exactly what it was before the signal, whatever the box would have led to, and
// the window's place is kept where the window stood.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <functional>
#include <thread>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "app/game.h"
#include "app/places.h"
#include "app/single_instance.h"
#include "platform/qt/about_dialog.h"
#include "platform/qt/main_window.h"
#include "record/autosave.h"
#include "rules/time_control.h"
#include "window/qt_app.h"

namespace kiryuza::app {
namespace {

QByteArray 中身(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

// The move number of the game kept in `file`; -1 when none reads.
int 保存された手数(const QString& file) {
    const QByteArray b = 中身(file);
    const auto 保存 = 自動保存を読む(std::vector<std::uint8_t>(b.begin(), b.end()));
    return 保存 ? 保存->状態.状況.手数 : -1;
}

void 桝を押す(window::MainWindow& w, int x, int y) {
    const QPointF twips(1050 + 570.0 * x + 285, 100 + 660.0 * y + 330);
    QTest::mouseClick(&w.view(), Qt::LeftButton, {},
                      w.view().viewGeometry().twipsToLogical(twips).toPoint());
}

// Whether a box saying `text` is open.
bool 箱(const QString& text) {
    const QWidget* box = QApplication::activeModalWidget();
    if (box == nullptr || !box->isVisible()) return false;
    for (const QLabel* label : box->findChildren<QLabel*>())
        if (label->text() == text) return true;
    return false;
}

// Later starts of this account hanging on the running copy's socket: some silent, one asking
// a byte at a time and never ending.
class 止まった呼び手 {
  public:
    explicit 止まった呼び手(const std::string& name) {
        a_.sun_family = AF_UNIX;
        name.copy(a_.sun_path + 1, sizeof a_.sun_path - 2);
        length_ = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size());
        for (int i = 0; i < 6; ++i) fds_.push_back(繋ぐ());
        trickler_ = std::thread([this] {
            while (!stop_) {
                const int fd = 繋ぐ();
                while (!stop_ && ::send(fd, "r", 1, MSG_NOSIGNAL) == 1)
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                ::close(fd);
            }
        });
    }
    ~止まった呼び手() {
        stop_ = true;
        trickler_.join();
        for (int fd : fds_) ::close(fd);
    }
    止まった呼び手(const 止まった呼び手&) = delete;
    止まった呼び手& operator=(const 止まった呼び手&) = delete;

  private:
    int 繋ぐ() const {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        (void)::connect(fd, reinterpret_cast<const sockaddr*>(&a_), length_);
        return fd;
    }
    sockaddr_un a_{};
    socklen_t length_ = 0;
    std::vector<int> fds_;
    std::atomic<bool> stop_{false};
    std::thread trickler_;
};

// A home of its own for each test: settings, window place and kept game, and no sound server.
class SessionEndTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : kVariables) saved_.push_back(qgetenv(name));
        qputenv("HOME", home_.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", home_.filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_STATE_HOME", home_.filePath(QStringLiteral("state")).toUtf8());
        qputenv("PULSE_SERVER", home_.filePath(QStringLiteral("no-pulse")).toUtf8());
        places_ = findPlaces();
    }
    void TearDown() override {
        for (std::size_t i = 0; i < std::size(kVariables); ++i)
            saved_[i].isNull() ? qunsetenv(kVariables[i]) : qputenv(kVariables[i], saved_[i]);
    }

    // Plays a move against the computer (level 1), which answers, and waits until the game is
    // on the disk.
    void 一手指す(GameProgram& program) {
        program.window().action(QStringLiteral("LEVEL1"))->trigger();
        program.window().action(QStringLiteral("SENTE"))->trigger();
        桝を押す(program.window(), 5, 7);
        桝を押す(program.window(), 5, 6);
        ASSERT_EQ(program.state().状況.手数, 2);
        保存を待つ(program);
    }
    void 保存を待つ(const GameProgram& program) {
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return 保存された手数(places_.gameFile) == program.state().状況.手数; }, 10000));
    }

    // Runs the program's event loop; once `open` holds, the window is where it will be kept
    // and `signal` is sent. The loop's exit code, or -1 when it is still running 20 s on.
    int 終わらせる(GameProgram& program, int signal, const std::function<bool()>& open) {
        QTimer watch;
        watch.setInterval(10);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (!open()) return;
            watch.stop();
            placed_ = program.window().geometry();
            ::raise(signal);
        });
        watch.start();
        bool late = false;
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, [&] {
            late = true;
            QCoreApplication::exit(-1);
        });
        deadline.start(20000);
        const int code = QApplication::exec();
        return late ? -1 : code;
    }

    void 場所が残る() {
        window::MainWindow again;
        WindowMemory(places_.windowStateFile).restore(again);
        EXPECT_EQ(again.geometry(), placed_);
    }

    static constexpr const char* kVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME",
                                                 "PULSE_SERVER"};
    QTemporaryDir home_;
    std::vector<QByteArray> saved_;
    Places places_;
    QRect placed_;
};

// Each thing that may be open when the session ends: how to open it, and how to tell it is.
struct 開いた物 {
    const char* 名;
    int 合図;
    std::function<void(window::MainWindow&)> 開く;
    std::function<bool(window::MainWindow&)> 開いている;
};

TEST_F(SessionEndTest, EndsWhateverIsOpenKeepingTheGameAndThePlace) {
    const 開いた物 表[] = {
        {"破棄の問い", SIGTERM, [](window::MainWindow& w) { w.action("SHINKI")->trigger(); },
         [](window::MainWindow&) {
             return 箱(
                 QStringLiteral("対局中の棋譜は保存されていません。破棄してよろしいですか？"));
         }},
        {"投了の問い", SIGHUP, [](window::MainWindow& w) { w.action("TOURYOU")->trigger(); },
         [](window::MainWindow&) { return 箱(QStringLiteral("投了しますか？")); }},
        // After stepping back, the computer's turn asks first: it must not move.
        {"OKですか", SIGTERM, [](window::MainWindow& w) { 桝を押す(w, 1, 7); },
         [](window::MainWindow&) { return 箱(QStringLiteral("OKですか？")); }},
        {"バージョン情報", SIGHUP, [](window::MainWindow& w) { w.action("VER")->trigger(); },
         [](window::MainWindow&) {
             return qobject_cast<window::AboutDialog*>(QApplication::activeModalWidget());
         }},
        {"メニュー", SIGTERM,
         [](window::MainWindow& w) {
             w.findChild<QMenu*>("TAIKYOKU")->popup(w.mapToGlobal(QPoint(10, 10)));
         },
         [](window::MainWindow&) { return QApplication::activePopupWidget() != nullptr; }},
        {"遊び方", SIGHUP, [](window::MainWindow& w) { w.action("ASOBIKATA")->trigger(); },
         [](window::MainWindow& w) {
             for (const QWidget* t : QApplication::topLevelWidgets())
                 if (t != &w && t->isVisible() && t->windowTitle() == QStringLiteral("遊び方"))
                     return true;
             return false;
         }},
        {"棋譜パネル", SIGTERM, [](window::MainWindow& w) { w.action("KIFU_READ")->trigger(); },
         [](window::MainWindow& w) { return w.panel().files()->isVisible(); }},
    };
    for (const 開いた物& e : 表) {
        SCOPED_TRACE(e.名);
        QTemporaryDir state;
        qputenv("XDG_STATE_HOME", state.path().toUtf8());
        places_ = findPlaces();
        QFile::remove(places_.windowStateFile);
        InstanceLock lock = InstanceLock::claim(keptGameFolder());
        ASSERT_EQ(lock.outcome(), InstanceLock::Outcome::first);
        GameProgram program;
        lock.listen([&program](const QByteArray& token) { program.window().bringForward(token); });
        const 止まった呼び手 呼び手(InstanceLock::nameFor(keptGameFolder()));
        {
            const testing::ModalAnswerer answerer;
            ASSERT_TRUE(program.start());
            一手指す(program);
            if (std::string(e.名) == "OKですか") {
                program.window().action("REPLAY")->trigger();
                保存を待つ(program);
            }
        }
        program.window().setGeometry(QRect(70, 60, 760, 610));
        const QByteArray kept = 中身(places_.gameFile);
        QTimer::singleShot(0, [&] { e.開く(program.window()); });
        EXPECT_EQ(終わらせる(program, e.合図, [&] { return e.開いている(program.window()); }), 0);
        EXPECT_TRUE(program.window().ended());
        EXPECT_EQ(中身(places_.gameFile), kept);
        場所が残る();
        lock.listen({});
    }
}

// Between handlers, under a time control, the game ends as it would by its own 終わり: the game
// is kept with the turn's time used up to the signal, so that a log-out gives no time back.
TEST_F(SessionEndTest, BetweenHandlersKeepsTheClockAsItStands) {
    GameProgram program;
    {
        const testing::ModalAnswerer answerer;
        ASSERT_TRUE(program.start());
        program.window().action(QStringLiteral("MOCHI_1"))->trigger();
        一手指す(program);
    }
    QTimer::singleShot(1500, [] { ::raise(SIGTERM); });
    EXPECT_EQ(終わらせる(program, SIGTERM, [] { return false; }), 0);
    const QByteArray b = 中身(places_.gameFile);
    const auto 保存 = 自動保存を読む(std::vector<std::uint8_t>(b.begin(), b.end()));
    ASSERT_TRUE(保存);
    const auto& 時 = 保存->状態.時計;
    EXPECT_EQ(時.持ち時間秒, 60);
    EXPECT_GE(使った秒(時, 時計の側::MAN, 時.手番開始時刻), 1.5);
}

// The question at the start, whether to go on with the last game: a signal then leaves the
// game kept for the next start, and keeps no window place (the window was never put in one).
TEST_F(SessionEndTest, EndsAtTheQuestionAtTheStartKeepingTheGameForTheNext) {
    {
        GameProgram first;
        const testing::ModalAnswerer answerer;
        ASSERT_TRUE(first.start());
        一手指す(first);
    }
    const QByteArray kept = 中身(places_.gameFile);
    ASSERT_EQ(保存された手数(places_.gameFile), 2);
    GameProgram program;
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (箱(QStringLiteral("前回の対局を続けますか？"))) {
            watch.stop();
            ::raise(SIGTERM);
        }
        // The notice that no sound can be played is answered.
        if (QWidget* box = QApplication::activeModalWidget(); box && watch.isActive())
            if (auto* ok = box->findChild<QAbstractButton*>(QStringLiteral("ok"))) ok->click();
    });
    watch.start();
    EXPECT_FALSE(program.start());
    EXPECT_FALSE(watch.isActive());
    EXPECT_EQ(中身(places_.gameFile), kept);
    EXPECT_FALSE(QFile::exists(places_.windowStateFile));
}

// A copy without the lock neither offers nor keeps the game another copy may keep, and says
// so once its window is up.
TEST_F(SessionEndTest, ACopyWithoutTheLockLeavesTheKeptGameAlone) {
    {
        GameProgram first;
        const testing::ModalAnswerer answerer;
        ASSERT_TRUE(first.start());
        一手指す(first);
    }
    const QByteArray kept = 中身(places_.gameFile);
    GameProgram program(false);
    const testing::ModalAnswerer answerer;
    ASSERT_TRUE(program.start());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            for (const auto& box : answerer.seen())
                if (box.text.contains(QStringLiteral("確かめられませんでした"))) return true;
            return false;
        },
        5000));
    for (const auto& box : answerer.seen())
        EXPECT_NE(box.text, QStringLiteral("前回の対局を続けますか？"));
    EXPECT_EQ(program.state().状況.手数, 0);
    program.window().action(QStringLiteral("SENTE"))->trigger();
    桝を押す(program.window(), 5, 7);
    桝を押す(program.window(), 5, 6);
    ASSERT_EQ(program.state().状況.手数, 2);
    QTest::qWait(100);
    EXPECT_EQ(中身(places_.gameFile), kept);
}

}  // namespace
}  // namespace kiryuza::app
