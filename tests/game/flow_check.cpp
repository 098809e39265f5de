#include "game/flow_check.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <set>
#include <stdexcept>

#include "display/move_list.h"
#include "display/screen.h"
#include "record/record_file.h"
#include "rules/time_control.h"
#include "support/fake_platform.h"
#include "support/invariants.h"

namespace kiryuza::testing {
namespace {

constexpr std::size_t 記録する違反の数 = 20;

// The top-left corner of cell (x, y) in twips.
double 桝X(double x) {
    return 盤原点X + 桝幅 * x;
}
double 桝Y(double y) {
    return 盤原点Y + 桝高 * y;
}

// Board and hands of a history entry and of a position are the same.
bool 同じ局面(const 棋譜項目& e, const 局面& 局) {
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            if (e.盤面[x][y] != 局.盤面[x][y]) return false;
    for (int k = 1; k <= 7; ++k)
        if (e.持駒MAN[k] != 局.持駒MAN[k] || e.持駒COM[k] != 局.持駒COM[k]) return false;
    return true;
}

bool 同じ盤と持駒(const 棋譜項目& a, const 棋譜項目& b) {
    return std::memcmp(a.盤面, b.盤面, sizeof a.盤面) == 0 &&
           std::memcmp(a.持駒MAN, b.持駒MAN, sizeof a.持駒MAN) == 0 &&
           std::memcmp(a.持駒COM, b.持駒COM, sizeof a.持駒COM) == 0;
}

// Which side's legal move (either form where the form may change) leads from entry a to entry
// b: 1 for the upper side, -1 for the lower side, 0 when no move does.
int 一手で移る側(const 棋譜項目& a, const 棋譜項目& b) {
    static std::vector<指し手> 手(合法手最大数);
    局面表示 無表示;
    局面 前;
    棋譜の局面を写す(a, 前);
    for (const bool COM側 : {false, true}) {
        const int n = 合法手一覧(前, COM側, 手.data());
        for (int i = 0; i < n; ++i) {
            const 指し手& m = 手[static_cast<std::size_t>(i)];
            int 形[2] = {m.駒, m.駒};
            if (調査_駒成(前, m.元X, m.元Y, m.先X, m.先Y, m.駒) == 定数_ON) 形[1] = 前.駒成結果;
            for (const int 駒 : 形) {
                局面 後 = 前;
                駒移動(後, 無表示, m.元X, m.元Y, m.先X, m.先Y, 駒);
                if (同じ局面(b, 後)) return COM側 ? 1 : -1;
            }
        }
    }
    return 0;
}

// The texts, as the panel writes moves (with either mark), of the legal moves in `局` that a
// person playing the lower side (and the upper side too with `上手も`) cannot make: a board move
// that leaves its piece in its form where the mouse changes it.
std::set<std::string> 人に指せない手の文(const 局面& 局, bool 上手も) {
    static std::vector<指し手> 手(合法手最大数);
    std::set<std::string> 文;
    局面 作業 = 局;
    for (const bool COM側 : {false, true}) {
        if (COM側 && !上手も) continue;
        const int n = 合法手一覧(作業, COM側, 手.data());
        for (int i = 0; i < n; ++i) {
            const 指し手& m = 手[static_cast<std::size_t>(i)];
            if (m.元X == 持駒列_MAN || m.元X == 持駒列_COM) continue;
            // The mouse always takes the change of form.
            if (調査_駒成(作業, m.元X, m.元Y, m.先X, m.先Y, m.駒) == 定数_OFF) continue;
            const 最善手 b{true, m.元X, m.元Y, m.先X, m.先Y, m.駒, m.駒, 0};
            for (const bool 先手 : {true, false}) 文.insert(最善手の文(b, 先手));
        }
    }
    return 文;
}

// The first move of each line 検討 shows ("1. +35 ▲７六 と (77) △..."): from its mark to the
// next mark or the line's end.
std::vector<std::string> 検討の初手(const std::string& 検討文) {
    std::vector<std::string> 初手;
    std::size_t 始 = 0;
    while (始 < 検討文.size()) {
        std::size_t 終 = 検討文.find('\n', 始);
        if (終 == std::string::npos) 終 = 検討文.size();
        const std::string 行 = 検討文.substr(始, 終 - 始);
        始 = 終 + 1;
        if (行.empty() || 行[0] < '1' || 行[0] > '9') continue;
        const auto 印 = [&](std::size_t from) {
            return std::min(行.find("▲", from), 行.find("△", from));
        };
        // After the number and the score ("+35", or "▲勝ち" for a mate).
        const std::size_t 点 = 行.find(". ");
        const std::size_t a = 点 == std::string::npos ? 点 : 印(行.find(' ', 点 + 2));
        if (a == std::string::npos) continue;
        const std::size_t b = 印(a + 1);
        初手.push_back(行.substr(a, b == std::string::npos ? std::string::npos : b - a - 1));
    }
    return 初手;
}

// A box the game raises as a turn starts: its time is nobody's.
bool 手番の初めの箱(const std::string& 本文) {
    return 本文 == "MANの番です" || 本文 == "先手の番です" || 本文 == "後手の番です" ||
           本文 == "OKですか？" || 本文 == "前回の対局を続けますか？";
}

// A box the game raises on its own: under a time control its time is nobody's either.
bool 知らせの箱(const std::string& 本文) {
    return 本文.rfind("対局の途中経過を保存できませんでした。", 0) == 0;
}

// The clocks at one moment as a player reads them: each side's total, the turn it is in (with
// the running part up to that moment) and all it has used, index 0 the lower side's.
struct 時計の写し {
    bool 時間制 = false;
    int 持ち時間秒 = 0;
    int 秒読み秒 = 0;
    bool 進行中 = false;
    double 今 = 0;
    double 累計[2]{};
    double 手[2]{};
    double 使用[2]{};
};

// The seconds a clock counting down shows for side i, `遅れ` seconds before the moment taken.
int 残りの表示(const 時計の写し& w, int i, double 遅れ = 0) {
    const double 手 = std::max(0.0, w.手[i] - 遅れ);
    return 残りの表示秒(残り時間(w.持ち時間秒, w.秒読み秒, w.累計[i], 手).残り秒);
}

// The seconds of a clock text "hh:mm:ss" at the start of `字`; -1 when there is none.
int 時計の秒(const std::string& 字) {
    int h = 0;
    int m = 0;
    int 秒 = 0;
    if (字.size() < 8 || std::sscanf(字.c_str(), "%2d:%2d:%2d", &h, &m, &秒) != 3) return -1;
    return h * 3600 + m * 60 + 秒;
}

// The texts shown with their top-left corner inside cell (x, y).
std::string 桝の字(const 画面模型& 模型, int x, int y) {
    std::string s;
    for (const auto& d : 模型.字) {
        if (d.X >= 桝X(x) && d.X < 桝X(x + 1) && d.Y >= 桝Y(y) && d.Y < 桝Y(y + 1)) s += d.文 + "|";
    }
    return s;
}

class 流れ検査 {
  public:
    流れ検査(std::uint64_t 種, const std::vector<std::uint8_t>* 保存)
        : 乱_(種), 外の保存_(保存 != nullptr) {
        環_.メッセージ.表示時 = [this](const 表示した箱& b) {
            最後の箱_ = b.本文;
            箱の間に時が過ぎる(b.本文);
        };
        環_.自動保存.保存時 = [this](const std::vector<std::uint8_t>&) { 残した時計を覚える(); };
        if (保存) {
            環_.自動保存.内容 = *保存;
            環_.メッセージ.答え.push_back(押されたボタン::はい);
        }
        起動();
        if (保存) {
            信用_.assign(&s().棋譜.項目(0), &s().棋譜.項目(0) + s().棋譜.棋譜記録数() + 1);
            // A game taken up goes on with the clock it kept running, if it is a person's.
            const auto 読めた = 自動保存を読む(*保存);
            手のある側_ = 対局が進行中() && 読めた ? 読めた->状態.時計.走る側 : 時計の側::なし;
        }
    }

    流れ検査結果 走らせる(long 操作数) {
        流れ検査結果 結果;
        for (long i = 0; i < 操作数; ++i) {
            std::string 名;
            try {
                const int 前手数 = s().状況.手数;
                const int 前勝者 = s().局.勝者;
                const int 前保存回数 = 環_.自動保存.保存回数;
                const bool 未保存 = 未保存の対局();
                const 棋譜表 前棋譜 = s().棋譜;
                const 時計の写し 前時計 = 時計を写す();
                const 時計の側 前手のある側 = 手のある側_;
                const bool 前に走る = 時間が走る();
                手番の箱の時間_ = 0;
                知らせの箱の時間_ = 0;
                進めた時間_ = 0;
                名 = 一操作(結果);
                // The window's timer ticks between events: one follows every action.
                if (!環_.窓.終了要求 && 環_.Timer1.動作中()) form_->Timer1_Timer();
                if (!環_.窓.終了要求 && 名 != "restart" && 名 != "crash and start again") {
                    手のある側を追う(前時計.進行中);
                    時計を確かめる(前時計, 前手のある側, 前に走る, 名, 結果, i);
                }
                保存失敗の告知(前保存回数, 名, 結果, i);
                対局を黙って捨てない(未保存, 前棋譜, 前勝者, 名, 結果, i);
                if (!環_.窓.終了要求) {
                    if (s().状況.手数 > 前手数 && s().状況.棋譜モード == 定数_OFF)
                        結果.指し手数 += s().状況.手数 - 前手数;
                    if (s().局.勝者 != 手番_なし && 前勝者 == 手番_なし) {
                        ++結果.終局数;
                        for (const auto& b : 環_.メッセージ.箱一覧) {
                            結果.投了数 +=
                                b.題 == "終了" && b.本文.find("投了") != std::string::npos;
                            結果.時間切れ数 += b.題 == "時間切れ";
                        }
                    }
                    結果.最長手数 = std::max(結果.最長手数, s().棋譜.棋譜記録数());
                    if (名 == "load" && s().状況.棋譜モード == 定数_ON) {
                        ++結果.読込数;
                        保存済み_ = s().棋譜;
                        読んだ初手_ = s().棋譜.項目(0);
                    }
                    // The box of a kept game that could not be written may come after it.
                    if (名 == "save" && 環_.メッセージ.出た("棋譜を書き込みました")) {
                        ++結果.保存数;
                        保存済み_ = s().棋譜;
                    }
                }
                検査(結果, i, 名);
            } catch (const std::exception& e) {
                違反(結果, i, 名, std::string("exception: ") + e.what());
            }
            環_.キャンバス面.消す();
            環_.メッセージ.箱一覧.clear();
            環_.サウンド源.呼出.clear();
            ++結果.操作数;
        }
        return 結果;
    }

  private:
    偽環境 環_;
    std::unique_ptr<Form1> form_;
    std::mt19937_64 乱_;
    std::string 最後の箱_;
    std::vector<std::string> 保存した_;   // record files written so far
    std::optional<棋譜表> 保存済み_;      // the history last saved to or loaded from a record
    std::optional<棋譜項目> 読んだ初手_;  // entry 0 of the record last loaded
    int 続けて指す_ = 0;                  // actions left in a stretch of moves only
    bool 保存失敗を告げた_ = false;  // a failed write of the kept game was told, none worked since
    std::int32_t 禁止音_ = 0;        // the forbidden sound's handle in this run
    bool 外の保存_ = false;          // the first start took up a kept game from outside
    std::vector<棋譜項目> 信用_;     // the history it brought, taken as it stands
    // The history entries already found to follow one another by legal moves.
    std::vector<棋譜項目> 確認済み_ = std::vector<棋譜項目>(棋譜最大数);
    int 確認済み数_ = -1;
    // The game as it stood when the chooser of a move's form opened: nothing may change it
    // while the chooser stays open.
    struct 選択時の対局 {
        棋譜項目 盤;
        std::array<int, 13> 値;
        bool operator==(const 選択時の対局& o) const {
            return 同じ盤と持駒(盤, o.盤) && 値 == o.値;
        }
    };
    std::optional<選択時の対局> 選択時_;
    std::string 確かめた検討文_;  // the advice last checked
    std::string 確かめた講評_;
    std::set<std::uint64_t> 選べたヒント_;  // hints asked for while the person chose the form
    // The clocks: the side that has the move in the game under way (none: no game, or nobody's
    // clock is meant to run), the time that passed in this action while a box raised at a turn's
    // start or the game's own notice stood, and on the clock's own, and what each side had used
    // when the game was last kept.
    時計の側 手のある側_ = 時計の側::なし;
    double 手番の箱の時間_ = 0;
    double 知らせの箱の時間_ = 0;
    double 進めた時間_ = 0;
    double 残した使用_[2]{};

    int 乱数(int n) { return static_cast<int>(乱_() % static_cast<std::uint64_t>(n)); }
    bool 確率(int 百分率) { return 乱数(100) < 百分率; }
    const 対局状態& s() const { return *環_.状態; }

    // A new run of the program: the files stay, everything else starts afresh.
    void 起動() {
        *環_.状態 = 対局状態{};
        保存済み_.reset();
        form_ = std::make_unique<Form1>(環_.束(), *環_.状態);
        環_.窓.終了要求 = false;
        環_.キャンバス面.模型.全消去();
        環_.メニュー欄.印.clear();
        保存失敗を告げた_ = false;
        // A new process: nothing of the last one's searches is left.
        環_.読み.待ち一覧.clear();
        環_.読み.答え.clear();
        form_->Form_Load();
        // The window puts the panel back as the last run left it, once the game has loaded.
        if (環_.形勢.表示) form_->形勢パネル_表示変化(true);
        // The sounds are loaded in order: その他, 禁止, 駒打, BGM.
        禁止音_ = 環_.サウンド源.次 - 3;
        // A history taken back after a crash is the one checked before it.
        確認済み数_ = s().棋譜.棋譜記録数();
        for (int n = 0; n <= 確認済み数_; ++n)
            確認済み_[static_cast<std::size_t>(n)] = s().棋譜.項目(n);
    }

    // The program starts again after it was ended (`落ちた`: it died mid-game, nothing shut
    // down); offered the game it kept, the player answers at random, and a game taken back must
    // be exactly the one left, its clocks included: a kill may cost a running clock a few
    // seconds of its time, never give it any.
    void 落ちて起動し直す(流れ検査結果& 結果, bool 落ちた = true) {
        const 対局状態 前 = *環_.状態;
        const 時計の写し 前時計 = 時計を写す();
        const 時計の側 前手のある側 = 手のある側_;
        const bool はい = 確率(60);
        環_.メッセージ.答え.clear();
        環_.メッセージ.答え.push_back(はい ? 押されたボタン::はい : 押されたボタン::いいえ);
        最後の箱_.clear();
        // A kept game is stale while its writes fail; it must still read as a sound game.
        const bool 古いかも = 保存失敗を告げた_ || 環_.自動保存.書込失敗;
        const std::size_t 脇へ = 環_.自動保存.脇へ.size();
        起動();
        if (環_.自動保存.脇へ.size() != 脇へ) throw std::logic_error("a kept game was set aside");
        // A game taken back goes on with the clock that ran, a stale one with what it kept.
        手のある側_ = 対局が進行中() ? s().時計.走る側 : 時計の側::なし;
        if (古いかも) return;
        if (最後の箱_ == "前回の対局を続けますか？" && 前.局.勝者 != 手番_なし)
            throw std::logic_error("a game that had ended was offered again");
        if (最後の箱_ != "前回の対局を続けますか？") return;
        const 対局状態& 後 = *環_.状態;
        if (!はい) {
            if (後.状況.手番 != 手番_なし) throw std::logic_error("a refused game came back");
            return;
        }
        ++結果.復元数;
        if (!記録が同じ(前.棋譜, 後.棋譜) || 前.棋譜.棋譜手数() != 後.棋譜.棋譜手数() ||
            std::memcmp(前.局.盤面, 後.局.盤面, sizeof 前.局.盤面) != 0 ||
            std::memcmp(前.局.持駒MAN, 後.局.持駒MAN, sizeof 前.局.持駒MAN) != 0 ||
            std::memcmp(前.局.持駒COM, 後.局.持駒COM, sizeof 前.局.持駒COM) != 0 ||
            前.状況.手番 != 後.状況.手番 || 前.状況.対局モード != 後.状況.対局モード ||
            前.状況.手数 != 後.状況.手数 || 前.局.手番値MAN != 後.局.手番値MAN ||
            前.状況.COMレベル != 後.状況.COMレベル || 前.時計.累計秒MAN != 後.時計.累計秒MAN ||
            前.時計.累計秒COM != 後.時計.累計秒COM || 前.時計.持ち時間秒 != 後.時計.持ち時間秒 ||
            前.時計.秒読み秒 != 後.時計.秒読み秒) {
            throw std::logic_error("the game taken back is not the one left");
        }
        手のある側_ = 前手のある側;
        if (!前時計.時間制) return;
        const 時計の写し 後時計 = 時計を写す();
        const double 失ってよい = (落ちた ? Form1::時計を残す間隔秒 : 0) + 0.1;
        for (int i = 0; i < 2; ++i) {
            if (後時計.使用[i] < 残した使用_[i] - 1e-6 ||
                後時計.使用[i] < 前時計.使用[i] - 失ってよい)
                throw std::logic_error("a clock taken back with the game has time given back");
        }
    }

    // The side to move on the board.
    時計の側 盤の側() const {
        return s().状況.手番 == s().局.手番値COM ? 時計の側::COM : 時計の側::MAN;
    }

    // A game has begun and is not over, and no record is being stepped through.
    bool 対局が進行中() const {
        return s().状況.手番 != 手番_なし && s().局.勝者 == 手番_なし &&
               s().状況.棋譜モード == 定数_OFF;
    }

    // Whether a clock is meant to run now: the side that has the move is a person's, or the
    // computer thinking.
    bool 時間が走る() const {
        if (手のある側_ == 時計の側::なし || !対局が進行中()) return false;
        return 手のある側_ == 時計の側::MAN || s().状況.対局モード == 対局モード_人間 ||
               コンピュータが考え中();
    }

    // Which side has the move in the game after an action: none without a game; the side to
    // move on the board while play goes on; the side that had it, while the history is looked
    // back through (or the board was turned) until a click goes on with the game.
    void 手のある側を追う(bool 前進行中) {
        if (!対局が進行中()) {
            手のある側_ = 時計の側::なし;
        } else if (s().状況.再開フラグ == 定数_OFF || !前進行中) {
            手のある側_ = 盤の側();
        }
    }

    時計の写し 時計を写す() const {
        時計の写し w;
        const auto& 時 = s().時計;
        w.時間制 = 持ち時間制();
        w.持ち時間秒 = 時.持ち時間秒;
        w.秒読み秒 = 時.秒読み秒;
        w.進行中 = 対局が進行中();
        w.今 = 環_.時刻.今;
        for (int i = 0; i < 2; ++i) {
            const 時計の側 側 = i == 0 ? 時計の側::MAN : 時計の側::COM;
            w.累計[i] = i == 0 ? 時.累計秒MAN : 時.累計秒COM;
            w.手[i] = (i == 0 ? 時.手の秒MAN : 時.手の秒COM) +
                      (時.走る側 == 側 ? 調査_経過秒(時.手番開始時刻, w.今) : 0);
            w.使用[i] = w.累計[i] + w.手[i];
        }
        return w;
    }

    // The player takes a while over some boxes: time passes while they stand.
    void 箱の間に時が過ぎる(const std::string& 本文) {
        if (!確率(25)) return;
        const double t = 0.5 + 乱数(80) / 10.0;
        環_.時刻.今 = std::fmod(環_.時刻.今 + t, 86400.0);
        if (手番の初めの箱(本文)) 手番の箱の時間_ += t;
        if (知らせの箱(本文)) 知らせの箱の時間_ += t;
    }

    // A write of the kept game: what each side had used then, its clocks stopped for the write.
    void 残した時計を覚える() {
        if (環_.自動保存.書込失敗) return;
        const auto& 時 = s().時計;
        残した使用_[0] = 時.累計秒MAN + 時.手の秒MAN;
        残した使用_[1] = 時.累計秒COM + 時.手の秒COM;
    }

    // Under a time control a game's clocks are as a game clock's: what a side has used never
    // shrinks, a turn's seconds are dropped only into its side's total by a move of its own, at
    // most one clock runs (never while a box raised as a turn starts stands), and the clock that
    // runs is that of the side that has the move, a person's or the computer's while it thinks;
    // its timer ticks and the window shows what every clock has. Without one, a box at a turn's
    // start is not counted either.
    void 時計を確かめる(const 時計の写し& 前, 時計の側 前の側, bool 前に走った,
                        const std::string& 名, 流れ検査結果& 結果, long i) {
        auto 報告 = [&](const std::string& 何) { 違反(結果, i, 名, 何); };
        const 時計の写し 後 = 時計を写す();
        const double 過ぎた = 調査_経過秒(前.今, 後.今);
        const bool 走る = 時間が走る();
        if (!後.時間制) {
            const auto& 時 = s().時計;
            if (手番の箱の時間_ > 0 && 後.進行中 && s().状況.再開フラグ == 定数_OFF &&
                環_.Timer1.動作中() &&
                調査_経過秒(時.手番開始時刻, 後.今) > 過ぎた - 手番の箱の時間_ + 1e-6)
                報告("a box at a turn's start counted on the clock");
            return;
        }
        ++結果.時間制の操作数;
        // A new game (or a game not begun, on a new control) starts its clocks afresh.
        const bool 新しい対局 =
            前.時間制 != 後.時間制 || 前.持ち時間秒 != 後.持ち時間秒 ||
            前.秒読み秒 != 後.秒読み秒 ||
            ((名 == "SHINKI" || 名 == "CANCEL") && 後.使用[0] + 後.使用[1] <= 過ぎた + 1e-6);
        if (前.進行中 && 後.進行中 && !新しい対局) {
            double 増えた計 = 0;
            for (int k = 0; k < 2; ++k) {
                const 時計の側 側 = k == 0 ? 時計の側::MAN : 時計の側::COM;
                const double 増えた = 後.使用[k] - 前.使用[k];
                増えた計 += 増えた;
                if (増えた < -1e-6) 報告("a clock was given time back");
                if (後.手[k] < 前.手[k] - 1e-6 && 後.累計[k] < 前.累計[k] + 前.手[k] - 1e-6)
                    報告("a turn started afresh without a move");
                const bool 走ってよい = (前に走った && 前の側 == 側) || (走る && 手のある側_ == 側);
                if (!走ってよい && 後.累計[k] == 前.累計[k] && std::abs(増えた) > 1e-9)
                    報告("a clock ran while its side did not have the move");
                if (名 == "time" && 走る && 前に走った && 手のある側_ == 側 && 前の側 == 側 &&
                    増えた < 進めた時間_ - 1e-6)
                    報告("the clock of the side that has the move stood still");
            }
            if (増えた計 > 過ぎた - 手番の箱の時間_ - 知らせの箱の時間_ + 1e-6)
                報告(
                    "the clocks counted more time than passed outside the boxes at a turn's start");
        }
        if (!後.進行中) return;
        const int k = 手のある側_ == 時計の側::COM ? 1 : 0;
        if (走る && !環_.Timer1.動作中()) 報告("a clock runs with its timer stopped");
        if (走る && 残り時間(後.持ち時間秒, 後.秒読み秒, 後.累計[k], 後.手[k] - 0.1).切れ)
            報告("the side to move is out of time and the game goes on");
        if (!s().設定.経過時間) return;
        for (int j = 0; j < 2; ++j) {
            const int 示す = 時計の秒(j == 0 ? 桝の字(環_.キャンバス面.模型, 13, 9)
                                             : 桝の字(環_.キャンバス面.模型, -2, 9));
            // The running clock was drawn at the tick, a reading of the time of day ago.
            const int 持つ = 残りの表示(後, j);
            if (示す != 持つ &&
                !(走る && j == k && (示す == 持つ + 1 || 示す == 残りの表示(後, j, 0.1)))) {
                報告(std::string(j == 0 ? "the lower" : "the upper") + " clock shows " +
                     std::to_string(示す) + " s, it has " + std::to_string(持つ) + " s");
            }
        }
    }

    void 押す(double x, double y) { form_->Form_MouseDown(1, 0, x, y); }
    void 桝を押す(int x, int y) { 押す(桝X(x) + 桝幅 / 2, 桝Y(y) + 桝高 / 2); }

    bool 形を選んでいる() const { return form_->入力中の手().形を選ぶ; }
    bool 成不成を選ぶ() const { return 環_.メニュー欄.チェック(control::NARI_FUNARI); }

    選択時の対局 今の対局() const {
        const auto& 状況 = s().状況;
        return {s().棋譜.現在(),
                {s().棋譜.棋譜記録数(), s().棋譜.棋譜手数(), 状況.手数, 状況.手番, s().局.勝者,
                 状況.対局モード, 状況.棋譜モード, 状況.再開フラグ, 状況.COMレベル,
                 s().時計.持ち時間秒, s().時計.秒読み秒, 状況.ハンデレベル, 状況.反転フラグ}};
    }

    // After a move a person entered, from entry `前手数`: the piece on its destination in the
    // next entry is the form taken, unless nothing was recorded (the time had run out).
    void 着いた形を確かめる(int 前手数, const 指し手& m, int 期待, const std::string& 何) {
        const 棋譜表& 棋譜 = s().棋譜;
        if (棋譜.棋譜手数() <= 前手数) {
            if (s().局.勝者 == 手番_なし) throw std::logic_error(何 + ": the move was not played");
            return;
        }
        if (棋譜.項目(前手数 + 1).盤面[m.先X][m.先Y] != 期待)
            throw std::logic_error(何 + ": the piece arrived in the wrong form");
    }

    // Answers the chooser of a move's form: a click anywhere (on either piece, elsewhere on the
    // board or off it), or arrows then a key (Enter, Space, Esc or one that does nothing). The
    // move must be played in the form chosen, or dropped with the game as it was.
    std::string 形を選ぶ(流れ検査結果& 結果) {
        const 指し手入力 m = form_->入力中の手();
        const 指し手 手 = m.手();
        const 棋譜表 前棋譜 = s().棋譜;
        const int 前手数 = s().棋譜.棋譜手数();
        bool 変える = m.変える;
        std::optional<bool> 指す形;  // the form played; nothing when the move is dropped
        bool 開いたまま = false;
        std::string 名;
        if (確率(35)) {
            // Anywhere, mostly on or near the chooser.
            const double 左X = 桝X(形の選択の左列(m.移動先X));
            const double 上Y = 桝Y(m.移動先Y);
            const double x =
                確率(70) ? 左X - 桝幅 + 乱数(static_cast<int>(4 * 桝幅)) : 乱数(12000) - 1000;
            const double y =
                確率(70) ? 上Y - 桝高 + 乱数(static_cast<int>(3 * 桝高)) : 乱数(9000) - 1000;
            if (x >= 左X && x < 左X + 2 * 桝幅 && y >= 上Y && y < 上Y + 桝高)
                指す形 = x < 左X + 桝幅;
            名 = 指す形
                     ? (*指す形 ? "chooser: the change clicked" : "chooser: the piece kept clicked")
                     : "chooser: a click elsewhere";
            押す(x, y);
        } else {
            for (int n = 乱数(4); n > 0; --n) {
                const int k = 37 + 乱数(4);
                form_->Form_KeyDown(k);
                // ← selects the change of form on the left, → the piece kept, ↑ ↓ the other.
                変える = k == 37 ? true : k == 39 ? false : !変える;
                if (form_->入力中の手().変える != 変える)
                    throw std::logic_error("an arrow selected the wrong piece of the chooser");
            }
            const int キー[] = {13, ' ', 27, 'q'};
            const int k = キー[乱数(4)];
            form_->Form_KeyPress(k);
            if (k == 13 || k == ' ') 指す形 = 変える;
            開いたまま = k == 'q';
            名 = k == 27    ? "chooser: Esc"
                 : k == 'q' ? "chooser: a key that does nothing"
                            : "chooser: Enter or Space";
        }
        if (環_.窓.終了要求) throw std::logic_error(名 + " ended the program");
        if (形を選んでいる() != 開いたまま) throw std::logic_error(名 + ": the chooser is open");
        if (開いたまま) return 名;
        if (s().状況.選択状態 != 0) throw std::logic_error(名 + ": the pick stays");
        if (指す形) {
            ++結果.形を選んだ数;
            結果.形を保った数 += !*指す形;
            着いた形を確かめる(前手数, 手, *指す形 ? m.変えた駒 : m.移動駒, 名);
        } else {
            ++結果.選択を取り消した数;
            if (!記録が同じ(前棋譜, s().棋譜) || s().棋譜.棋譜手数() != 前手数)
                throw std::logic_error(名 + ": a move dropped at the chooser was played");
        }
        return 名;
    }

    // Clicks a legal move of the side the mouse moves for: its origin (a square or a hand
    // slot), then its destination.
    bool 合法手を指す() {
        const auto& 状況 = s().状況;
        if (状況.手番 == 手番_なし || s().局.勝者 != 手番_なし || 状況.棋譜モード == 定数_ON ||
            形を選んでいる())
            return false;
        const bool COM側 = 状況.対局モード == 対局モード_人間 && 状況.手番 == s().局.手番値COM;
        static std::vector<指し手> 手(合法手最大数);
        局面 局 = s().局;
        int n = 合法手一覧(局, COM側, 手.data());
        // Mostly spare the king, so that games between two people run into the history's end.
        if (確率(95)) {
            n = static_cast<int>(std::remove_if(手.begin(), 手.begin() + n,
                                                [&局](const 指し手& m) {
                                                    const int c = 局.盤面[m.先X][m.先Y];
                                                    return c == 駒_MAN王 || c == 駒_COM王;
                                                }) -
                                 手.begin());
        }
        if (n == 0) return false;
        const 指し手 m = 手[static_cast<std::size_t>(乱数(n))];
        // The move is this person's when the clicks start no resumed game, the computer's move
        // or a refusal of a full history, and the first click is no second click dropping a
        // pick from the other side's hand.
        const bool 上の番 = 状況.手番 == s().局.手番値COM;
        const bool 人の手 = 状況.再開フラグ == 定数_OFF && s().棋譜.空きあり() &&
                            (状況.対局モード == 対局モード_人間 || !上の番) &&
                            !(状況.選択状態 == 1 && form_->入力中の手().相手の持駒(上の番));
        const int 前手数 = s().棋譜.棋譜手数();
        const bool 変わる = 調査_駒成(局, m.元X, m.元Y, m.先X, m.先Y, m.駒) == 定数_ON;
        const int 変えた駒 = 局.駒成結果;
        if (m.元X == 持駒列_MAN) {
            桝を押す(持駒列_MAN, m.元Y);
        } else if (m.元X == 持駒列_COM) {
            桝を押す(持駒列_COM, 8 - m.元Y);
        } else {
            桝を押す(m.元X, m.元Y);
        }
        桝を押す(m.先X, m.先Y);
        if (!人の手) return true;
        // With 成・不成を選ぶ on, a move that may change its form waits for the choice; without
        // it (or when the form cannot change) the move is played at once, changed if it may be.
        if (成不成を選ぶ() && 変わる) {
            const 指し手入力& 入 = form_->入力中の手();
            if (!入.形を選ぶ || 入.移動先X != m.先X || 入.移動先Y != m.先Y ||
                入.変えた駒 != 変えた駒)
                throw std::logic_error("a move that may change its form did not ask which");
        } else {
            if (形を選んでいる()) throw std::logic_error("the chooser opened where it should not");
            着いた形を確かめる(前手数, m, 変わる ? 変えた駒 : m.駒, "a move entered at once");
        }
        return true;
    }

    // Saves through the record panel with a name and texts drawn from a few.
    void 保存する() {
        static const char* const 名[] = {"対局", "練習", "sub/深い", "", "ない/x"};
        static const char* const 見[] = {"", "第一局", "山田　太郎", "ﾌｧｲﾀｰ", "abc"};
        form_->KIFU_WRITE_Click();
        // The button is there only when the panel opened for writing.
        if (!環_.パネル.入力見) return;
        環_.パネル.欄[1] = 名[乱数(5)];
        for (int i = 2; i <= 4; ++i) 環_.パネル.欄[i] = 見[乱数(5)];
        const std::string 表示名 = 環_.パネル.欄[1] + std::string(棋譜拡張子);
        std::string フォルダ = 環_.パネル.フォルダ();
        if (!フォルダ.empty() && フォルダ.back() != '/') フォルダ += '/';
        最後の箱_.clear();
        form_->Command1_Click();
        if (環_.メッセージ.出た("棋譜を書き込みました")) 保存を確かめる(フォルダ + 表示名);
        // A game played here is always a game the format can hold.
        if (最後の箱_.find("局面が正しくない") != std::string::npos)
            throw std::logic_error("a played game was refused: " + 最後の箱_);
    }

    // The file just written reads back as the history's entries 1..N.
    void 保存を確かめる(const std::string& パス) {
        if (std::find(保存した_.begin(), 保存した_.end(), パス) == 保存した_.end())
            保存した_.push_back(パス);
        const 棋譜読込結果 r = 棋譜ファイルを読む(環_.ファイル, 環_.符号, パス);
        if (!r.成功) throw std::logic_error("a record just written does not read: " + r.誤り);
        const 棋譜表& 棋譜 = s().棋譜;
        const int N = r.棋譜.記録数();
        if (N > 棋譜.棋譜記録数() || N < 1) throw std::logic_error("saved record has wrong length");
        for (int n = 1; n <= N; ++n) {
            const 棋譜行データ& d = r.棋譜.手[static_cast<std::size_t>(n) - 1];
            const 棋譜項目& e = 棋譜.項目(n);
            // The last line of a record cut short holds no move after it.
            const bool 切れ目 = n == N && N < 棋譜.棋譜記録数();
            if (std::memcmp(d.盤面, e.盤面, sizeof d.盤面) != 0 ||
                std::memcmp(d.持駒MAN, e.持駒MAN, sizeof d.持駒MAN) != 0 ||
                std::memcmp(d.持駒COM, e.持駒COM, sizeof d.持駒COM) != 0 ||
                d.前秒M != static_cast<long>(e.前秒M) ||
                d.後秒M != static_cast<long>(切れ目 ? e.前秒M : e.後秒M) ||
                d.前秒C != static_cast<long>(e.前秒C) ||
                d.後秒C != static_cast<long>(切れ目 ? e.前秒C : e.後秒C)) {
                throw std::logic_error("saved entry " + std::to_string(n) + " differs");
            }
        }
        // Only entries the format cannot hold may be left out.
        if (N < 棋譜.棋譜記録数()) {
            const 棋譜項目& e = 棋譜.項目(N + 1);
            bool 表せない = false;
            for (int k = 1; k <= 7; ++k) 表せない |= e.持駒MAN[k] > 9 || e.持駒COM[k] > 9;
            for (double t : {e.前秒M, e.後秒M, e.前秒C, e.後秒C}) 表せない |= t >= 100000;
            if (!表せない) throw std::logic_error("a save left out entries it could write");
        }
    }

    // One random action; returns its name.
    std::string 一操作(流れ検査結果& 結果) {
        // Answers for whatever boxes this action shows.
        環_.メッセージ.答え.clear();
        for (int i = 0; i < 4; ++i)
            環_.メッセージ.答え.push_back(確率(50) ? 押されたボタン::はい : 押されたボタン::いいえ);
        if (環_.窓.終了要求) {
            落ちて起動し直す(結果, false);
            return "restart";
        }
        // While the searching player thinks, mostly its answer comes; now and then the player
        // tries a command that would change the game, or quits.
        // The review's questions are answered now and then, between other actions.
        if (!環_.読み.待ち一覧.empty() && (コンピュータが考え中() || 確率(40))) {
            const int r = 乱数(100);
            if (r < 80 || !コンピュータが考え中()) {
                答えを届ける(結果);
                return "search answered";
            }
            if (r < 95) return 考え中の操作();
            const int k = 乱数(3);
            const int 止めた = 環_.読み.止めた回数;
            if (k == 0) form_->OWARI_Click();
            if (k == 1) form_->Form_KeyPress(27);
            if (k == 2) form_->Form_Unload(0);
            if (環_.読み.止めた回数 == 止めた)
                throw std::logic_error("quit left the search running");
            return "quit during the computer's turn";
        }
        // A move waiting for its form is mostly answered; otherwise any action may come.
        if (形を選んでいる() && 確率(60)) return 形を選ぶ(結果);
        // Now and then a long stretch of moves only, so that games reach the history's end.
        if (続けて指す_ == 0 && 確率(1) && 確率(30)) 続けて指す_ = 300 + 乱数(800);
        if (続けて指す_ > 0) {
            --続けて指す_;
            if (合法手を指す()) return "legal move";
        }
        const int r = 乱数(1000);
        if (r < 380) {
            if (合法手を指す()) return "legal move";
            form_->START_Click();
            return "START";
        }
        if (r < 500) {
            // Anywhere on or off the window, cells and between them.
            if (確率(70)) {
                桝を押す(乱数(19) - 3, 乱数(14) - 2);
            } else {
                押す(乱数(12000) - 1000, 乱数(9000) - 1000);
            }
            return "click";
        }
        if (r < 600) {
            const int n = 1 + 乱数(6);
            const bool 戻 = 確率(60);
            for (int i = 0; i < n; ++i) 戻 ? form_->REPLAY_Click() : form_->AFTER_Click();
            return 戻 ? "REPLAY" : "AFTER";
        }
        if (r < 640) {
            保存する();
            return "save";
        }
        if (r < 670) {
            form_->KIFU_READ_Click();
            if (!保存した_.empty() && 確率(80)) {
                form_->File1_Click(
                    保存した_[static_cast<std::size_t>(乱数(static_cast<int>(保存した_.size())))]);
            } else {
                環_.ファイル.置く("/records/壊れ.棋譜", "t\r\nu\r\nl\r\n  x\r\n");
                form_->File1_Click(確率(50) ? "/records/壊れ.棋譜" : "/records/ない.棋譜");
            }
            return "load";
        }
        if (r < 720) {
            // Mostly a few seconds at a time, now and then minutes.
            const int 段 = 乱数(10);
            進めた時間_ = 段 < 6 ? 乱数(40) / 10.0 : 段 < 9 ? 乱数(30) : 乱数(200);
            環_.時刻.今 = std::fmod(環_.時刻.今 + 進めた時間_, 86400.0);
            form_->Timer1_Timer();
            return "time";
        }
        if (r < 723) {
            // A row of the move list, or a point of the graph: the board must show that entry.
            const int n = 乱数(s().棋譜.棋譜記録数() + 2) - (確率(10) ? 1 : 0);
            const bool 進める = s().状況.手番 != 手番_なし && !コンピュータが考え中() && n >= 0 &&
                                n <= s().棋譜.棋譜記録数();
            form_->棋譜一覧_選択(n);
            if (進める && s().棋譜.棋譜手数() != n)
                throw std::logic_error("jumping to entry " + std::to_string(n) + " did not");
            return "jump to entry N";
        }
        if (r < 726) {
            const bool 禁止 = 確率(50);
            for (const char* p : {"Kiryuza.ini", "/records/対局.棋譜"}) {
                禁止 ? (void)環_.ファイル.書込禁止.insert(p) : (void)環_.ファイル.書込禁止.erase(p);
            }
            環_.自動保存.書込失敗 = 禁止 && 確率(50);
            return 禁止 ? "files unwritable" : "files writable";
        }
        if (r < 732) {
            落ちて起動し直す(結果);
            return "crash and start again";
        }
        if (r < 740) return 確率(60) ? 写す() : 文で保存する();
        if (r < 760) {
            const int k = 乱数(100) < 12 ? 乱数(4) : 4 + 乱数(2);
            if (k == 0) form_->OWARI_Click();
            if (k == 1) form_->Form_KeyPress(27);
            if (k == 2) form_->Form_Unload(0);
            if (k == 3) form_->Form_KeyPress(65);
            if (k == 4) form_->Form_KeyDown(37 + 乱数(4));
            if (k == 5) form_->Form_KeyPress(確率(50) ? 13 : ' ');
            return "quit or key";
        }
        return メニュー操作();
    }

    bool 持ち時間制() const { return s().時計.持ち時間秒 > 0 || s().時計.秒読み秒 > 0; }

    // Answers what the searching player was asked. A hint, asked for the person's side, is the
    // move the mouse enters from its origin to its destination in the position it was asked for.
    void 答えを届ける(流れ検査結果& 結果) {
        std::optional<局面> ヒントの局;
        for (const auto& w : 環_.読み.待ち一覧)
            if (w.誰 == 依頼者::ヒント) ヒントの局 = w.依頼.局;
        if (!環_.読み.届ける()) return;
        for (const 読み答え& a : 環_.読み.答え) {
            const 最善手& m = a.結果.手;
            if (a.誰 != 依頼者::ヒント || !m.有り || !ヒントの局 || 選べたヒント_.count(a.番号))
                continue;
            ++結果.助言数;
            局面& 局 = *ヒントの局;
            const int 元駒 = m.元X == 持駒列_MAN ? m.駒 : 局.盤面[m.元X][m.元Y];
            const bool 変わる = 調査_駒成(局, m.元X, m.元Y, m.先X, m.先Y, 元駒) == 定数_ON;
            if (m.駒 != (変わる ? 局.駒成結果 : 元駒))
                throw std::logic_error("the hint " + 最善手の文(m, true) +
                                       " is not a person's move");
        }
        form_->読み_完了();
    }

    // Lines of 検討 and the move the review prefers, for a side a person plays (the lower side
    // against the computer, both between two people), are moves the person can make. Each
    // text is looked at once.
    template <class F>
    void 助言を確かめる(流れ検査結果& 結果, F& 報告) {
        // A person who chooses the form may make every move: so may a hint asked for meanwhile.
        for (const auto& w : 環_.読み.待ち一覧)
            if (w.誰 == 依頼者::ヒント && 成不成を選ぶ()) 選べたヒント_.insert(w.番号);
        const auto& 形勢 = 環_.形勢;
        if (!形勢.表示 || 成不成を選ぶ()) return;
        const bool 上手も = s().状況.対局モード != 対局モード_COM;
        if (形勢.検討文 != 確かめた検討文_) {
            確かめた検討文_ = 形勢.検討文;
            const std::vector<std::string> 初手 = 検討の初手(形勢.検討文);
            if (!初手.empty()) {
                const auto 不可 = 人に指せない手の文(s().局, 上手も);
                for (const std::string& m : 初手) {
                    ++結果.助言数;
                    if (不可.count(m) != 0) 報告("検討 proposes " + m + ", not a person's move");
                }
            }
        }
        const std::size_t 末 = 形勢.講評.find(" がまさる");
        if (形勢.講評 != 確かめた講評_ && 末 != std::string::npos) {
            確かめた講評_ = 形勢.講評;
            const std::size_t 頭 = 形勢.講評.rfind("。", 末) + std::string("。").size();
            const std::string m = 形勢.講評.substr(頭, 末 - 頭);
            局面 前;
            棋譜の局面を写す(s().棋譜.項目(s().棋譜.棋譜手数() - 1), 前);
            ++結果.助言数;
            if (人に指せない手の文(前, 上手も).count(m) != 0)
                報告("the review prefers " + m + ", not a person's move");
        }
    }

    bool コンピュータが考え中() const {
        for (const auto& w : 環_.読み.待ち一覧)
            if (w.誰 == 依頼者::対局) return true;
        return false;
    }

    // A command that would change the game, while the computer thinks: refused with the
    // forbidden sound, the game as it was.
    std::string 考え中の操作() {
        using 操作 = void (Form1::*)();
        static const std::pair<const char*, 操作> 表[] = {
            {"START", &Form1::START_Click},
            {"SENTE", &Form1::SENTE_Click},
            {"GOTE", &Form1::GOTE_Click},
            {"CANCEL", &Form1::CANCEL_Click},
            {"REVERSE", &Form1::REVERSE_Click},
            {"REPLAY", &Form1::REPLAY_Click},
            {"AFTER", &Form1::AFTER_Click},
            {"LBEL_UP", &Form1::LBEL_UP_Click},
            {"LEBEL_DOWN", &Form1::LEBEL_DOWN_Click},
            {"MATTA", &Form1::MATTA_Click},
            {"LEVEL1", &Form1::LEVEL1_Click},
            {"LEVEL4", &Form1::LEVEL4_Click},
            {"SHINKI", &Form1::SHINKI_Click},
            {"TOURYOU", &Form1::TOURYOU_Click},
            {"MOCHI_1", &Form1::MOCHI_1_Click},
        };
        const 棋譜項目 前 = s().棋譜.現在();
        const int 前記録数 = s().棋譜.棋譜記録数();
        const int 前手数 = s().状況.手数;
        const int 前レベル = s().状況.COMレベル;
        const int 前禁止 = 環_.サウンド源.再生回数[禁止音_];
        std::string 名;
        const int k = 乱数(static_cast<int>(std::size(表)) + 2);
        if (k == std::size(表)) {
            名 = "click";
            桝を押す(1 + 乱数(9), 1 + 乱数(9));
        } else if (k == std::size(表) + 1) {
            名 = "load";
            form_->File1_Click(保存した_.empty() ? "/records/ない.棋譜" : 保存した_.front());
        } else {
            名 = 表[k].first;
            (form_.get()->*表[k].second)();
        }
        if (環_.サウンド源.再生回数[禁止音_] != 前禁止 + 1 || s().状況.手数 != 前手数 ||
            s().棋譜.棋譜記録数() != 前記録数 || s().状況.COMレベル != 前レベル ||
            std::memcmp(&前, &s().棋譜.現在(), sizeof 前) != 0) {
            throw std::logic_error(名 + " during the computer's turn was not refused");
        }
        return 名 + " during the computer's turn";
    }

    std::string メニュー操作() {
        using 操作 = void (Form1::*)();
        struct 項目 {
            const char* 名;
            操作 f;
        };
        static const 項目 表[] = {
            {"START", &Form1::START_Click},
            {"SENTE", &Form1::SENTE_Click},
            {"GOTE", &Form1::GOTE_Click},
            {"LEVEL1", &Form1::LEVEL1_Click},
            {"LEVEL2", &Form1::LEVEL2_Click},
            {"LEVEL3", &Form1::LEVEL3_Click},
            {"CANCEL", &Form1::CANCEL_Click},
            {"REVERSE", &Form1::REVERSE_Click},
            {"LBEL_UP", &Form1::LBEL_UP_Click},
            {"LEBEL_DOWN", &Form1::LEBEL_DOWN_Click},
            {"KIFU_READ", &Form1::KIFU_READ_Click},
            {"KIFU_WRITE", &Form1::KIFU_WRITE_Click},
            {"TAIKYOKU", &Form1::TAIKYOKU_Click},
            {"STOP", &Form1::STOP_Click},
            {"OPTION", &Form1::OPTION_Click},
            {"VER", &Form1::VER_Click},
            {"MATCH_MAN", &Form1::MATCH_MAN_Click},
            {"KIFU", &Form1::KIFU_Click},
            {"MIDORI", &Form1::MIDORI_Click},
            {"TATAMI", &Form1::TATAMI_Click},
            {"TAKE", &Form1::TAKE_Click},
            {"UCHU", &Form1::UCHU_Click},
            {"RENGA", &Form1::RENGA_Click},
            {"SIDOU", &Form1::SIDOU_Click},
            {"KEIKA", &Form1::KEIKA_Click},
            {"BGM", &Form1::BGM_Click},
            {"MATTA", &Form1::MATTA_Click},
            {"HINT", &Form1::HINT_Click},
            {"LEVEL4", &Form1::LEVEL4_Click},
            {"SHINKI", &Form1::SHINKI_Click},
            {"TOURYOU", &Form1::TOURYOU_Click},
            {"MOCHI_NASHI", &Form1::MOCHI_NASHI_Click},
            {"MOCHI_1", &Form1::MOCHI_1_Click},
            {"MOCHI_5", &Form1::MOCHI_5_Click},
            {"BYOU_NASHI", &Form1::BYOU_NASHI_Click},
            {"BYOU_10", &Form1::BYOU_10_Click},
            {"BYOU_30", &Form1::BYOU_30_Click},
            {"ASOBIKATA", &Form1::ASOBIKATA_Click},
            {"KIFU_LIST", &Form1::KIFU_LIST_Click},
            {"KENTOU", &Form1::検討_切替},
            {"NARI_FUNARI", &Form1::NARI_FUNARI_Click},
        };
        const 項目& e = 表[乱数(static_cast<int>(std::size(表)))];
        // The handicap and the start commands matter more than the rest.
        if (e.f == &Form1::LBEL_UP_Click || e.f == &Form1::LEBEL_DOWN_Click) {
            for (int i = 乱数(4); i >= 0; --i) (form_.get()->*e.f)();
        } else {
            (form_.get()->*e.f)();
        }
        if (確率(5)) {
            form_->Drive1_Change(確率(50) ? "/records" : "/nowhere");
            form_->Dir1_Change(確率(50) ? "/records" : "/records/sub");
        }
        return e.名;
    }

    // A game with moves on the board, going on or ended, that is not the record last saved
    // (as a record or as KIF text) or loaded.
    bool 未保存の対局() const {
        return s().状況.手番 != 手番_なし && s().棋譜.棋譜記録数() >= 1 &&
               !(保存済み_ && 記録が同じ(*保存済み_, s().棋譜));
    }

    // The game of history `前` (its side to move not none, `前勝者` its winner) is no longer on
    // the board: no game is, or one from another start, or a new game where it had ended, or
    // its entries up to the one the board had reached are gone. Going on from an earlier entry
    // (a move there, 待った, a start command resuming there) drops only entries after it.
    bool 入れ替わった(const 棋譜表& 前, int 前勝者) const {
        const 棋譜表& 後 = s().棋譜;
        if (記録が同じ(前, 後)) return false;
        if (s().状況.手番 == 手番_なし) return true;
        if (後.出自() != 前.出自() || !同じ盤と持駒(後.項目(0), 前.項目(0))) return true;
        if (前勝者 != 手番_なし && s().局.勝者 == 手番_なし) return true;
        int 共通 = 0;
        while (共通 < std::min(前.棋譜記録数(), 後.棋譜記録数()) &&
               同じ盤と持駒(前.項目(共通 + 1), 後.項目(共通 + 1)))
            ++共通;
        return 共通 < std::min(前.棋譜手数(), 後.棋譜手数());
    }

    // Whatever the action, a game nobody saved, going on or ended, is replaced only after the
    // question, in the words that fit it. A restart offers the kept game with a question of its
    // own.
    void 対局を黙って捨てない(bool 未保存, const 棋譜表& 前, int 前勝者, const std::string& 名,
                              流れ検査結果& 結果, long i) {
        if (!未保存 || 名 == "restart" || 名 == "crash and start again") return;
        if (環_.窓.終了要求 || !入れ替わった(前, 前勝者)) return;
        const char* 問い = 前勝者 == 手番_なし
                               ? "対局中の棋譜は保存されていません。破棄してよろしいですか？"
                               : "終局した対局の棋譜は保存されていません。破棄してよろしいですか？";
        if (!環_.メッセージ.出た(問い))
            違反(結果, i, 名, std::string("an unsaved game was replaced without: ") + 問い);
    }

    // The record text copied or saved: a line per move of the game on the board.
    static int 手の行数(const std::string& 文) {
        int 数 = 0;
        std::size_t at = 0;
        while (at < 文.size()) {
            const std::size_t 末 = std::min(文.find('\n', at), 文.size());
            std::size_t k = at;
            while (k < 末 && 文[k] == ' ') ++k;
            const std::size_t 数字 = k;
            while (k < 末 && 文[k] >= '0' && 文[k] <= '9') ++k;
            数 += k > 数字 && k < 末 && 文[k] == ' ';
            at = 末 + 1;
        }
        return 数;
    }

    // The moves of the game on the board: none once 最初 dropped it.
    int 盤の手数() const { return s().状況.手番 == 手番_なし ? 0 : s().棋譜.棋譜記録数(); }

    // 棋譜をコピー copies the game on the board, or says why not and leaves the clipboard.
    std::string 写す() {
        環_.形勢.写した = "前の中身";
        form_->棋譜をコピー_Click();
        const int 手 = 盤の手数();
        if (手 == 0) {
            if (環_.形勢.写した != "前の中身" ||
                !環_.メッセージ.出た("コピーする指し手がありません"))
                throw std::logic_error("a game without moves was copied, or silently not");
        } else if (手の行数(環_.形勢.写した) != 手) {
            throw std::logic_error("the copy is not the game on the board");
        }
        return "copy";
    }

    // KIF形式で保存… writes the game on the board where the player says; once written, the
    // game is saved.
    std::string 文で保存する() {
        const std::string パス = "/records/対局.kif";
        環_.ファイル.ファイル.erase(パス);
        環_.形勢.保存先 = 確率(80) ? std::optional<std::string>(パス) : std::nullopt;
        form_->棋譜を文で保存_Click();
        if (環_.メッセージ.出た("棋譜を保存しました")) {
            if (手の行数(環_.ファイル.文字列(パス)) != 盤の手数())
                throw std::logic_error("the text saved is not the game on the board");
            保存済み_ = s().棋譜;
        } else if (盤の手数() > 0 && 環_.形勢.保存先 && !環_.ファイル.書込禁止.count(パス)) {
            throw std::logic_error("a game with moves was not saved as text");
        }
        return "save as text";
    }

    // A failed write of the kept game is told once, and again only after a write has worked.
    void 保存失敗の告知(int 前保存回数, const std::string& 名, 流れ検査結果& 結果, long i) {
        int 告知数 = 0;
        for (const auto& b : 環_.メッセージ.箱一覧)
            告知数 +=
                b.本文.rfind("対局の途中経過を保存できませんでした。\n保存先のフォルダ：/state\n",
                             0) == 0;
        const bool 書いた = 環_.自動保存.保存回数 > 前保存回数;
        if (告知数 > 1 || (告知数 == 1 && 保存失敗を告げた_))
            違反(結果, i, 名, "a failed write told twice");
        if (告知数 == 0 && 書いた && 環_.自動保存.書込失敗 && !保存失敗を告げた_)
            違反(結果, i, 名, "a failed write of the kept game was not told");
        if (書いた) 保存失敗を告げた_ = 環_.自動保存.書込失敗;
    }

    void 違反(流れ検査結果& 結果, long i, const std::string& 名, const std::string& 何) {
        ++結果.違反数;
        if (結果.違反.size() < 記録する違反の数) {
            結果.違反.push_back("action " + std::to_string(i) + " (" + 名 + "): " + 何);
        }
    }

    void 検査(流れ検査結果& 結果, long i, const std::string& 名) {
        auto 報告 = [&](const std::string& 何) { 違反(結果, i, 名, 何); };
        if (環_.窓.終了要求) return;
        const 対局状態& st = s();
        const auto& 状況 = st.状況;
        const 局面& 局 = st.局;

        // The position.
        局面の期待 期待;
        期待.王以外の駒数 = 外の保存_ ? -1 : 38 - std::abs(状況.ハンデレベル);
        期待.王一枚でもよい = 局.勝者 != 手番_なし || 状況.棋譜モード == 定数_ON;
        if (const std::string m = 局面の矛盾(局, 期待); !m.empty()) 報告("position: " + m);
        if (局.手番値MAN != -局.手番値COM || 局.手番値MAN == 手番_なし) 報告("side values");
        if (状況.選択状態 != 0 && 状況.選択状態 != 1) 報告("selection state");

        // The history.
        const 棋譜表& 棋譜 = st.棋譜;
        const int N = 棋譜.棋譜記録数();
        if (棋譜.棋譜手数() < 0 || 棋譜.棋譜手数() > N || N > 棋譜最大手数) 報告("history bounds");
        if (状況.手番 != 手番_なし && !同じ局面(棋譜.現在(), 局)) {
            報告("the board is not the history entry " + std::to_string(棋譜.棋譜手数()));
        }
        履歴の連なり(棋譜, 報告);

        // The clocks.
        const auto& 時 = st.時計;
        if (時.累計秒MAN < 0 || 時.累計秒COM < 0 || 時.経過秒 < 0) 報告("negative clock");
        // A record stepped through, and a game without a time control, show the totals kept
        // with the entry on the board; a game under one keeps its own.
        const bool 棋譜の時計 =
            状況.棋譜モード == 定数_ON || (!持ち時間制() && 局.勝者 == 手番_なし);
        if (状況.手番 != 手番_なし && 棋譜の時計 &&
            (時.累計秒MAN != 棋譜.現在().前秒M || 時.累計秒COM != 棋譜.現在().前秒C)) {
            報告("the clocks are not the totals of the position on the board");
        }
        if (時.手の秒MAN < 0 || 時.手の秒COM < 0) 報告("negative clock");

        // The panel, when shown, holds a row and a point of the graph for every entry of the
        // game on the board (its start alone once 最初 has dropped the game) and highlights
        // the one on the board.
        const auto& 形勢 = 環_.形勢;
        const auto 行数 = static_cast<std::size_t>(盤の手数()) + 1;
        if (形勢.表示 &&
            (形勢.行.size() != 行数 || 形勢.点.size() != 行数 || 形勢.選択 != 棋譜.棋譜手数())) {
            報告("the move list is not the game on the board");
        }
        if (環_.メニュー欄.チェック(control::KIFU_LIST) != 形勢.表示)
            報告("the panel's check mark");

        // The menus.
        int 背景 = 0;
        for (const char* m : {"MIDORI", "TATAMI", "TAKE", "UCHU", "RENGA"})
            背景 += 環_.メニュー欄.チェック(m);
        int レベル = 0;
        for (int k = 1; k <= 4; ++k) レベル += 環_.メニュー欄.チェック(control::LEVEL項目[k]);
        int 持ち時間 = 0;
        for (const auto& e : 持ち時間一覧) 持ち時間 += 環_.メニュー欄.チェック(e.メニュー名);
        int 秒読み = 0;
        for (const auto& e : 秒読み一覧) 秒読み += 環_.メニュー欄.チェック(e.メニュー名);
        if (背景 != 1 || レベル != 1 || 持ち時間 != 1 || 秒読み != 1) 報告("check marks");
        if ((環_.メニュー欄.チェック(control::SIDOU) ? 定数_ON : 定数_OFF) !=
            st.設定.移動指導フラグ)
            報告("guidance flag and menu disagree");
        // 成・不成を選ぶ is kept in the preferences file, and the settings file holds no more.
        if (成不成を選ぶ() !=
            (環_.ファイル.文字列("Kiryuza-play.ini").find("成・不成を選ぶ=ON\n") !=
             std::string::npos))
            報告("成・不成を選ぶ and the preferences file disagree");
        if (環_.ファイル.文字列("Kiryuza.ini").find("成") != std::string::npos)
            報告("成・不成を選ぶ in the settings file");

        形の選択を確かめる(報告);
        画面を確かめる(報告);
        助言を確かめる(結果, 報告);
    }

    // The chooser of a move's form is open only for a person's legal move that may change its
    // form, with the option on, in a game going on; it shows both forms at the destination,
    // and nothing changes the game while it stays open.
    template <class F>
    void 形の選択を確かめる(F& 報告) {
        if (!形を選んでいる()) {
            選択時_.reset();
            return;
        }
        const 指し手入力& m = form_->入力中の手();
        const auto& 状況 = s().状況;
        局面 局 = s().局;
        if (!成不成を選ぶ()) 報告("the chooser is open with the option off");
        if (状況.手番 == 手番_なし || 局.勝者 != 手番_なし || 状況.棋譜モード == 定数_ON ||
            状況.再開フラグ == 定数_ON ||
            (状況.対局モード == 対局モード_COM && 状況.手番 != 局.手番値MAN))
            報告("the chooser is open outside a person's turn in a game going on");
        if (状況.選択状態 != 1) 報告("the chooser is open with nothing picked");
        if (!(m.移動駒 < 0 ? MAN駒(m.移動駒) : 状況.手番 == 局.手番値COM) ||
            移動チェック(局, m.移動元X, m.移動元Y, m.移動先X, m.移動先Y, m.移動駒) != 定数_ON ||
            調査_駒成(局, m.移動元X, m.移動元Y, m.移動先X, m.移動先Y, m.移動駒) != 定数_ON ||
            局.駒成結果 != m.変えた駒)
            報告("the chooser is open for a move that cannot change its form");
        if (const 選択時の対局 今 = 今の対局(); !選択時_) {
            選択時_ = 今;
        } else if (!(*選択時_ == 今)) {
            報告("the chooser stayed open across a change of the game");
            選択時_ = 今;
        }
        const auto& 模型 = 環_.キャンバス面.模型;
        const double X = 桝X(形の選択の左列(m.移動先X));
        const double Y = 桝Y(m.移動先Y);
        const auto 絵 = [&](double x) {
            const auto it = 模型.絵.find(画面模型::点(x, Y));
            return it == 模型.絵.end() ? -12345 : it->second;
        };
        const auto 枠 = [&](double x) {
            const auto it = 模型.枠.find(画面模型::点(x + 45, Y + 45));
            return it == 模型.枠.end() ? -12345 : it->second;
        };
        if (絵(X) != m.変えた駒 || 絵(X + 桝幅) != m.移動駒)
            報告("the chooser does not show both forms");
        if ((枠(X) == 色_選択枠) != m.変える || (枠(X + 桝幅) == 色_選択枠) == m.変える)
            報告("the chooser does not mark the form selected");
    }

    // Entries 0..N follow one another by one legal move each, and each move's time is booked
    // to the side that made it. Only entries that changed since the last check are looked at.
    template <class F>
    void 履歴の連なり(const 棋譜表& 棋譜, F& 報告) {
        const int N = 棋譜.棋譜記録数();
        int 最初の変化 = 0;
        while (最初の変化 <= std::min(N, 確認済み数_) &&
               std::memcmp(&棋譜.項目(最初の変化), &確認済み_[static_cast<std::size_t>(最初の変化)],
                           sizeof(棋譜項目)) == 0) {
            ++最初の変化;
        }
        for (int n = std::max(1, 最初の変化); n <= N; ++n) {
            const 棋譜項目& a = 棋譜.項目(n - 1);
            const 棋譜項目& b = 棋譜.項目(n);
            // An entry that came with a kept game from outside, here or through a record saved
            // since, need not follow from the one before.
            if (n < static_cast<int>(信用_.size()) && 同じ盤と持駒(b, 信用_[n])) continue;
            const int 側 = 一手で移る側(a, b);
            if (側 == 0) {
                報告("history entry " + std::to_string(n) +
                     " is not one move after the one before");
                break;
            }
            const bool COM = 側 > 0;
            const double 自前 = COM ? a.前秒C : a.前秒M;
            const double 自後 = COM ? a.後秒C : a.後秒M;
            const double 他前 = COM ? a.前秒M : a.前秒C;
            const double 他後 = COM ? a.後秒M : a.後秒C;
            // A record holds no totals before move 1: read back, move 1 is taken to start from
            // nothing, also where the game had used time on moves taken back before it.
            const bool 記録の初手 =
                n == 1 && 読んだ初手_ && std::memcmp(&a, &*読んだ初手_, sizeof a) == 0;
            if (自後 < 自前 || (記録の初手 ? 他後 < 他前 : 他後 != 他前)) {
                報告("move " + std::to_string(n) + "'s time is booked to the wrong side");
            }
            // Under a time control the totals go on from the game's, which may have grown by
            // moves taken back or left behind since.
            if (b.前秒M < a.後秒M || b.前秒C < a.後秒C) {
                報告("entry " + std::to_string(n) +
                     " starts from less than the totals after move " + std::to_string(n));
            }
        }
        const 棋譜項目& 最後 = 棋譜.項目(N);
        if (最後.前秒M != 最後.後秒M || 最後.前秒C != 最後.後秒C) 報告("the last entry has a move");
        for (int n = std::min(最初の変化, N + 1); n <= N; ++n)
            確認済み_[static_cast<std::size_t>(n)] = 棋譜.項目(n);
        確認済み数_ = N;
    }

    // What the fake window shows is the board, the hands and the move number.
    template <class F>
    void 画面を確かめる(F& 報告) {
        const auto& 模型 = 環_.キャンバス面.模型;
        const 局面& 局 = s().局;
        // The cells under an open chooser show it instead.
        const 指し手入力& 入 = form_->入力中の手();
        const double 選択左 = 入.形を選ぶ ? 形の選択の左列(入.移動先X) : -10;
        for (int x = 1; x <= 9; ++x)
            for (int y = 1; y <= 9; ++y) {
                if (入.形を選ぶ && y == 入.移動先Y && x + 1 > 選択左 && x < 選択左 + 2) continue;
                if (模型.桝の絵(x, y) != 局.盤面[x][y]) {
                    報告("square " + std::to_string(x) + "," + std::to_string(y) + " shows " +
                         std::to_string(模型.桝の絵(x, y)) + " for " +
                         std::to_string(局.盤面[x][y]));
                    return;
                }
            }
        for (int k = 1; k <= 7; ++k) {
            const int 行MAN = k + 2;
            const int 行COM = 8 - k;
            const int nM = 局.持駒MAN[k];
            const int nC = 局.持駒COM[k];
            if (模型.桝の絵(持駒列_MAN, 行MAN) != (nM > 0 ? 打駒_MAN[k] : 空桝) ||
                模型.桝の絵(持駒列_COM, 行COM) != (nC > 0 ? 打駒_COM[k] : 空桝)) {
                報告("hand slot of kind " + std::to_string(k) + " shows the wrong piece");
            }
            const std::string 数M = 桝の字(模型, 持駒列_MAN + 1, 行MAN);
            const std::string 数C = 桝の字(模型, 持駒列_COM + 1, 行COM);
            if ((nM > 0) != (数M.find(" " + std::to_string(nM) + "|") != std::string::npos) ||
                (nC > 0) != (数C.find(" " + std::to_string(nC) + "|") != std::string::npos)) {
                報告("hand count of kind " + std::to_string(k) + " is not shown as held");
            }
        }
        // No square keeps the red outline of a pick once nothing is picked.
        if (s().状況.選択状態 == 0) {
            for (int x = -1; x <= 11; ++x)
                for (int y = 1; y <= 9; ++y)
                    if (模型.桝の枠(x, y) == 色_選択枠) {
                        報告("cell " + std::to_string(x) + "," + std::to_string(y) +
                             " is outlined as picked");
                        return;
                    }
        }
        const int 手数 = s().状況.手数;
        if (手数 > 0) {
            const std::string 字 = 桝の字(模型, 13, 3) + 桝の字(模型, 14, 3);
            if (字.find(" " + std::to_string(手数) + "|") == std::string::npos ||
                字.find("手目") == std::string::npos) {
                報告("the move number is not shown");
            }
        }
        // No text lies over the board's squares or starts outside the window.
        for (const auto& d : 模型.字) {
            if ((d.X >= 桝X(1) && d.X < 桝X(10) && d.Y >= 桝Y(1) && d.Y < 桝Y(10)) || d.X < 0 ||
                d.Y < 0 || d.X >= 画面幅 || d.Y >= 画面高) {
                報告("text \"" + d.文 + "\" at " + std::to_string(d.X) + "," + std::to_string(d.Y));
                return;
            }
        }
    }
};

}  // namespace

流れ検査結果 対局の流れを検査(std::uint64_t 種, long 操作数,
                              const std::vector<std::uint8_t>* 保存) {
    return 流れ検査(種, 保存).走らせる(操作数);
}

}  // namespace kiryuza::testing
