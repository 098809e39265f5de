// Fuzz target: the kept game's reader on arbitrary bytes. The first byte chooses how the rest is
// taken:
//   0 (mod 3): as the file holds it;
//   1: with its checksum put right, so that changes reach the fields behind it;
//   2: as 1, and a game that reads and would be offered is taken up by the game on the test
//      fakes and played on with a few dozen random actions, each one checked.
// Whatever reads must write out to bytes that read back to the same game, and a game on offer
// must be sound.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "game/flow_check.h"
#include "record/autosave.h"

using namespace kiryuza;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int 形 = data[0] % 3;
    std::vector<std::uint8_t> 内容(data + 1, data + size);
    if (形 != 0) 検査値を付け直す(内容);

    const auto 保存 = 自動保存を読む(内容);
    if (!保存) return 0;
    const std::vector<std::uint8_t> 書いた = 自動保存の形にする(保存->状態, 保存->印);
    const auto 再 = 自動保存を読む(書いた);
    if (!再 || 自動保存の形にする(再->状態, 再->印) != 書いた) std::abort();
    if (!続けられる(*保存)) return 0;
    if (!自動保存の矛盾(*保存).empty()) std::abort();
    if (形 != 2) return 0;

    // Level 4 thinks for a second of real time a move: the game goes on at level 3, whose
    // turn runs the same steps at once.
    std::vector<std::uint8_t> 渡す = 内容;
    if (保存->状態.状況.COMレベル == 4) {
        自動保存 速く = *保存;
        速く.状態.状況.COMレベル = 3;
        渡す = 自動保存の形にする(速く.状態, 速く.印);
    }
    std::uint64_t 種 = 0;
    for (std::size_t i = 0; i < size; ++i) 種 = (種 ^ data[i]) * 1099511628211ull;
    const testing::流れ検査結果 r = testing::対局の流れを検査(種, 40, &渡す);
    if (r.違反数 != 0) {
        for (const auto& v : r.違反) std::fprintf(stderr, "%s\n", v.c_str());
        std::abort();
    }
    return 0;
}
