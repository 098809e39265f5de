// One copy per account, and a game that survives a kill: a real process of the program plays
// against the computer; a second start of the real program brings it forward and ends at once,
// changing no file; then the first is killed with SIGKILL, and started again the game takes
// over its lock, offers the game and puts back the last position it reached. The test program
// runs itself as the two game processes (--play, --restore).
#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <iostream>
#include <sstream>
#include <string>

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <map>

#include "app/game.h"
#include "app/places.h"
#include "app/single_instance.h"
#include "platform/qt/main_window.h"
#include "record/autosave.h"
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

// The move number of the game kept on the disk; -1 when none reads.
int 保存された手数() {
    QFile file(findPlaces().gameFile);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QByteArray b = file.readAll();
    const auto 保存 = 自動保存を読む(std::vector<std::uint8_t>(b.begin(), b.end()));
    return 保存 ? 保存->状態.状況.手数 : -1;
}

// --play: takes the account's lock, starts a game against the computer, plays three moves,
// reporting the game after each, says "ready" once the last is on the disk, and goes on running
// until it is killed; asked to come forward, it says so.
int 指す() {
    nameApplication();
    testing::ModalAnswerer answerer;
    InstanceLock lock = InstanceLock::claim(keptGameFolder());
    if (lock.outcome() != InstanceLock::Outcome::first) return 3;
    GameProgram program;
    lock.listen([&program](const QByteArray& token) {
        std::cout << "forward " << token.toStdString() << std::endl;
        program.window().bringForward(token);
    });
    if (!program.start()) return 2;
    program.window().action(QStringLiteral("SENTE"))->trigger();
    const int 手[3][4] = {{5, 7, 5, 6}, {4, 7, 4, 6}, {6, 7, 6, 6}};
    for (const auto& m : 手) {
        桝を押す(program.window(), m[0], m[1]);
        桝を押す(program.window(), m[2], m[3]);
        std::cout << "state " << 様子(program.state()) << std::endl;
    }
    QElapsedTimer waited;
    waited.start();
    while (保存された手数() != program.state().状況.手数 && waited.elapsed() < 20000)
        QTest::qWait(10);
    std::cout << "ready" << std::endl;
    return QApplication::exec();
}

// --restore: starts, answers はい when offered the last game, and reports the game it has.
int 戻す() {
    nameApplication();
    testing::ModalAnswerer answerer([](const QWidget&) { return QStringLiteral("はい"); });
    // The killed copy's lock went with it.
    const InstanceLock lock = InstanceLock::claim(keptGameFolder());
    if (lock.outcome() != InstanceLock::Outcome::first) return 3;
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

// Every file under `folder` with its bytes.
std::map<QString, QByteArray> ファイル一覧(const QString& folder) {
    std::map<QString, QByteArray> 一覧;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        一覧[it.filePath()] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("?");
    }
    return 一覧;
}

// The next line of `p` that starts with `head`, without it; empty after a minute without one.
std::string 次の行(QProcess& p, const std::string& head) {
    for (;;) {
        if (!p.canReadLine() && !p.waitForReadyRead(60000)) return "";
        const std::string line = p.readLine().trimmed().toStdString();
        if (line.rfind(head, 0) == 0) return line.substr(head.size());
    }
}

TEST(KillTest, ASecondStartBringsTheGameForwardAndAGameKilledMidwayComesBack) {
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

    // The real program, started again on the same account.
    const auto 前 = ファイル一覧(home.path());
    QProcess second;
    QProcessEnvironment env = 環境(home);
    env.insert(QStringLiteral("XDG_ACTIVATION_TOKEN"), QStringLiteral("token-42"));
    second.setProcessEnvironment(env);
    second.start(QStringLiteral(KIRYUZA_PROGRAM), {});
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardError().contains("すでに起動しています"));
    EXPECT_EQ(次の行(play, "forward "), "token-42");
    EXPECT_EQ(ファイル一覧(home.path()), 前);

    ::kill(static_cast<pid_t>(play.processId()), SIGKILL);
    play.waitForFinished();
    EXPECT_EQ(play.exitStatus(), QProcess::CrashExit);

    QProcess restore;
    restore.setProcessEnvironment(環境(home));
    restore.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--restore")});
    ASSERT_TRUE(restore.waitForFinished(60000));
    EXPECT_EQ(restore.exitCode(), 0);
    const std::string out = restore.readAllStandardOutput().trimmed().toStdString();
    EXPECT_EQ(out, "restored " + 様子一覧.back());
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
