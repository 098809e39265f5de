// 遊び方: the window that teaches the game. It is not modal: the player reads it while a game
// goes on; one window at a time, brought forward when asked for again.
#pragma once

class QWidget;

namespace kiryuza::window {

// Shows the window beside `parent`, or brings the one already open forward.
void showRulesWindow(QWidget* parent);

}  // namespace kiryuza::window
