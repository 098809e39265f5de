#include "platform/qt/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QDockWidget>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "interfaces/control_names.h"
#include "interfaces/product.h"
#include "platform/qt/about_dialog.h"
#include "platform/qt/rules_window.h"
#include "platform/qt/window_fit.h"

namespace kiryuza::window {

namespace {

QString fromView(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent),
      view_(new BoardView(this)),
      panel_(new RecordPanel(view_)),
      study_(new StudyPanel(this)),
      timer_(new GameTimer(this)),
      messages_(this) {
    setWindowTitle(fromView(製品名));
    setCentralWidget(view_);
    buildMenus();

    view_->setMouseHandler([this](int button, int shift, double x, double y) {
        dispatch([&](GameEvents& e) { e.mouseDown(button, shift, x, y); });
    });
    view_->setKeyHandler([this](int key) { dispatch([&](GameEvents& e) { e.keyPress(key); }); });
    view_->setKeyDownHandler(
        [this](int code) { dispatch([&](GameEvents& e) { e.keyDown(code); }); });
    panel_->setHandlers({
        [this](const std::string& path) { dispatch([&](GameEvents& e) { e.fileClick(path); }); },
        [this](const std::string& drive) {
            dispatch([&](GameEvents& e) { e.driveChange(drive); });
        },
        [this](const std::string& folder) {
            dispatch([&](GameEvents& e) { e.folderChange(folder); });
        },
        [this] { dispatch([](GameEvents& e) { e.returnClick(); }); },
    });
    study_->setHandlers({
        [this](int n) { dispatch([&](GameEvents& e) { e.entryChosen(n); }); },
        [this](bool shown) { dispatchWhenIdle([shown](GameEvents& e) { e.panelShown(shown); }); },
        [this] { dispatch([](GameEvents& e) { e.analysisToggled(); }); },
        [this] { dispatch([](GameEvents& e) { e.copyRecord(); }); },
        [this] { dispatch([](GameEvents& e) { e.saveRecordText(); }); },
    });
    // F3 shows the panel with the keyboard in its list; pressed there, it hides the panel.
    auto* f3 = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(f3, &QShortcut::activated, this, [this] {
        if (!study_->表示中() || study_->listHasFocus()) {
            dispatch([](GameEvents& e) { e.menu(control::KIFU_LIST); });
        }
        study_->focusList();
        if (!study_->表示中()) view_->setFocus();
    });
    // A tick never runs inside another handler: the game's clock is only ever advanced
    // between events, and a modal box's nested event loop must not reach the game.
    timer_->setTickHandler([this] {
        if (depth_ == 0) dispatch([](GameEvents& e) { e.timerTick(); });
    });
    quit_ = [] { QCoreApplication::exit(0); };

    view_->setFocus();
    配置(0, 0, 9800, 8000);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus() {
    std::map<QString, QMenu*> menus;
    for (const 操作項目& entry : 操作一覧) {
        const QString name = fromView(entry.名);
        const QString caption = fromView(entry.見出し);
        QMenu* parentMenu = entry.親.empty() ? nullptr : menus.at(fromView(entry.親));
        QAction* action = nullptr;
        if (entry.種類 == 項目種類::メニュー) {
            QMenu* menu = parentMenu ? parentMenu->addMenu(caption) : menuBar()->addMenu(caption);
            menu->setObjectName(name);
            menus[name] = menu;
            action = menu->menuAction();
            // Opening a menu is an event of its own for the game.
            connect(menu, &QMenu::aboutToShow, this,
                    [this, entry] { dispatch([&](GameEvents& e) { e.menu(entry.名); }); });
        } else {
            action = parentMenu ? parentMenu->addAction(caption) : menuBar()->addAction(caption);
            action->setCheckable(entry.種類 == 項目種類::チェック);
            connect(action, &QAction::triggered, this, [this, action] { menuChosen(action); });
            if (!entry.キー.empty()) action->setShortcut(QKeySequence(fromView(entry.キー)));
        }
        action->setObjectName(name);
        actions_[name] = action;
    }
}

void MainWindow::menuChosen(QAction* action) {
    // The game owns the check marks: Qt has already toggled a checkable item, so put it
    // back; the handler reads the old state and sets the new one itself.
    if (action->isCheckable()) action->setChecked(!action->isChecked());
    const std::string name = action->objectName().toStdString();
    dispatch([&](GameEvents& e) { e.menu(name); });
}

QAction* MainWindow::action(const QString& name) const {
    const auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

namespace {

struct Depth {
    int& depth;
    explicit Depth(int& d) : depth(d) { ++depth; }
    ~Depth() { --depth; }
    Depth(const Depth&) = delete;
    Depth& operator=(const Depth&) = delete;
};

}  // namespace

void MainWindow::dispatch(const std::function<void(GameEvents&)>& call) {
    // Once the session ends, only the handler already running goes on.
    if (events_ == nullptr || ended_ || ending_) return;
    {
        const Depth guard(depth_);
        call(*events_);
    }
    if (depth_ == 0 && ending_) {
        endSession();
        return;
    }
    if (depth_ == 0 && quitRequested_) finish();
    while (depth_ == 0 && !deferred_.empty() && !ended_) {
        const auto next = std::move(deferred_.front());
        deferred_.erase(deferred_.begin());
        dispatch(next);
    }
}

void MainWindow::dispatchWhenIdle(std::function<void(GameEvents&)> call) {
    if (depth_ == 0) {
        dispatch(call);
    } else {
        deferred_.push_back(std::move(call));
    }
}

void MainWindow::handle(const std::function<void()>& handler) {
    dispatch([&handler](GameEvents&) { handler(); });
}

void MainWindow::endOnSignal() {
    if (ending_ || ended_) return;
    ending_ = true;
    timer_->停止();
    messages_.closeAll();
    // A menu open, the about box, a file dialog: closed as Esc would close them.
    while (QWidget* popup = QApplication::activePopupWidget()) {
        if (!popup->close()) break;
    }
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible()) {
            dialog->reject();
        }
    }
    if (depth_ == 0) endSession();
}

void MainWindow::endSession() {
    if (ended_) return;
    if (events_ != nullptr) {
        // Form_Unload stops the searches, the clock and the sound; it asks to end, which the
        // depth keeps for finish() below.
        const Depth guard(depth_);
        events_->unload();
    }
    finish();
}

void MainWindow::tellAutosaveWritten() {
    QMetaObject::invokeMethod(
        this, [this] { dispatchWhenIdle([](GameEvents& e) { e.autosaveWritten(); }); },
        Qt::QueuedConnection);
}

void MainWindow::tellSearchAnswered() {
    QMetaObject::invokeMethod(
        this, [this] { dispatchWhenIdle([](GameEvents& e) { e.searchAnswered(); }); },
        Qt::QueuedConnection);
}

void MainWindow::bringForward(const QByteArray& token) {
    // A Wayland compositor lets a window take the focus with the token of the start that
    // asked for it; the platform reads it from the environment when the window is activated.
    if (!token.isEmpty()) qputenv("XDG_ACTIVATION_TOKEN", token);
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

bool MainWindow::チェック(std::string_view 名) const {
    const QAction* a = action(fromView(名));
    return a != nullptr && a->isChecked();
}

void MainWindow::チェック設定(std::string_view 名, bool 付ける) {
    QAction* a = action(fromView(名));
    if (a != nullptr && a->isCheckable()) a->setChecked(付ける);
}

void MainWindow::有効設定(std::string_view 名, bool 有効) {
    if (QAction* a = action(fromView(名))) a->setEnabled(有効);
}

double MainWindow::pixelsPerTwip() const {
    const QScreen* s = screen();
    const double dpi = s ? s->logicalDotsPerInchY() : 96.0;
    return (std::isfinite(dpi) && dpi > 0 ? dpi : 96.0) / 1440.0;
}

double MainWindow::上端() {
    // What a maximised window reports as its top edge.
    if (isMaximized()) return -60;
    return frameGeometry().top() / pixelsPerTwip();
}

void MainWindow::配置(double 左, double 上, double 幅, double 高さ) {
    const double f = pixelsPerTwip();
    const auto pixels = [f](double twips) {
        return std::isfinite(twips)
                   ? static_cast<int>(std::lround(std::clamp(twips, -1e6, 1e6) * f))
                   : 0;
    };
    if (isMaximized() || isFullScreen()) showNormal();
    // The outer size in twips includes the classic frame; the view gets the client area, made
    // smaller in proportion where the screen is smaller, so the canvas shows whole.
    const QRect area = availableArea(*this);
    const QSize frame = frameGeometry().size() - size();
    const int menu = menuBar()->heightForWidth(pixels(幅 - kFrameWidthTwips));
    const QSize minimum = view_->minimumSize();
    QSize client(std::max(minimum.width(), pixels(幅 - kFrameWidthTwips)),
                 std::max(minimum.height(), pixels(高さ - kFrameHeightTwips)));
    if (!area.isEmpty())
        client = shrinkToFit(client, area.size() - frame - QSize(0, menu)).expandedTo(minimum);
    const QRect fitted =
        fitInside(QRect(QPoint(pixels(左), pixels(上)), client + QSize(0, menu) + frame), area);
    move(fitted.topLeft());
    resize(fitted.size() - frame);
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    shown_.start();
    QTimer::singleShot(0, this, [this] { fitFrame(); });
}

bool MainWindow::event(QEvent* event) {
    // A window manager frames the window a moment after it is shown: until it has settled,
    // each move or resize checks that the whole frame stays on the screen.
    if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && shown_.isValid() &&
        shown_.elapsed() < kSettlingMs && !fitPending_) {
        fitPending_ = true;
        QTimer::singleShot(0, this, [this] { fitFrame(); });
    }
    return QMainWindow::event(event);
}

void MainWindow::fitFrame() {
    fitPending_ = false;
    if (isMaximized() || isFullScreen() || !isVisible()) return;
    const QRect frame = frameGeometry();
    const QRect fitted = fitInside(frame, availableArea(*this));
    if (fitted == frame) return;
    resize(size() - (frame.size() - fitted.size()));
    move(fitted.topLeft());
}

QRect availableArea(const QWidget& window) {
    const QScreen* s = QGuiApplication::screenAt(window.geometry().center());
    if (s == nullptr) s = window.screen();
    if (s == nullptr) s = QGuiApplication::primaryScreen();
    return s != nullptr ? s->availableGeometry() : QRect();
}

void fitIntoScreen(QMainWindow& window) {
    const QRect area = availableArea(window);
    const Qt::WindowStates states = window.windowState();
    const Qt::WindowStates whole = Qt::WindowMaximized | Qt::WindowFullScreen;
    // A maximised window keeps the place it goes back to: that place is fitted.
    const QRect normal = states & whole ? window.normalGeometry() : window.geometry();
    const QRect fitted = fitInside(normal.isValid() ? normal : window.geometry(), area);
    if (fitted != normal && !window.isVisible()) {
        window.setWindowState(states & ~whole);
        window.setGeometry(fitted);
        window.setWindowState(states);
    }
    for (QDockWidget* dock : window.findChildren<QDockWidget*>(Qt::FindDirectChildrenOnly)) {
        if (dock->isFloating()) dock->setGeometry(fitInside(dock->geometry(), area));
    }
}

void MainWindow::終了() {
    quitRequested_ = true;
    if (depth_ == 0) finish();
}

void MainWindow::finish() {
    if (ended_) return;
    ended_ = true;
    timer_->停止();
    hide();
    // Leave the event loop once control is back in it.
    QTimer::singleShot(0, this, [this] {
        if (quit_) quit_();
    });
}

void MainWindow::描画を進める() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void MainWindow::バージョン情報() {
    AboutDialog dialog(this);
    dialog.exec();
}

void MainWindow::遊び方() {
    showRulesWindow(this);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F10 || event->key() == Qt::Key_Menu) {
        if (QAction* first = menuBar()->actions().value(0)) {
            menuBar()->setActiveAction(first);
            return;
        }
    }
    QMainWindow::keyPressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing is refused while a handler is still running (its modal box is open).
    if (depth_ > 0) {
        event->ignore();
        return;
    }
    if (!ended_) {
        dispatch([](GameEvents& e) { e.unload(); });
        quitRequested_ = true;
        finish();
    }
    event->accept();
}

}  // namespace kiryuza::window
