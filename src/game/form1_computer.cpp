// Form1's computer: its levels and its turn, the one-ply search of levels 1 to 3 or the
// searching player of level 4, then the move played through the history and the screen.
#include "game/form1.h"

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
    const 自動保存の番 番{*this};
    画面_.消去_レベル();
    レベル_設定(レベル);
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
        return;
    }
    // The move that led here is kept before the computer thinks, which may take seconds.
    自動保存する();
    時.手番開始時刻 = 現在秒();
    if (s_.設定.経過時間) 環境_.Timer1.開始();
    画面_.描画_思考中();
    画面_.描画_手番表示();
    画面_.更新();

    最善手 m;
    if (s_.状況.COMレベル == 4) {
        m = 深く読む(true);
    } else {
        エンジン_->COMレベル = s_.状況.COMレベル;
        時計観察 観察(*this);
        m = エンジン_->手を選ぶ(観察);
    }
    画面_.更新();
    if (!m.有り) {
        対局終了_COM手なし();
        return;
    }

    経過秒更新();
    const double 経過 = 時.経過秒;
    s_.棋譜.手順保存(局, 時.累計秒MAN, 時.累計秒MAN, 時.累計秒COM, 時.累計秒COM + 経過);
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
    // Booked now, so that a winning move's time counts too.
    時.累計秒COM += 経過;

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
    時.手番開始時刻 = 現在秒();
    s_.状況.手番 = 局.手番値MAN;
    画面_.描画_手番表示();
    if (s_.設定.経過時間) 環境_.Timer1.開始();
}

namespace {

// Keeps the clock moving and the window painted while level 4 thinks, a few dozen times a
// second.
class 深読み時計 : public 深読み観察 {
  public:
    深読み時計(Form1& form, ウィンドウ& 窓, 時刻源& 時刻) : form_(form), 窓_(窓), 時刻_(時刻) {}
    void 経過(const 深読み経過&) override {
        const double 今 = 時刻_.現在秒();
        if (調査_経過秒(前_, 今) < 0.03) return;
        前_ = 今;
        form_.Timer1_Timer();
        窓_.描画を進める();
    }

  private:
    Form1& form_;
    ウィンドウ& 窓_;
    時刻源& 時刻_;
    double 前_ = -1;
};

}  // namespace

// Level 4's move for a side, on its time budget.
最善手 Form1::深く読む(bool COM側) {
    if (!深読み_) 深読み_ = std::make_unique<深読みエンジン>();
    深読み時計 観察(*this, 環境_.窓, 環境_.時刻);
    return 深読み_->探索(s_.局, COM側, {}, &観察).手;
}

// The computer has no legal move at all: the game ends as the human's win.
void Form1::対局終了_COM手なし() {
    環境_.Timer1.停止();
    画面_.消去_思考中();
    s_.局.勝者 = s_.局.手番値MAN;
    s_.状況.手番 = s_.局.手番値MAN;
    画面_.描画_手番表示();
    告知("コンピュータには指せる手がありません。\nあなたの勝ちです", "終了");
}

}  // namespace kiryuza
