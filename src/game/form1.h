// Form1: the game window's events and commands. It receives every window event and menu
// command and calls the rules, the engine, the drawing, the clock, the files and the sound in
// the order the game needs; the work itself is theirs. The platform reaches it only through
// these handlers, and it reaches the platform only through the interfaces of src/interfaces.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "display/screen.h"
#include "engine/deep_board.h"
#include "engine/engine.h"
#include "engine/review.h"
#include "engine/search_service.h"
#include "game/move_entry.h"
#include "interfaces/canvas.h"
#include "interfaces/platform.h"
#include "options/preferences.h"
#include "options/settings.h"
#include "options/sound.h"
#include "record/autosave.h"
#include "record/kif_text.h"
#include "rules/game_state.h"

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
    自動保存先& 自動保存;
    読み依頼先& 読み;  // the searching player (level 4 and its hints), answering later
    棋譜と形勢& 形勢;
    置き場所 場所{};
};

class Form1 : private 局面表示 {
  public:
    // The most seconds of a running clock a killed game may lose: while a clock runs the game
    // is kept this often, besides after every command and at the end.
    static constexpr double 時計を残す間隔秒 = 5;

    // The game runs on `状態`, which the caller owns.
    Form1(const プラットフォーム& 環境, 対局状態& 状態);
    ~Form1() override;
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Window events.
    void Form_Load();
    void Form_Unload(int cancel = 0);
    void Form_KeyPress(int キー);
    // Keys without a character: the arrows ← ↑ → ↓ as key codes 37..40.
    void Form_KeyDown(int キーコード);
    void Form_MouseDown(int button, int shift, double x, double y);
    void Timer1_Timer();
    // A write of the kept game has ended (it runs apart from the game's handlers).
    void 自動保存_完了();
    // The searching player has answers (it thinks apart from the game's handlers).
    void 読み_完了();

    // 対局 menu.
    void TAIKYOKU_Click();
    void MATCH_MAN_Click();
    void START_Click();
    void SENTE_Click();
    void GOTE_Click();
    void SHINKI_Click();
    void LEVEL1_Click();
    void LEVEL2_Click();
    void LEVEL3_Click();
    void LEVEL4_Click();
    void MATTA_Click();
    void HINT_Click();
    void TOURYOU_Click();
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

    // The panel 棋譜と形勢: the move list, the graph and the review, 検討, the record as text.
    void KIFU_LIST_Click();
    void 形勢パネル_表示変化(bool 表示);
    void 棋譜一覧_選択(int n);
    void 検討_切替();
    void 棋譜をコピー_Click();
    void 棋譜を文で保存_Click();

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
    void NARI_FUNARI_Click();
    void MOCHI_NASHI_Click();
    void MOCHI_1_Click();
    void MOCHI_5_Click();
    void MOCHI_10_Click();
    void MOCHI_15_Click();
    void MOCHI_30_Click();
    void MOCHI_60_Click();
    void BYOU_NASHI_Click();
    void BYOU_10_Click();
    void BYOU_30_Click();
    void BYOU_60_Click();
    void VER_Click();
    void ASOBIKATA_Click();

    // The move being entered, with the form it waits for while the chooser shows it.
    const 指し手入力& 入力中の手() const { return 入力_; }

  private:
    // Game control.
    void 終了処理();
    void 終わる();
    void 棋譜を続ける();
    棋譜の出自 今の出自() const;
    void com_ban();
    void COMの手を指す(const 最善手& m);
    bool 思考中なら断る();
    std::vector<std::uint64_t> 既出の鍵(bool 今COM側) const;
    void 対局終了_COM手なし();
    void レベル_設定(int IN_LEVEL);
    void レベル選択(int レベル);
    void 待ち時間(double IN_秒);
    void 経過秒更新();
    bool 棋譜満杯なら断る();

    // Mouse input.
    bool 再開を告げる();
    void 盤を押す(桝 c);
    void 人の手を指す(bool 形を変える = true);
    bool 形の選択を開く();
    void 形を決める(bool 変える);
    void 形の選択を動かす(int キーコード);
    void 形の選択を取り消す();
    void 持駒を押す(桝 c);
    void 描画_移動可能桝色(int 元X, int 元Y, int 描画色, int 駒);
    void 描画_駒点滅(int 入力_駒, int 入力_X, int 入力_Y, int 入力_点滅回数);
    void 禁止を見せる(桝 c);

    // Keyboard play.
    void カーソルを動かす(int 横, int 縦);
    void カーソルで押す();

    // Keeping the game in progress.
    void 前回の対局を確かめる();
    void 壊れた保存を知らせる();
    void 自動保存する();
    void 自動保存の結果を見る();
    // Keeps the game after the handler that made it returns.
    struct 自動保存の番 {
        Form1& form;
        ~自動保存の番() {
            form.自動保存する();
            form.一覧を合わせる();
        }
    };

    // Take-back and hint.
    int 待ったの手数();
    bool 対局中() const;
    bool ヒントを出せる() const;
    // The moves of the upper side (COM側) or the lower side as advice and judgement weigh them:
    // a person's (the change of form always taken) for a side a person plays, every move for
    // the computer's side or a person who chooses the form; 両側の手の範囲 for both sides.
    手の範囲 人の手の範囲(bool COM側) const;
    両側の範囲 両側の手の範囲() const;
    void 操作可否を合わせる();
    void 最後の指し手を描く();

    // Replay and handicap.
    void 棋譜の局面を置く();
    void ハンデ変更(int 向き);
    void 描画_メッセージ(int IN_メッセージ番号);

    // Record panel.
    void 描画_可視(bool a, bool b, bool c);
    void 描画_棋譜_IO(int フラグ);
    void パネルを閉じる();

    // Play: a new game, resigning, the time control, the preferences kept between runs.
    bool 未保存の対局() const;
    bool 破棄してよいか();
    void ハンデを置く(int レベル);
    void 種類を覚える(対局の種類 種類);
    bool 持ち時間制() const;
    // The clock of a game under way, each side's as on a game clock.
    時計の側 時計側(int 手番) const;
    int 側の手番(時計の側 側) const;
    bool 人の側(時計の側 側) const;
    bool 対局が進行中() const;
    bool 時計が進行中() const;
    double 手の経過秒(時計の側 側);
    void 手番の時計を動かす();
    void 手番の初めに告げる(const std::string& 本文, const std::string& 題);
    void 時計を止めて告げる(const std::string& 本文, const std::string& 題);
    void 時計を描く();
    void 時計を動かす();
    bool 時間切れなら終える();
    void 対局を終える(int 勝者, const std::string& 本文, const std::string& 題);
    void 時間選択(bool 秒読み, std::string_view 名);
    void 読込_好み();
    void 書込_好み();

    // The panel 棋譜と形勢.
    const 棋譜表& 盤の棋譜() const;
    void 一覧を合わせる();
    bool 先手はCOM側() const;
    std::vector<std::uint64_t> 局面の鍵一覧(bool 先手COM) const;
    bool 解析を進める(const std::vector<std::uint64_t>& 鍵, bool 先手COM);
    void 解析の答え(const 読み答え& a);
    std::string 講評の文(const 講評& r, bool 先手COM) const;
    void 最善手を示す(const 手の講評& 手);
    std::string 棋譜の文にする() const;
    void 検討を合わせる();
    void 検討の答え(const 読み答え& a);

    // Settings.
    void 読込_環境設定ファイル();
    void 書込_環境設定ファイル();
    void 背景選択(int 背景);
    void メニューを合わせる();

    // 局面表示: what the rules ask of the screen.
    void 描画_絵(int 駒種類, double x, double y) override { 画面_.描画_絵(駒種類, x, y); }
    void 描画_桝輪郭(int 色, double x, double y) override { 画面_.描画_桝輪郭(色, x, y); }
    void 描画_自持盤() override { 画面_.描画_自持盤(); }
    void 描画_敵持盤() override { 画面_.描画_敵持盤(); }
    // Called by the set-up of a new position: nothing of the last game's texts stays.
    void 画面_再描画() override {
        画面_.表示記憶消去();
        画面_.画面_再描画();
    }
    void Timer1_停止() override { 環境_.Timer1.停止(); }

    double 現在秒() { return 環境_.時刻.現在秒(); }
    void 告知(const std::string& 本文, const std::string& 題) { 環境_.メッセージ.表示(本文, 題); }

    プラットフォーム 環境_;
    対局状態& s_;  // the game, owned by the caller
    std::unique_ptr<思考エンジン> エンジン_;
    画面 画面_;
    音響 音_;
    指し手入力 入力_;
    std::optional<桝> カーソル_;  // the keyboard's cell, once a key has shown it
    // The one-ply player of the hints with a position of its own; level 4 and its hints ask
    // the searching player (環境_.読み), whose answer ends the computer's turn or shows the hint.
    void ヒントを見せる(const 最善手& b);
    std::uint64_t COM思考番号_ = 0;
    bool COM思考中_ = false;      // level 4 thinks: commands that change the game are refused
    std::uint64_t 揺らぎ種_ = 0;  // the game's seed for level 4's choice among near-equal moves
    std::uint64_t ヒント番号_ = 0;
    std::unique_ptr<局面> ヒントを頼んだ局_;  // the position of the hint level 4 is asked for
    std::unique_ptr<局面> ヒント局_;
    std::unique_ptr<思考エンジン> ヒントエンジン_;

    // The history as last saved to or loaded from a record (empty when it never was).
    std::unique_ptr<棋譜表> 保存時の棋譜_;
    std::vector<std::uint8_t> 自動保存した形_;  // the game as last kept
    mutable 棋譜表 開始局面だけ_;               // 盤の棋譜 when no game is on the board
    std::vector<一覧行> 送った行_;              // what the move list shows
    int 送った選択_ = -1;
    std::vector<形勢点> 送った点_;  // what the graph shows
    std::string 送った講評_;
    // The review: what the searching player said of each position, by its key, and the
    // position it is asked about now.
    std::unordered_map<std::uint64_t, 局面評価> 評価表_;
    std::uint64_t 解析番号_ = 0;
    std::optional<std::uint64_t> 解析中の鍵_;
    bool 解析中COM側_ = false;
    // 検討: switched on, the position it is asked about and the best lines it has sent.
    bool 検討中_ = false;
    std::uint64_t 検討番号_ = 0;
    std::optional<std::uint64_t> 検討中の鍵_;
    bool 検討中COM側_ = false;
    std::vector<深読み読み筋> 検討の筋_;
    std::string 対局開始日時_;                  // when the game on the board began
    終局の理由 終局理由_ = 終局の理由::対局中;  // how it ended, where the board does not tell
    対局の好み 好み_;
    int 残り表示_ = -1;            // the seconds left the running clock shows
    double 残した時刻_ = 0;        // when the game was last kept
    bool 同期思考中_ = false;      // levels 1-3 think inside the handler: no time-out mid-search
    bool 好み書込失敗中_ = false;  // the last write of the preferences failed
    bool 終了済み_ = false;
    bool 設定書込失敗中_ = false;  // the last write of the settings file failed
    bool 自動保存失敗中_ = false;  // the last write of the kept game failed
};

}  // namespace kiryuza
