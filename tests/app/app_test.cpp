// The program's places and what it keeps between runs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

#include "app/game.h"
#include "app/places.h"
#include "platform/files/qt_file_system.h"
#include "platform/qt/main_window.h"
#include "window/qt_app.h"

namespace kiryuza::app {
namespace {

// The test program's application, named as the game's program names its own.
class NamedApplication : public testing::WidgetsEnvironment {
  public:
    void SetUp() override {
        WidgetsEnvironment::SetUp();
        nameApplication();
    }
};
[[maybe_unused]] auto* const environment =
    ::testing::AddGlobalTestEnvironment(new NamedApplication);

std::string utf8(const QString& s) {
    return s.toUtf8().toStdString();
}

TEST(PlacesTest, SoundsComeFromTheInstalledDataFolderElseFromBesideTheProgram) {
    QTemporaryDir prefix;
    ASSERT_TRUE(QDir(prefix.path()).mkpath(QStringLiteral("bin")));
    // A build tree: nothing but the program's folder.
    EXPECT_EQ(soundFolderFor(prefix.filePath(QStringLiteral("bin"))),
              prefix.filePath(QStringLiteral("bin")) + u'/');
    // Installed: share/kiryuza beside bin, wherever the prefix is.
    ASSERT_TRUE(QDir(prefix.path()).mkpath(QStringLiteral("share/kiryuza")));
    EXPECT_EQ(soundFolderFor(prefix.filePath(QStringLiteral("bin"))),
              prefix.filePath(QStringLiteral("share/kiryuza")) + u'/');
    EXPECT_EQ(soundFolderFor(prefix.filePath(QStringLiteral("bin/"))),
              prefix.filePath(QStringLiteral("share/kiryuza")) + u'/');
}

TEST(PlacesTest, SettingsAndWindowStateLiveInTheUsersConfigurationFolder) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    const Places places = findPlaces();
    qunsetenv("XDG_CONFIG_HOME");
    const QString folder = config.filePath(QStringLiteral("kiryuza"));
    EXPECT_EQ(places.configFolder, folder);
    EXPECT_EQ(places.settingsFile, folder + QStringLiteral("/Kiryuza.ini"));
    EXPECT_TRUE(places.windowStateFile.startsWith(folder + u'/'));
    EXPECT_NE(places.windowStateFile, places.settingsFile);
    EXPECT_FALSE(QFile::exists(folder)) << "made only when first written";
}

TEST(FolderMakingFilesTest, TheConfigurationFolderAppearsWithTheFirstWriteIntoIt) {
    QTemporaryDir home;
    const QString config = home.filePath(QStringLiteral("config/kiryuza"));
    QtFileSystem plain;
    FolderMakingFiles files(plain, config);
    const std::vector<std::uint8_t> bytes{'B', 'G', 'M'};

    // Writes elsewhere are left as they are: a missing folder is not made.
    const std::string elsewhere = utf8(home.filePath(QStringLiteral("records/a.棋譜")));
    EXPECT_FALSE(files.書く(elsewhere, bytes).成功);
    EXPECT_FALSE(QFile::exists(home.filePath(QStringLiteral("records"))));

    const std::string settings = utf8(config + QStringLiteral("/Kiryuza.ini"));
    EXPECT_FALSE(files.存在(settings));
    ASSERT_TRUE(files.書く(settings, bytes).成功);
    std::string error;
    EXPECT_EQ(files.読む(settings, error, 4096), bytes);
}

TEST(WindowMemoryTest, TheWindowComesBackWhereItWasLeft) {
    QTemporaryDir config;
    const QString file = config.filePath(QStringLiteral("kiryuza/window.conf"));
    const WindowMemory memory(file);
    const QRect placed(40, 30, 700, 520);
    {
        QMainWindow window;
        memory.restore(window);  // nothing saved yet: left as it is
        window.setGeometry(placed);
        window.show();
        // The program saves as it ends, after the window has been hidden.
        window.hide();
        memory.save(window);
    }
    QMainWindow again;
    again.setGeometry(0, 0, 300, 200);
    bool made = false;
    memory.restore(again, [&] { made = true; });
    EXPECT_EQ(again.geometry().size(), placed.size());
    EXPECT_EQ(again.geometry().topLeft(), placed.topLeft());
    EXPECT_FALSE(made);  // no panel was shown: none is made
}

// The panel 棋譜と形勢 comes back where it stood, shown, when it was shown at the end.
TEST(WindowMemoryTest, ThePanelComesBackWhereItStood) {
    QTemporaryDir config;
    const WindowMemory memory(config.filePath(QStringLiteral("window.conf")));
    {
        window::MainWindow window;
        window.show();
        window.study().表示設定(true);
        QDockWidget* dock = window.study().dock(false);
        dock->setFloating(true);
        dock->move(dock->pos() + QPoint(40, 30));
        window.hide();
        memory.save(window);
    }
    window::MainWindow again;
    memory.restore(again, [&] { again.study().dock(true); });
    again.show();
    QDockWidget* dock = again.study().dock(false);
    ASSERT_NE(dock, nullptr);
    EXPECT_TRUE(again.study().表示中());
    EXPECT_TRUE(dock->isFloating());
}

// Run as root with another account's home, the window's place is never written through that
// account's link: the file it leads to stays as it was.
TEST(WindowMemoryTest, ThePlaceIsNotWrittenThroughAnotherAccountsLink) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can give a link to another account";
    QTemporaryDir home;
    const QString standIn = home.filePath(QStringLiteral("shadow"));
    {
        QFile f(standIn);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("root:*:19000:0:99999:7:::\n");
    }
    ASSERT_TRUE(QFile::setPermissions(
        standIn, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));
    const QString file = home.filePath(QStringLiteral("config/kiryuza/window.conf"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file).absolutePath()));
    ASSERT_TRUE(QFile::link(standIn, file));
    ASSERT_EQ(::lchown(QFile::encodeName(file).constData(), 65534, 65534), 0);
    QMainWindow window;
    window.setGeometry(40, 30, 700, 520);
    WindowMemory(file).save(window);
    QFile f(standIn);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "root:*:19000:0:99999:7:::\n");
    EXPECT_TRUE(QFileInfo(file).isSymLink());
}

// A place larger than any screen, as a foreign or a hostile file may hold one, comes back
// inside the screen's available area before anything is drawn at its size: the window, the
// place a maximised window goes back to, and a floating panel.
TEST(WindowMemoryTest, APlaceIsFittedToTheScreenWhateverTheFileSays) {
    QTemporaryDir config;
    const WindowMemory memory(config.filePath(QStringLiteral("window.conf")));
    const QRect huge(-40000, -40000, 100000, 100000);
    for (const bool maximised : {false, true}) {
        {
            window::MainWindow window;
            window.study().表示設定(true);
            QDockWidget* dock = window.study().dock(false);
            dock->setFloating(true);
            dock->setGeometry(huge);
            window.setGeometry(huge);
            if (maximised) window.setWindowState(Qt::WindowMaximized);
            memory.save(window);
        }
        window::MainWindow again;
        memory.restore(again, [&] { again.study().dock(true); });
        const QRect area = window::availableArea(again);
        ASSERT_FALSE(area.isEmpty());
        EXPECT_EQ(again.isMaximized(), maximised);
        EXPECT_TRUE(area.contains(again.normalGeometry())) << again.normalGeometry().width();
        EXPECT_TRUE(maximised || area.contains(again.geometry()));
        QDockWidget* dock = again.study().dock(false);
        ASSERT_NE(dock, nullptr);
        EXPECT_TRUE(dock->isFloating());
        EXPECT_TRUE(area.contains(dock->geometry())) << dock->geometry().width();
    }
}

// A panel left docked comes back beside the board at the board's size, and hidden it gives
// the window's width back.
TEST(WindowMemoryTest, APanelLeftDockedComesBackBesideTheBoardAndGivesItsWidthBack) {
    QTemporaryDir config;
    const WindowMemory memory(config.filePath(QStringLiteral("window.conf")));
    QSize board;
    {
        window::MainWindow window;
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        board = window.view().size();
        window.study().表示設定(true);
        QTest::qWait(50);
        ASSERT_FALSE(window.study().dock(false)->isFloating());
        ASSERT_EQ(window.view().size(), board);
        window.hide();
        memory.save(window);
    }
    window::MainWindow again;
    memory.restore(again, [&] { again.study().dock(true); });
    again.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
    QTest::qWait(50);
    EXPECT_TRUE(again.study().表示中());
    EXPECT_FALSE(again.study().dock(false)->isFloating());
    EXPECT_EQ(again.view().size(), board);
    again.study().表示設定(false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return again.width() == board.width(); }, 2000))
        << again.width() << " for a board of " << board.width();
    EXPECT_EQ(again.view().size(), board);
}

}  // namespace
}  // namespace kiryuza::app
