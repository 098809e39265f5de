// Where the window sends the game's events: one call per kind of event, menus by their
// control names. FormEvents forwards them to Form1's handlers (TAIKYOKU_Click,
// Form_MouseDown, File1_Click ...).
#pragma once

#include <string>
#include <string_view>

#include "game/controls.h"

namespace kiryuza::window {

class GameEvents {
  public:
    virtual ~GameEvents() = default;
    // A menu title was opened or a menu item chosen ("TAIKYOKU", "SENTE", "SIDOU" ...).
    virtual void menu(std::string_view name) = 0;
    virtual void mouseDown(int button, int shift, double x, double y) = 0;
    virtual void keyPress(int key) = 0;
    // A key without a character (the arrows), as a key code.
    virtual void keyDown(int code) = 0;
    virtual void timerTick() = 0;
    // The window is being closed.
    virtual void unload() = 0;
    // The record panel: a file clicked, a drive chosen, a folder entered, RETURN pressed.
    virtual void fileClick(const std::string& path) = 0;
    virtual void driveChange(const std::string& drive) = 0;
    virtual void folderChange(const std::string& folder) = 0;
    virtual void returnClick() = 0;
    // A write of the kept game has ended.
    virtual void autosaveWritten() = 0;
    // The searching player has answers.
    virtual void searchAnswered() = 0;
    // The panel 棋譜と形勢: an entry chosen in the list or the graph, the panel shown or
    // hidden, 検討 switched, the record copied or saved as text.
    virtual void entryChosen(int entry) = 0;
    virtual void panelShown(bool shown) = 0;
    virtual void analysisToggled() = 0;
    virtual void copyRecord() = 0;
    virtual void saveRecordText() = 0;
};

// The events as Form1's handlers: menus through the table of controls.
class FormEvents final : public GameEvents {
  public:
    explicit FormEvents(Form1& form) : form_(form) {}

    // Names without a handler (the sub-menus 対局(COM), COM対局ﾚﾍﾞﾙ, 背景画) do nothing.
    void menu(std::string_view name) override { 操作する(form_, name); }
    void mouseDown(int button, int shift, double x, double y) override {
        form_.Form_MouseDown(button, shift, x, y);
    }
    void keyPress(int key) override { form_.Form_KeyPress(key); }
    void keyDown(int code) override { form_.Form_KeyDown(code); }
    void timerTick() override { form_.Timer1_Timer(); }
    void unload() override { form_.Form_Unload(0); }
    void fileClick(const std::string& path) override { form_.File1_Click(path); }
    void driveChange(const std::string& drive) override { form_.Drive1_Change(drive); }
    void folderChange(const std::string& folder) override { form_.Dir1_Change(folder); }
    void returnClick() override { form_.Command1_Click(); }
    void autosaveWritten() override { form_.自動保存_完了(); }
    void searchAnswered() override { form_.読み_完了(); }
    void entryChosen(int entry) override { form_.棋譜一覧_選択(entry); }
    void panelShown(bool shown) override { form_.形勢パネル_表示変化(shown); }
    void analysisToggled() override { form_.検討_切替(); }
    void copyRecord() override { form_.棋譜をコピー_Click(); }
    void saveRecordText() override { form_.棋譜を文で保存_Click(); }

  private:
    Form1& form_;
};

}  // namespace kiryuza::window
