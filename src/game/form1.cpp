#include "game/form1.h"

#include <chrono>
#include <cmath>
#include <thread>

#include "options/settings.h"
#include "record/record_file.h"

namespace kiryuza {

namespace {

constexpr int キー_Esc = 27;

// The refusal shown when the history has no room for another move.
constexpr const char* 満杯文 =
    "手数が上限の501手に達しました。\nこれ以上は指せません。\n「棋譜」→「書込」で保存できます。";
constexpr const char* 満杯題 = "対局";

}  // namespace

Form1::Form1(const プラットフォーム& 環境)
    : 環境_(環境),
      状態_(std::make_unique<対局状態>()),
      エンジン_(std::make_unique<思考エンジン>(状態_->局)),
      画面_(環境.キャンバス面, *状態_, 環境.メニュー欄),
      音_(環境.サウンド源, 環境.ファイル, 環境.メッセージ, 環境.場所.音フォルダ) {}

Form1::~Form1() = default;

bool Form1::経過時間表示() const {
    return 環境_.メニュー欄.チェック("KEIKA");
}

// ---------------------------------------------------------------------------------------------
// Start-up and shut-down

void Form1::Form_Load() {
    音_.開始();
    auto& s = *状態_;
    s.状況.棋譜モード = 定数_OFF;
    s.状況.移動指導フラグ = 定数_OFF;
    s.棋譜.棋譜記録数 = 0;
    s.状況.COMレベル = 3;
    環境_.メニュー欄.チェック設定("LEVEL3", true);
    色_移動指導 = 色_桝線;
    s.局.手番値MAN = 手番_後手;
    s.局.手番値COM = 手番_先手;
    画面_.背景色塗り(色_背景);
    読込_環境設定ファイル();
    初期設定(s, *this);
    if (環境_.窓.上端() != -60) 環境_.窓.配置(0, 0, 9800, 8000);
}

void Form1::終了処理() {
    if (終了済み_) return;
    終了済み_ = true;
    環境_.Timer1.停止();
    音_.停止();
}

void Form1::Form_Unload(int /*cancel*/) {
    終了処理();
    環境_.窓.終了();
}

void Form1::OWARI_Click() {
    終了処理();
    環境_.窓.終了();
}

void Form1::Form_KeyPress(int キー) {
    if (キー == キー_Esc) {
        終了処理();
        環境_.窓.終了();
    }
}

// ---------------------------------------------------------------------------------------------
// Starting and resuming games

void Form1::TAIKYOKU_Click() {
    パネルを閉じる();
}

void Form1::MATCH_MAN_Click() {}

void Form1::SENTE_Click() {
    auto& s = *状態_;
    if (s.局.勝者 != 手番_なし) 初期設定(s, *this);
    画面_.描画_棋譜読込み部分消去();
    画面_.描画_レベル(s.状況.COMレベル);
    画面_.描画_将棋盤桝();
    s.状況.選択状態 = 0;
    s.状況.対局モード = 対局モード_COM;
    s.状況.棋譜モード = 定数_OFF;
    s.棋譜.棋譜記録数 = s.状況.手数;
    s.時計.手番開始時刻 = 現在秒();
    環境_.Timer1.開始();
    if (s.状況.手番 == 手番_なし || s.状況.手数 == 0) {
        s.局.手番値MAN = 手番_先手;
        s.局.手番値COM = 手番_後手;
        s.状況.手番 = s.局.手番値MAN;
        告知("MANの番です", " ");
        s.状況.再開フラグ = 定数_OFF;
        return;
    }
    if (s.状況.手番 != s.局.手番値MAN) {
        if (s.状況.手番 == s.局.手番値COM) com_ban();
        return;
    }
    s.局.手番値MAN = 手番_先手;
    s.局.手番値COM = 手番_後手;
    s.状況.手番 = 手番_先手;
    告知("MANの番です", "対局");
    s.状況.再開フラグ = 定数_OFF;
}

void Form1::GOTE_Click() {
    auto& s = *状態_;
    if (s.局.勝者 != 手番_なし) 初期設定(s, *this);
    画面_.描画_棋譜読込み部分消去();
    画面_.描画_レベル(s.状況.COMレベル);
    画面_.描画_将棋盤桝();
    環境_.Timer1.開始();
    s.状況.選択状態 = 0;
    s.状況.対局モード = 対局モード_COM;
    s.状況.棋譜モード = 定数_OFF;
    s.棋譜.棋譜記録数 = s.状況.手数;
    if (s.状況.手番 == 手番_なし || s.状況.手数 == 0) {
        s.局.手番値MAN = 手番_後手;
        s.局.手番値COM = 手番_先手;
        s.状況.手番 = 手番_先手;
        com_ban();
        return;
    }
    if (s.状況.手番 == s.局.手番値MAN) {
        告知("MANの番です", "対局");
        s.状況.再開フラグ = 定数_OFF;
    } else if (s.状況.手番 == s.局.手番値COM) {
        com_ban();
    }
}

void Form1::START_Click() {
    auto& s = *状態_;
    if (s.局.勝者 != 手番_なし) {
        初期設定(s, *this);
        画面_.更新();
    }
    s.状況.棋譜モード = 定数_OFF;
    画面_.描画_棋譜読込み部分消去();
    for (int x = -2; x <= 0; ++x) 画面_.描画_絵(画面_.背景種類, x, 0);
    画面_.描画_将棋盤桝();
    s.時計.手番開始時刻 = 現在秒();
    if (経過時間表示()) 環境_.Timer1.開始();
    s.状況.対局モード = 対局モード_人間;
    if (s.状況.手番 == 手番_なし || s.状況.手数 == 0) {
        s.局.手番値MAN = 手番_先手;
        s.局.手番値COM = 手番_後手;
        s.状況.手番 = s.局.手番値MAN;
        告知("先手の番です", " ");
    } else if (s.状況.手番 == 手番_先手) {
        告知("先手の番です", " ");
    } else if (s.状況.手番 == 手番_後手) {
        告知("後手の番です", " ");
    }
    s.状況.再開フラグ = 定数_OFF;
}

// ---------------------------------------------------------------------------------------------
// Computer level

void Form1::レベル_設定(int IN_LEVEL) {
    for (const char* 名 : {"LEVEL1", "LEVEL2", "LEVEL3"}) 環境_.メニュー欄.チェック設定(名, false);
    if (IN_LEVEL >= 1 && IN_LEVEL <= 3) {
        環境_.メニュー欄.チェック設定("LEVEL" + std::to_string(IN_LEVEL), true);
        状態_->状況.COMレベル = IN_LEVEL;
    }
    if (状態_->状況.対局モード == 対局モード_COM) 画面_.描画_レベル(状態_->状況.COMレベル);
}

// Clears the level text's cells, then sets the level.
void Form1::レベル選択(int レベル) {
    for (int x = -2; x <= 0; ++x) 画面_.描画_絵(画面_.背景種類, x, 0);
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

// ---------------------------------------------------------------------------------------------
// Clock

void Form1::Timer1_Timer() {
    auto& s = *状態_;
    if (s.局.勝者 != 手番_なし || !環境_.Timer1.動作中()) return;
    s.時計.経過秒 = 調査_経過秒(s.時計.手番開始時刻, 現在秒());
    const int 秒 = static_cast<int>(std::floor(s.時計.経過秒));
    if (秒 == s.時計.表示秒) return;
    s.時計.表示秒 = 秒;
    if (s.状況.手番 == s.局.手番値COM) {
        画面_.描画_所有時間(s.局.手番値COM, s.時計.経過秒 + s.時計.累計秒COM);
    } else if (s.状況.手番 == s.局.手番値MAN) {
        画面_.描画_所有時間(s.局.手番値MAN, s.時計.経過秒 + s.時計.累計秒MAN);
    }
    画面_.更新();
}

// The time spent on the current move, measured now: the timer's last reading is stale when the
// clock display is switched off or the move came within one tick.
void Form1::経過秒更新() {
    状態_->時計.経過秒 = 調査_経過秒(状態_->時計.手番開始時刻, 現在秒());
}

void Form1::待ち時間(double IN_秒) {
    const double 開始 = 現在秒();
    while (調査_経過秒(開始, 現在秒()) < IN_秒) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

// ---------------------------------------------------------------------------------------------
// Mouse input

void Form1::描画_移動可能桝色(int 元X, int 元Y, int 描画色, int 駒) {
    画面_.描画_将棋盤桝();
    if (状態_->状況.移動指導フラグ != 定数_ON) return;
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            if (移動チェック(状態_->局, 元X, 元Y, x, y, 駒) == 定数_ON) {
                画面_.描画_桝輪郭(描画色, x, y);
            }
}

void Form1::描画_駒点滅(int 入力_駒, int 入力_X, int 入力_Y, int 入力_点滅回数) {
    for (int i = 0; i < 入力_点滅回数; ++i) {
        画面_.描画_絵(空桝, 入力_X, 入力_Y);
        画面_.描画_桝輪郭(色_背景, 入力_X, 入力_Y);
        画面_.更新();
        待ち時間(0.2);
        画面_.描画_絵(入力_駒, 入力_X, 入力_Y);
        画面_.描画_桝輪郭(色_背景, 入力_X, 入力_Y);
        画面_.更新();
        待ち時間(0.2);
    }
}

bool Form1::棋譜満杯なら断る() {
    if (棋譜に空きあり(状態_->棋譜)) return false;
    音_.鳴らす_禁止();
    告知(満杯文, 満杯題);
    return true;
}

void Form1::Form_MouseDown(int /*button*/, int /*shift*/, double x, double y) {
    auto& s = *状態_;
    auto& 局 = s.局;
    パネルを閉じる();
    if (s.状況.棋譜モード == 定数_ON) {
        const auto 答 =
            環境_.メッセージ.表示("棋譜を '進 'で進めて下さい", "棋譜", ボタン種類::はいいいえ);
        if (答 == 押されたボタン::いいえ) {
            音_.鳴らす_禁止();
            初期設定(s, *this);
        }
        return;
    }
    if (局.勝者 != 手番_なし) {
        告知("新規に対局してください", "終局");
        return;
    }
    const int 列 = static_cast<int>(std::floor((x - 盤原点X) / 桝幅));
    const int 行 = static_cast<int>(std::floor((y - 盤原点Y) / 桝高));
    if (s.状況.手番 == 手番_なし) {
        音_.鳴らす_禁止();
        告知("「対局」で始めて下さい", "開始");
        return;
    }

    // Resuming after the history was stepped through.
    if (s.状況.対局モード == 対局モード_人間) {
        if (s.状況.再開フラグ == 定数_ON) {
            s.状況.再開フラグ = 定数_OFF;
            s.時計.手番開始時刻 = 現在秒();
            if (経過時間表示()) 環境_.Timer1.開始();
            if (s.状況.手番 == 手番_先手) 告知("先手の番です", "対局");
            if (s.状況.手番 == 手番_後手) 告知("後手の番です", "対局");
        }
    } else if (s.状況.手番 == 局.手番値COM) {
        s.状況.再開フラグ = 定数_OFF;
        告知("OKですか？", "再開(COM)");
        com_ban();
    } else if (s.状況.手番 == 局.手番値MAN && s.状況.再開フラグ == 定数_ON) {
        s.状況.再開フラグ = 定数_OFF;
        s.時計.手番開始時刻 = 現在秒();
        if (経過時間表示()) 環境_.Timer1.開始();
        告知("MANの番です", "対局");
    }
    // The computer's reply may have ended the game.
    if (局.勝者 != 手番_なし) return;

    if (列 >= 1 && 列 <= 9 && 行 >= 1 && 行 <= 9) {
        const int 駒 = 局.盤面[列][行];
        const bool 手番の駒 = (s.状況.手番 == 局.手番値MAN && MAN駒(駒)) ||
                              (s.状況.手番 == 局.手番値COM && COM駒(駒));
        if (s.状況.選択状態 == 0) {
            if (駒 == 空桝) return;
            移動元X = 列;
            移動元Y = 行;
            移動駒 = 駒;
            描画_移動可能桝色(移動元X, 移動元Y, 色_移動指導, 移動駒);
            if (手番の駒) {
                画面_.描画_桝輪郭(色_選択枠, 列, 行);
                s.状況.選択状態 = 1;
            } else {
                画面_.描画_桝輪郭(色_移動指導, 列, 行);
            }
            return;
        }

        移動先X = 列;
        移動先Y = 行;
        if ((s.状況.手番 == 局.手番値MAN && 移動元X == 持駒列_COM) ||
            (s.状況.手番 == 局.手番値COM && 移動元X == 持駒列_MAN)) {
            描画_移動可能桝色(移動元X, 移動元Y, 色_桝線, 移動駒);
            画面_.描画_桝輪郭(色_桝線, 移動元X, 移動元Y);
            s.状況.選択状態 = 0;
            return;
        }
        if (手番の駒) {
            画面_.描画_桝輪郭(色_桝線, 移動元X, 移動元Y);
            移動元X = 列;
            移動元Y = 行;
            移動駒 = 駒;
            描画_移動可能桝色(移動元X, 移動元Y, 色_移動指導, 移動駒);
            画面_.描画_桝輪郭(色_選択枠, 列, 行);
            return;
        }
        if (移動チェック(局, 移動元X, 移動元Y, 移動先X, 移動先Y, 移動駒) == 定数_OFF) {
            音_.鳴らす_禁止();
            s.状況.選択状態 = 0;
            画面_.描画_将棋盤桝();
            return;
        }
        if (棋譜満杯なら断る()) {
            s.状況.選択状態 = 0;
            画面_.描画_将棋盤桝();
            return;
        }

        // The move is legal: record it, then carry it out.
        経過秒更新();
        const bool 上手番 = s.状況.対局モード == 対局モード_人間 && s.状況.手番 == 手番_後手;
        const auto& 時 = s.時計;
        if (上手番) {
            手順保存(s.棋譜, 局, 移動元X, 移動元Y, 移動先X, 移動先Y, 移動駒,
                     局.盤面[移動先X][移動先Y], 時.累計秒MAN, 時.累計秒MAN, 時.累計秒COM,
                     時.累計秒COM + 時.経過秒);
        } else {
            手順保存(s.棋譜, 局, 移動元X, 移動元Y, 移動先X, 移動先Y, 移動駒,
                     局.盤面[移動先X][移動先Y], 時.累計秒MAN, 時.累計秒MAN + 時.経過秒,
                     時.累計秒COM, 時.累計秒COM);
        }
        s.状況.手数 += 1;
        画面_.描画_手数(s.状況.手数, 色_白);
        if (調査_駒成(局, 移動元X, 移動元Y, 移動先X, 移動先Y, 移動駒) == 定数_ON)
            移動駒 = 局.駒成結果;
        s.状況.選択状態 = 0;
        画面_.描画_桝輪郭(色_桝線, 移動元X, 移動元Y);
        画面_.描画_桝輪郭(色_桝線, 移動先X, 移動先Y);
        描画_移動可能桝色(移動元X, 移動元Y, 色_桝線, 移動駒);
        if (移動元X == 持駒列_COM) 移動元Y = 8 - 移動元Y;
        const int 取得駒 = 局.盤面[移動先X][移動先Y];
        駒移動(局, *this, 移動元X, 移動元Y, 移動先X, 移動先Y, 移動駒);
        音_.鳴らす_駒打();
        s.棋譜.棋譜手数 += 1;
        画面_.描画_移動結果(移動駒 >= 駒_COM歩 ? 局.手番値COM : 局.手番値MAN, 移動先X, 移動先Y,
                            移動駒, 色_移動結果);

        if (s.状況.対局モード == 対局モード_COM) {
            環境_.Timer1.停止();
            s.時計.累計秒MAN += s.時計.経過秒;
            エンジン_->勢力調査();
            if (エンジン_->詰めかCOM() == 定数_ON || 取得駒 == 駒_COM王) {
                局.勝者 = 局.手番値MAN;
                告知("あなたの勝ちです", "終了");
                return;
            }
            s.状況.手番 = 局.手番値COM;
            com_ban();
            return;
        }

        if (局.勝者 == 局.手番値MAN) 告知("先手の勝ちです", "終了");
        if (局.勝者 == 局.手番値COM) 告知("後手の勝ちです", "終了");
        if (s.状況.手番 == 手番_先手) {
            s.状況.手番 = 手番_後手;
            s.時計.累計秒MAN += s.時計.経過秒;
        } else if (s.状況.手番 == 手番_後手) {
            s.状況.手番 = 手番_先手;
            s.時計.累計秒COM += s.時計.経過秒;
        }
        s.時計.手番開始時刻 = 現在秒();
        return;
    }

    // A click outside the board: hand slots.
    if (移動駒 <= 駒_MAN歩 || 移動駒 >= 駒_COM歩) {
        描画_移動可能桝色(移動元X, 移動元Y, 色_桝線, 移動駒);
        画面_.描画_桝輪郭(色_桝線, 移動元X, 移動元Y);
    }
    if (列 == 持駒列_MAN && 行 >= 3 && 行 <= 9 && 局.持駒MAN[行 - 2] > 0) {
        調査_2歩フラグ設定(局);
        s.状況.選択状態 = 1;
        移動元X = 持駒列_MAN;
        移動元Y = 行;
        移動駒 = 打駒_MAN[行 - 2];
        画面_.描画_桝輪郭(s.状況.手番 == 局.手番値MAN ? 色_選択枠 : 色_移動指導, 列, 行);
        描画_移動可能桝色(持駒列_MAN, 行, 色_移動指導, 移動駒);
    } else if (列 == 持駒列_COM && 行 >= 1 && 行 <= 7 && 局.持駒COM[8 - 行] > 0) {
        調査_2歩フラグ設定(局);
        s.状況.選択状態 = 1;
        移動元X = 持駒列_COM;
        移動元Y = 行;
        移動駒 = 打駒_COM[8 - 行];
        画面_.描画_桝輪郭(s.状況.手番 == 局.手番値COM ? 色_選択枠 : 色_移動指導, 列, 行);
        描画_移動可能桝色(持駒列_COM, 行, 色_移動指導, 移動駒);
    }
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
    auto& s = *状態_;
    auto& 局 = s.局;
    if (局.勝者 != 手番_なし) return;
    s.時計.手番開始時刻 = 現在秒();
    if (経過時間表示()) 環境_.Timer1.開始();

    画面_.消去_思考中();
    画面_.描画_数値(-1.5, 8.5, std::string("思考中"), 色_黒, 0, 12);
    画面_.描画_数値(-1.6, 8.4, std::string("思考中"), 色_移動結果, 0, 12);
    画面_.描画_桝輪郭(色_背景, 1, 8);
    画面_.更新();

    エンジン_->COMレベル = s.状況.COMレベル;
    時計観察 観察(*this);
    const 最善手 m = エンジン_->探索(観察);
    画面_.更新();

    if (!m.有り) {
        対局終了_COM手なし();
        return;
    }
    if (棋譜満杯なら断る()) {
        環境_.Timer1.停止();
        画面_.消去_思考中();
        return;
    }

    経過秒更新();
    手順保存(s.棋譜, 局, m.元X, m.元Y, m.先X, m.先Y, m.元駒, m.駒, s.時計.累計秒MAN,
             s.時計.累計秒MAN, s.時計.累計秒COM, s.時計.累計秒COM + s.時計.経過秒);
    s.状況.手数 += 1;
    画面_.描画_手数(s.状況.手数, 色_白);
    if (m.元X == 持駒列_COM) {
        描画_駒点滅(m.駒, 持駒列_COM, 8 - m.元Y, 2);
    } else {
        描画_駒点滅(m.元駒, m.元X, m.元Y, 2);
    }
    駒移動(局, *this, m.元X, m.元Y, m.先X, m.先Y, m.駒);
    画面_.消去_思考中();
    待ち時間(0.5);
    音_.鳴らす_駒打();
    s.棋譜.棋譜手数 += 1;
    環境_.Timer1.停止();

    エンジン_->勢力調査();
    if (エンジン_->詰めかMAN() == 定数_ON) {
        告知("よし！!", "詰め ?");
    } else if (局.勝者 == 局.手番値COM) {
        画面_.消去_移動結果(局.手番値COM);
        告知("ｺﾝﾋﾟｭｰﾀの勝ちです", "終了");
        s.状況.手番 = 局.手番値MAN;
        return;
    } else if (エンジン_->図.勢力数_COM[局.王位置X_MAN][局.王位置Y_MAN] > 0) {
        告知("   ** 王手 **", "");
    }
    画面_.描画_移動結果(局.手番値COM, m.先X, m.先Y, m.駒, 色_白);
    画面_.描画_桝輪郭(色_白, m.先X, m.先Y);

    s.時計.累計秒COM += s.時計.経過秒;
    s.時計.手番開始時刻 = 現在秒();
    s.状況.手番 = 局.手番値MAN;
    if (経過時間表示()) 環境_.Timer1.開始();
}

// The computer has no legal move at all: the game ends as the human's win.
void Form1::対局終了_COM手なし() {
    auto& s = *状態_;
    環境_.Timer1.停止();
    画面_.消去_思考中();
    s.局.勝者 = s.局.手番値MAN;
    s.状況.手番 = s.局.手番値MAN;
    告知("コンピュータには指せる手がありません。\nあなたの勝ちです", "終了");
}

// ---------------------------------------------------------------------------------------------
// Replay

void Form1::STOP_Click() {
    パネルを閉じる();
}

// Puts history entry n on the board and in the hands, sets both clocks to the given totals and
// redraws them, the hands and the board.
void Form1::棋譜の局面を置く(int n, double 秒MAN, double 秒COM) {
    auto& s = *状態_;
    auto& 局 = s.局;
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) 局.盤面[x][y] = s.棋譜.棋譜_盤面[n][x][y];
    for (int k = 1; k <= 7; ++k) {
        局.持駒MAN[k] = s.棋譜.棋譜_持駒MAN[n][k];
        局.持駒COM[k] = s.棋譜.棋譜_持駒COM[n][k];
    }
    局.持駒総数COM = 調査_持駒数(局, 局.手番値COM);
    局.持駒総数MAN = 調査_持駒数(局, 局.手番値MAN);
    s.時計.累計秒COM = 秒COM;
    画面_.描画_所有時間(局.手番値COM, s.時計.累計秒COM);
    s.時計.累計秒MAN = 秒MAN;
    画面_.描画_所有時間(局.手番値MAN, s.時計.累計秒MAN);
    画面_.描画_自持盤();
    画面_.描画_敵持盤();
    画面_.描画_盤();
}

void Form1::AFTER_Click() {
    auto& s = *状態_;
    auto& 局 = s.局;
    パネルを閉じる();
    if (s.状況.手番 == 手番_なし) {
        音_.鳴らす_禁止();
        告知("「対局」で始めて下さい", "開始");
        return;
    }
    s.状況.再開フラグ = 定数_ON;
    if (s.棋譜.棋譜手数 >= s.棋譜.棋譜記録数) {
        if (s.状況.棋譜モード == 定数_ON) {
            告知("終わり", "進む");
        } else {
            音_.鳴らす_禁止();
            告知("できません", "進む");
        }
        return;
    }
    画面_.消去_思考中();
    s.状況.選択状態 = 0;
    環境_.Timer1.停止();
    画面_.描画_将棋盤桝();
    s.棋譜.棋譜手数 += 1;
    s.状況.手数 += 1;
    画面_.描画_手数(s.状況.手数, 色_白);
    const int n = s.棋譜.棋譜手数;
    棋譜の局面を置く(n, s.棋譜.棋譜_後秒M[n], s.棋譜.棋譜_後秒C[n]);
    int X = 0;
    int Y = 0;
    int 種類 = 0;
    調査_移動結果(s.棋譜, n, X, Y, 種類);
    音_.鳴らす_駒打();
    画面_.描画_移動結果(種類 > 0 ? 局.手番値COM : 局.手番値MAN, X, Y, 種類, 色_移動結果);
    s.状況.手番 = -s.状況.手番;
    画面_.描画_手数(s.状況.手数, 色_白);
}

void Form1::REPLAY_Click() {
    auto& s = *状態_;
    auto& 局 = s.局;
    パネルを閉じる();
    s.状況.再開フラグ = 定数_ON;
    if (s.棋譜.棋譜手数 < 1) {
        音_.鳴らす_禁止();
        告知("できません", "戻る");
        return;
    }
    s.状況.選択状態 = 0;
    環境_.Timer1.停止();
    画面_.描画_将棋盤桝();
    画面_.消去_思考中();
    const int n = s.棋譜.棋譜手数 - 1;
    棋譜の局面を置く(n, s.棋譜.棋譜_前秒M[n], s.棋譜.棋譜_前秒C[n]);
    int X = 0;
    int Y = 0;
    int 種類 = 0;
    調査_移動結果(s.棋譜, s.棋譜.棋譜手数, X, Y, 種類);
    音_.鳴らす_駒打();
    画面_.消去_移動結果(種類 > 0 ? 局.手番値COM : 局.手番値MAN);
    s.棋譜.棋譜手数 -= 1;
    s.状況.手数 -= 1;
    s.状況.手番 = -s.状況.手番;
    画面_.描画_手数(s.状況.手数, 色_白);
}

void Form1::CANCEL_Click() {
    初期設定(*状態_, *this);
    音_.鳴らす_駒打();
}

void Form1::REVERSE_Click() {
    auto& s = *状態_;
    auto& 局 = s.局;
    if (s.状況.棋譜モード == 定数_ON) {
        音_.鳴らす_禁止();
        告知("棋譜ﾓｰﾄﾞではできません", "反転");
        return;
    }
    s.状況.反転フラグ = 定数_ON;
    s.状況.選択状態 = 0;
    盤表 T;
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) T[x][y] = 局.盤面[x][y];
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
            const int v = T[x][y];
            局.盤面[10 - x][10 - y] = v <= 駒_MAN歩 ? -v : (v >= 駒_COM歩 ? -v : v);
        }
    for (int k = 1; k <= 7; ++k) std::swap(局.持駒MAN[k], 局.持駒COM[k]);
    std::swap(局.持駒総数MAN, 局.持駒総数COM);
    画面_.画面_再描画();
    画面_.描画_手数(s.状況.手数, 色_白);
    if (s.状況.ハンデ設定フラグ == 定数_ON) {
        s.状況.ハンデレベル = -s.状況.ハンデレベル;
        画面_.描画_ハンデレベル(s.状況.ハンデレベル);
    }
    音_.鳴らす_駒打();
    s.状況.手番 = -s.状況.手番;
    s.棋譜.棋譜手数 = 0;
    s.棋譜.棋譜記録数 = 0;
}

// ---------------------------------------------------------------------------------------------
// Handicap

namespace {

struct ハンデ駒 {
    int 駒, x, y;
};

// The piece taken off (or put back) when the level goes from ±(i - 1) to ±i.
constexpr ハンデ駒 COMハンデ[11] = {{0, 0, 0},          {駒_COM角成, 8, 2}, {駒_COM飛成, 2, 2},
                                    {駒_COM香成, 9, 1}, {駒_COM香成, 1, 1}, {駒_COM桂成, 8, 1},
                                    {駒_COM桂成, 2, 1}, {駒_COM銀成, 7, 1}, {駒_COM銀成, 3, 1},
                                    {駒_COM金, 6, 1},   {駒_COM金, 4, 1}};
constexpr ハンデ駒 MANハンデ[11] = {{0, 0, 0},          {駒_MAN角成, 2, 8}, {駒_MAN飛成, 8, 8},
                                    {駒_MAN香成, 1, 9}, {駒_MAN香成, 9, 9}, {駒_MAN桂成, 2, 9},
                                    {駒_MAN桂成, 8, 9}, {駒_MAN銀成, 3, 9}, {駒_MAN銀成, 7, 9},
                                    {駒_MAN金, 4, 9},   {駒_MAN金, 6, 9}};

}  // namespace

void Form1::描画_メッセージ(int IN_メッセージ番号) {
    const char* 理由 = "";
    switch (IN_メッセージ番号) {
        case 1:
            理由 = "棋譜ﾓｰﾄﾞではできません";
            break;
        case 2:
            理由 = "対局途中ではできません";
            break;
        case 3:
            理由 = "反転後ではできません";
            break;
        default:
            break;
    }
    告知(std::string(理由) + "\r\r局面→最初にして下さい", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ設定");
}

void Form1::ハンデ変更(int 向き) {
    auto& s = *状態_;
    パネルを閉じる();
    if (s.状況.棋譜モード == 定数_ON) {
        音_.鳴らす_禁止();
        描画_メッセージ(1);
        return;
    }
    if (s.棋譜.棋譜手数 > 0) {
        音_.鳴らす_禁止();
        描画_メッセージ(2);
        return;
    }
    if (s.状況.反転フラグ == 定数_ON) {
        音_.鳴らす_禁止();
        描画_メッセージ(3);
        return;
    }
    s.棋譜.棋譜記録数 = 0;
    const int 前 = s.状況.ハンデレベル;
    const int 後 = 前 + 向き;
    if (後 >= -10 && 後 <= 10) {
        s.状況.ハンデレベル = 後;
        画面_.描画_ハンデレベル(後);
        // Moving away from 0 takes the piece of the level reached off; moving towards 0 puts
        // the piece of the level left back.
        const bool 離れる = std::abs(後) > std::abs(前);
        const int 段 = 離れる ? std::abs(後) : std::abs(前);
        const bool COM側 = 離れる ? 後 > 0 : 前 > 0;
        const ハンデ駒& e = COM側 ? COMハンデ[段] : MANハンデ[段];
        const int 駒 = 離れる ? 空桝 : e.駒;
        s.局.盤面[e.x][e.y] = 駒;
        画面_.描画_絵(駒, e.x, e.y);
        画面_.描画_桝輪郭(色_背景, e.x, e.y);
        音_.鳴らす_駒打();
    }
    s.状況.ハンデ設定フラグ = 定数_ON;
}

void Form1::LBEL_UP_Click() {
    ハンデ変更(1);
}

void Form1::LEBEL_DOWN_Click() {
    ハンデ変更(-1);
}

// ---------------------------------------------------------------------------------------------
// Record panel

void Form1::描画_可視(bool a, bool b, bool c) {
    環境_.パネル.一覧表示(a, b, c);
}

void Form1::描画_棋譜_IO(int フラグ) {
    if (フラグ == 0) {
        環境_.パネル.入力欄表示(true);
    } else {
        環境_.パネル.入力欄消去();
        環境_.パネル.入力欄表示(false);
    }
}

void Form1::パネルを閉じる() {
    描画_可視(false, false, false);
    描画_棋譜_IO(1);
}

void Form1::KIFU_Click() {}

void Form1::KIFU_READ_Click() {
    描画_可視(true, true, true);
    描画_棋譜_IO(1);
}

void Form1::KIFU_WRITE_Click() {
    const auto& s = *状態_;
    if (s.状況.反転フラグ == 定数_ON) {
        告知("反転後は書き込みできません", "棋譜書込");
        return;
    }
    if (s.状況.ハンデ設定フラグ == 定数_ON) {
        告知("ﾊﾝﾃﾞｷｬｯﾌﾟ設定後は書き込みできません", "棋譜書込");
        return;
    }
    描画_可視(true, true, false);
    描画_棋譜_IO(0);
}

void Form1::Command1_Click() {
    auto& パネル = 環境_.パネル;
    const auto& s = *状態_;
    const std::string ファイル名 = パネル.入力(1);
    if (ファイル名.empty()) {
        告知("ﾌｧｲﾙ名が入力されていません", "  ");
        return;
    }
    if (s.棋譜.棋譜記録数 < 1) {
        告知("保存するデータがありません", "棋譜保存");
        return;
    }
    棋譜見出し 見出し;
    見出し.対局名 = パネル.入力(2);
    const bool 人が先手 = s.局.手番値MAN == 手番_先手;
    見出し.上手名 = 人が先手 ? パネル.入力(4) : パネル.入力(3);
    見出し.下手名 = 人が先手 ? パネル.入力(3) : パネル.入力(4);
    std::string フォルダ = パネル.フォルダ();
    if (!フォルダ.empty() && フォルダ.back() != '/') フォルダ += '/';
    const std::string パス = フォルダ + ファイル名 + std::string(棋譜拡張子);
    const ファイル結果 r =
        棋譜ファイルを書く(環境_.ファイル, 環境_.符号, パス, s.棋譜, s.棋譜.棋譜記録数, 見出し);
    if (!r.成功) {
        音_.鳴らす_禁止();
        告知(r.誤り, std::string(棋譜書込の題));
        return;
    }
    描画_可視(false, false, false);
    描画_棋譜_IO(1);
    パネル.ファイル一覧更新();
    告知("棋譜を書き込みました", "  ");
}

void Form1::File1_Click(const std::string& ファイル名) {
    auto& s = *状態_;
    描画_可視(false, false, false);
    // Read and check the whole file before anything changes: a broken file leaves the game
    // as it was.
    棋譜読込結果 r = 棋譜ファイルを読む(環境_.ファイル, 環境_.符号, ファイル名);
    if (!r.成功) {
        音_.鳴らす_禁止();
        告知(r.誤り, std::string(棋譜読込の題));
        return;
    }
    初期設定(s, *this);
    s.状況.棋譜モード = 定数_ON;
    const auto& 見 = r.棋譜.見出し;
    画面_.描画_文字_位置(取得_棋譜のX座標(見.対局名) - 3000, 6350, 見.対局名, 色_選択枠, 12);
    画面_.描画_文字_位置(取得_棋譜のX座標(見.上手名), 100, 見.上手名, 色_白, 12);
    画面_.描画_文字_位置(取得_棋譜のX座標(見.下手名), 6350, 見.下手名, 色_白, 12);
    棋譜表へ移す(r.棋譜, s.棋譜);
    s.棋譜.棋譜手数 = 0;
    s.状況.手数 = 0;
    if (r.棋譜.記録数() == 0) {
        告知("棋譜ﾌｧｲﾙにﾃﾞｰﾀがありません", "棋譜");
        return;
    }
    告知(" 読み込みました", "棋譜");
    告知("棋譜を '進 'で進めて下さい", "棋譜");
    s.状況.手番 = 手番_先手;
}

void Form1::Drive1_Change(const std::string& ドライブ) {
    if (!環境_.パネル.ドライブ設定(ドライブ)) 告知("ﾃﾞﾊﾞｲｽが準備できていません", "ｴﾗｰ");
}

void Form1::Dir1_Change(const std::string& フォルダ) {
    環境_.パネル.ファイルフォルダ設定(フォルダ);
}

// ---------------------------------------------------------------------------------------------
// Options

void Form1::OPTION_Click() {
    パネルを閉じる();
}

void Form1::チェック設定(int IN_背景種類) {
    for (const auto& e : 背景一覧)
        環境_.メニュー欄.チェック設定(e.メニュー名, e.コード == IN_背景種類);
}

void Form1::設定を適用(const std::string& 行) {
    const 設定行 r = 設定行を分ける(行);
    if (r.キー == "背景画") {
        if (const 背景項目* e = 背景を値で探す(r.値)) {
            チェック設定(e->コード);
            画面_.描画_背景(e->コード);
            画面_.背景種類 = e->コード;
        }
    } else if (r.キー == "移動指導") {
        const bool 入 = r.値 == "ON";
        色_移動指導 = 入 ? 色_白 : 色_緑;
        環境_.メニュー欄.チェック設定("SIDOU", 入);
        状態_->状況.移動指導フラグ = 入 ? 定数_ON : 定数_OFF;
    } else if (r.キー == "経過時間") {
        環境_.メニュー欄.チェック設定("KEIKA", r.値 == "ON");
    } else if (r.キー == "BGM") {
        const bool 入 = r.値 == "ON";
        環境_.メニュー欄.チェック設定("BGM", 入);
        if (入) 音_.BGM開始();
    }
}

// Puts the four defaults in place (the background without drawing it when `描く` is false) and
// writes them to the file.
void Form1::既定の設定(bool 描く) {
    チェック設定(背景_緑);
    if (描く) 画面_.描画_背景(背景_緑);
    画面_.背景種類 = 背景_緑;
    環境_.メニュー欄.チェック設定("SIDOU", false);
    環境_.メニュー欄.チェック設定("KEIKA", true);
    環境_.メニュー欄.チェック設定("BGM", true);
    if (const auto 内容 = 設定ファイル内容(既定の設定行(), 環境_.符号)) {
        環境_.ファイル.書く(環境_.場所.設定ファイル, *内容);
    }
}

void Form1::読込_環境設定ファイル() {
    std::string 誤り;
    const auto 内容 = 環境_.ファイル.存在(環境_.場所.設定ファイル)
                          ? 環境_.ファイル.読む(環境_.場所.設定ファイル, 誤り)
                          : std::nullopt;
    if (!内容) {
        既定の設定(true);
        return;
    }
    for (const std::string& 行 : 設定ファイルの行(*内容, 環境_.符号)) 設定を適用(行);
}

void Form1::書込_環境設定ファイル() {
    const auto& m = 環境_.メニュー欄;
    std::vector<std::string> 行;
    for (const char* 名 : {"MIDORI", "TAKE", "TATAMI", "UCHU", "RENGA"}) {
        if (m.チェック(名)) {
            行.push_back(std::string("背景画=") + 背景を名前で探す(名)->値);
            break;
        }
    }
    行.push_back(m.チェック("SIDOU") ? "移動指導=ON" : "移動指導=OFF");
    行.push_back(m.チェック("KEIKA") ? "経過時間=ON" : "経過時間=OFF");
    行.push_back(m.チェック("BGM") ? "BGM=ON" : "BGM=OFF");
    const auto 内容 = 設定ファイル内容(行, 環境_.符号);
    ファイル結果 r;
    if (内容) r = 環境_.ファイル.書く(環境_.場所.設定ファイル, *内容);
    if (!r.成功) 書込失敗時の既定(r.誤り);
}

// The settings could not be saved: the options go back to their defaults, as the file would
// hold them, and the game's own state follows the menus so that what is shown is what is in
// effect; the player is told why.
void Form1::書込失敗時の既定(const std::string& 誤り) {
    auto& m = 環境_.メニュー欄;
    const bool 音楽中 = m.チェック("BGM");
    const bool 時計中 = m.チェック("KEIKA");
    既定の設定(false);
    状態_->状況.移動指導フラグ = 定数_OFF;
    色_移動指導 = 色_桝線;
    if (!音楽中) 音_.BGM開始();
    if (!時計中 && 状態_->状況.手番 != 手番_なし && 状態_->局.勝者 == 手番_なし) {
        環境_.Timer1.開始();
    }
    告知("設定ファイル「" + std::string(設定ファイル名) +
             "」に書き込めませんでした。\n設定を初期値に戻します。\n\n" + 誤り,
         "ｵﾌﾟｼｮﾝ");
}

void Form1::背景選択(int 背景) {
    if (!環境_.メニュー欄.チェック(背景をコードで探す(背景)->メニュー名)) {
        チェック設定(背景);
        画面_.背景種類 = 背景;
    }
    書込_環境設定ファイル();
    画面_.画面_再描画();
}

void Form1::MIDORI_Click() {
    背景選択(背景_緑);
}
void Form1::TATAMI_Click() {
    背景選択(背景_畳);
}
void Form1::TAKE_Click() {
    背景選択(背景_竹);
}
void Form1::UCHU_Click() {
    背景選択(背景_宇宙);
}
void Form1::RENGA_Click() {
    背景選択(背景_煉瓦);
}

void Form1::SIDOU_Click() {
    auto& m = 環境_.メニュー欄;
    if (m.チェック("SIDOU")) {
        for (int x = 1; x <= 9; ++x)
            for (int y = 1; y <= 9; ++y) 画面_.描画_桝輪郭(色_桝線, x, y);
        for (int y = 1; y <= 7; ++y) {
            画面_.描画_桝輪郭(色_桝線, 持駒列_COM, y);
            画面_.描画_桝輪郭(色_桝線, 持駒列_MAN, y + 2);
        }
        m.チェック設定("SIDOU", false);
        状態_->状況.移動指導フラグ = 定数_OFF;
        色_移動指導 = 色_桝線;
    } else {
        m.チェック設定("SIDOU", true);
        状態_->状況.移動指導フラグ = 定数_ON;
        色_移動指導 = 色_白;
    }
    書込_環境設定ファイル();
}

void Form1::KEIKA_Click() {
    auto& m = 環境_.メニュー欄;
    const auto& s = *状態_;
    if (m.チェック("KEIKA")) {
        m.チェック設定("KEIKA", false);
        環境_.Timer1.停止();
        画面_.消去_所有時間(s.局.手番値MAN);
        画面_.消去_所有時間(s.局.手番値COM);
    } else {
        m.チェック設定("KEIKA", true);
        環境_.Timer1.開始();
        画面_.描画_所有時間(s.局.手番値COM, s.時計.累計秒COM);
        画面_.描画_所有時間(s.局.手番値MAN, s.時計.累計秒MAN);
    }
    書込_環境設定ファイル();
}

void Form1::BGM_Click() {
    auto& m = 環境_.メニュー欄;
    if (m.チェック("BGM")) {
        m.チェック設定("BGM", false);
        音_.BGM停止();
    } else {
        m.チェック設定("BGM", true);
        音_.BGM開始();
    }
    書込_環境設定ファイル();
}

void Form1::VER_Click() {
    パネルを閉じる();
    音_.鳴らす_その他();
    環境_.窓.バージョン情報();
}

}  // namespace kiryuza
