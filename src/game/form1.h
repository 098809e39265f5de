// Form1: the game window's logic. It owns the game state, receives every window event and
// menu command, and calls the rules, the engine, the drawing, the clock, the files and the
// sound in the order the game needs. The platform reaches it only through these handlers,
// and it reaches the platform only through the interfaces of platform.h and canvas.h.
#pragma once

#include <memory>
#include <string>

#include "display/canvas.h"
#include "display/screen.h"
#include "engine/engine.h"
#include "game/platform.h"
#include "options/sound.h"
#include "rules/position.h"

namespace kiryuza {

// Everything Form1 needs from the platform.
struct プラットフォーム {
    キャンバス& キャンバス面;
    メッセージ窓& メッセージ;
    時刻源& 時刻;
    タイマー& Timer1;
    メニュー& メニュー欄;
    サウンド& サウンド源;
    ファイル系& ファイル;
    文字コード& 符号;
    棋譜パネル& パネル;
    ウィンドウ& 窓;
    置き場所 場所{};
};

// Product name and version shown by the about box.
inline constexpr const char* 製品名 = "Kiryuza";
inline constexpr const char* 版 = "1.0.0";

class Form1 : private 局面表示 {
  public:
    explicit Form1(const プラットフォーム& 環境);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Window events.
    void Form_Load();
    void Form_Unload(int cancel = 0);
    void Form_KeyPress(int キー);
    void Form_MouseDown(int button, int shift, double x, double y);
    void Timer1_Timer();

    // 対局 menu.
    void TAIKYOKU_Click();
    void MATCH_MAN_Click();
    void START_Click();
    void SENTE_Click();
    void GOTE_Click();
    void LEVEL1_Click();
    void LEVEL2_Click();
    void LEVEL3_Click();
    void OWARI_Click();

    // 局面 menu and the replay commands on the menu bar.
    void STOP_Click();
    void CANCEL_Click();
    void REVERSE_Click();
    void REPLAY_Click();
    void AFTER_Click();

    // Handicap commands on the menu bar.
    void LBEL_UP_Click();
    void LEBEL_DOWN_Click();

    // 棋譜 menu and the record panel.
    void KIFU_Click();
    void KIFU_READ_Click();
    void KIFU_WRITE_Click();
    void Command1_Click();
    void File1_Click(const std::string& ファイル名);
    void Drive1_Change(const std::string& ドライブ);
    void Dir1_Change(const std::string& フォルダ);

    // ｵﾌﾟｼｮﾝ menu and その他.
    void OPTION_Click();
    void MIDORI_Click();
    void TATAMI_Click();
    void TAKE_Click();
    void UCHU_Click();
    void RENGA_Click();
    void SIDOU_Click();
    void KEIKA_Click();
    void BGM_Click();
    void VER_Click();

    // The state, for the tests (which also set up positions through 状態を変える).
    const 対局状態& 状態() const { return *状態_; }
    対局状態& 状態を変える() { return *状態_; }
    const 思考エンジン& エンジン() const { return *エンジン_; }
    int 背景種類() const { return 画面_.背景種類; }
    bool 終了済み() const { return 終了済み_; }
    int 移動指導色() const { return 色_移動指導; }

  private:
    // Game control.
    void 終了処理();
    void com_ban();
    void レベル_設定(int IN_LEVEL);
    void レベル選択(int レベル);
    void 待ち時間(double IN_秒);
    void 描画_移動可能桝色(int 元X, int 元Y, int 描画色, int 駒);
    void 描画_駒点滅(int 入力_駒, int 入力_X, int 入力_Y, int 入力_点滅回数);
    bool 棋譜満杯なら断る();
    void 対局終了_COM手なし();
    void 経過秒更新();

    // Replay.
    void 棋譜の局面を置く(int n, double 秒MAN, double 秒COM);

    // Handicap.
    void ハンデ変更(int 向き);
    void 描画_メッセージ(int IN_メッセージ番号);

    // Record panel.
    void 描画_可視(bool a, bool b, bool c);
    void 描画_棋譜_IO(int フラグ);
    void パネルを閉じる();

    // Settings.
    void 読込_環境設定ファイル();
    void 書込_環境設定ファイル();
    void チェック設定(int IN_背景種類);
    void 背景選択(int 背景);
    void 設定を適用(const std::string& 行);
    void 既定の設定(bool 描く);
    void 書込失敗時の既定(const std::string& 誤り);

    // 局面表示: what the rules ask of the screen.
    void 描画_絵(int 駒種類, double x, double y) override { 画面_.描画_絵(駒種類, x, y); }
    void 描画_桝輪郭(int 色, double x, double y) override { 画面_.描画_桝輪郭(色, x, y); }
    void 描画_自持盤() override { 画面_.描画_自持盤(); }
    void 描画_敵持盤() override { 画面_.描画_敵持盤(); }
    void 画面_再描画() override { 画面_.画面_再描画(); }
    void Timer1_停止() override { 環境_.Timer1.停止(); }

    bool 経過時間表示() const;
    double 現在秒() { return 環境_.時刻.現在秒(); }
    void 告知(const std::string& 本文, const std::string& 題) { 環境_.メッセージ.表示(本文, 題); }

    プラットフォーム 環境_;
    std::unique_ptr<対局状態> 状態_;
    std::unique_ptr<思考エンジン> エンジン_;
    画面 画面_;
    音響 音_;

    // The outline colour of the move guidance.
    int 色_移動指導 = 色_桝線;

    // The move being entered with the mouse (kept between clicks).
    int 移動元X = 0;
    int 移動元Y = 0;
    int 移動先X = 0;
    int 移動先Y = 0;
    int 移動駒 = 0;

    bool 終了済み_ = false;
};

}  // namespace kiryuza
