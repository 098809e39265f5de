// Form1's help for the player: the game kept as it goes and offered again after a crash, 待った
// (take a move back) and ヒント (the move the computer would choose in the player's place).
#include "game/form1.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace kiryuza {

namespace {

// The side that made move n of the history (true: the upper side); nothing for no move.
std::optional<bool> 指した側(const 棋譜表& 棋譜, int n) {
    int x = 0;
    int y = 0;
    int 駒 = 空桝;
    調査_移動結果(棋譜, n, x, y, 駒);
    if (駒 == 空桝) return std::nullopt;
    return COM駒(駒);
}

}  // namespace

// Keeps the game as it stands, when it changed since it was last kept. A game unchanged since
// it was saved to or loaded from a record is marked so, and is not offered again.
void Form1::自動保存する() {
    // A clock that runs is kept with the seconds its turn has taken so far.
    const double 今 = 現在秒();
    if (持ち時間制() && s_.時計.走る側 != 時計の側::なし)
        時計を切り替える(s_.時計, s_.時計.走る側, 今);
    残した時刻_ = 今;
    自動保存の印 印;
    印.終局 = s_.局.勝者 != 手番_なし;
    印.保存済み = 保存時の棋譜_ && 記録が同じ(*保存時の棋譜_, s_.棋譜);
    std::vector<std::uint8_t> 形 = 自動保存の形にする(s_, 印);
    if (形 != 自動保存した形_) {
        自動保存した形_ = 形;
        環境_.自動保存.保存(std::move(形));
    }
    自動保存の結果を見る();
}

void Form1::自動保存_完了() {
    自動保存の結果を見る();
}

// The first write of the kept game that fails is told, naming the folder and why; play goes
// on. The next failure is told only after a write has worked again.
void Form1::自動保存の結果を見る() {
    const std::optional<ファイル結果> 結果 = 環境_.自動保存.書込結果();
    if (!結果) return;
    if (!結果->成功 && !自動保存失敗中_) {
        時計を止めて告げる("対局の途中経過を保存できませんでした。\n保存先のフォルダ：" +
                               環境_.自動保存.フォルダ() + "\n理由：" + 結果->誤り +
                               "\n\n対局はこのまま続けられますが、プログラムが異常終了すると、"
                               "この対局は続きから再開できません。",
                           "対局");
    }
    自動保存失敗中_ = !結果->成功;
    // The game is written again after the next handler, changed or not.
    if (自動保存失敗中_) 自動保存した形_.clear();
}

// A kept game that does not read as a whole, sound game is renamed, never deleted, and the
// player is told once.
void Form1::壊れた保存を知らせる() {
    const std::optional<std::string> 移した先 = 環境_.自動保存.脇へ移す();
    std::string 本文 = "前回の対局は、保存されたファイルが壊れているため復元できませんでした。";
    if (移した先) 本文 += "\nそのファイルは「" + *移した先 + "」として残してあります。";
    告知(本文, "対局");
}

// At start-up: a game the last run left neither finished nor saved is offered again, and put
// back exactly as it was on はい; いいえ forgets it.
void Form1::前回の対局を確かめる() {
    const auto 内容 = 環境_.自動保存.読込();
    if (!内容) return;
    const auto 保存 = 自動保存を読む(*内容);
    if (!保存) {
        壊れた保存を知らせる();
        return;
    }
    // A game keeps the time control it was played under; one the menus do not offer was not
    // written by this game.
    const auto& 時 = 保存->状態.時計;
    auto 項目にある = [](const auto& 一覧, int 秒) {
        return std::any_of(std::begin(一覧), std::end(一覧),
                           [秒](const 時間項目& e) { return e.秒 == 秒; });
    };
    if (続けられる(*保存) &&
        (!項目にある(持ち時間一覧, 時.持ち時間秒) || !項目にある(秒読み一覧, 時.秒読み秒))) {
        壊れた保存を知らせる();
        return;
    }
    if (!続けられる(*保存) ||
        環境_.メッセージ.表示("前回の対局を続けますか？", "対局", ボタン種類::はいいいえ) !=
            押されたボタン::はい) {
        環境_.自動保存.消去();
        return;
    }
    s_.局 = 保存->状態.局;
    s_.棋譜 = 保存->状態.棋譜;
    s_.状況 = 保存->状態.状況;
    s_.時計.累計秒MAN = 時.累計秒MAN;
    s_.時計.累計秒COM = 時.累計秒COM;
    s_.時計.手の秒MAN = 時.手の秒MAN;
    s_.時計.手の秒COM = 時.手の秒COM;
    s_.時計.持ち時間秒 = 時.持ち時間秒;
    s_.時計.秒読み秒 = 時.秒読み秒;
    s_.時計.走る側 = 時計の側::なし;
    メニューを合わせる();
    // The next click announces the turn (or lets the computer move), as after stepping.
    s_.状況.再開フラグ = 定数_ON;
    s_.状況.選択状態 = 0;
    自動保存した形_ = *内容;
    レベル_設定(s_.状況.COMレベル);
    画面_.表示記憶消去();
    画面_.画面_再描画();
    画面_.描画_手数(s_.状況.手数, 色_白);
    最後の指し手を描く();
    const auto& 見 = s_.状況.見出し;
    if (s_.状況.棋譜モード == 定数_ON) 画面_.描画_棋譜見出し(見.対局名, 見.上手名, 見.下手名);
    画面_.描画_手番表示();
    // Under a time control a person's clock that ran goes on from the moment the question was
    // answered; the computer's waits for it to think again.
    if (時計が進行中() && 人の側(時.走る側)) {
        時計を切り替える(s_.時計, 時.走る側, 現在秒());
        環境_.Timer1.開始();
        時計を描く();
    }
}

// A game is going on with the board at its last position: not over, not a loaded record, not
// stepped through.
bool Form1::対局中() const {
    const auto& 状況 = s_.状況;
    return 状況.手番 != 手番_なし && s_.局.勝者 == 手番_なし && 状況.棋譜モード == 定数_OFF &&
           状況.再開フラグ == 定数_OFF && s_.棋譜.棋譜手数() == s_.棋譜.棋譜記録数();
}

bool Form1::ヒントを出せる() const {
    return 対局中() && s_.状況.対局モード == 対局モード_COM && s_.状況.手番 == s_.局.手番値MAN;
}

// A person plays the lower side against the computer and both sides between two people (a
// record loaded or a position not yet played is taken as theirs). The mouse always takes the
// change of form, unless the person chooses the form.
手の範囲 Form1::人の手の範囲(bool COM側) const {
    const bool 人 = s_.状況.対局モード != 対局モード_COM || !COM側;
    return 人 && !好み_.成不成を選ぶ ? 手の範囲::人の手 : 手の範囲::全て;
}

両側の範囲 Form1::両側の手の範囲() const {
    return {人の手の範囲(false), 人の手の範囲(true)};
}

// Greys out 待った, ヒント and 投了 when they cannot act.
void Form1::操作可否を合わせる() {
    環境_.メニュー欄.有効設定(control::MATTA, 対局中());
    環境_.メニュー欄.有効設定(control::TOURYOU, 対局中());
    環境_.メニュー欄.有効設定(control::HINT, ヒントを出せる());
}

// How many moves 待った takes back: between two people the last one; against the computer the
// player's last move and the computer's reply after it. 0 when there is nothing to take back.
int Form1::待ったの手数() {
    if (!対局中()) return 0;
    const int n = s_.棋譜.棋譜手数();
    if (s_.状況.対局モード == 対局モード_人間) return n >= 1 ? 1 : 0;
    if (s_.状況.手番 != s_.局.手番値MAN) return 0;
    for (int k = 1; k <= 2 && k <= n; ++k) {
        if (指した側(s_.棋譜, n - k + 1) == false) return k;
    }
    return 0;
}

// Shows each side's last move before the position on the board, as it was shown then.
void Form1::最後の指し手を描く() {
    bool 済み[2] = {false, false};
    for (int n = s_.棋譜.棋譜手数(); n >= 1 && !(済み[0] && 済み[1]); --n) {
        int x = 0;
        int y = 0;
        int 駒 = 空桝;
        調査_移動結果(s_.棋譜, n, x, y, 駒);
        if (駒 == 空桝 || 済み[COM駒(駒)]) continue;
        済み[COM駒(駒)] = true;
        画面_.描画_移動結果(COM駒(駒) ? s_.局.手番値COM : s_.局.手番値MAN, x, y, 駒, 色_移動結果);
    }
    if (!済み[0]) 画面_.消去_移動結果(s_.局.手番値MAN);
    if (!済み[1]) 画面_.消去_移動結果(s_.局.手番値COM);
}

void Form1::MATTA_Click() {
    if (思考中なら断る()) return;
    const 自動保存の番 番{*this};
    パネルを閉じる();
    const int 手 = 待ったの手数();
    if (手 == 0) {
        音_.鳴らす_禁止();
        return;
    }
    for (int i = 0; i < 手; ++i) s_.棋譜.戻す();
    s_.棋譜.以降を捨てる();
    s_.状況.手数 -= 手;
    if (手 % 2 == 1) s_.状況.手番 = -s_.状況.手番;
    s_.状況.選択状態 = 0;
    画面_.描画_全桝輪郭();
    棋譜の局面を置く();
    最後の指し手を描く();
    画面_.描画_手数(s_.状況.手数, 色_白);
    画面_.描画_手番表示();
    // Without a time control the player thinks again from now, the time of the moves taken
    // back gone with them. Under one every side keeps the time it has used, and between two
    // people the clock goes to the side that moves again.
    if (!持ち時間制() || 人の側(時計側(s_.状況.手番))) {
        手番の時計を動かす();
    } else {
        時計を止める(s_.時計, 現在秒());
    }
    音_.鳴らす_駒打();
}

void Form1::HINT_Click() {
    パネルを閉じる();
    if (!ヒントを出せる()) {
        音_.鳴らす_禁止();
        return;
    }
    // The computer's own search, for the player's side: level 4's answers later.
    if (s_.状況.COMレベル == 4) {
        読み依頼 依頼;
        依頼.局 = s_.局;
        依頼.COM側 = false;
        依頼.設定.範囲 = 両側の手の範囲();
        依頼.既出鍵 = 既出の鍵(false);
        ヒント番号_ = 環境_.読み.依頼する(依頼者::ヒント, 依頼);
        *ヒントを頼んだ局_ = s_.局;
        return;
    }
    ヒントエンジン_->COMレベル = s_.状況.COMレベル;
    ヒントエンジン_->範囲 = 人の手の範囲(false);
    探索観察 無観察;
    ヒントを見せる(一手読みの手(*ヒントエンジン_, s_.局, false, 無観察));
}

// Outlines the hint's squares and writes it as the player's move would read, unless the board
// has changed since it was asked for.
void Form1::ヒントを見せる(const 最善手& b) {
    const 局面& 頼んだ = *ヒントを頼んだ局_;
    const bool 同じ局面 = std::memcmp(頼んだ.盤面, s_.局.盤面, sizeof s_.局.盤面) == 0 &&
                          std::memcmp(頼んだ.持駒MAN, s_.局.持駒MAN, sizeof s_.局.持駒MAN) == 0;
    if (s_.状況.COMレベル == 4 && !同じ局面) return;
    if (!b.有り) {
        音_.鳴らす_禁止();
        return;
    }
    const 指し手 m{b.元X, b.元Y, b.先X, b.先Y, b.駒};
    // The piece as the player's move would leave it: the changed form, unless the player
    // chooses the form.
    const bool 打つ = m.元X == 持駒列_MAN;
    const int 元駒 = 打つ ? m.駒 : s_.局.盤面[m.元X][m.元Y];
    const int 駒 = 人の手の範囲(false) == 手の範囲::人の手
                       ? 人の置く駒(m.元X, m.元Y, m.先X, m.先Y, 元駒)
                       : m.駒;
    const 桝 元 = 打つ ? 持駒の位置(false, m.元Y - 2) : 桝{m.元X, m.元Y};
    画面_.描画_全桝輪郭();
    画面_.描画_桝輪郭(色_ヒント, 元.列, 元.行);
    画面_.描画_桝輪郭(色_ヒント, m.先X, m.先Y);
    画面_.描画_移動結果(s_.局.手番値MAN, m.先X, m.先Y, 駒, 色_ヒント);
}

}  // namespace kiryuza
