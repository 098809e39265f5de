// Form1's replay, handicap and record-panel handlers: stepping through the history, turning
// the board, giving a handicap, saving and loading records.
#include "game/form1.h"

#include "record/record_file.h"
#include "rules/handicap.h"
#include "rules/reversal.h"

namespace kiryuza {

// ---------------------------------------------------------------------------------------------
// Replay

void Form1::STOP_Click() {
    パネルを閉じる();
}

// Puts the history entry on the board into the position and the hands, sets both clocks to the
// totals as they stood at that position and redraws them, the hands and the board. In a game
// under a time control the clocks are the game's instead, whatever entry is shown: looking back
// gives no time back, and the side that has the move in the game goes on using its own.
void Form1::棋譜の局面を置く() {
    const 棋譜項目& e = s_.棋譜.現在();
    棋譜の局面を写す(e, s_.局);
    if (時計が進行中()) {
        if (s_.時計.走る側 != 時計の側::なし) 環境_.Timer1.開始();
        時計を描く();
    } else {
        s_.時計.累計秒COM = e.前秒C;
        画面_.描画_所有時間(s_.局.手番値COM, s_.時計.累計秒COM);
        s_.時計.累計秒MAN = e.前秒M;
        画面_.描画_所有時間(s_.局.手番値MAN, s_.時計.累計秒MAN);
    }
    画面_.描画_自持盤();
    画面_.描画_敵持盤();
    画面_.描画_盤();
}

void Form1::AFTER_Click() {
    if (思考中なら断る()) return;
    const 自動保存の番 番{*this};
    auto& 状況 = s_.状況;
    パネルを閉じる();
    if (状況.手番 == 手番_なし) {
        音_.鳴らす_禁止();
        告知("「対局」で始めて下さい", "開始");
        return;
    }
    状況.再開フラグ = 定数_ON;
    if (!s_.棋譜.進める()) {
        if (状況.棋譜モード == 定数_ON) {
            告知("終わり", "進む");
        } else {
            音_.鳴らす_禁止();
            告知("できません", "進む");
        }
        return;
    }
    画面_.消去_思考中();
    状況.選択状態 = 0;
    環境_.Timer1.停止();
    画面_.描画_将棋盤桝();
    状況.手数 += 1;
    画面_.描画_手数(状況.手数, 色_白);
    棋譜の局面を置く();
    int X = 0;
    int Y = 0;
    int 種類 = 0;
    調査_移動結果(s_.棋譜, s_.棋譜.棋譜手数(), X, Y, 種類);
    音_.鳴らす_駒打();
    画面_.描画_移動結果(種類 > 0 ? s_.局.手番値COM : s_.局.手番値MAN, X, Y, 種類, 色_移動結果);
    状況.手番 = -状況.手番;
    画面_.描画_手数(状況.手数, 色_白);
    画面_.描画_手番表示();
}

void Form1::REPLAY_Click() {
    if (思考中なら断る()) return;
    const 自動保存の番 番{*this};
    auto& 状況 = s_.状況;
    パネルを閉じる();
    状況.再開フラグ = 定数_ON;
    if (s_.棋譜.棋譜手数() < 1) {
        音_.鳴らす_禁止();
        告知("できません", "戻る");
        return;
    }
    状況.選択状態 = 0;
    環境_.Timer1.停止();
    画面_.描画_将棋盤桝();
    画面_.消去_思考中();
    // The move being taken back, found before the entry on the board changes.
    int X = 0;
    int Y = 0;
    int 種類 = 0;
    調査_移動結果(s_.棋譜, s_.棋譜.棋譜手数(), X, Y, 種類);
    s_.棋譜.戻す();
    棋譜の局面を置く();
    音_.鳴らす_駒打();
    画面_.消去_移動結果(種類 > 0 ? s_.局.手番値COM : s_.局.手番値MAN);
    状況.手数 -= 1;
    状況.手番 = -状況.手番;
    画面_.描画_手数(状況.手数, 色_白);
    画面_.描画_手番表示();
}

void Form1::CANCEL_Click() {
    if (思考中なら断る()) return;
    if (!破棄してよいか()) return;
    const 自動保存の番 番{*this};
    初期設定(s_, *this);
    音_.鳴らす_駒打();
}

void Form1::REVERSE_Click() {
    if (思考中なら断る()) return;
    const 自動保存の番 番{*this};
    auto& 状況 = s_.状況;
    if (状況.棋譜モード == 定数_ON) {
        音_.鳴らす_禁止();
        告知("棋譜ﾓｰﾄﾞではできません", "反転");
        return;
    }
    // Turning the board discards the history: a game not saved is asked for.
    if (!破棄してよいか()) return;
    状況.反転フラグ = 定数_ON;
    状況.選択状態 = 0;
    局面反転(s_.局);
    画面_.表示記憶消去();
    画面_.画面_再描画();
    画面_.描画_手数(状況.手数, 色_白);
    if (状況.ハンデ設定フラグ == 定数_ON) {
        状況.ハンデレベル = -状況.ハンデレベル;
        画面_.描画_ハンデレベル(状況.ハンデレベル);
    }
    音_.鳴らす_駒打();
    状況.手番 = -状況.手番;
    画面_.描画_手番表示();
    // Under a time control the next click goes on with the game, as after looking back: till
    // then the clock of the side that had the move runs.
    if (時計が進行中()) 状況.再開フラグ = 定数_ON;
    // The history starts again from the turned position.
    s_.棋譜.開始(s_.局, s_.時計.累計秒MAN, s_.時計.累計秒COM, 棋譜の出自::反転);
}

// ---------------------------------------------------------------------------------------------
// Handicap

void Form1::描画_メッセージ(int IN_メッセージ番号) {
    static const char* const 理由[] = {"", "棋譜ﾓｰﾄﾞではできません", "対局途中ではできません",
                                       "反転後ではできません"};
    const bool 既知 = IN_メッセージ番号 >= 1 && IN_メッセージ番号 <= 3;
    告知(std::string(既知 ? 理由[IN_メッセージ番号] : "") + "\r\r局面→最初にして下さい",
         "ﾊﾝﾃﾞｨｷｬｯﾌﾟ設定");
}

void Form1::ハンデ変更(int 向き) {
    const 自動保存の番 番{*this};
    auto& 状況 = s_.状況;
    パネルを閉じる();
    const int 理由 = 状況.棋譜モード == 定数_ON   ? 1
                     : s_.棋譜.棋譜手数() > 0     ? 2
                     : 状況.反転フラグ == 定数_ON ? 3
                                                  : 0;
    if (理由 != 0) {
        音_.鳴らす_禁止();
        描画_メッセージ(理由);
        return;
    }
    // Stepped back to its start, a game's history gives way to the handicap's position.
    if (!破棄してよいか()) return;
    if (const auto 変化 = ハンデを動かす(s_.局, 状況.ハンデレベル, 向き)) {
        画面_.描画_ハンデレベル(状況.ハンデレベル);
        画面_.描画_絵(変化->駒, 変化->x, 変化->y);
        画面_.描画_桝輪郭(色_背景, 変化->x, 変化->y);
        音_.鳴らす_駒打();
    }
    状況.ハンデ設定フラグ = 定数_ON;
    // The handicap position is where this game's history begins.
    s_.棋譜.開始(s_.局, s_.時計.累計秒MAN, s_.時計.累計秒COM, 棋譜の出自::ハンデ);
}

void Form1::LBEL_UP_Click() {
    if (思考中なら断る()) return;
    ハンデ変更(1);
}

void Form1::LEBEL_DOWN_Click() {
    if (思考中なら断る()) return;
    ハンデ変更(-1);
}

// ---------------------------------------------------------------------------------------------
// Record panel

void Form1::描画_可視(bool a, bool b, bool c) {
    環境_.パネル.一覧表示(a, b, c);
}

void Form1::描画_棋譜_IO(int フラグ) {
    if (フラグ != 0) 環境_.パネル.入力欄消去();
    環境_.パネル.入力欄表示(フラグ == 0);
}

void Form1::パネルを閉じる() {
    描画_可視(false, false, false);
    描画_棋譜_IO(1);
}

void Form1::KIFU_Click() {}

void Form1::KIFU_READ_Click() {
    描画_可視(true, true, true);
    描画_棋譜_IO(1);
    // Records saved since the list was last read show up too.
    環境_.パネル.ファイル一覧更新();
}

void Form1::KIFU_WRITE_Click() {
    // A game begun from a turned or handicapped position stays unwritable after 最初 too.
    if (s_.状況.反転フラグ == 定数_ON || s_.棋譜.出自() == 棋譜の出自::反転) {
        告知("反転後は書き込みできません", "棋譜書込");
        return;
    }
    if (s_.状況.ハンデ設定フラグ == 定数_ON || s_.棋譜.出自() == 棋譜の出自::ハンデ) {
        告知("ﾊﾝﾃﾞｷｬｯﾌﾟ設定後は書き込みできません", "棋譜書込");
        return;
    }
    描画_可視(true, true, false);
    描画_棋譜_IO(0);
}

void Form1::Command1_Click() {
    const 自動保存の番 番{*this};
    auto& パネル = 環境_.パネル;
    const std::string ファイル名 = パネル.入力(1);
    if (ファイル名.empty()) {
        告知("ﾌｧｲﾙ名が入力されていません", "  ");
        return;
    }
    if (s_.棋譜.棋譜記録数() < 1) {
        告知("保存するデータがありません", "棋譜保存");
        return;
    }
    const bool 人が先手 = s_.局.手番値MAN == 手番_先手;
    const 棋譜見出し 見出し{パネル.入力(2), 人が先手 ? パネル.入力(4) : パネル.入力(3),
                            人が先手 ? パネル.入力(3) : パネル.入力(4)};
    std::string フォルダ = パネル.フォルダ();
    if (!フォルダ.empty() && フォルダ.back() != '/') フォルダ += '/';
    const std::string 表示名 = ファイル名 + std::string(棋譜拡張子);
    const 棋譜書込結果 r = 棋譜を保存する(
        環境_.ファイル, 環境_.符号, フォルダ + 表示名, 表示名, s_.棋譜, 見出し,
        [this](const std::string& 問い) {
            return 環境_.メッセージ.表示(問い, std::string(棋譜書込の題), ボタン種類::はいいいえ) ==
                   押されたボタン::はい;
        });
    if (r.取りやめ) return;
    if (!r.成功) {
        音_.鳴らす_禁止();
        告知(r.誤り, std::string(棋譜書込の題));
        return;
    }
    描画_可視(false, false, false);
    描画_棋譜_IO(1);
    パネル.ファイル一覧更新();
    保存時の棋譜_ = std::make_unique<棋譜表>(s_.棋譜);
    告知("棋譜を書き込みました", "  ");
}

void Form1::File1_Click(const std::string& ファイル名) {
    if (思考中なら断る()) return;
    const 自動保存の番 番{*this};
    描画_可視(false, false, false);
    // Read and check the whole file before anything changes: a broken file leaves the game
    // as it was.
    棋譜読込結果 r = 棋譜ファイルを読む(環境_.ファイル, 環境_.符号, ファイル名);
    if (!r.成功) {
        音_.鳴らす_禁止();
        告知(r.誤り, std::string(棋譜読込の題));
        return;
    }
    if (!破棄してよいか()) return;
    初期設定(s_, *this);
    s_.状況.棋譜モード = 定数_ON;
    s_.状況.見出し = r.棋譜.見出し;
    const auto& 見 = s_.状況.見出し;
    画面_.描画_棋譜見出し(見.対局名, 見.上手名, 見.下手名);
    棋譜表へ移す(r.棋譜, s_.棋譜);
    s_.状況.手数 = 0;
    if (r.棋譜.記録数() == 0) {
        告知("棋譜ﾌｧｲﾙにﾃﾞｰﾀがありません", "棋譜");
        return;
    }
    告知(" 読み込みました", "棋譜");
    s_.状況.手番 = 手番_先手;
    画面_.描画_手番表示();
    保存時の棋譜_ = std::make_unique<棋譜表>(s_.棋譜);
    告知("棋譜を '進 'で進めて下さい", "棋譜");
}

void Form1::Drive1_Change(const std::string& ドライブ) {
    if (!環境_.パネル.ドライブ設定(ドライブ)) 告知("ﾃﾞﾊﾞｲｽが準備できていません", "ｴﾗｰ");
}

void Form1::Dir1_Change(const std::string& フォルダ) {
    環境_.パネル.ファイルフォルダ設定(フォルダ);
}

}  // namespace kiryuza
