#include "app/game.h"

#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QMainWindow>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <thread>
#include <utility>

#include <sys/socket.h>
#include <unistd.h>

#include "app/places.h"
#include "app/single_instance.h"
#include "game/form1.h"
#include "interfaces/product.h"
#include "options/settings.h"
#include "platform/files/qt_autosave.h"
#include "platform/files/qt_file_system.h"
#include "platform/files/qt_text_codec.h"
#include "platform/pictures/pictures.h"
#include "platform/qt/main_window.h"
#include "platform/qt/study_panel.h"
#include "platform/qt/style.h"
#include "platform/sound/desktop_sound.h"

namespace kiryuza::app {

namespace {

// What a copy without the lock tells the player as its window opens.
constexpr const char* kNotKept =
    "このゲームがほかに起動しているかどうかを確かめられませんでした。\n"
    "同じ対局を二つのウィンドウで上書きしないよう、今回は対局の途中経過を保存せず、"
    "前回の対局も開きません。";

// The window's place file: one line, the key and the geometry Qt saves, in base64.
const QByteArray kGeometryKey = QByteArrayLiteral("geometry=");
const QByteArray kDocksKey = QByteArrayLiteral("docks=");
const QByteArray kPanelKey = QByteArrayLiteral("panel=");
constexpr std::size_t kMaxWindowFile = 64 * 1024;
// The searching player's transposition table, shared by its threads.
constexpr std::size_t kSearchTableMB = 64;

std::string toUtf8(const QString& text) {
    return text.toUtf8().toStdString();
}

// The end of the session (SIGTERM, SIGHUP: what a desktop's log-out sends) or an interrupt
// from the terminal (SIGINT): `end` runs on the window's thread, whatever box is open; the
// handler only writes a byte. Once `end` has kept what must be kept, a further signal takes
// its default course.
class EndSignals {
  public:
    EndSignals(QObject& context, std::function<void()> end) : end_(std::move(end)) {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pipe_) != 0) return;
        writeEnd = pipe_[0];
        notifier_ = std::make_unique<QSocketNotifier>(pipe_[1], QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, &context, [this] {
            char byte = 0;
            if (::read(pipe_[1], &byte, 1) != 1 || !end_) return;
            std::exchange(end_, nullptr)();
        });
        struct sigaction action {};
        action.sa_handler = &EndSignals::handle;
        action.sa_flags = SA_RESTART;
        sigemptyset(&action.sa_mask);
        for (const int signal : kSignals) ::sigaction(signal, &action, nullptr);
    }
    ~EndSignals() {
        fallBack();
        writeEnd = -1;
        notifier_.reset();
        for (int fd : pipe_)
            if (fd >= 0) ::close(fd);
    }
    EndSignals(const EndSignals&) = delete;
    EndSignals& operator=(const EndSignals&) = delete;

    // From now on the signals end the program at once.
    static void fallBack() {
        for (const int signal : kSignals) std::signal(signal, SIG_DFL);
    }

  private:
    static constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

    static void handle(int) {
        const int saved = errno;
        const char byte = 1;
        if (writeEnd >= 0) (void)!::write(writeEnd, &byte, 1);
        errno = saved;
    }

    static inline volatile std::sig_atomic_t writeEnd = -1;
    std::function<void()> end_;
    int pipe_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
};

// Calls `then` once, on the turn of the event loop after `widget` first paints, when its first
// frame is on the screen; or after kLimitMs when it has not painted by then (a window that
// starts minimised).
class AfterFirstFrame : public QObject {
  public:
    static constexpr int kLimitMs = 1000;

    AfterFirstFrame(QWidget& widget, std::function<void()> then)
        : widget_(widget), then_(std::move(then)) {
        widget_.installEventFilter(this);
        QTimer::singleShot(kLimitMs, this, [this] { fire(); });
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) QTimer::singleShot(0, this, [this] { fire(); });
        return false;
    }

  private:
    void fire() {
        if (!then_) return;
        widget_.removeEventFilter(this);
        std::exchange(then_, nullptr)();
    }

    QWidget& widget_;
    std::function<void()> then_;
};

// The pictures of the screen a game starts on: the empty square (first: every piece is drawn
// over a copy of it), the title, the background the settings choose, and each side's pieces,
// which all start in the form they are dropped in.
std::vector<int> firstScreenPictures(int background) {
    std::vector<int> codes{空桝, 絵_タイトル, background, 駒_MAN王, 駒_COM王};
    for (int k = 1; k <= 7; ++k) {
        codes.push_back(打駒_MAN[k]);
        codes.push_back(打駒_COM[k]);
    }
    return codes;
}

}  // namespace

ファイル結果 FolderMakingFiles::書く(const std::string& パス,
                                     const std::vector<std::uint8_t>& 内容) {
    const QFileInfo target(QString::fromUtf8(パス.data(), static_cast<qsizetype>(パス.size())));
    if (QDir::cleanPath(target.absolutePath()) == QDir::cleanPath(folder_)) {
        (void)QtFileSystem().フォルダを作る(toUtf8(folder_));
    }
    return files_.書く(パス, 内容);
}

void WindowMemory::restore(QMainWindow& window, const std::function<void()>& makePanel) const {
    std::string error;
    const auto bytes = QtFileSystem().読む(toUtf8(file_), error, kMaxWindowFile);
    if (!bytes) return;
    const QByteArray text(reinterpret_cast<const char*>(bytes->data()), qsizetype(bytes->size()));
    QByteArray docks;
    bool panel = false;
    for (const QByteArray& line : text.split('\n')) {
        if (line.startsWith(kGeometryKey)) {
            window.restoreGeometry(QByteArray::fromBase64(line.mid(kGeometryKey.size()).trimmed()));
        } else if (line.startsWith(kDocksKey)) {
            docks = QByteArray::fromBase64(line.mid(kDocksKey.size()).trimmed());
        } else if (line.startsWith(kPanelKey)) {
            panel = line.mid(kPanelKey.size()).trimmed() == "1";
        }
    }
    if (panel && makePanel) makePanel();
    if (!docks.isEmpty()) window.restoreState(docks);
    // Saved on another screen or at another scale, or written by anyone: the place is fitted
    // to this screen before anything is drawn at its size.
    window::fitIntoScreen(window);
}

void WindowMemory::save(const QMainWindow& window) const {
    const auto* panel = window.findChild<QDockWidget*>(
        QString::fromLatin1(window::StudyPanel::kObjectName), Qt::FindDirectChildrenOnly);
    const bool shown = panel != nullptr && !panel->isHidden();
    const QByteArray text = kGeometryKey + window.saveGeometry().toBase64() + '\n' + kDocksKey +
                            window.saveState().toBase64() + '\n' + kPanelKey + (shown ? "1" : "0") +
                            '\n';
    // The window's place is a convenience: a failed write leaves the last one. Written as
    // every file is: never through another account's link.
    QtFileSystem files;
    (void)files.フォルダを作る(toUtf8(QFileInfo(file_).absolutePath()));
    (void)files.書く(toUtf8(file_), std::vector<std::uint8_t>(text.begin(), text.end()));
}

void nameApplication() {
    QApplication::setApplicationName(QStringLiteral("kiryuza"));
    QApplication::setApplicationDisplayName(
        QString::fromUtf8(製品名.data(), static_cast<qsizetype>(製品名.size())));
    QApplication::setApplicationVersion(
        QString::fromUtf8(版.data(), static_cast<qsizetype>(版.size())));
    QApplication::setDesktopFileName(QStringLiteral("kiryuza"));
}

// Everything the program is made of, in the order it must be made (and undone in reverse).
struct GameProgram::Parts {
    Parts(Places where, bool keep) : places(std::move(where)), keepGame(keep) {}

    // The end of the session. Inside a handler (a box open), the kept game and the window's
    // place are on the disk before any box closes, and nothing the game still does after that
    // changes the game kept. Between handlers the game's own ending runs at once and keeps the
    // game with its clocks as they stand, so that a log-out gives no time back.
    void endSession() {
        if (!window.idle()) keepForGood();
        window.endOnSignal();
        keepForGood();
        EndSignals::fallBack();
    }
    void keepForGood() {
        autosave.封じる();
        autosave.flush();
        if (shown) memory.save(window);
    }

    Places places;
    // False for a copy without the lock: it neither reads nor writes the kept game.
    bool keepGame;
    // Whether the window was put in its place and shown: only then is its place kept.
    bool shown = false;
    window::MainWindow window;
    sound::DesktopSoundLibrary sound;
    QtFileSystem plainFiles;
    FolderMakingFiles files{plainFiles, places.configFolder};
    QtTextCodec codec;
    QtAutosave autosave{toUtf8(places.gameFile), [this] { window.tellAutosaveWritten(); }};
    // Level 4 on every core the machine has; its tables are made when it first thinks.
    読み手サービス search{static_cast<int>(std::max(1u, std::thread::hardware_concurrency())),
                          kSearchTableMB, [this] { window.tellSearchAnswered(); }};
    const プラットフォーム platform{
        window.view(),
        window.messages(),
        window.timeOfDay(),
        window.timer(),
        window,
        sound,
        files,
        codec,
        window.panel(),
        window,
        autosave,
        search,
        window.study(),
        置き場所{toUtf8(places.settingsFile), toUtf8(places.soundFolder), toUtf8(places.playFile)},
    };
    std::unique_ptr<対局状態> state = std::make_unique<対局状態>();
    Form1 form{platform, *state};
    window::FormEvents events{form};
    WindowMemory memory{places.windowStateFile};
    EndSignals endSignals{window, [this] { endSession(); }};
    std::unique_ptr<AfterFirstFrame> afterFirstFrame;
};

GameProgram::GameProgram(bool keepGame) {
    window::deferSeldomShownIcons();
    pictures::registerMincho();
    Places places = findPlaces();
    // The settings are read properly once the game starts; a glance now tells which
    // background to draw ahead.
    QtFileSystem files;
    QtTextCodec codec;
    const int background = 設定の背景(files, codec, toUtf8(places.settingsFile));
    const QScreen* screen = QGuiApplication::primaryScreen();
    auto ahead = pictures::drawAhead(firstScreenPictures(background),
                                     screen ? screen->devicePixelRatio() : 1.0);
    parts_ = std::make_unique<Parts>(std::move(places), keepGame);
    Parts& p = *parts_;
    if (!keepGame) p.autosave.封じる();
    p.window.view().useDrawnAhead(std::move(ahead));
    p.window.setEvents(&p.events);
    p.window.setQuitHandler([&p] {
        if (p.shown) p.memory.save(p.window);
        QCoreApplication::exit(0);
    });
}

GameProgram::~GameProgram() {
    parts_->window.setEvents(nullptr);
}

bool GameProgram::start() {
    Parts& p = *parts_;
    // The music the settings start waits for the first frame: opening the sound output
    // before it would only slow the window down.
    p.sound.holdOutput();
    p.window.handle([&p] { p.form.Form_Load(); });
    if (p.window.ended()) return false;
    p.memory.restore(p.window, [&p] { p.window.study().dock(true); });
    p.afterFirstFrame =
        std::make_unique<AfterFirstFrame>(p.window.view(), [&p] { p.sound.releaseOutput(); });
    p.window.show();
    p.shown = true;
    if (!p.keepGame) {
        QTimer::singleShot(0, &p.window, [&p] {
            p.window.handle(
                [&p] { p.window.messages().表示(kNotKept, "対局", ボタン種類::OK, true); });
        });
    }
    return true;
}

window::MainWindow& GameProgram::window() {
    return parts_->window;
}

const 対局状態& GameProgram::state() const {
    return *parts_->state;
}

namespace {

constexpr const char* kAlreadyRunning =
    "kiryuza: すでに起動しています。そのウィンドウを前面に出しました。\n";
constexpr const char* kRunningSilent =
    "kiryuza: すでに起動していますが、応答がないため、そのウィンドウを前面に出せませんでした。\n";
constexpr const char* kNoLock =
    "kiryuza: "
    "ほかに起動しているかどうかを確かめられないため、対局の途中経過を保存せずに起動します。\n";
constexpr const char* kNoDisplay =
    "kiryuza: "
    "画面（ディスプレイ）に接続できません。デスクトップのセッションから起動してください。\n";

// This account's lock, or none to be had; nothing when another copy holds it, which has then
// been asked to come forward.
std::optional<InstanceLock> claimOrForward() {
    InstanceLock lock = InstanceLock::claim(keptGameFolder());
    if (lock.outcome() == InstanceLock::Outcome::unavailable) std::fputs(kNoLock, stderr);
    if (lock.outcome() != InstanceLock::Outcome::running) return lock;
    const bool answered = lock.askToComeForward(startActivationToken());
    std::fputs(answered ? kAlreadyRunning : kRunningSilent, stderr);
    return std::nullopt;
}

int play(InstanceLock& lock) {
    // Without the lock another copy may be keeping the game: this one leaves it alone.
    GameProgram program(lock.outcome() == InstanceLock::Outcome::first);
    lock.listen([&program](const QByteArray& token) { program.window().bringForward(token); });
    const int code = program.start() ? QApplication::exec() : 0;
    lock.listen({});  // the lock itself is held until the process ends
    return code;
}

// While the QApplication is made: a display that cannot be reached ends the program with one
// clear line and status 1 instead of Qt's abort, and the platform's own complaints on the way
// are held back (and printed after all if the display opens).
class DisplayGuard {
  public:
    DisplayGuard() : previous_(qInstallMessageHandler(&handle)) { active_ = this; }
    ~DisplayGuard() {
        qInstallMessageHandler(previous_);
        active_ = nullptr;
        for (const QByteArray& line : held_) std::fprintf(stderr, "%s\n", line.constData());
    }
    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;

    // Whether a display may be there at all: a platform named, or an X or Wayland display.
    static bool mayHaveDisplay() {
        return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
               !qEnvironmentVariableIsEmpty("DISPLAY") ||
               !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    }

  private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        if (type == QtFatalMsg) {
            std::fputs(kNoDisplay, stderr);
            std::_Exit(1);
        }
        DisplayGuard* guard = active_;
        if (guard && context.category && std::strncmp(context.category, "qt.qpa", 6) == 0) {
            guard->held_.push_back(text.toLocal8Bit());
        } else if (guard && guard->previous_) {
            guard->previous_(type, context, text);
        }
    }

    static inline DisplayGuard* active_ = nullptr;
    QtMessageHandler previous_;
    std::vector<QByteArray> held_;
};

}  // namespace

int runGame() {
    std::optional<InstanceLock> lock = claimOrForward();
    return lock ? play(*lock) : 0;
}

int runProgram(int& argc, char** argv) {
    std::optional<InstanceLock> lock = claimOrForward();
    if (!lock) return 0;
    if (!DisplayGuard::mayHaveDisplay()) {
        std::fputs(kNoDisplay, stderr);
        return 1;
    }
    std::unique_ptr<QApplication> app;
    {
        const DisplayGuard guard;
        app = std::make_unique<QApplication>(argc, argv);
    }
    return play(*lock);
}

}  // namespace kiryuza::app
