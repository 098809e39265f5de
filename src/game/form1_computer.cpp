// Form1's computer: its levels and its turn, the one-ply search of levels 1 to 3 or the
// searching player of level 4, then the move played through the history and the screen.
#include "engine/time_budget.h"
#include "game/form1.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace kiryuza {

// ---------------------------------------------------------------------------------------------
// Computer level

void Form1::レベル_設定(int IN_LEVEL) {
    for (int k = 1; k <= 4; ++k)
        環境_.メニュー欄.チェック設定(control::LEVEL項目[k], k == IN_LEVEL);
    if (IN_LEVEL >= 1 && IN_LEVEL <= 4) s_.状況.COMレベル = IN_LEVEL;
    if (s_.状況.対局モード == 対局モード_COM) 画面_.描画_レベル(s_.状況.COMレベル);
}

// Clears the level text's cells, then sets the level.
void Form1::レベル選択(int レベル) {
    if (思考中なら断る()) return;
    const 自動保存の番 番{*this};
    画面_.消去_レベル();
    レベル_設定(レベル);
    if (好み_.COMレベル != s_.状況.COMレベル) {
        好み_.COMレベル = s_.状況.COMレベル;
        書込_好み();
    }
}

void Form1::LEVEL1_Click() {
    レベル選択(1);
}
void Form1::LEVEL2_Click() {
    レベル選択(2);
}
void Form1::LEVEL3_Click() {
    レベル選択(3);
}
void Form1::LEVEL4_Click() {
    レベル選択(4);
}

// ---------------------------------------------------------------------------------------------
// The computer's turn

namespace {

// Keeps the clock moving while the search runs.
class 時計観察 : public 探索観察 {
  public:
    explicit 時計観察(Form1& form) : form_(form) {}
    void 時計() override { form_.Timer1_Timer(); }

  private:
    Form1& form_;
};

}  // namespace

void Form1::com_ban() {
    auto& 局 = s_.局;
    auto& 時 = s_.時計;
    if (局.勝者 != 手番_なし) return;
    // The computer's move resumes the game, whoever asked for it.
    s_.状況.再開フラグ = 定数_OFF;
    if (棋譜満杯なら断る()) {
        環境_.Timer1.停止();
        時計を止める(時, 現在秒());
        return;
    }
    // The move that led here is kept before the computer thinks, which may take seconds.
    自動保存する();
    手番の時計を動かす();
    if (s_.設定.経過時間 || 持ち時間制()) 環境_.Timer1.開始();
    画面_.描画_思考中();
    画面_.描画_手番表示();
    画面_.更新();

    if (s_.状況.COMレベル == 4) {
        // The searching player thinks on threads of its own; its answer ends the turn.
        // A seed drawn from the moment of the computer's first move gives each game its own
        // choices among moves of nearly equal worth.
        if (s_.状況.手数 <= 1 || 揺らぎ種_ == 0)
            揺らぎ種_ = std::bit_cast<std::uint64_t>(現在秒()) * 0x9E3779B97F4A7C15ull | 1;
        読み依頼 依頼;
        依頼.局 = 局;
        依頼.COM側 = true;
        依頼.設定.揺らぎ種 = 揺らぎ種_;
        // Its opponent is a person, who cannot decline a change of form: it reads the game so.
        依頼.設定.範囲 = 両側の手の範囲();
        // On a clock, the searching player shares out the time left as its own clock would
        // (its turn may have begun before the game was kept and taken up again).
        if (持ち時間制()) {
            const 時計の残り r = 側の残り(時, 時計の側::COM, 現在秒());
            const double 本 = r.秒読み中 ? 0 : r.残り秒;
            const double 秒読み = r.秒読み中 ? r.残り秒 : 時.秒読み秒;
            const 考慮時間 t = 考慮時間を決める(
                std::llround(本 * 1000), std::llround(秒読み * 1000), 0, s_.棋譜.棋譜手数() + 1);
            依頼.設定.時間ms = static_cast<int>(std::clamp<std::int64_t>(t.目安ms, 1, 1 << 30));
        }
        依頼.既出鍵 = 既出の鍵(true);
        COM思考番号_ = 環境_.読み.依頼する(依頼者::対局, 依頼);
        COM思考中_ = true;
        操作可否を合わせる();
        return;
    }
    エンジン_->COMレベル = s_.状況.COMレベル;
    時計観察 観察(*this);
    同期思考中_ = true;
    const 最善手 手 = エンジン_->手を選ぶ(観察);
    同期思考中_ = false;
    COMの手を指す(手);
}

// The computer's move, chosen: the history, the blink, the move, the messages of its end.
void Form1::COMの手を指す(const 最善手& m) {
    auto& 局 = s_.局;
    auto& 時 = s_.時計;
    画面_.更新();
    if (!m.有り) {
        対局終了_COM手なし();
        return;
    }
    // A move found after the computer's time ran out is not played.
    if (時間切れなら終える()) return;

    const double 経過 = 手の経過秒(時計の側::COM);
    s_.棋譜.手順保存(局, 時.累計秒MAN, 時.累計秒MAN, 時.累計秒COM, 時.累計秒COM + 経過);
    // Booked at once, so that a winning move's time counts too and nobody's clock runs while
    // the move is shown.
    手を終える(時, 時計の側::COM, 経過);
    s_.状況.手数 += 1;
    画面_.描画_手数(s_.状況.手数, 色_白);
    if (m.元X == 持駒列_COM) {
        const 桝 元 = 持駒の位置(true, m.元Y);
        描画_駒点滅(m.駒, 元.列, 元.行, 2);
    } else {
        描画_駒点滅(m.元駒, m.元X, m.元Y, 2);
    }
    エンジン_->手を指す(m, *this);
    画面_.消去_思考中();
    待ち時間(0.5);
    音_.鳴らす_駒打();
    s_.棋譜.着手後保存(局);
    環境_.Timer1.停止();

    if (エンジン_->詰めかMAN() == 定数_ON) {
        告知("よし！!", "詰め ?");
    } else if (局.勝者 == 局.手番値COM) {
        画面_.消去_移動結果(局.手番値COM);
        s_.状況.手番 = 局.手番値MAN;
        画面_.描画_手番表示();
        告知("ｺﾝﾋﾟｭｰﾀの勝ちです", "終了");
        return;
    } else if (エンジン_->MAN王手()) {
        告知("   ** 王手 **", "");
    }
    画面_.描画_移動結果(局.手番値COM, m.先X, m.先Y, m.駒, 色_白);
    画面_.描画_桝輪郭(色_白, m.先X, m.先Y);
    s_.状況.手番 = 局.手番値MAN;
    手番の時計を動かす();
    画面_.描画_手番表示();
    if (s_.設定.経過時間 || 持ち時間制()) 環境_.Timer1.開始();
}

// Answers of the searching player: the computer's move of the turn it was asked for, or the
// hint; answers nobody waits for any more are dropped.
void Form1::読み_完了() {
    for (const 読み答え& a : 環境_.読み.答えを受け取る()) {
        if (a.誰 == 依頼者::検討) {
            検討の答え(a);
            continue;
        }
        if (!a.終わり) continue;
        if (a.誰 == 依頼者::対局 && COM思考中_ && a.番号 == COM思考番号_) {
            const 自動保存の番 番{*this};
            COM思考中_ = false;
            COMの手を指す(a.結果.手);
            操作可否を合わせる();
        } else if (a.誰 == 依頼者::ヒント && a.番号 == ヒント番号_ && ヒントを出せる()) {
            ヒントを見せる(a.結果.手);
        } else if (a.誰 == 依頼者::解析) {
            解析の答え(a);
        }
    }
}

// The keys of the positions of the history before the one on the board, for the searching
// player to tell a position reached again: the side to move alternates back from `今COM側`.
std::vector<std::uint64_t> Form1::既出の鍵(bool 今COM側) const {
    std::vector<std::uint64_t> 鍵;
    const int N = s_.棋譜.棋譜手数();
    鍵.reserve(static_cast<std::size_t>(N));
    局面 局;
    for (int n = 0; n < N; ++n) {
        const 棋譜項目& e = s_.棋譜.項目(n);
        std::memcpy(局.盤面, e.盤面, sizeof 局.盤面);
        std::memcpy(局.持駒MAN, e.持駒MAN, sizeof 局.持駒MAN);
        std::memcpy(局.持駒COM, e.持駒COM, sizeof 局.持駒COM);
        鍵.push_back(局面の鍵(局, (N - n) % 2 == 0 ? 今COM側 : !今COM側));
    }
    return 鍵;
}

// Every command that would change the game asks here first. A move waiting for the choice of
// its form is dropped; while the searching player thinks for the computer, the command is
// refused with the forbidden sound (true).
bool Form1::思考中なら断る() {
    形の選択を取り消す();
    if (!COM思考中_) return false;
    音_.鳴らす_禁止();
    return true;
}

// The computer has no legal move at all: the game ends as the human's win.
void Form1::対局終了_COM手なし() {
    環境_.Timer1.停止();
    時計を止める(s_.時計, 現在秒());
    画面_.消去_思考中();
    s_.局.勝者 = s_.局.手番値MAN;
    s_.状況.手番 = s_.局.手番値MAN;
    画面_.描画_手番表示();
    告知("コンピュータには指せる手がありません。\nあなたの勝ちです", "終了");
}

}  // namespace kiryuza
