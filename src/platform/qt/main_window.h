// The game's top-level window: the menu bar with the game's control names, the board view as
// its client area, the record panel over it, and the platform services the game is built on.
// Every event goes to the game through one dispatcher, which keeps the timer from ticking
// into a handler that is still running (a modal box inside it runs a nested event loop) and
// ends the program only after the handler that asked for it has returned.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QString>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/qt/board_view.h"
#include "platform/qt/game_events.h"
#include "platform/qt/interfaces.h"
#include "platform/qt/record_panel.h"
#include "platform/qt/services.h"
#include "platform/qt/study_panel.h"

class QAction;
class QMenu;

namespace kiryuza::window {

// Twips the classic window frame, title bar and menu bar take from a window's outer size;
// the rest is the client area. The default 9800 x 8000 window so has the canvas's
// 9660 x 7320 twips of client area.
inline constexpr double kFrameWidthTwips = 9800 - 9660;
inline constexpr double kFrameHeightTwips = 8000 - 7320;

class MainWindow : public QMainWindow, public WindowInterface, public MenuInterface {
    Q_OBJECT

  public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Where the events go; null stops them (before the game is destroyed).
    void setEvents(GameEvents* events) { events_ = events; }
    // What ends the program; by default the application's event loop is left.
    void setQuitHandler(std::function<void()> quit) { quit_ = std::move(quit); }

    // The platform services for the game.
    BoardView& view() { return *view_; }
    RecordPanel& panel() { return *panel_; }
    StudyPanel& study() { return *study_; }
    MessageBoxes& messages() { return messages_; }
    TimeOfDay& timeOfDay() { return timeOfDay_; }
    GameTimer& timer() { return *timer_; }

    // A menu or action by its control name; null when there is none.
    QAction* action(const QString& name) const;
    // True once the game has been told to end (終了, or the window closed).
    bool ended() const { return ended_; }
    // No game handler is running (none waits in a box's loop).
    bool idle() const { return depth_ == 0; }
    // Tells the game, between its handlers, that a write of the kept game has ended. May be
    // called from any thread.
    void tellAutosaveWritten();
    // Tells the game, between its handlers, that the searching player has answers. May be
    // called from any thread.
    void tellSearchAnswered();
    // Runs `handler` as one of the game's handlers (the game's start, a notice): a close or the
    // end of the session while its boxes are open waits until it returns.
    void handle(const std::function<void()>& handler);
    // Ends the program at once, as the end of the session asks (SIGTERM, SIGHUP): open boxes
    // and menus are closed, each box answered as its close button would, later boxes are
    // answered so unseen, no new event reaches the game, and the game ends as soon as the
    // handler that is running returns (at once when none is).
    void endOnSignal();
    // Shows the window in front of the others and gives it the keyboard, as when a second
    // start of the program asks for it; `token` is that start's activation token, if any.
    void bringForward(const QByteArray& token);

    // ウィンドウ
    double 上端() override;
    void 配置(double 左, double 上, double 幅, double 高さ) override;
    void 終了() override;
    void バージョン情報() override;
    void 遊び方() override;
    void 描画を進める() override;

    // メニュー; and whether an item shows its check mark.
    void チェック設定(std::string_view 名, bool 付ける) override;
    void 有効設定(std::string_view 名, bool 有効) override;
    bool チェック(std::string_view 名) const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;
    // F10 and the menu key open the menu bar for the keyboard.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void buildMenus();
    // Runs one game handler; events arriving after the end are dropped.
    void dispatch(const std::function<void(GameEvents&)>& call);
    // Runs the handler now when no other runs, else as soon as the outermost one returns.
    void dispatchWhenIdle(std::function<void(GameEvents&)> call);
    void menuChosen(QAction* action);
    void finish();
    // The end of the session, once no handler runs: the game's own end, then the program's.
    void endSession();
    // Logical pixels per twip on this window's screen (1440 twips to the logical inch).
    double pixelsPerTwip() const;
    // Moves and shrinks the window so that its whole frame is on the screen's available area.
    void fitFrame();
    static constexpr int kSettlingMs = 2000;

    BoardView* view_;
    RecordPanel* panel_;
    StudyPanel* study_;
    GameTimer* timer_;
    MessageBoxes messages_;
    TimeOfDay timeOfDay_;
    std::map<QString, QAction*> actions_;
    GameEvents* events_ = nullptr;
    std::function<void()> quit_;
    int depth_ = 0;
    std::vector<std::function<void(GameEvents&)>> deferred_;
    bool quitRequested_ = false;
    bool ending_ = false;
    bool ended_ = false;
    QElapsedTimer shown_;  // since the window was last shown
    bool fitPending_ = false;
};

// The available area of the screen `window` is on (or the primary screen's).
QRect availableArea(const QWidget& window);

// Puts `window` and its floating docks inside the available area of their screen, whatever a
// restored place said: no larger than it, and moved onto it. Before the window is shown, a
// maximised window's place to go back to is fitted too.
void fitIntoScreen(QMainWindow& window);

}  // namespace kiryuza::window
