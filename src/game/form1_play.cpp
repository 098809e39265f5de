// Form1's play beyond the start commands: a new game in one step, resigning, the time control
// with its clocks counting down, the question before a game nobody saved is replaced, and the
// choices of play kept between runs.
#include <cmath>
#include <cstddef>
#include <string>
#include <string_view>

#include "engine/time_budget.h"
#include "game/form1.h"
#include "rules/handicap.h"
#include "rules/time_control.h"

namespace kiryuza {

// ---------------------------------------------------------------------------------------------
// No game dropped without a question

// A game with moves on the board, going on or ended, whose history is not the one last saved
// (as a record or as KIF text) or loaded from a record: replacing it would lose it. A won game
// is the record players most want to keep.
bool Form1::未保存の対局() const {
    return s_.状況.手番 != 手番_なし && s_.棋譜.棋譜記録数() >= 1 &&
           !(保存時の棋譜_ && 記録が同じ(*保存時の棋譜_, s_.棋譜));
}

// True when nothing unsaved would be lost, or the player agrees to lose it; the question
// speaks of the game as it is, going on or ended.
bool Form1::破棄してよいか() {
    if (!未保存の対局()) return true;
    const char* 問い = s_.局.勝者 == 手番_なし
                           ? "対局中の棋譜は保存されていません。破棄してよろしいですか？"
                           : "終局した対局の棋譜は保存されていません。破棄してよろしいですか？";
    return 環境_.メッセージ.表示(問い, "対局", ボタン種類::はいいいえ_いいえ既定) ==
           押されたボタン::はい;
}

// ---------------------------------------------------------------------------------------------
// A new game and resigning

// Takes the pieces of a handicap of `レベル` off the starting position, as △ and ▽ would.
void Form1::ハンデを置く(int レベル) {
    if (レベル == 0) return;
    auto& 状況 = s_.状況;
    const int 向き = レベル > 0 ? 1 : -1;
    while (状況.ハンデレベル != レベル && ハンデを動かす(s_.局, 状況.ハンデレベル, 向き)) {
    }
    状況.ハンデ設定フラグ = 定数_ON;
    s_.棋譜.開始(s_.局, s_.時計.累計秒MAN, s_.時計.累計秒COM, 棋譜の出自::ハンデ);
    画面_.画面_再描画();
}

// Lays out the starting position with the handicap in force and starts the kind of game
// started last.
void Form1::SHINKI_Click() {
    if (思考中なら断る()) return;
    パネルを閉じる();
    if (!破棄してよいか()) return;
    const 自動保存の番 番{*this};
    const auto& 状況 = s_.状況;
    // A turned board shows the handicap from the other side.
    const int ハンデ = 状況.ハンデ設定フラグ == 定数_ON
                           ? (状況.反転フラグ == 定数_ON ? -状況.ハンデレベル : 状況.ハンデレベル)
                           : 0;
    初期設定(s_, *this);
    ハンデを置く(ハンデ);
    switch (好み_.種類) {
        case 対局の種類::COM先手:
            SENTE_Click();
            break;
        case 対局の種類::COM後手:
            GOTE_Click();
            break;
        case 対局の種類::人間:
            START_Click();
            break;
    }
}

// The side to move gives up; against the computer it is always the player who does.
void Form1::TOURYOU_Click() {
    if (思考中なら断る()) return;
    パネルを閉じる();
    if (!対局中()) {
        音_.鳴らす_禁止();
        return;
    }
    if (環境_.メッセージ.表示("投了しますか？", "投了", ボタン種類::はいいいえ_いいえ既定) !=
        押されたボタン::はい) {
        return;
    }
    const 自動保存の番 番{*this};
    s_.状況.選択状態 = 0;
    画面_.描画_全桝輪郭();
    if (s_.状況.対局モード == 対局モード_COM) {
        対局を終える(s_.局.手番値COM, "投了しました。\nｺﾝﾋﾟｭｰﾀの勝ちです", "終了");
        return;
    }
    const bool 先手 = s_.状況.手番 == 手番_先手;
    対局を終える(-s_.状況.手番,
                 先手 ? "先手の投了です。\n後手の勝ちです" : "後手の投了です。\n先手の勝ちです",
                 "終了");
}

// Ends the game without a move: the winner, the clock stopped, the turn display, the message.
void Form1::対局を終える(int 勝者, const std::string& 本文, const std::string& 題) {
    環境_.Timer1.停止();
    時計を止める(s_.時計, 現在秒());
    終局理由_ = 題 == "時間切れ" ? 終局の理由::時間切れ : 終局の理由::投了;
    s_.局.勝者 = 勝者;
    画面_.描画_手番表示();
    // Kept before the box: a time-out comes on a tick, outside any command that would keep it,
    // and a game that has ended is never offered again.
    自動保存する();
    告知(本文, 題);
}

// Remembers the kind of game a start command began, for 新しい対局 and the next run.
void Form1::種類を覚える(対局の種類 種類) {
    if (好み_.種類 == 種類) return;
    好み_.種類 = 種類;
    書込_好み();
}

void Form1::ASOBIKATA_Click() {
    パネルを閉じる();
    環境_.窓.遊び方();
}

// ---------------------------------------------------------------------------------------------
// The time control

bool Form1::持ち時間制() const {
    return s_.時計.持ち時間秒 > 0 || s_.時計.秒読み秒 > 0;
}

// The running clock under a time control (the side that has the move in the game, also while
// its history is looked back through): counts its time left down, ends the game when it has
// run out, and keeps the game every few seconds, so that a killed game comes back with its
// clocks as they stood. Not while levels 1-3 search inside a handler: the move they find is
// checked when it is played.
void Form1::時計を動かす() {
    auto& 時 = s_.時計;
    const 時計の側 側 = 時.走る側;
    if (側 == 時計の側::なし) return;
    const double 今 = 現在秒();
    時.経過秒 = 手の秒(時, 側, 今);
    const double 累計 = 側の累計(時, 側);
    const 時計の残り r = 残り時間(時.持ち時間秒, 時.秒読み秒, 累計, 時.経過秒);
    if (r.切れ && !同期思考中_) {
        時間切れなら終える();
        return;
    }
    if (!同期思考中_ && 調査_経過秒(残した時刻_, 今) >= 時計を残す間隔秒) 自動保存する();
    const int 表示 = 残りの表示秒(r.残り秒);
    if (表示 == 残り表示_) return;
    残り表示_ = 表示;
    画面_.描画_所有時間(側の手番(側), 累計 + 時.経過秒, 時.経過秒);
    画面_.更新();
}

// When the side whose clock runs has used up its time (measured now), the game ends as its
// loss; true when it did.
bool Form1::時間切れなら終える() {
    auto& 時 = s_.時計;
    if (!持ち時間制() || s_.局.勝者 != 手番_なし || 時.走る側 == 時計の側::なし) return false;
    時.経過秒 = 手の秒(時, 時.走る側, 現在秒());
    const int 負け = 側の手番(時.走る側);
    const double 累計 = 側の累計(時, 時.走る側);
    if (!残り時間(時.持ち時間秒, 時.秒読み秒, 累計, 時.経過秒).切れ) return false;
    if (COM思考中_) {
        環境_.読み.取り消す(依頼者::対局);
        COM思考中_ = false;
        操作可否を合わせる();
    }
    画面_.消去_思考中();
    形の選択を取り消す();
    s_.状況.選択状態 = 0;
    画面_.描画_全桝輪郭();
    画面_.描画_所有時間(負け, 累計 + 時.経過秒, 時.経過秒);
    if (s_.状況.対局モード == 対局モード_COM) {
        if (負け == s_.局.手番値MAN) {
            対局を終える(-負け, "時間切れです。\nｺﾝﾋﾟｭｰﾀの勝ちです", "時間切れ");
        } else {
            対局を終える(-負け, "コンピュータの時間切れです。\nあなたの勝ちです", "時間切れ");
        }
    } else {
        const bool 先手 = 負け == 手番_先手;
        対局を終える(
            -負け,
            先手 ? "先手の時間切れです。\n後手の勝ちです" : "後手の時間切れです。\n先手の勝ちです",
            "時間切れ");
    }
    return true;
}

namespace {

// The seconds of item `名` of a time-control menu.
template <std::size_t N>
int 項目の秒(const 時間項目 (&一覧)[N], std::string_view 名) {
    for (const auto& e : 一覧)
        if (e.メニュー名 == 名) return e.秒;
    return 0;
}

}  // namespace

// A time control (the main time, or the byoyomi with `秒読み`) is chosen before a game or
// between games: a game under way keeps the one it began with, so that the menu neither runs
// anybody's time out nor gives any back (looking back through the history included). A game
// not begun yet (no move, none taken back) begins afresh on the new control, as it would after
// 最初 and a start command.
void Form1::時間選択(bool 秒読み, std::string_view 名) {
    if (思考中なら断る()) return;
    const std::string 題 = 秒読み ? "秒読み" : "持ち時間";
    if (対局が進行中() && (s_.状況.手数 > 0 || s_.棋譜.棋譜記録数() > 0)) {
        音_.鳴らす_禁止();
        告知("対局の途中では" + 題 + "を変えられません。", 題);
        メニューを合わせる();
        return;
    }
    const int 秒 = 秒読み ? 項目の秒(秒読み一覧, 名) : 項目の秒(持ち時間一覧, 名);
    (秒読み ? 好み_.秒読み秒 : 好み_.持ち時間秒) = 秒;
    int& 今の秒 = 秒読み ? s_.時計.秒読み秒 : s_.時計.持ち時間秒;
    const bool 変わる = 今の秒 != 秒;
    今の秒 = 秒;
    残り表示_ = -1;
    メニューを合わせる();
    書込_好み();
    if (変わる && 対局が進行中()) {
        // The clock that ran starts again from nothing: the side to move's, or, while the game
        // waits for a click to go on, the side's that had the move.
        const 時計の側 盤の側 = 時計側(s_.状況.手番);
        const 時計の側 側 = s_.状況.再開フラグ == 定数_ON ? s_.時計.走る側
                            : 人の側(盤の側)              ? 盤の側
                                                          : 時計の側::なし;
        時計を初めに戻す(s_.時計);
        s_.棋譜.開始(s_.局, 0, 0, s_.棋譜.出自());
        if (持ち時間制()) {
            時計を切り替える(s_.時計, 側, 現在秒());
            環境_.Timer1.開始();
        } else if (側 != 時計の側::なし) {
            s_.時計.手番開始時刻 = 現在秒();
        }
    }
    if (時計が進行中()) {
        時計を描く();
        return;
    }
    画面_.描画_所有時間(s_.局.手番値COM, s_.時計.累計秒COM);
    画面_.描画_所有時間(s_.局.手番値MAN, s_.時計.累計秒MAN);
}

void Form1::MOCHI_NASHI_Click() {
    時間選択(false, control::MOCHI_NASHI);
}
void Form1::MOCHI_1_Click() {
    時間選択(false, control::MOCHI_1);
}
void Form1::MOCHI_5_Click() {
    時間選択(false, control::MOCHI_5);
}
void Form1::MOCHI_10_Click() {
    時間選択(false, control::MOCHI_10);
}
void Form1::MOCHI_15_Click() {
    時間選択(false, control::MOCHI_15);
}
void Form1::MOCHI_30_Click() {
    時間選択(false, control::MOCHI_30);
}
void Form1::MOCHI_60_Click() {
    時間選択(false, control::MOCHI_60);
}
void Form1::BYOU_NASHI_Click() {
    時間選択(true, control::BYOU_NASHI);
}
void Form1::BYOU_10_Click() {
    時間選択(true, control::BYOU_10);
}
void Form1::BYOU_30_Click() {
    時間選択(true, control::BYOU_30);
}
void Form1::BYOU_60_Click() {
    時間選択(true, control::BYOU_60);
}

// ---------------------------------------------------------------------------------------------
// Preferences kept between runs

// Reads the level, the time control and the kind of game of the last run; a missing or broken
// file leaves the defaults and is not written until a choice changes.
void Form1::読込_好み() {
    std::string 誤り;
    const auto 内容 = 環境_.ファイル.読む(環境_.場所.好みファイル, 誤り, 好みファイル最大バイト数);
    if (内容) 好み_ = 好みを読む(std::string(内容->begin(), 内容->end()));
    s_.時計.持ち時間秒 = 好み_.持ち時間秒;
    s_.時計.秒読み秒 = 好み_.秒読み秒;
    レベル_設定(好み_.COMレベル);
    メニューを合わせる();
}

void Form1::書込_好み() {
    const std::string 文 = 好みの文(好み_);
    const ファイル結果 r = 環境_.ファイル.書く(環境_.場所.好みファイル,
                                               std::vector<std::uint8_t>(文.begin(), 文.end()));
    // The choices stay in effect for this run; say once that they are not kept.
    if (!r.成功 && !好み書込失敗中_) {
        告知("設定ファイル「" + std::string(好みファイル名) +
                 "」に書き込めませんでした。\n選んだレベルと持ち時間は今回はそのまま使えますが、"
                 "次回の起動には引き継がれません。\n\n" +
                 r.誤り,
             "ｵﾌﾟｼｮﾝ");
    }
    好み書込失敗中_ = !r.成功;
}

}  // namespace kiryuza
