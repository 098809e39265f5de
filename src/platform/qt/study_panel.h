// The panel 棋譜と形勢: a dock beside the board (or a window of its own) with the move list,
// the evaluation graph, the review's summary, 検討 and the record as text. Its widgets are
// made when it is first shown, so that a start without it makes none of them.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "platform/qt/interfaces.h"
#include "platform/qt/window_fit.h"

class QCheckBox;
class QDockWidget;
class QLabel;
class QMainWindow;
class QPlainTextEdit;
class QTreeWidget;

namespace kiryuza::window {

class EvaluationGraph;

class StudyPanel : public QObject, public StudyPanelInterface {
    Q_OBJECT

  public:
    struct Handlers {
        std::function<void(int entry)> entryChosen;
        std::function<void(bool shown)> shownChanged;
        std::function<void()> analysisToggled;
        std::function<void()> copyClicked;
        std::function<void()> saveClicked;
    };

    // The dock's object name, by which the window's memory finds it.
    static constexpr char kObjectName[] = "KIFU_LIST_PANEL";

    explicit StudyPanel(QMainWindow* window);
    void setHandlers(Handlers handlers) { handlers_ = std::move(handlers); }

    // The dock, made now if it was not; null before.
    QDockWidget* dock(bool make);
    // Gives the keyboard to the move list, showing the panel first.
    void focusList();
    bool listHasFocus() const;
    QTreeWidget* list() const { return list_; }
    EvaluationGraph* graph() const { return graph_; }

    bool 表示中() const override;
    void 表示設定(bool 表示) override;
    void 行を置く(const std::vector<一覧行>& 行) override;
    void 選択設定(int n) override;
    void 形勢を置く(const std::vector<形勢点>& 点, bool 下手が先手) override;
    void 講評を置く(const std::string& 文) override;
    bool 検討中() const override;
    void 検討設定(bool 入) override;
    void 検討を置く(const std::string& 文) override;
    void 文を写す(const std::string& 文) override;
    std::optional<std::string> 保存先を尋ねる(const std::string& 既定名) override;

  protected:
    // The list's own mouse handling is kept out: a press chooses the row under it, once.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void build();
    // The narrowest the panel's contents may be: the move list's columns whole, the buttons.
    int narrowest() const;
    bool docked() const;
    bool mayWiden() const;
    QRect availableArea() const;
    int separator() const;
    PanelRoom room() const;
    // The panel has just been shown, or found shown: room beside the board, or it floats
    // where `mayFloat` (not where the player left it docked).
    void placeShown(bool mayFloat);
    // The docked panel to take `taken` of the window's width, its separator included.
    void setDockedWidth(int taken);
    void windowResized();

    QMainWindow* window_;
    Handlers handlers_;
    QPointer<QDockWidget> dock_;
    QTreeWidget* list_ = nullptr;
    EvaluationGraph* graph_ = nullptr;
    QLabel* summary_ = nullptr;
    QCheckBox* analysis_ = nullptr;
    QPlainTextEdit* analysisText_ = nullptr;
    bool settingRows_ = false;  // the game is changing the list: its signals are not the player's
    bool lastShown_ = false;
    int widened_ = 0;  // what the window widened to make room for the panel
    bool resizePending_ = false;
    bool windowShown_ = false;  // the window has been shown once
    bool shownHere_ = false;    // the panel was shown in this run, not found shown
};

}  // namespace kiryuza::window
