// The time from a press on the board to the end of the paint that shows it, with the analysis
// off, with the panel 棋譜と形勢 reviewing the game and with 検討 on: the real window, Form1
// and the searching player wired as the program wires them, on a two-person game of random
// legal moves. The clicks are sent from a thread of their own at random moments through the
// window's event queue, so a click that comes while the window's thread is busy waits as the
// player's would. They pick two pieces of the side to move in turn: each moves the red outline.
//
//   click_latency [SAMPLES] [MOVES]        (defaults 200 and 150)
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDockWidget>
#include <QLabel>
#include <QPaintEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <optional>
#include <random>
#include <thread>

#include "game/form1.h"
#include "platform/files/qt_autosave.h"
#include "platform/files/qt_file_system.h"
#include "platform/files/qt_text_codec.h"
#include "platform/pictures/pictures.h"
#include "platform/qt/main_window.h"
#include "support/fake_platform.h"

namespace kiryuza::bench {
namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

// The game wired to the window as the program does it, in the working folder; the searching
// player on every core, counting the notices of its answers.
struct Game {
    explicit Game(const QString& folder) : autosave((folder + "/current-game").toStdString()) {}

    window::MainWindow window;
    testing::記録サウンド sound;    // plays nothing
    testing::台本メッセージ boxes;  // answers every box with OK or はい at once
    QtFileSystem files;
    QtTextCodec codec;
    QtAutosave autosave;
    std::atomic<int> answers{0};
    読み手サービス search{static_cast<int>(std::max(1u, std::thread::hardware_concurrency())), 64,
                          [this] {
                              ++answers;
                              window.tellSearchAnswered();
                          }};
    プラットフォーム platform{
        window.view(), boxes, window.timeOfDay(), window.timer(), window,   sound,
        files,         codec, window.panel(),     window,         autosave, search,
        window.study()};
    対局状態 state;
    Form1 form{platform, state};
    window::FormEvents events{form};
};

// The logical rectangle of board cell `c` on the view.
QRectF cellOnView(const window::BoardView& view, 桝 c) {
    return view.viewGeometry().twipsToLogical(
        QRectF(1050 + 570 * c.列, 100 + 660 * c.行, 570, 660));
}

void clickCell(window::BoardView& view, 桝 c) {
    QTest::mouseClick(&view, Qt::LeftButton, {}, cellOnView(view, c).center().toPoint());
}

// The side to move's legal board moves that do not take a king (so that the game goes on).
std::vector<指し手> boardMoves(const Game& g) {
    局面 局 = g.state.局;
    std::vector<指し手> all(合法手最大数);
    all.resize(
        static_cast<std::size_t>(合法手一覧(局, g.state.状況.手番 == 局.手番値COM, all.data())));
    std::erase_if(all, [&](const 指し手& m) {
        const int taken = 局.盤面[m.先X][m.先Y];
        return m.元X < 1 || m.元X > 9 || taken == 駒_MAN王 || taken == 駒_COM王;
    });
    return all;
}

// Clicks two cells in turn, each at a random moment 10-40 ms after the paint that showed the
// one before, and times each click from that moment to the end of the view's first paint over
// its cell after the press. A thread of its own sends the click through the window's event
// queue when it is due, so a click due while the window's thread is busy waits there, as a
// player's would.
class ClickTimer : public QObject {
  public:
    struct Sample {
        double total;   // due to the end of the paint
        double queued;  // due to the press reaching the view
    };

    ClickTimer(window::BoardView& view, std::array<桝, 2> cells) : view_(view), cells_(cells) {}

    // `warmUp` clicks, then up to `count` samples, fewer when `goOn` turns false.
    std::vector<Sample> measure(int warmUp, int count, const std::function<bool()>& goOn) {
        samples_.clear();
        wanted_ = static_cast<std::size_t>(warmUp + count);
        pressed_ = stop_ = false;
        QEventLoop loop;
        loop_ = &loop;
        QTimer watch;
        watch.callOnTimeout([&] {
            lost_ += pressed_ && msSince(dueAt_) > 2000;  // no paint came: stop
            if (!goOn() || lost_ > 0) loop.quit();
        });
        watch.start(20);
        view_.installEventFilter(this);
        std::thread clicker([this] { clicks(); });
        schedule();
        loop.exec();
        {
            const std::lock_guard<std::mutex> guard(lock_);
            stop_ = true;
        }
        turn_.notify_all();
        clicker.join();
        view_.removeEventFilter(this);
        QTest::qWait(100);  // a click still on its way
        const auto from = samples_.begin() + std::min<std::ptrdiff_t>(warmUp, samples_.size());
        return {from, samples_.end()};
    }
    int lost() const { return lost_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress) {
            pressed_ = true;
            queuedMs_ = msSince(dueAt_);
            return false;
        }
        if (e->type() != QEvent::Paint) return false;
        watched->event(e);  // paints now, so that the end of the paint is seen
        const QRect cell = cellOnView(view_, cells_[next_]).toAlignedRect();
        if (pressed_ && static_cast<QPaintEvent*>(e)->region().intersects(cell)) {
            samples_.push_back({msSince(dueAt_), queuedMs_});
            pressed_ = false;
            if (samples_.size() < wanted_) {
                schedule();
            } else {
                loop_->quit();
            }
        }
        return true;
    }

  private:
    // Tells the clicking thread when the next click is due.
    void schedule() {
        dueAt_ = Clock::now() +
                 std::chrono::milliseconds(std::uniform_int_distribution<int>(10, 40)(random_));
        const std::lock_guard<std::mutex> guard(lock_);
        due_ = dueAt_;
        turn_.notify_all();
    }
    // The clicking thread: sleeps until a click is due, then puts it in the window's queue.
    void clicks() {
        std::unique_lock<std::mutex> guard(lock_);
        while (!stop_) {
            if (!due_) {
                turn_.wait(guard);
                continue;
            }
            const Clock::time_point at = *std::exchange(due_, std::nullopt);
            guard.unlock();
            std::this_thread::sleep_until(at);
            QMetaObject::invokeMethod(
                this, [this] { clickCell(view_, cells_[next_ ^= 1]); }, Qt::QueuedConnection);
            guard.lock();
        }
    }

    window::BoardView& view_;
    const std::array<桝, 2> cells_;
    QEventLoop* loop_ = nullptr;
    std::mt19937 random_{7};
    Clock::time_point dueAt_;
    int next_ = 1;          // the cell of the last click: they alternate, so each one shows
    bool pressed_ = false;  // the press of the click due has reached the view
    double queuedMs_ = 0;
    std::size_t wanted_ = 0;
    int lost_ = 0;
    std::vector<Sample> samples_;
    std::mutex lock_;  // guards the two below, shared with the clicking thread
    std::optional<Clock::time_point> due_;
    bool stop_ = false;
    std::condition_variable turn_;
};

// Times what the window's thread does for each queued call to the window (the searching
// player's notices, mostly): what a click may have to wait behind.
class NoticeTimer : public QObject {
  public:
    std::vector<double> ms;

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::MetaCall) return false;
        const auto start = Clock::now();
        watched->event(e);
        ms.push_back(msSince(start));
        return true;
    }
};

// Median, 95th percentile (nearest rank) and maximum.
std::array<double, 3> spread(std::vector<double> v) {
    if (v.empty()) return {};
    std::sort(v.begin(), v.end());
    const auto at = [&](double p) {
        const auto rank = static_cast<std::size_t>(std::ceil(p * static_cast<double>(v.size())));
        return v[std::max<std::size_t>(rank, 1) - 1];
    };
    return {at(0.5), at(0.95), v.back()};
}

void report(const char* condition, const std::vector<ClickTimer::Sample>& samples) {
    std::vector<double> total;
    std::vector<double> queued;
    for (const auto& s : samples) {
        total.push_back(s.total);
        queued.push_back(s.queued);
    }
    const auto [median, p95, max] = spread(total);
    const auto late = std::count_if(total.begin(), total.end(), [](double t) { return t > 16.7; });
    const auto q = spread(queued);
    std::printf("%s %7zu %7.2f %7.2f %7.2f %7td %9.2f %9.2f\n", condition, total.size(), median,
                p95, max, late, q[1], q[2]);
}

// The review's progress as the panel's summary gives it ("（解析中 12/151）"), or "done".
std::string reviewProgress(window::MainWindow& w) {
    const QDockWidget* dock = w.study().dock(false);
    const auto* summary = dock && dock->isVisible() ? dock->findChild<QLabel*>("KOUHYOU") : nullptr;
    if (summary == nullptr) return "-";
    const auto at = summary->text().indexOf(QStringLiteral("解析中 "));
    if (at < 0) return "done";
    return summary->text().mid(at + 4).section(QChar(u'）'), 0, 0).toStdString();
}

}  // namespace
}  // namespace kiryuza::bench

int main(int argc, char* argv[]) {
    using namespace kiryuza;
    using namespace kiryuza::bench;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    pictures::registerMincho();
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const int moves = argc > 2 ? std::max(2, std::atoi(argv[2])) : 150;
    const int warmUp = 20;

    QTemporaryDir folder;
    QDir::setCurrent(folder.path());
    auto game = std::make_unique<Game>(folder.path());
    Game& g = *game;
    g.window.setEvents(&g.events);
    g.form.Form_Load();
    g.window.show();
    if (!QTest::qWaitForWindowExposed(&g.window)) return 1;
    g.window.action("START")->trigger();
    std::mt19937 random(1);
    int played = 0;
    for (; played < moves; ++played) {
        const std::vector<指し手> legal = boardMoves(g);
        if (legal.empty()) break;
        const 指し手 m =
            legal[std::uniform_int_distribution<std::size_t>(0, legal.size() - 1)(random)];
        clickCell(g.window.view(), {m.元X, m.元Y});
        clickCell(g.window.view(), {m.先X, m.先Y});
        QCoreApplication::processEvents();
    }
    // Two pieces of the side to move, for the clicks to pick in turn.
    const std::vector<指し手> legal = boardMoves(g);
    const auto other = std::find_if(legal.begin(), legal.end(), [&](const 指し手& m) {
        return m.元X != legal.front().元X || m.元Y != legal.front().元Y;
    });
    if (g.state.状況.手数 != played || other == legal.end()) {
        std::printf("the game did not go as clicked\n");
        return 1;
    }
    ClickTimer timer(g.window.view(),
                     {{{legal.front().元X, legal.front().元Y}, {other->元X, other->元Y}}});

    // One condition: its row of the table, and a note of what the searching player and the
    // window's thread did meanwhile.
    NoticeTimer notices;
    g.window.installEventFilter(&notices);
    std::string notes;
    const auto condition = [&](const char* name, const std::function<bool()>& goOn) {
        const std::string reviewFrom = reviewProgress(g.window);
        const int answers = g.answers;
        notices.ms.clear();
        report(name, timer.measure(warmUp, count, goOn));
        const auto n = spread(std::exchange(notices.ms, {}));
        if (g.answers == answers) return;
        char note[400];
        std::snprintf(note, sizeof note,
                      "%s: review %s -> %s, %d answers; the window's thread "
                      "took %.2f ms median, %.2f p95, %.2f max a notice\n",
                      name, reviewFrom.c_str(), reviewProgress(g.window).c_str(),
                      g.answers - answers, n[0], n[1], n[2]);
        notes += note;
    };
    std::printf("a game of %d moves, %d searching threads; click to end of paint, in ms\n", played,
                g.search.スレッド数());
    std::printf("%-8s %7s %7s %7s %7s %7s %9s %9s\n", "", "samples", "median", "p95", "max",
                ">16.7", "queue p95", "queue max");
    condition("off     ", [] { return true; });

    // The panel shown: the review asks for every position of the game, one after the other.
    g.window.action("KIFU_LIST")->trigger();
    QTest::qWait(300);
    condition("review  ", [&] { return reviewProgress(g.window) != "done"; });

    // 検討 on: the position on the board is analysed without end.
    auto* lines = g.window.study().dock(false)->findChild<QPlainTextEdit*>("KENTOU_TEXT");
    g.window.study().dock(false)->findChild<QCheckBox*>("KENTOU")->click();
    if (!QTest::qWaitFor([&] { return lines->toPlainText().startsWith(QStringLiteral("深さ")); },
                         5000)) {
        std::printf("検討 shows no lines\n");
        return 1;
    }
    condition("検討    ", [] { return true; });
    std::printf("\n%s検討 reached %s\n", notes.c_str(),
                lines->toPlainText().section(u'\n', 0, 0).toStdString().c_str());
    if (timer.lost() > 0) std::printf("clicks with no paint: %d\n", timer.lost());
    g.window.removeEventFilter(&notices);
    g.search.全て止める();
    g.window.setEvents(nullptr);
    return 0;
}
