#include "game/form1.h"

#include <cmath>

#include "interfaces/control_names.h"

namespace kiryuza {

namespace {

constexpr int キー_Esc = 27;

// The refusal shown when the history has no room for another move.
constexpr const char* 満杯文 =
    "手数が上限の500手に達しました。\nこれ以上は指せません。\n「棋譜」→「書込」で保存できます。";

}  // namespace

Form1::Form1(const プラットフォーム& 環境, 対局状態& 状態)
    : 環境_(環境),
      s_(状態),
      エンジン_(std::make_unique<思考エンジン>(状態.局)),
      画面_(環境.キャンバス面, 状態),
      音_(環境.サウンド源, 環境.ファイル, 環境.メッセージ, 環境.場所.音フォルダ),
      ヒントを頼んだ局_(std::make_unique<局面>()),
      ヒント局_(std::make_unique<局面>()),
      ヒントエンジン_(std::make_unique<思考エンジン>(*ヒント局_)) {}

Form1::~Form1() = default;

// ---------------------------------------------------------------------------------------------
// Start-up and shut-down

void Form1::Form_Load() {
    音_.開始();
    s_.状況.棋譜モード = 定数_OFF;
    s_.設定.移動指導フラグ = 定数_OFF;
    s_.状況.COMレベル = 3;
    環境_.メニュー欄.チェック設定(control::LEVEL3, true);
    s_.局.手番値MAN = 手番_後手;
    s_.局.手番値COM = 手番_先手;
    画面_.背景色塗り(色_背景);
    読込_環境設定ファイル();
    読込_好み();
    初期設定(s_, *this);
    if (環境_.窓.上端() != -60) 環境_.窓.配置(0, 0, 9800, 8000);
    前回の対局を確かめる();
    一覧を合わせる();
}

void Form1::終了処理() {
    if (終了済み_) return;
    終了済み_ = true;
    // The game is kept with its clocks as they stand, so that the next start gives no time back.
    if (持ち時間制() && s_.時計.走る側 != 時計の側::なし) 自動保存する();
    環境_.読み.全て止める();
    環境_.Timer1.停止();
    音_.停止();
}

// Shuts down and ends the program at once.
void Form1::終わる() {
    終了処理();
    環境_.窓.終了();
}

void Form1::Form_Unload(int /*cancel*/) {
    終わる();
}

void Form1::OWARI_Click() {
    終わる();
}

void Form1::Form_KeyPress(int キー) {
    // While the form of a move is chosen, Esc drops the move and Enter or Space plays it in the
    // form selected; nothing else acts.
    if (入力_.形を選ぶ) {
        if (キー == キー_Esc) 形の選択を取り消す();
        if (キー == 13 || キー == ' ') 形を決める(入力_.変える);
        return;
    }
    if (キー == キー_Esc) 終わる();
    // Enter and Space act on the keyboard's cursor.
    if (キー == 13 || キー == ' ') カーソルで押す();
}

// ---------------------------------------------------------------------------------------------
// Starting and resuming games

void Form1::TAIKYOKU_Click() {
    パネルを閉じる();
    操作可否を合わせる();
}

void Form1::MATCH_MAN_Click() {}

void Form1::SENTE_Click() {
    if (思考中なら断る()) return;
    // After the end of a game a start command begins a new one: a game not saved is asked for.
    if (s_.局.勝者 != 手番_なし && !破棄してよいか()) return;
    const 自動保存の番 番{*this};
    種類を覚える(対局の種類::COM先手);
    auto& 局 = s_.局;
    if (局.勝者 != 手番_なし) 初期設定(s_, *this);
    画面_.描画_棋譜読込み部分消去();
    画面_.描画_レベル(s_.状況.COMレベル);
    画面_.描画_将棋盤桝();
    残り表示_ = -1;
    s_.状況.選択状態 = 0;
    s_.状況.対局モード = 対局モード_COM;
    s_.状況.棋譜モード = 定数_OFF;
    棋譜を続ける();
    環境_.Timer1.開始();
    if (s_.状況.手番 == 手番_なし || s_.状況.手数 == 0) {
        局.手番値MAN = 手番_先手;
        局.手番値COM = 手番_後手;
        s_.状況.手番 = 局.手番値MAN;
        画面_.描画_手番表示();
        手番の初めに告げる("MANの番です", " ");
        s_.状況.再開フラグ = 定数_OFF;
        return;
    }
    if (s_.状況.手番 != 局.手番値MAN) {
        if (s_.状況.手番 == 局.手番値COM) com_ban();
        return;
    }
    局.手番値MAN = 手番_先手;
    局.手番値COM = 手番_後手;
    s_.状況.手番 = 手番_先手;
    画面_.描画_手番表示();
    手番の初めに告げる("MANの番です", "対局");
    s_.状況.再開フラグ = 定数_OFF;
}

void Form1::GOTE_Click() {
    if (思考中なら断る()) return;
    if (s_.局.勝者 != 手番_なし && !破棄してよいか()) return;
    const 自動保存の番 番{*this};
    種類を覚える(対局の種類::COM後手);
    auto& 局 = s_.局;
    if (局.勝者 != 手番_なし) 初期設定(s_, *this);
    画面_.描画_棋譜読込み部分消去();
    画面_.描画_レベル(s_.状況.COMレベル);
    画面_.描画_将棋盤桝();
    残り表示_ = -1;
    環境_.Timer1.開始();
    s_.状況.選択状態 = 0;
    s_.状況.対局モード = 対局モード_COM;
    s_.状況.棋譜モード = 定数_OFF;
    棋譜を続ける();
    if (s_.状況.手番 == 手番_なし || s_.状況.手数 == 0) {
        局.手番値MAN = 手番_後手;
        局.手番値COM = 手番_先手;
        s_.状況.手番 = 手番_先手;
        com_ban();
        return;
    }
    if (s_.状況.手番 == 局.手番値MAN) {
        画面_.描画_手番表示();
        手番の初めに告げる("MANの番です", "対局");
        s_.状況.再開フラグ = 定数_OFF;
    } else if (s_.状況.手番 == 局.手番値COM) {
        com_ban();
    }
}

void Form1::START_Click() {
    if (思考中なら断る()) return;
    if (s_.局.勝者 != 手番_なし && !破棄してよいか()) return;
    const 自動保存の番 番{*this};
    種類を覚える(対局の種類::人間);
    auto& 局 = s_.局;
    if (局.勝者 != 手番_なし) {
        初期設定(s_, *this);
        画面_.更新();
    }
    s_.状況.棋譜モード = 定数_OFF;
    画面_.描画_棋譜読込み部分消去();
    画面_.消去_レベル();
    画面_.描画_将棋盤桝();
    残り表示_ = -1;
    // A clock that counts down must tick even when it is not shown: time runs out all the same.
    if (s_.設定.経過時間 || 持ち時間制()) 環境_.Timer1.開始();
    s_.状況.対局モード = 対局モード_人間;
    s_.状況.選択状態 = 0;
    棋譜を続ける();
    if (s_.状況.手番 == 手番_なし || s_.状況.手数 == 0) {
        局.手番値MAN = 手番_先手;
        局.手番値COM = 手番_後手;
        s_.状況.手番 = 局.手番値MAN;
        画面_.描画_手番表示();
        手番の初めに告げる("先手の番です", " ");
    } else {
        // Between two people the lower player is always 先手: a game the human played second
        // against the computer goes on with the sides named again, the same side to move.
        if (局.手番値MAN != 手番_先手) {
            s_.状況.手番 = s_.状況.手番 == 局.手番値MAN ? 手番_先手 : 手番_後手;
            局.手番値MAN = 手番_先手;
            局.手番値COM = 手番_後手;
        }
        画面_.描画_手番表示();
        手番の初めに告げる(s_.状況.手番 == 手番_先手 ? "先手の番です" : "後手の番です", " ");
    }
    s_.状況.再開フラグ = 定数_OFF;
}

// A game-start command: a game that has not begun starts its history at the position on the
// board; a game going on continues from the entry on the board, dropping the entries after it.
void Form1::棋譜を続ける() {
    auto& 局 = s_.局;
    if (s_.状況.手番 == 手番_なし || s_.状況.手数 == 0) {
        s_.棋譜.開始(局, s_.時計.累計秒MAN, s_.時計.累計秒COM, 今の出自());
        対局開始日時_ = 環境_.時刻.日時();
        終局理由_ = 終局の理由::対局中;
        return;
    }
    s_.棋譜.以降を捨てる();
    // The last position of a record whose game ended by taking a king: that game is won.
    const bool MAN王 = 王がいる(局, 駒_MAN王);
    if (MAN王 != 王がいる(局, 駒_COM王)) 局.勝者 = MAN王 ? 局.手番値MAN : 局.手番値COM;
}

// How a game begun from the position on the board began.
棋譜の出自 Form1::今の出自() const {
    if (s_.状況.反転フラグ == 定数_ON) return 棋譜の出自::反転;
    if (s_.状況.ハンデ設定フラグ == 定数_ON) return 棋譜の出自::ハンデ;
    return 棋譜の出自::平手;
}

// ---------------------------------------------------------------------------------------------
// Clock

void Form1::Timer1_Timer() {
    auto& 時 = s_.時計;
    if (s_.局.勝者 != 手番_なし || !環境_.Timer1.動作中()) return;
    if (持ち時間制()) {
        時計を動かす();
        return;
    }
    時.経過秒 = 調査_経過秒(時.手番開始時刻, 現在秒());
    const int 秒 = static_cast<int>(std::floor(時.経過秒));
    if (秒 == 時.表示秒) return;
    時.表示秒 = 秒;
    if (s_.状況.手番 == s_.局.手番値COM) {
        画面_.描画_所有時間(s_.局.手番値COM, 時.経過秒 + 時.累計秒COM);
    } else if (s_.状況.手番 == s_.局.手番値MAN) {
        画面_.描画_所有時間(s_.局.手番値MAN, 時.経過秒 + 時.累計秒MAN);
    }
    画面_.更新();
}

// The time spent on the current move, measured now: the timer's last reading is stale when the
// clock display is switched off or the move came within one tick.
void Form1::経過秒更新() {
    s_.時計.経過秒 = 調査_経過秒(s_.時計.手番開始時刻, 現在秒());
}

// The clock of the side whose turn value is `手番`.
時計の側 Form1::時計側(int 手番) const {
    if (手番 == 手番_なし) return 時計の側::なし;
    return 手番 == s_.局.手番値COM ? 時計の側::COM : 時計の側::MAN;
}

int Form1::側の手番(時計の側 側) const {
    if (側 == 時計の側::なし) return 手番_なし;
    return 側 == 時計の側::COM ? s_.局.手番値COM : s_.局.手番値MAN;
}

// A side whose moves a person makes: both between two people, the lower one against the
// computer.
bool Form1::人の側(時計の側 側) const {
    return 側 == 時計の側::MAN || (側 == 時計の側::COM && s_.状況.対局モード == 対局モード_人間);
}

// A game has begun and is not over, and no record is being stepped through: its clocks count,
// also while its history is looked back through.
bool Form1::対局が進行中() const {
    return s_.状況.手番 != 手番_なし && s_.局.勝者 == 手番_なし && s_.状況.棋譜モード == 定数_OFF;
}

bool Form1::時計が進行中() const {
    return 持ち時間制() && 対局が進行中();
}

// The seconds the move being made took, measured now: under a time control the whole turn of
// `側` (also what it took before the game went back to an earlier entry), otherwise the time
// since its turn started.
double Form1::手の経過秒(時計の側 側) {
    if (!持ち時間制()) {
        経過秒更新();
        return s_.時計.経過秒;
    }
    s_.時計.経過秒 = 手の秒(s_.時計, 側, 現在秒());
    return s_.時計.経過秒;
}

// The side to move on the board takes the running clock. Under a time control its turn goes on
// from where it stood, so that resuming gives no time back; without one it counts from now.
void Form1::手番の時計を動かす() {
    const double 今 = 現在秒();
    残り表示_ = -1;
    if (!持ち時間制()) {
        s_.時計.手番開始時刻 = 今;
        return;
    }
    時計を切り替える(s_.時計, 対局が進行中() ? 時計側(s_.状況.手番) : 時計の側::なし, 今);
    時計を描く();
}

// A box raised as a turn starts (whose turn it is; whether the computer may move on): no clock
// runs while it is open, and the side to move's clock starts when it is closed.
void Form1::手番の初めに告げる(const std::string& 本文, const std::string& 題) {
    時計を止める(s_.時計, 現在秒());
    const bool 動作 = 環境_.Timer1.動作中();
    環境_.Timer1.停止();
    告知(本文, 題);
    if (動作) 環境_.Timer1.開始();
    手番の時計を動かす();
}

// A box the game raises on its own while a clock may run (a write of the kept game failed):
// its time is nobody's, and the clock that ran goes on when it is closed.
void Form1::時計を止めて告げる(const std::string& 本文, const std::string& 題) {
    const 時計の側 側 = s_.時計.走る側;
    時計を止める(s_.時計, 現在秒());
    告知(本文, 題);
    時計を切り替える(s_.時計, 側, 現在秒());
}

// Shows both clocks of a game under a time control as they stand now.
void Form1::時計を描く() {
    auto& 時 = s_.時計;
    const double 今 = 現在秒();
    残り表示_ = -1;
    for (const 時計の側 側 : {時計の側::COM, 時計の側::MAN}) {
        const double 手 = 手の秒(時, 側, 今);
        const double 累計 = 側の累計(時, 側);
        if (側 == 時.走る側) {
            時.経過秒 = 手;
            残り表示_ = 残りの表示秒(残り時間(時.持ち時間秒, 時.秒読み秒, 累計, 手).残り秒);
        }
        画面_.描画_所有時間(側の手番(側), 累計 + 手, 手);
    }
}

void Form1::待ち時間(double IN_秒) {
    const double 開始 = 現在秒();
    while (調査_経過秒(開始, 現在秒()) < IN_秒) 環境_.時刻.少し待つ();
}

bool Form1::棋譜満杯なら断る() {
    if (s_.棋譜.空きあり()) return false;
    音_.鳴らす_禁止();
    告知(満杯文, "対局");
    return true;
}

// ---------------------------------------------------------------------------------------------
// Mouse input

void Form1::描画_移動可能桝色(int 元X, int 元Y, int 描画色, int 駒) {
    画面_.描画_将棋盤桝();
    if (s_.設定.移動指導フラグ != 定数_ON) return;
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            if (移動チェック(s_.局, 元X, 元Y, x, y, 駒) == 定数_ON) 画面_.描画_桝輪郭(描画色, x, y);
}

// A refused square flashes, so that a player without sound sees why nothing happened.
void Form1::禁止を見せる(桝 c) {
    for (int i = 0; i < 2; ++i) {
        for (const int 色 : {色_選択枠, 色_桝線}) {
            画面_.描画_桝輪郭(色, c.列, c.行);
            画面_.更新();
            待ち時間(0.08);
        }
    }
}

void Form1::描画_駒点滅(int 入力_駒, int 入力_X, int 入力_Y, int 入力_点滅回数) {
    for (int i = 0; i < 入力_点滅回数; ++i) {
        for (const int 駒 : {空桝, 入力_駒}) {
            画面_.描画_絵(駒, 入力_X, 入力_Y);
            画面_.描画_桝輪郭(色_背景, 入力_X, 入力_Y);
            画面_.更新();
            待ち時間(0.2);
        }
    }
}

void Form1::Form_MouseDown(int /*button*/, int /*shift*/, double x, double y) {
    // While the form of a move is chosen, a click on either piece plays the move in that form;
    // a click anywhere else drops the move.
    if (入力_.形を選ぶ) {
        パネルを閉じる();
        const std::optional<bool> 変える = 画面_.形の選択の駒(x, y);
        変える ? 形を決める(*変える) : 形の選択を取り消す();
        return;
    }
    if (思考中なら断る()) return;
    const 自動保存の番 番{*this};
    パネルを閉じる();
    if (s_.状況.棋譜モード == 定数_ON) {
        const auto 答 =
            環境_.メッセージ.表示("棋譜を '進 'で進めて下さい", "棋譜", ボタン種類::はいいいえ);
        if (答 == 押されたボタン::いいえ) {
            音_.鳴らす_禁止();
            初期設定(s_, *this);
        }
        return;
    }
    if (s_.局.勝者 != 手番_なし) {
        告知("新規に対局してください", "終局");
        return;
    }
    const 桝 c = 桝を求める(x, y);
    if (s_.状況.手番 == 手番_なし) {
        音_.鳴らす_禁止();
        告知("「対局」で始めて下さい", "開始");
        return;
    }
    if (!再開を告げる()) return;
    if (盤の桝(c)) {
        盤を押す(c);
    } else {
        持駒を押す(c);
    }
}

// Resuming after the history was stepped through: announces the side to move, or lets the
// computer move. False when the click ends there.
bool Form1::再開を告げる() {
    auto& 状況 = s_.状況;
    const bool 再開 = 状況.再開フラグ == 定数_ON;
    if (状況.対局モード == 対局モード_人間) {
        if (再開) {
            状況.再開フラグ = 定数_OFF;
            if (s_.設定.経過時間 || 持ち時間制()) 環境_.Timer1.開始();
            手番の初めに告げる(状況.手番 == 手番_先手 ? "先手の番です" : "後手の番です", "対局");
        }
    } else if (状況.手番 == s_.局.手番値COM) {
        // With the history full the computer cannot move: say so once, without searching.
        if (棋譜満杯なら断る()) return false;
        状況.再開フラグ = 定数_OFF;
        手番の初めに告げる("OKですか？", "再開(COM)");
        com_ban();
    } else if (再開) {
        状況.再開フラグ = 定数_OFF;
        if (s_.設定.経過時間 || 持ち時間制()) 環境_.Timer1.開始();
        手番の初めに告げる("MANの番です", "対局");
    }
    // The computer's reply may have ended the game.
    return s_.局.勝者 == 手番_なし;
}

// A click on a board square: picks a piece, or completes the move picked before.
void Form1::盤を押す(桝 c) {
    auto& 局 = s_.局;
    auto& 状況 = s_.状況;
    const int 駒 = 局.盤面[c.列][c.行];
    const bool 上の番 = 状況.手番 == 局.手番値COM;
    const bool 手番の駒 = 上の番 ? COM駒(駒) : (状況.手番 == 局.手番値MAN && MAN駒(駒));
    if (状況.選択状態 == 0) {
        if (駒 == 空桝) return;
        入力_.選ぶ(c.列, c.行, 駒);
        描画_移動可能桝色(c.列, c.行, s_.設定.色_移動指導, 駒);
        // An opponent's piece shows where it could go but cannot be moved.
        画面_.描画_桝輪郭(手番の駒 ? 色_選択枠 : s_.設定.色_移動指導, c.列, c.行);
        if (手番の駒) 状況.選択状態 = 1;
        return;
    }
    入力_.移動先X = c.列;
    入力_.移動先Y = c.行;
    if (入力_.相手の持駒(上の番)) {
        描画_移動可能桝色(入力_.移動元X, 入力_.移動元Y, 色_桝線, 入力_.移動駒);
        画面_.描画_桝輪郭(色_桝線, 入力_.移動元X, 入力_.移動元Y);
        状況.選択状態 = 0;
        return;
    }
    if (手番の駒) {
        画面_.描画_桝輪郭(色_桝線, 入力_.移動元X, 入力_.移動元Y);
        入力_.選ぶ(c.列, c.行, 駒);
        描画_移動可能桝色(c.列, c.行, s_.設定.色_移動指導, 駒);
        画面_.描画_桝輪郭(色_選択枠, c.列, c.行);
        return;
    }
    const auto& m = 入力_;
    const bool 合法 =
        移動チェック(局, m.移動元X, m.移動元Y, m.移動先X, m.移動先Y, m.移動駒) == 定数_ON;
    if (!合法) {
        音_.鳴らす_禁止();
        禁止を見せる(c);
    }
    if (!合法 || 棋譜満杯なら断る()) {
        状況.選択状態 = 0;
        // The pick may be a hand slot, outside the board's outlines.
        画面_.描画_全桝輪郭();
        return;
    }
    if (形の選択を開く()) return;
    人の手を指す();
}

// With 成・不成を選ぶ on, a move whose piece may keep or change its form waits for the player to
// choose, at its destination, with the change selected; true when it does. The rules let a
// person's piece take either form, even one left with no move.
bool Form1::形の選択を開く() {
    auto& m = 入力_;
    if (!好み_.成不成を選ぶ ||
        調査_駒成(s_.局, m.移動元X, m.移動元Y, m.移動先X, m.移動先Y, m.移動駒) != 定数_ON) {
        return false;
    }
    m.形を選ぶ = true;
    m.変えた駒 = s_.局.駒成結果;
    m.変える = true;
    // The guidance goes; the pick stays outlined while the form is chosen.
    描画_移動可能桝色(m.移動元X, m.移動元Y, 色_桝線, m.移動駒);
    画面_.描画_桝輪郭(色_選択枠, m.移動元X, m.移動元Y);
    画面_.描画_形の選択(m.移動先X, m.移動先Y, m.変えた駒, m.移動駒, true);
    画面_.更新();
    return true;
}

// The player chose the form (変える: with the change): the move is played in it.
void Form1::形を決める(bool 変える) {
    const 自動保存の番 番{*this};
    入力_.形を選ぶ = false;
    画面_.消去_形の選択();
    人の手を指す(変える);
    画面_.更新();  // brings back the keyboard's cursor the chooser hid
}

// Drops a move waiting for its form, and its pick, as a refused destination does.
void Form1::形の選択を取り消す() {
    if (!入力_.形を選ぶ) return;
    入力_.形を選ぶ = false;
    画面_.消去_形の選択();
    s_.状況.選択状態 = 0;
    画面_.描画_全桝輪郭();
    画面_.更新();
}

// The move entered is legal: record it, carry it out (with the change of form where there is
// one, unless the player chose to keep the piece as it is), show it, then let the computer
// answer or pass the turn to the other player.
void Form1::人の手を指す(bool 形を変える) {
    auto& 局 = s_.局;
    auto& 状況 = s_.状況;
    auto& 時 = s_.時計;
    // A move made after the mover's time ran out does not count.
    if (時間切れなら終える()) return;
    // The upper player of a two-person game moves for the upper side; every other move here is
    // the lower side's.
    const bool 上手番 = 状況.対局モード == 対局モード_人間 && 状況.手番 == 局.手番値COM;
    const double 経過 = 手の経過秒(上手番 ? 時計の側::COM : 時計の側::MAN);
    s_.棋譜.手順保存(局, 時.累計秒MAN, 時.累計秒MAN + (上手番 ? 0 : 経過), 時.累計秒COM,
                     時.累計秒COM + (上手番 ? 経過 : 0));
    状況.手数 += 1;
    画面_.描画_手数(状況.手数, 色_白);
    if (形を変える && 調査_駒成(局, 入力_.移動元X, 入力_.移動元Y, 入力_.移動先X, 入力_.移動先Y,
                                入力_.移動駒) == 定数_ON) {
        入力_.移動駒 = 局.駒成結果;
    }
    状況.選択状態 = 0;
    画面_.描画_桝輪郭(色_桝線, 入力_.移動元X, 入力_.移動元Y);
    画面_.描画_桝輪郭(色_桝線, 入力_.移動先X, 入力_.移動先Y);
    描画_移動可能桝色(入力_.移動元X, 入力_.移動元Y, 色_桝線, 入力_.移動駒);
    const 指し手 m = 入力_.手();
    const int 取得駒 = 局.盤面[m.先X][m.先Y];
    駒移動(局, *this, m.元X, m.元Y, m.先X, m.先Y, m.駒);
    音_.鳴らす_駒打();
    s_.棋譜.着手後保存(局);
    派生値を整える(局);
    画面_.描画_移動結果(COM駒(m.駒) ? 局.手番値COM : 局.手番値MAN, m.先X, m.先Y, m.駒, 色_移動結果);
    // The player's own move stays marked, as the computer's is.
    画面_.描画_桝輪郭(色_白, m.先X, m.先Y);
    // The time is booked to the side that moved, as the history has it.
    手を終える(時, 上手番 ? 時計の側::COM : 時計の側::MAN, 経過);

    if (状況.対局モード == 対局モード_COM) {
        環境_.Timer1.停止();
        エンジン_->勢力調査();
        if (エンジン_->詰めかCOM() == 定数_ON || 取得駒 == 駒_COM王) {
            局.勝者 = 局.手番値MAN;
            画面_.描画_手番表示();
            告知("あなたの勝ちです", "終了");
            return;
        }
        状況.手番 = 局.手番値COM;
        com_ban();
        return;
    }
    状況.手番 = -状況.手番;
    画面_.描画_手番表示();
    if (局.勝者 == 局.手番値MAN) 告知("先手の勝ちです", "終了");
    if (局.勝者 == 局.手番値COM) 告知("後手の勝ちです", "終了");
    手番の時計を動かす();
}

// A click outside the board: drops the highlighting of the pick, and picks a hand slot that
// holds a piece.
void Form1::持駒を押す(桝 c) {
    if (入力_.駒あり()) {
        描画_移動可能桝色(入力_.移動元X, 入力_.移動元Y, 色_桝線, 入力_.移動駒);
        画面_.描画_桝輪郭(色_桝線, 入力_.移動元X, 入力_.移動元Y);
    }
    const auto 持駒 = 持駒の桝を求める(c);
    if (!持駒) return;
    auto& 局 = s_.局;
    if ((持駒->COM側 ? 局.持駒COM : 局.持駒MAN)[持駒->番号] <= 0) return;
    調査_2歩フラグ設定(局);
    s_.状況.選択状態 = 1;
    入力_.選ぶ(c.列, c.行, 打駒(持駒->COM側, 持駒->番号));
    const int 手番の側 = 持駒->COM側 ? 局.手番値COM : 局.手番値MAN;
    画面_.描画_桝輪郭(s_.状況.手番 == 手番の側 ? 色_選択枠 : s_.設定.色_移動指導, c.列, c.行);
    描画_移動可能桝色(c.列, c.行, s_.設定.色_移動指導, 入力_.移動駒);
}

}  // namespace kiryuza
