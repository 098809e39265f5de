// The window's menus and menu items, left to right and top to bottom: each with its name, its
// caption, the menu it sits in, its kind and the handler it runs. The window builds its menu
// bar from this table and sends every choice back through it.
#pragma once

#include <string_view>

#include "game/form1.h"
#include "interfaces/control_names.h"

namespace kiryuza {

enum class 項目種類 { メニュー, 項目, チェック };

struct 操作項目 {
    std::string_view 名;
    std::string_view 見出し;
    std::string_view 親;  // empty: on the menu bar itself
    項目種類 種類;
    void (Form1::*処理)();    // null: a sub-menu that does nothing of its own
    std::string_view キー{};  // the key that chooses it too, as Qt names keys ("F1")
};

namespace control {
using M = 項目種類;
inline constexpr 操作項目 操作一覧[] = {
    {TAIKYOKU, "対局", "", M::メニュー, &Form1::TAIKYOKU_Click},
    {MATCH_MAN, "対局(人間)", TAIKYOKU, M::メニュー, &Form1::MATCH_MAN_Click},
    {START, "スタート", MATCH_MAN, M::項目, &Form1::START_Click},
    {START2, "対局(COM)", TAIKYOKU, M::メニュー, nullptr},
    {SENTE, "先手", START2, M::項目, &Form1::SENTE_Click},
    {GOTE, "後手", START2, M::項目, &Form1::GOTE_Click},
    {SHINKI, "新しい対局", TAIKYOKU, M::項目, &Form1::SHINKI_Click, "Ctrl+N"},
    {LEVEL, "COM対局ﾚﾍﾞﾙ", TAIKYOKU, M::メニュー, nullptr},
    {LEVEL1, "ﾚﾍﾞﾙ1", LEVEL, M::チェック, &Form1::LEVEL1_Click},
    {LEVEL2, "ﾚﾍﾞﾙ2", LEVEL, M::チェック, &Form1::LEVEL2_Click},
    {LEVEL3, "ﾚﾍﾞﾙ3", LEVEL, M::チェック, &Form1::LEVEL3_Click},
    {LEVEL4, "ﾚﾍﾞﾙ4", LEVEL, M::チェック, &Form1::LEVEL4_Click},
    {MATTA, "待った", TAIKYOKU, M::項目, &Form1::MATTA_Click},
    {HINT, "ヒント", TAIKYOKU, M::項目, &Form1::HINT_Click},
    {TOURYOU, "投了", TAIKYOKU, M::項目, &Form1::TOURYOU_Click},
    {OWARI, "終わり", TAIKYOKU, M::項目, &Form1::OWARI_Click},
    {STOP, "局面", "", M::メニュー, &Form1::STOP_Click},
    {CANCEL, "最初", STOP, M::項目, &Form1::CANCEL_Click},
    {REVERSE, "反転", STOP, M::項目, &Form1::REVERSE_Click},
    {REPLAY, "戻", "", M::項目, &Form1::REPLAY_Click},
    {AFTER, "進", "", M::項目, &Form1::AFTER_Click},
    {LBEL_UP, "△", "", M::項目, &Form1::LBEL_UP_Click},
    {LEBEL_DOWN, "▽", "", M::項目, &Form1::LEBEL_DOWN_Click},
    {KIFU, "棋譜", "", M::メニュー, &Form1::KIFU_Click},
    {KIFU_READ, "読込", KIFU, M::項目, &Form1::KIFU_READ_Click},
    {KIFU_WRITE, "書込", KIFU, M::項目, &Form1::KIFU_WRITE_Click},
    {KIFU_LIST, "棋譜と形勢", KIFU, M::チェック, &Form1::KIFU_LIST_Click},
    {OPTION, "ｵﾌﾟｼｮﾝ", "", M::メニュー, &Form1::OPTION_Click},
    {HAIKEI_GA, "背景画", OPTION, M::メニュー, nullptr},
    {MIDORI, "緑", HAIKEI_GA, M::チェック, &Form1::MIDORI_Click},
    {TATAMI, "畳", HAIKEI_GA, M::チェック, &Form1::TATAMI_Click},
    {TAKE, "竹", HAIKEI_GA, M::チェック, &Form1::TAKE_Click},
    {UCHU, "宇宙", HAIKEI_GA, M::チェック, &Form1::UCHU_Click},
    {RENGA, "煉瓦", HAIKEI_GA, M::チェック, &Form1::RENGA_Click},
    {SIDOU, "移動指導", OPTION, M::チェック, &Form1::SIDOU_Click},
    {KEIKA, "経過時間", OPTION, M::チェック, &Form1::KEIKA_Click},
    {BGM, "BGM", OPTION, M::チェック, &Form1::BGM_Click},
    {NARI_FUNARI, "成・不成を選ぶ", OPTION, M::チェック, &Form1::NARI_FUNARI_Click},
    {MOCHIJIKAN, "持ち時間", OPTION, M::メニュー, nullptr},
    {MOCHI_NASHI, "なし", MOCHIJIKAN, M::チェック, &Form1::MOCHI_NASHI_Click},
    {MOCHI_1, "1分", MOCHIJIKAN, M::チェック, &Form1::MOCHI_1_Click},
    {MOCHI_5, "5分", MOCHIJIKAN, M::チェック, &Form1::MOCHI_5_Click},
    {MOCHI_10, "10分", MOCHIJIKAN, M::チェック, &Form1::MOCHI_10_Click},
    {MOCHI_15, "15分", MOCHIJIKAN, M::チェック, &Form1::MOCHI_15_Click},
    {MOCHI_30, "30分", MOCHIJIKAN, M::チェック, &Form1::MOCHI_30_Click},
    {MOCHI_60, "60分", MOCHIJIKAN, M::チェック, &Form1::MOCHI_60_Click},
    {BYOUYOMI, "秒読み", OPTION, M::メニュー, nullptr},
    {BYOU_NASHI, "なし", BYOUYOMI, M::チェック, &Form1::BYOU_NASHI_Click},
    {BYOU_10, "10秒", BYOUYOMI, M::チェック, &Form1::BYOU_10_Click},
    {BYOU_30, "30秒", BYOUYOMI, M::チェック, &Form1::BYOU_30_Click},
    {BYOU_60, "60秒", BYOUYOMI, M::チェック, &Form1::BYOU_60_Click},
    {VER, "その他", "", M::項目, &Form1::VER_Click},
    {ASOBIKATA, "遊び方", "", M::項目, &Form1::ASOBIKATA_Click, "F1"},
};
}  // namespace control

using control::操作一覧;

// The control of that name; nothing when there is none.
constexpr const 操作項目* 操作を探す(std::string_view 名) {
    for (const 操作項目& e : 操作一覧)
        if (e.名 == 名) return &e;
    return nullptr;
}

// Runs the handler of the control of that name; false when it has none.
inline bool 操作する(Form1& form, std::string_view 名) {
    const 操作項目* e = 操作を探す(名);
    if (e == nullptr || e->処理 == nullptr) return false;
    (form.*(e->処理))();
    return true;
}

}  // namespace kiryuza
