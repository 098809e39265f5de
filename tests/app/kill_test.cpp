// The game survives a kill: a real process of the program plays against the computer and is
// killed with SIGKILL; started again, it offers the game and puts back the last position it
// reached. The test program runs itself as the two game processes (--play, --restore).
#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <iostream>
#include <sstream>
#include <string>

#include "app/game.h"
#include "platform/qt/main_window.h"
#include "window/qt_app.h"

namespace kiryuza::app {
namespace {

// What a game process reports of its game: the move number, whose turn, the board.
std::string 様子(const 対局状態& s) {
    std::ostringstream out;
    out << s.状況.手数 << ' ' << s.状況.手番;
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) out << ' ' << s.局.盤面[x][y];
    for (int k = 1; k <= 7; ++k) out << ' ' << s.局.持駒MAN[k] << ' ' << s.局.持駒COM[k];
    return out.str();
}

void 桝を押す(window::MainWindow& w, int x, int y) {
    const QPointF twips(1050 + 570.0 * x + 285, 100 + 660.0 * y + 330);
    QTest::mouseClick(&w.view(), Qt::LeftButton, {},
                      w.view().viewGeometry().twipsToLogical(twips).toPoint());
}

// --play: starts a game against the computer, plays three moves, reporting the game after each,
// says "ready" and goes on running until it is killed.
int 指す() {
    nameApplication();
    testing::ModalAnswerer answerer;
    GameProgram program;
    if (!program.start()) return 2;
    program.window().action(QStringLiteral("SENTE"))->trigger();
    const int 手[3][4] = {{5, 7, 5, 6}, {4, 7, 4, 6}, {6, 7, 6, 6}};
    for (const auto& m : 手) {
        桝を押す(program.window(), m[0], m[1]);
        桝を押す(program.window(), m[2], m[3]);
        std::cout << "state " << 様子(program.state()) << std::endl;
    }
    std::cout << "ready" << std::endl;
    return QApplication::exec();
}

// --restore: starts, answers はい when offered the last game, and reports the game it has.
int 戻す() {
    nameApplication();
    testing::ModalAnswerer answerer([](const QWidget&) { return QStringLiteral("はい"); });
    GameProgram program;
    program.start();
    bool 尋ねられた = false;
    for (const auto& box : answerer.seen())
        尋ねられた |=
            box.text == QStringLiteral("前回の対局を続けますか？") && box.answer == "はい";
    std::cout << (尋ねられた ? "restored " : "not offered ") << 様子(program.state()) << std::endl;
    return 0;
}

QProcessEnvironment 環境(const QTemporaryDir& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_STATE_HOME"), home.filePath(QStringLiteral("state")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // No sound server: the game runs silent, as on a machine without a device.
    env.insert(QStringLiteral("PULSE_SERVER"), home.filePath(QStringLiteral("no-pulse")));
    return env;
}

TEST(KillTest, AGameKilledMidwayIsOfferedAndPutBackWhenTheProgramStartsAgain) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QProcess play;
    play.setProcessEnvironment(環境(home));
    play.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--play")});
    ASSERT_TRUE(play.waitForStarted());
    std::vector<std::string> 様子一覧;
    for (;;) {
        if (!play.canReadLine() && !play.waitForReadyRead(60000)) break;
        const std::string line = play.readLine().trimmed().toStdString();
        if (line == "ready") break;
        if (line.rfind("state ", 0) == 0) 様子一覧.push_back(line.substr(6));
    }
    ASSERT_EQ(様子一覧.size(), 3u) << play.readAllStandardError().toStdString();
    ::kill(static_cast<pid_t>(play.processId()), SIGKILL);
    play.waitForFinished();
    EXPECT_EQ(play.exitStatus(), QProcess::CrashExit);

    QProcess restore;
    restore.setProcessEnvironment(環境(home));
    restore.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--restore")});
    ASSERT_TRUE(restore.waitForFinished(60000));
    const std::string out = restore.readAllStandardOutput().trimmed().toStdString();
    ASSERT_EQ(out.rfind("restored ", 0), 0u) << out;
    // The last position reached; a kill in the middle of writing it leaves the one kept before
    // the computer's reply: one move fewer, the computer to move.
    const std::string 戻った = out.substr(9);
    EXPECT_TRUE(戻った == 様子一覧.back() || 戻った.rfind("5 -1 ", 0) == 0) << 戻った;
}

}  // namespace
}  // namespace kiryuza::app

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 1 && (std::string(argv[1]) == "--play" || std::string(argv[1]) == "--restore")) {
        QApplication app(argc, argv);
        return std::string(argv[1]) == "--play" ? kiryuza::app::指す() : kiryuza::app::戻す();
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
