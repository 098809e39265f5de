// ASCII names for the game's platform interfaces, for classes that are also QObjects: moc
// cannot read the Japanese names in a base-class list.
#pragma once

#include "interfaces/canvas.h"
#include "interfaces/platform.h"

namespace kiryuza::window {

using CanvasInterface = キャンバス;
using TimerInterface = タイマー;
using MenuInterface = メニュー;
using RecordPanelInterface = 棋譜パネル;
using WindowInterface = ウィンドウ;
using StudyPanelInterface = 棋譜と形勢;

}  // namespace kiryuza::window
