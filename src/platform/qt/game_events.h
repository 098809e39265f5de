// Where the window sends the game's events: one call per kind of event, menus by their
// control names. GameEventsFor<Game> forwards them to a game object with one handler per
// control (TAIKYOKU_Click, Form_MouseDown, File1_Click ...), such as Form1.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>

namespace kiryuza::window {

class GameEvents {
  public:
    virtual ~GameEvents() = default;
    // A menu title was opened or a menu item chosen ("TAIKYOKU", "SENTE", "SIDOU" ...).
    virtual void menu(std::string_view name) = 0;
    virtual void mouseDown(int button, int shift, double x, double y) = 0;
    virtual void keyPress(int key) = 0;
    virtual void timerTick() = 0;
    // The window is being closed.
    virtual void unload() = 0;
    // The record panel: a file clicked, a drive chosen, a folder entered, RETURN pressed.
    virtual void fileClick(const std::string& path) = 0;
    virtual void driveChange(const std::string& drive) = 0;
    virtual void folderChange(const std::string& folder) = 0;
    virtual void returnClick() = 0;
};

template <class Game>
class GameEventsFor final : public GameEvents {
  public:
    explicit GameEventsFor(Game& game) : game_(game) {}

    // Names without a handler (the sub-menus 対局(COM), COM対局ﾚﾍﾞﾙ, 背景画) do nothing.
    void menu(std::string_view name) override {
        for (const auto& [control, handler] : kHandlers)
            if (control == name) {
                (game_.*handler)();
                return;
            }
    }
    void mouseDown(int button, int shift, double x, double y) override {
        game_.Form_MouseDown(button, shift, x, y);
    }
    void keyPress(int key) override { game_.Form_KeyPress(key); }
    void timerTick() override { game_.Timer1_Timer(); }
    void unload() override { game_.Form_Unload(0); }
    void fileClick(const std::string& path) override { game_.File1_Click(path); }
    void driveChange(const std::string& drive) override { game_.Drive1_Change(drive); }
    void folderChange(const std::string& folder) override { game_.Dir1_Change(folder); }
    void returnClick() override { game_.Command1_Click(); }

  private:
    using Handler = void (Game::*)();
    static constexpr std::array<std::pair<std::string_view, Handler>, 29> kHandlers{{
        {"TAIKYOKU", &Game::TAIKYOKU_Click},
        {"MATCH_MAN", &Game::MATCH_MAN_Click},
        {"START", &Game::START_Click},
        {"SENTE", &Game::SENTE_Click},
        {"GOTE", &Game::GOTE_Click},
        {"LEVEL1", &Game::LEVEL1_Click},
        {"LEVEL2", &Game::LEVEL2_Click},
        {"LEVEL3", &Game::LEVEL3_Click},
        {"OWARI", &Game::OWARI_Click},
        {"STOP", &Game::STOP_Click},
        {"CANCEL", &Game::CANCEL_Click},
        {"REVERSE", &Game::REVERSE_Click},
        {"REPLAY", &Game::REPLAY_Click},
        {"AFTER", &Game::AFTER_Click},
        {"LBEL_UP", &Game::LBEL_UP_Click},
        {"LEBEL_DOWN", &Game::LEBEL_DOWN_Click},
        {"KIFU", &Game::KIFU_Click},
        {"KIFU_READ", &Game::KIFU_READ_Click},
        {"KIFU_WRITE", &Game::KIFU_WRITE_Click},
        {"OPTION", &Game::OPTION_Click},
        {"MIDORI", &Game::MIDORI_Click},
        {"TATAMI", &Game::TATAMI_Click},
        {"TAKE", &Game::TAKE_Click},
        {"UCHU", &Game::UCHU_Click},
        {"RENGA", &Game::RENGA_Click},
        {"SIDOU", &Game::SIDOU_Click},
        {"KEIKA", &Game::KEIKA_Click},
        {"BGM", &Game::BGM_Click},
        {"VER", &Game::VER_Click},
    }};

    Game& game_;
};

}  // namespace kiryuza::window
