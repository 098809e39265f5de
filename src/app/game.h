// The whole program: the Qt window, the sound library and the file and text-code adapters
// wired to the game's logic, with the game's files in their Linux places.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "interfaces/platform.h"
#include "rules/game_state.h"

class QWidget;

namespace kiryuza::window {
class MainWindow;
}

class QMainWindow;

namespace kiryuza::app {

// Files as the game reads and writes them, except that a write into `folder` first makes that
// folder when it is missing: the configuration folder appears with the first settings saved.
class FolderMakingFiles : public ファイル系 {
  public:
    FolderMakingFiles(ファイル系& files, const QString& folder) : files_(files), folder_(folder) {}
    bool 存在(const std::string& パス) override { return files_.存在(パス); }
    std::optional<std::vector<std::uint8_t>> 読む(const std::string& パス, std::string& 誤り,
                                                  std::size_t 上限) override {
        return files_.読む(パス, 誤り, 上限);
    }
    ファイル結果 書く(const std::string& パス, const std::vector<std::uint8_t>& 内容) override;
    std::shared_ptr<const 読み口> 開く(const std::string& パス, std::string& 誤り,
                                       std::size_t 上限) override {
        return files_.開く(パス, 誤り, 上限);
    }

  private:
    ファイル系& files_;
    QString folder_;
};

// The window's size, position and maximised state, and where its panel stood and whether it
// was shown, kept in `file` between runs.
class WindowMemory {
  public:
    explicit WindowMemory(QString file) : file_(std::move(file)) {}
    // Puts the window where it was last time; nothing when there is no record of it. When the
    // panel was shown, `makePanel` makes it first, so that it comes back where it stood.
    void restore(QMainWindow& window, const std::function<void()>& makePanel = {}) const;
    void save(const QMainWindow& window) const;

  private:
    QString file_;
};

// Gives the application its names: "kiryuza" for its folders and desktop entry, "Kiryuza" to
// show. Call it right after the QApplication is made.
void nameApplication();

// The whole program wired together: the window, the platform adapters, the game's state and
// Form1, with its files in their Linux places. A QApplication with the program's name must
// exist.
class GameProgram {
  public:
    // `keepGame` false: a copy that may not be the only one; it neither offers nor keeps the
    // game in progress, and says so once its window is shown.
    explicit GameProgram(bool keepGame = true);
    ~GameProgram();
    GameProgram(const GameProgram&) = delete;
    GameProgram& operator=(const GameProgram&) = delete;

    // Starts the game and shows the window; false when the game ended at once.
    bool start();
    window::MainWindow& window();
    const 対局状態& state() const;

  private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

// Runs the game until it ends and returns the exit code; a QApplication must exist. When a
// copy of the game already runs for this account, its window is brought forward instead and
// 0 is returned at once, with no file touched. The end of the session (SIGTERM, SIGHUP) ends
// it whatever box is open, keeping the game and the window's place.
int runGame();

// The program's whole run: as runGame, but the check for a running copy comes first, then the
// QApplication is made. With no display to show the window on, one line says so and the exit
// code is 1.
int runProgram(int& argc, char** argv);

}  // namespace kiryuza::app
