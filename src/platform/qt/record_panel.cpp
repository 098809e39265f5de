#include "platform/qt/record_panel.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QStorageInfo>
#include <QStyle>
#include <algorithm>
#include <cmath>

#include "platform/qt/board_view.h"

namespace kiryuza::window {

namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toUtf8(const QString& text) {
    return text.toUtf8().toStdString();
}

// Positions in twips: left, top, width, height.
constexpr QRectF kDrive1{240, 360, 2535, 300};
constexpr QRectF kDir1{240, 600, 2535, 1710};
constexpr QRectF kFile1{240, 2280, 2535, 930};
constexpr QRectF kCommand1{3360, 3360, 855, 375};
// Label1(i) and its text box share a row: Label1(3) with Text2 at the top, Label1(0) with
// Text1 at the bottom.
constexpr double kLabelLeft = 120, kLabelWidth = 855, kLabelHeight = 255;
constexpr double kTextLeft = 960, kTextWidth = 2295, kTextHeight = 270;
constexpr double kRowTop[4] = {3120, 2880, 2640, 2400};  // by label index
constexpr const char* kCaptions[4] = {"ﾌｧｲﾙ名 ：", "後    手 ：", "先    手 ：", "対 局 名："};
// The text box on each label's row: Label1(0) Text1, (1) Text4, (2) Text3, (3) Text2.
constexpr int kTextOfLabel[4] = {1, 4, 3, 2};

// Paper-coloured controls with dark ink, in keeping with the board.
constexpr char kStyle[] = R"(
QComboBox, QListWidget, QLineEdit {
    background: #fbf5e6; color: #2b1d0e; border: 1px solid #6b4a22;
    selection-background-color: #9c3d22; selection-color: #fff8ec; padding: 0px 2px;
}
QLabel { background: #e9dcc0; color: #2b1d0e; border: 1px solid #6b4a22; padding: 0px 1px; }
QPushButton {
    background: #e9dcc0; color: #2b1d0e; border: 1px solid #6b4a22; border-radius: 3px;
}
QPushButton:pressed { background: #d4c29b; }
)";

// Folder-style sorting: by name, ignoring case.
QStringList sortedEntries(const QDir& dir, QDir::Filters filters, const QStringList& patterns) {
    QDir copy(dir);
    copy.setNameFilters(patterns);
    copy.setFilter(filters);
    copy.setSorting(QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    return copy.entryList();
}

bool canOpen(const QString& path) {
    const QFileInfo info(path);
    return !path.isEmpty() && info.isDir() && info.isReadable() && info.isExecutable();
}

}  // namespace

QString startFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return canOpen(documents) ? QDir::cleanPath(documents) : QDir::cleanPath(QDir::homePath());
}

std::vector<Place> placesFrom(const QString& home, const QStringList& mountPoints) {
    std::vector<Place> places;
    const auto add = [&](const QString& label, const QString& path) {
        const QString clean = QDir::cleanPath(path);
        const bool known = std::any_of(places.begin(), places.end(),
                                       [&](const Place& p) { return p.path == clean; });
        if (!clean.isEmpty() && !known) places.push_back({label, clean});
    };
    add(QStringLiteral("ルート (/)"), QStringLiteral("/"));
    if (!home.isEmpty()) add(QStringLiteral("ホーム (%1)").arg(QDir::cleanPath(home)), home);
    for (const QString& mount : mountPoints) {
        const QString clean = QDir::cleanPath(mount);
        const bool media = clean.startsWith(QStringLiteral("/media/")) ||
                           clean.startsWith(QStringLiteral("/run/media/")) ||
                           clean.startsWith(QStringLiteral("/mnt/")) ||
                           clean == QStringLiteral("/mnt");
        if (media) add(QStringLiteral("メディア %1").arg(QFileInfo(clean).fileName()), clean);
    }
    return places;
}

RecordPanel::RecordPanel(BoardView* view) : QObject(view), view_(view) {
    folderPath_ = filePath_ = startFolder();
    connect(view, &BoardView::geometryChanged, this, &RecordPanel::relayout);
}

void RecordPanel::createWidgets() {
    if (created()) return;
    folders_ = new QListWidget(view_);
    files_ = new QListWidget(view_);
    return_ = new QPushButton(QStringLiteral("RETURN"), view_);
    drives_ = new QComboBox(view_);  // after Dir1, so it lies above the list's top edge
    drives_->setObjectName(QStringLiteral("Drive1"));
    folders_->setObjectName(QStringLiteral("Dir1"));
    files_->setObjectName(QStringLiteral("File1"));
    return_->setObjectName(QStringLiteral("Command1"));
    for (int i = 0; i < 4; ++i) {
        labels_[static_cast<std::size_t>(i)] = new QLabel(QString::fromUtf8(kCaptions[i]), view_);
        labels_[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        texts_[static_cast<std::size_t>(i)] = new QLineEdit(view_);
        texts_[static_cast<std::size_t>(i)]->setObjectName(QStringLiteral("Text%1").arg(i + 1));
    }
    for (QWidget* w : widgets()) {
        w->setStyleSheet(QString::fromLatin1(kStyle));
        w->hide();
    }
    folders_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    files_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return_->setFocusPolicy(Qt::TabFocus);

    fillDrives(folderPath_);
    showFolder(folderPath_);
    showFiles(filePath_);

    connect(drives_, &QComboBox::activated, this, [this](int index) {
        const QString path = drives_->itemData(index).toString();
        if (handlers_.driveChanged) handlers_.driveChanged(toUtf8(path));
    });
    connect(folders_, &QListWidget::itemActivated, this, &RecordPanel::folderActivated);
    connect(files_, &QListWidget::itemClicked, this, &RecordPanel::fileChosen);
    connect(files_, &QListWidget::itemActivated, this, &RecordPanel::fileChosen);
    connect(return_, &QPushButton::clicked, this, [this] {
        if (handlers_.returnClicked) handlers_.returnClicked();
    });
    // Enter in the file-name box presses RETURN.
    connect(texts_[0], &QLineEdit::returnPressed, this, [this] {
        if (handlers_.returnClicked) handlers_.returnClicked();
    });
    // Tab walks the panel top to bottom: drive, folder, files, title, 先手, 後手, file name,
    // RETURN (the hidden ones are skipped).
    QWidget* const order[] = {drives_,   folders_,  files_,    texts_[1],
                              texts_[2], texts_[3], texts_[0], return_};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        QWidget::setTabOrder(order[i], order[i + 1]);
    }
    relayout();
}

QComboBox* RecordPanel::drives() {
    createWidgets();
    return drives_;
}

QListWidget* RecordPanel::folders() {
    createWidgets();
    return folders_;
}

QListWidget* RecordPanel::files() {
    createWidgets();
    return files_;
}

QPushButton* RecordPanel::returnButton() {
    createWidgets();
    return return_;
}

QLabel* RecordPanel::label(int index) {
    createWidgets();
    return index >= 0 && index < 4 ? labels_[static_cast<std::size_t>(index)] : nullptr;
}

QLineEdit* RecordPanel::textBox(int number) {
    createWidgets();
    return number >= 1 && number <= 4 ? texts_[static_cast<std::size_t>(number - 1)] : nullptr;
}

void RecordPanel::relayout() {
    const ViewGeometry g = view_->viewGeometry();
    if (!created() || !g.isValid()) return;
    const auto place = [&](QWidget* w, const QRectF& twips) {
        w->setGeometry(g.twipsToLogical(twips).toRect());
    };
    place(drives_, kDrive1);
    place(folders_, kDir1);
    place(files_, kFile1);
    place(return_, kCommand1);
    for (int i = 0; i < 4; ++i) {
        place(labels_[static_cast<std::size_t>(i)],
              QRectF(kLabelLeft, kRowTop[i], kLabelWidth, kLabelHeight));
        place(texts_[static_cast<std::size_t>(kTextOfLabel[i] - 1)],
              QRectF(kTextLeft, kRowTop[i], kTextWidth, kTextHeight));
    }
    // The controls' 9-point face grows and shrinks with the canvas.
    QFont font = QApplication::font();
    font.setPixelSize(std::max(7, static_cast<int>(std::lround(12 * g.logicalZoom()))));
    for (QWidget* w : widgets()) w->setFont(font);
    // The labels are narrow: a caption that does not fit gets a smaller face.
    for (QLabel* l : labels_) {
        QFont fitted = font;
        const int room = l->contentsRect().width() - 2;
        while (fitted.pixelSize() > 6 && QFontMetrics(fitted).horizontalAdvance(l->text()) > room)
            fitted.setPixelSize(fitted.pixelSize() - 1);
        l->setFont(fitted);
    }
}

void RecordPanel::一覧表示(bool ドライブ, bool フォルダ, bool ファイル) {
    if (!created() && !(ドライブ || フォルダ || ファイル)) return;
    createWidgets();
    drives_->setVisible(ドライブ);
    folders_->setVisible(フォルダ);
    files_->setVisible(ファイル);
    returnFocusIfHidden();
}

void RecordPanel::入力欄表示(bool 表示) {
    if (!created() && !表示) return;
    createWidgets();
    for (QLabel* l : labels_) l->setVisible(表示);
    for (QLineEdit* t : texts_) t->setVisible(表示);
    return_->setVisible(表示);
    returnFocusIfHidden();
}

void RecordPanel::入力欄消去() {
    if (!created()) return;
    for (QLineEdit* t : texts_) t->clear();
}

std::string RecordPanel::入力(int 番号) {
    if (!created() || 番号 < 1 || 番号 > 4) return {};
    return toUtf8(texts_[static_cast<std::size_t>(番号 - 1)]->text());
}

std::string RecordPanel::フォルダ() {
    return toUtf8(filePath_);
}

bool RecordPanel::ドライブ設定(const std::string& ドライブ) {
    createWidgets();
    const QString path = QDir::cleanPath(fromUtf8(ドライブ));
    // The drive list keeps showing the chosen place either way.
    for (int i = 0; i < drives_->count(); ++i)
        if (drives_->itemData(i).toString() == path) drives_->setCurrentIndex(i);
    if (!canOpen(path)) return false;
    // As with the classic controls, the file list follows the folder list.
    showFolder(path);
    showFiles(path);
    return true;
}

void RecordPanel::ファイルフォルダ設定(const std::string& フォルダ) {
    createWidgets();
    showFiles(QDir::cleanPath(fromUtf8(フォルダ)));
}

void RecordPanel::ファイル一覧更新() {
    if (created()) showFiles(filePath_);
}

void RecordPanel::fillDrives(const QString& current) {
    QStringList mounts;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady()) mounts << volume.rootPath();
    drives_->clear();
    int best = 0;
    qsizetype bestLength = -1;
    for (const Place& place : placesFrom(QDir::homePath(), mounts)) {
        drives_->addItem(place.label, place.path);
        drives_->setItemData(drives_->count() - 1, place.path, Qt::ToolTipRole);
        // The place holding the working folder is the one shown.
        const QString prefix = place.path.endsWith(u'/') ? place.path : place.path + u'/';
        if ((current == place.path || current.startsWith(prefix)) &&
            place.path.size() > bestLength) {
            best = drives_->count() - 1;
            bestLength = place.path.size();
        }
    }
    drives_->setCurrentIndex(best);
}

void RecordPanel::showFolder(const QString& path) {
    folderPath_ = path;
    folders_->clear();
    const QDir dir(path);
    const QStyle* style = folders_->style();
    auto* here = new QListWidgetItem(style->standardIcon(QStyle::SP_DirOpenIcon), path);
    here->setData(Qt::UserRole, path);
    QFont bold = here->font();
    bold.setBold(true);
    here->setFont(bold);
    folders_->addItem(here);
    if (!dir.isRoot()) {
        auto* up = new QListWidgetItem(style->standardIcon(QStyle::SP_FileDialogToParent),
                                       QStringLiteral(".."));
        up->setData(Qt::UserRole, QDir::cleanPath(dir.absoluteFilePath(QStringLiteral(".."))));
        up->setToolTip(QStringLiteral("ひとつ上のフォルダへ"));
        folders_->addItem(up);
    }
    for (const QString& name : sortedEntries(dir, QDir::Dirs | QDir::NoDotAndDotDot, {})) {
        auto* item = new QListWidgetItem(style->standardIcon(QStyle::SP_DirIcon), name);
        item->setData(Qt::UserRole, dir.absoluteFilePath(name));
        folders_->addItem(item);
    }
}

void RecordPanel::showFiles(const QString& path) {
    filePath_ = path;
    files_->clear();
    const QDir dir(path);
    for (const QString& name : sortedEntries(dir, QDir::Files, {QString::fromUtf8(kPattern)})) {
        auto* item = new QListWidgetItem(name);
        item->setData(Qt::UserRole, dir.absoluteFilePath(name));
        files_->addItem(item);
    }
}

void RecordPanel::folderActivated(QListWidgetItem* item) {
    if (item == nullptr) return;
    const QString path = item->data(Qt::UserRole).toString();
    if (path == folderPath_) return;
    if (!canOpen(path)) {
        QApplication::beep();
        return;
    }
    showFolder(path);
    if (handlers_.folderChanged) handlers_.folderChanged(toUtf8(path));
}

void RecordPanel::fileChosen(QListWidgetItem* item) {
    // A click that loaded the file hides the list; the double click's second half then
    // finds it hidden and does not load again.
    if (item == nullptr || files_->isHidden()) return;
    if (handlers_.fileClicked) handlers_.fileClicked(toUtf8(item->data(Qt::UserRole).toString()));
}

std::vector<QWidget*> RecordPanel::widgets() const {
    if (!created()) return {};
    std::vector<QWidget*> all{drives_, folders_, files_, return_};
    all.insert(all.end(), labels_.begin(), labels_.end());
    all.insert(all.end(), texts_.begin(), texts_.end());
    return all;
}

void RecordPanel::returnFocusIfHidden() {
    const std::vector<QWidget*> all = widgets();
    if (std::any_of(all.begin(), all.end(), [](QWidget* w) { return !w->isHidden(); })) return;
    // With the whole panel closed, keys go to the board again (Esc ends the game).
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr || focus->parentWidget() == view_) view_->setFocus();
}

}  // namespace kiryuza::window
