// The record panel: Qt widgets laid over the board view at their twip positions, moving and
// scaling with the canvas. Drive1 lists the places a Linux user has (the root folder, the home
// folder, mounted media), Dir1 the folders of the current folder, File1 its "*.棋譜" files.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

#include "platform/qt/interfaces.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QWidget;

namespace kiryuza::window {

class BoardView;

// A place offered in the drive list.
struct Place {
    QString label;
    QString path;
};

// The root folder, the home folder, then the mount points under /media, /run/media and /mnt
// among `mountPoints`, in that order and without repeats.
std::vector<Place> placesFrom(const QString& home, const QStringList& mountPoints);

// Where the record lists and the save dialogs start: the user's documents folder when there is
// one, else the home folder; never the folder the program was started from.
QString startFolder();

class RecordPanel : public QObject, public RecordPanelInterface {
    Q_OBJECT

  public:
    struct Handlers {
        std::function<void(const std::string& path)> fileClicked;
        std::function<void(const std::string& drive)> driveChanged;
        std::function<void(const std::string& folder)> folderChanged;
        std::function<void()> returnClicked;
    };

    // The files of the list.
    static constexpr char kPattern[] = "*.棋譜";

    // A panel over `view`, all hidden. The lists start in the user's documents folder (the
    // home folder when there is none) and stay where the player leaves them. The widgets are
    // made when the panel is first shown or asked for them, not at start-up.
    explicit RecordPanel(BoardView* view);
    void setHandlers(Handlers handlers) { handlers_ = std::move(handlers); }

    void 一覧表示(bool ドライブ, bool フォルダ, bool ファイル) override;
    void 入力欄表示(bool 表示) override;
    void 入力欄消去() override;
    std::string 入力(int 番号) override;
    std::string フォルダ() override;
    bool ドライブ設定(const std::string& ドライブ) override;
    void ファイルフォルダ設定(const std::string& フォルダ) override;
    void ファイル一覧更新() override;

    // The widgets, made if they were not yet; for tests.
    QComboBox* drives();
    QListWidget* folders();
    QListWidget* files();
    QLabel* label(int index);
    QLineEdit* textBox(int number);
    QPushButton* returnButton();
    // The folder the folder list shows.
    QString folderListPath() const { return folderPath_; }

  public slots:
    // Places and sizes the widgets for the view's current geometry.
    void relayout();

  private:
    // Makes the widgets, hidden, with the lists showing the current folders.
    void createWidgets();
    bool created() const { return drives_ != nullptr; }
    void fillDrives(const QString& current);
    void showFolder(const QString& path);
    void showFiles(const QString& path);
    void folderActivated(QListWidgetItem* item);
    void fileChosen(QListWidgetItem* item);
    void returnFocusIfHidden();
    std::vector<QWidget*> widgets() const;

    BoardView* view_;
    QComboBox* drives_ = nullptr;
    QListWidget* folders_ = nullptr;
    QListWidget* files_ = nullptr;
    std::array<QLabel*, 4> labels_{};
    std::array<QLineEdit*, 4> texts_{};  // Text1..Text4
    QPushButton* return_ = nullptr;
    QString folderPath_;
    QString filePath_;
    Handlers handlers_;
};

}  // namespace kiryuza::window
