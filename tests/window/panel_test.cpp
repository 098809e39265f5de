// The record panel: its widgets over the board at their twip positions, the drive, folder and
// file lists on a real folder tree, the text boxes, and the events it sends.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "platform/qt/board_view.h"
#include "platform/qt/record_panel.h"
#include "qt_app.h"

namespace kiryuza::window {
namespace {

QStringList texts(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

QListWidgetItem* find(const QListWidget* list, const QString& text) {
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text() == text) return list->item(i);
    return nullptr;
}

class RecordPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        for (const char* sub : {"b_records", "a_games", "b_records/deeper"})
            ASSERT_TRUE(QDir(root.path()).mkpath(QString::fromUtf8(sub)));
        for (const char* file :
             {"second.棋譜", "first.棋譜", "notes.txt", "b_records/inner.棋譜"}) {
            QFile f(root.filePath(QString::fromUtf8(file)));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        view.resize(644, 488);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        panel.setHandlers({
            [this](const std::string& p) { log.push_back("file " + p); },
            [this](const std::string& d) { log.push_back("drive " + d); },
            [this](const std::string& f) { log.push_back("folder " + f); },
            [this] { log.emplace_back("return"); },
        });
    }
    std::string path(const char* relative = "") const {
        return QDir::cleanPath(root.filePath(QString::fromUtf8(relative))).toStdString();
    }

    QTemporaryDir root;
    BoardView view;
    RecordPanel panel{&view};
    std::vector<std::string> log;
};

// The lists open in the player's documents folder, or at home when there is none; never in
// the folder the program was started from.
TEST(RecordPanelStartTest, ListsOpenInTheDocumentsFolderElseAtHome) {
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")).toUtf8());
    BoardView view;
    const auto startsIn = [&view] {
        RecordPanel panel(&view);
        return std::make_pair(panel.folderListPath(), QString::fromStdString(panel.フォルダ()));
    };
    const QString atHome = QDir::cleanPath(home.path());
    EXPECT_EQ(startsIn(), std::make_pair(atHome, atHome));
    ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("Documents")));
    const QString documents = atHome + QStringLiteral("/Documents");
    EXPECT_EQ(startsIn(), std::make_pair(documents, documents));
    qputenv("HOME", oldHome);
    if (oldConfig.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", oldConfig);
}

TEST_F(RecordPanelTest, WidgetsSitAtTheirTwipPositionsAndFollowTheCanvas) {
    struct Row {
        QWidget* widget;
        QRect at1;  // logical pixels at the natural size (15 twips a pixel)
    };
    const Row rows[] = {
        {panel.drives(), {16, 24, 169, 20}},    {panel.folders(), {16, 40, 169, 114}},
        {panel.files(), {16, 152, 169, 62}},    {panel.label(3), {8, 160, 57, 17}},
        {panel.textBox(2), {64, 160, 153, 18}}, {panel.label(0), {8, 208, 57, 17}},
        {panel.textBox(1), {64, 208, 153, 18}}, {panel.returnButton(), {224, 224, 57, 25}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.widget->geometry(), row.at1) << row.widget->objectName().toStdString();

    // Twice as large and letterboxed: doubled and shifted by the margin.
    view.resize(1488, 976);
    QCoreApplication::processEvents();
    for (const Row& row : rows) {
        const QRect expected(QPoint(100, 0) + row.at1.topLeft() * 2, row.at1.size() * 2);
        EXPECT_LE((row.widget->geometry().topLeft() - expected.topLeft()).manhattanLength(), 2);
        EXPECT_LE(std::abs(row.widget->width() - expected.width()), 2);
    }
    EXPECT_GT(panel.drives()->font().pixelSize(), 20);
}

TEST_F(RecordPanelTest, StartsHiddenAndShowsWhatTheGameAsksFor) {
    const auto shown = [&] {
        std::string s;
        for (QWidget* w :
             {static_cast<QWidget*>(panel.drives()), static_cast<QWidget*>(panel.folders()),
              static_cast<QWidget*>(panel.files()), static_cast<QWidget*>(panel.label(0)),
              static_cast<QWidget*>(panel.textBox(4)), static_cast<QWidget*>(panel.returnButton())})
            s += w->isVisible() ? '1' : '0';
        return s;
    };
    EXPECT_EQ(shown(), "000000");
    panel.一覧表示(true, true, true);
    EXPECT_EQ(shown(), "111000");
    panel.一覧表示(true, true, false);
    panel.入力欄表示(true);
    EXPECT_EQ(shown(), "110111");
    panel.一覧表示(false, false, false);
    panel.入力欄表示(false);
    EXPECT_EQ(shown(), "000000");

    EXPECT_EQ(panel.label(0)->text(), QStringLiteral("ﾌｧｲﾙ名 ："));
    EXPECT_EQ(panel.label(1)->text(), QStringLiteral("後    手 ："));
    EXPECT_EQ(panel.label(2)->text(), QStringLiteral("先    手 ："));
    EXPECT_EQ(panel.label(3)->text(), QStringLiteral("対 局 名："));
    EXPECT_EQ(panel.returnButton()->text(), QStringLiteral("RETURN"));
}

TEST_F(RecordPanelTest, ListsFoldersAndRecordFilesAndReportsChoices) {
    ASSERT_TRUE(panel.ドライブ設定(path()));
    EXPECT_EQ(texts(panel.folders()),
              (QStringList{QString::fromStdString(path()), "..", "a_games", "b_records"}));
    EXPECT_EQ(texts(panel.files()), (QStringList{"first.棋譜", "second.棋譜"}));
    EXPECT_EQ(panel.フォルダ(), path());

    emit panel.folders()->itemActivated(find(panel.folders(), "b_records"));
    EXPECT_EQ(panel.folderListPath().toStdString(), path("b_records"));
    EXPECT_EQ(texts(panel.folders()).mid(1), (QStringList{"..", "deeper"}));
    // The file list moves when the game says so.
    EXPECT_EQ(panel.フォルダ(), path());
    panel.ファイルフォルダ設定(path("b_records"));
    EXPECT_EQ(texts(panel.files()), QStringList{"inner.棋譜"});
    emit panel.folders()->itemActivated(find(panel.folders(), ".."));
    EXPECT_EQ(panel.folderListPath().toStdString(), path());

    panel.一覧表示(true, true, true);
    QListWidgetItem* inner = panel.files()->item(0);
    QTest::mouseClick(panel.files()->viewport(), Qt::LeftButton, {},
                      panel.files()->visualItemRect(inner).center());
    EXPECT_EQ(log, (std::vector<std::string>{"folder " + path("b_records"), "folder " + path(),
                                             "file " + path("b_records/inner.棋譜")}));

    // A new file shows after the list is read again.
    QFile(root.filePath("b_records/later.棋譜")).open(QIODevice::WriteOnly);
    panel.ファイル一覧更新();
    EXPECT_EQ(texts(panel.files()), (QStringList{"inner.棋譜", "later.棋譜"}));
}

TEST_F(RecordPanelTest, AMissingPlaceIsRefusedAndChangesNothing) {
    ASSERT_TRUE(panel.ドライブ設定(path()));
    EXPECT_FALSE(panel.ドライブ設定(path("no_such_folder")));
    EXPECT_FALSE(panel.ドライブ設定(path("first.棋譜")));
    EXPECT_FALSE(panel.ドライブ設定(""));
    EXPECT_FALSE(panel.ドライブ設定(std::string("\xff\xfe", 2)));
    EXPECT_EQ(panel.folderListPath().toStdString(), path());
    EXPECT_EQ(panel.フォルダ(), path());
}

TEST_F(RecordPanelTest, ChoosingADriveReportsItsPath) {
    ASSERT_GE(panel.drives()->count(), 2);
    EXPECT_EQ(panel.drives()->itemData(0).toString(), QStringLiteral("/"));
    EXPECT_EQ(panel.drives()->itemData(1).toString(), QDir::cleanPath(QDir::homePath()));
    emit panel.drives()->activated(1);
    EXPECT_EQ(log,
              std::vector<std::string>{"drive " + QDir::cleanPath(QDir::homePath()).toStdString()});
}

TEST_F(RecordPanelTest, TextBoxesHoldWhatIsTypedAndKeepKeysFromTheBoard) {
    std::vector<int> boardKeys;
    view.setKeyHandler([&](int k) { boardKeys.push_back(k); });
    panel.入力欄表示(true);
    panel.textBox(2)->setFocus();
    QTest::keyClicks(panel.textBox(2), QStringLiteral("meijin"));
    QTest::keyClick(panel.textBox(2), Qt::Key_Escape);
    EXPECT_EQ(panel.入力(2), "meijin");
    panel.textBox(2)->setText(QStringLiteral("名人戦"));
    panel.textBox(1)->setText(QStringLiteral("kifu1"));
    EXPECT_EQ(panel.入力(2), "名人戦");
    EXPECT_EQ(panel.入力(1), "kifu1");
    EXPECT_EQ(panel.入力(0), "");
    EXPECT_EQ(panel.入力(5), "");
    EXPECT_TRUE(boardKeys.empty());
    panel.returnButton()->click();
    EXPECT_EQ(log, std::vector<std::string>{"return"});

    panel.入力欄消去();
    EXPECT_EQ(panel.入力(2), "");
    panel.入力欄表示(false);
    EXPECT_TRUE(view.hasFocus() || QApplication::focusWidget() == nullptr);
}

TEST(PlacesTest, RootHomeThenMountedMediaWithoutRepeats) {
    const std::vector<Place> places = placesFrom(
        "/home/kiryu", {"/", "/boot/efi", "/media/kiryu/USB STICK", "/run/media/kiryu/CARD", "/mnt",
                        "/mnt/backup", "/media/kiryu/USB STICK/", "/proc"});
    QStringList paths;
    for (const Place& p : places) paths << p.path;
    EXPECT_EQ(paths, (QStringList{"/", "/home/kiryu", "/media/kiryu/USB STICK",
                                  "/run/media/kiryu/CARD", "/mnt", "/mnt/backup"}));
    EXPECT_EQ(places[2].label, QStringLiteral("メディア USB STICK"));
    EXPECT_EQ(placesFrom("", {}).size(), 1u);
}

}  // namespace
}  // namespace kiryuza::window
