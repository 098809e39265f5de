// An engine program as a player of a match: started through the shell, spoken to on the engine
// protocol (docs/ENGINE.md), and started anew for the next game after it has failed.
#pragma once

#include <memory>
#include <string>

#include "analyze.h"
#include "player.h"

namespace kiryuza {

std::unique_ptr<対局者> エンジン対局者を作る(const std::string& 命令, int 時間ms,
                                             const 持ち時間設定& 時計, int スレッド数);

}  // namespace kiryuza
