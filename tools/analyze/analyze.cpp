#include "analyze.h"

#include <chrono>
#include <cstdio>
#include <istream>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "engine/deep_board.h"
#include "engine/deep_search.h"
#include "engine_player.h"
#include "player.h"
#include "record/record_line.h"
#include "rules/reversal.h"

namespace kiryuza {

namespace {

// Prints one line per evaluated candidate.
class 候補出力 : public 探索観察 {
  public:
    explicit 候補出力(std::ostream& out) : out_(out) {}
    void 評価(int 元X, int 元Y, int 先X, int 先Y, int 駒, 評価値 v) override {
        out_ << "eval " << 元X << ' ' << 元Y << ' ' << 先X << ' ' << 先Y << ' ' << 駒 << ' '
             << 評価値の文字列(v) << '\n';
    }

  private:
    std::ostream& out_;
};

bool 空行(const std::string& s) {
    return s.find_first_not_of(" \t\r") == std::string::npos;
}

}  // namespace

std::string 評価値の文字列(評価値 v) {
    const bool 負 = v < 0;
    const long long a = 負 ? -static_cast<long long>(v) : v;
    std::string s = 負 ? "-" : "";
    s += std::to_string(a / 10) + "." + std::to_string(a % 10);
    return s;
}

bool 局面解析(std::istream& in, std::ostream& out, int レベル, bool 候補表示) {
    bool 全て正常 = true;
    std::string 行;
    int 行番号 = 0;
    探索観察 無観察;
    候補出力 候補(out);
    while (std::getline(in, 行)) {
        ++行番号;
        if (!行.empty() && 行.back() == '\r') 行.pop_back();
        if (空行(行)) continue;
        const 行解析結果 r = 棋譜行を読む(行);
        // The engine looks at positions with both kings only.
        const 行誤り 誤り = r.王が取られた ? 行誤り::王の数 : r.誤り;
        if (誤り != 行誤り::なし) {
            out << "error " << 行番号 << ' ' << 行誤りの理由(誤り) << '\n';
            全て正常 = false;
            continue;
        }
        // A fresh engine for every position: every persistent map starts at 0.
        auto 局 = std::make_unique<局面>();
        行を局面へ(r.データ, *局);
        auto エンジン = std::make_unique<思考エンジン>(*局);
        エンジン->COMレベル = レベル;
        const 最善手 m = エンジン->手を選ぶ(候補表示 ? static_cast<探索観察&>(候補) : 無観察);
        if (m.有り) {
            out << "best " << m.元X << ' ' << m.元Y << ' ' << m.先X << ' ' << m.先Y << ' ' << m.駒
                << ' ' << 評価値の文字列(m.評価) << '\n';
        } else {
            out << "best none\n";
        }
    }
    return 全て正常;
}

namespace {

void 手を出力(std::ostream& out, int ply, const char* 側, const 指し手& m) {
    out << "ply " << ply << ' ' << 側 << ' ' << m.元X << ' ' << m.元Y << ' ' << m.先X << ' '
        << m.先Y << ' ' << m.駒 << '\n';
}

}  // namespace

void 自己対局(std::ostream& out, std::uint64_t 種, int 手数上限, int レベル) {
    auto 局 = std::make_unique<局面>();
    初期配置(*局);
    局->手番値MAN = 手番_先手;
    局->手番値COM = 手番_後手;
    auto エンジン = std::make_unique<思考エンジン>(*局);
    エンジン->COMレベル = レベル;
    局面表示 無表示;
    探索観察 無観察;
    auto 手一覧 = std::make_unique<指し手[]>(合法手最大数);

    for (int ply = 1; ply <= 手数上限; ++ply) {
        if (ply % 2 == 1) {
            // The pseudo-player always takes the change of form, as the mouse does.
            const int n = 合法手一覧(*局, false, 手一覧.get());
            if (n == 0) return;
            const std::uint64_t i = (種 * 7919u + static_cast<std::uint64_t>(ply) * 104729u) %
                                    static_cast<std::uint64_t>(n);
            指し手 m = 手一覧[i];
            if (調査_駒成(*局, m.元X, m.元Y, m.先X, m.先Y, m.駒) == 定数_ON) m.駒 = 局->駒成結果;
            駒移動(*局, 無表示, m.元X, m.元Y, m.先X, m.先Y, m.駒);
            手を出力(out, ply, "MAN", m);
            if (局->勝者 != 手番_なし) {
                out << "end MAN\n";
                return;
            }
        } else {
            const 最善手 b = エンジン->手を選ぶ(無観察);
            if (!b.有り) return;
            エンジン->手を指す(b, 無表示);
            手を出力(out, ply, "COM", {b.元X, b.元Y, b.先X, b.先Y, b.駒});
            if (局->勝者 != 手番_なし) {
                out << "end COM\n";
                return;
            }
        }
    }
}

bool 指せる手か(局面& 局, bool COM側, const 最善手& 手, 手の範囲 範囲) {
    if (!手.有り) return false;
    auto 一覧 = std::make_unique<指し手[]>(合法手最大数);
    const int n = 合法手一覧(局, COM側, 一覧.get());
    const bool 打 = 手.元X == 持駒列_COM || 手.元X == 持駒列_MAN;
    const int 元駒 = 打 ? 手.駒 : 局.盤面[手.元X][手.元Y];
    for (int i = 0; i < n; ++i) {
        const 指し手& m = 一覧[i];
        if (m.元X != 手.元X || m.元Y != 手.元Y || m.先X != 手.先X || m.先Y != 手.先Y ||
            m.駒 != 元駒)
            continue;
        return 範囲の形か(範囲, m.元X, m.元Y, m.先X, m.先Y, 元駒, 手.駒);
    }
    return false;
}

namespace {

// Levels 1 to 3: the one-ply player, which plays the upper side; for the lower side it is
// shown the position turned round and its move is turned back.
class 一手読み対局者 : public 対局者 {
  public:
    explicit 一手読み対局者(int レベル)
        : 作業_(std::make_unique<局面>()), エンジン_(std::make_unique<思考エンジン>(*作業_)) {
        エンジン_->COMレベル = レベル;
    }
    void 人の側を知る(const 両側の範囲& 範囲) override { 範囲_ = 範囲; }
    応手 選ぶ(const 局面と手番& 今, const std::int64_t* /*残りms*/) override {
        エンジン_->範囲 = 範囲_.側(今.COM番);
        return {一手読みの手(*エンジン_, 今.局, 今.COM番, 無観察_), "no move"};
    }

  private:
    両側の範囲 範囲_;
    std::unique_ptr<局面> 作業_;
    std::unique_ptr<思考エンジン> エンジン_;
    探索観察 無観察_;
};

// Level 4: the searching player on its time budget.
class 深読み対局者 : public 対局者 {
  public:
    explicit 深読み対局者(int 時間ms) { 設定_.時間ms = 時間ms; }
    std::string 新局(const 局面と手番& 開始) override {
        エンジン_.初期化();
        今_ = 開始;
        既出_.clear();
        // Each game its own seed for the choice among near-equal moves, the same in every run
        // of the same match.
        ++局数_;
        設定_.揺らぎ種 = (局面の鍵(開始.局, 開始.COM番) + 局数_) * 0x9E3779B97F4A7C15ull | 1;
        手数_ = 0;
        深さ計_ = 0;
        節点計_ = 0;
        秒計_ = 0;
        return {};
    }
    void 人の側を知る(const 両側の範囲& 範囲) override { 設定_.範囲 = 範囲; }
    // The game's positions so far, so that the search knows one reached again.
    void 指された(const 最善手& 手) override {
        既出_.push_back(局面の鍵(今_.局, 今_.COM番));
        手を進める(今_, 手);
    }
    応手 選ぶ(const 局面と手番& 今, const std::int64_t* /*残りms*/) override {
        設定_.既出鍵 = 既出_.data();
        設定_.既出鍵数 = static_cast<int>(既出_.size());
        const 深読み結果 r = エンジン_.探索(今.局, 今.COM番, 設定_);
        ++手数_;
        深さ計_ += r.深さ;
        節点計_ += static_cast<double>(r.節点数);
        秒計_ += r.秒;
        return {r.手, "no move"};
    }
    std::string 様子() const override {
        if (手数_ == 0) return {};
        char s[80];
        std::snprintf(s, sizeof s, "depth %.1f, %.0fk nodes/s", 深さ計_ / 手数_,
                      秒計_ > 0 ? 節点計_ / 秒計_ / 1000 : 0.0);
        return s;
    }

  private:
    深読みエンジン エンジン_;
    深読み設定 設定_;
    局面と手番 今_;
    std::vector<std::uint64_t> 既出_;
    std::uint64_t 局数_ = 0;
    int 手数_ = 0;
    double 深さ計_ = 0;
    double 節点計_ = 0;
    double 秒計_ = 0;
};

std::unique_ptr<対局者> 対局者を作る(const 対戦設定& 設定, bool A) {
    const std::string& 命令 = A ? 設定.命令A : 設定.命令B;
    const int 時間ms = A ? 設定.時間msA : 設定.時間msB;
    if (!命令.empty()) return エンジン対局者を作る(命令, 時間ms, 設定.時計, 設定.スレッド数);
    const int レベル = A ? 設定.レベルA : 設定.レベルB;
    if (レベル == 4) return std::make_unique<深読み対局者>(時間ms);
    return std::make_unique<一手読み対局者>(レベル);
}

constexpr int 序盤手数 = 4;    // random plies that make an opening
constexpr int 最長手数 = 500;  // a game that goes on longer is a draw

}  // namespace

void 乱数の序盤(局面と手番& p, std::mt19937_64& rng, int 手数) {
    auto 一覧 = std::make_unique<指し手[]>(合法手最大数);
    局面表示 無表示;
    for (int ply = 0; ply < 手数; ++ply) {
        const int n = 合法手一覧(p.局, p.COM番, 一覧.get());
        if (n == 0) break;
        指し手 m = 一覧[rng() % static_cast<std::uint64_t>(n)];
        if (調査_駒成(p.局, m.元X, m.元Y, m.先X, m.先Y, m.駒) == 定数_ON) m.駒 = p.局.駒成結果;
        駒移動(p.局, 無表示, m.元X, m.元Y, m.先X, m.先Y, m.駒);
        p.COM番 = !p.COM番;
        ++p.手数;
    }
    派生値を整える(p.局);
}

namespace {

enum class 結末 { 下手勝ち, 上手勝ち, 引き分け };

struct 一局の結果 {
    結末 結果;
    int 手数;
    std::string 理由;
    std::string 時計;  // on a clock: the time each side had left
};

// Plays one game from opening `番号` between the lower and the upper player, on the clock when
// `時計` has main time: a move that comes after its side's time (and byoyomi) is gone loses, and
// so does a move that declines a change of form for a side `縛り` holds to a person's moves.
一局の結果 一局(対局者& 下手, 対局者& 上手, std::uint64_t 種, int 番号, const 持ち時間設定& 時計,
                const 両側の範囲& 縛り) {
    auto 今 = std::make_unique<局面と手番>(開始局面());
    std::mt19937_64 rng(種 * 1000003u + static_cast<std::uint64_t>(番号));
    乱数の序盤(*今, rng, 序盤手数);
    const bool 時計あり = 時計.持ちms > 0;
    std::int64_t 残り[2] = {時計.持ちms, 時計.持ちms};  // the lower side's, the upper side's
    const auto 終局 = [&](結末 結果, int 手数, std::string 理由) {
        一局の結果 r{結果, 手数, std::move(理由), {}};
        if (時計あり)
            r.時計 = "clock: lower " + std::to_string(残り[0]) + " ms, upper " +
                     std::to_string(残り[1]) + " ms left";
        return r;
    };
    if (std::string 理由 = 下手.新局(*今); !理由.empty())
        return 終局(結末::上手勝ち, 序盤手数, 理由);
    if (std::string 理由 = 上手.新局(*今); !理由.empty())
        return 終局(結末::下手勝ち, 序盤手数, 理由);
    for (int 手数 = 序盤手数; 手数 < 最長手数; ++手数) {
        const bool COM番 = 今->COM番;
        対局者& 手番者 = COM番 ? 上手 : 下手;
        const 結末 負け = COM番 ? 結末::下手勝ち : 結末::上手勝ち;
        const auto 始 = std::chrono::steady_clock::now();
        const 応手 r = 手番者.選ぶ(*今, 時計あり ? 残り : nullptr);
        if (時計あり) {
            const std::int64_t 使用 = std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now() - 始)
                                          .count();
            std::int64_t& 持ち = 残り[COM番 ? 1 : 0];
            if (使用 > 持ち + 時計.秒読みms)
                return 終局(負け, 手数,
                            "loss on time: " + std::to_string(使用) + " ms for a move with " +
                                std::to_string(持ち) + " ms left and " +
                                std::to_string(時計.秒読みms) + " ms byoyomi");
            持ち = std::max<std::int64_t>(持ち - 使用, 0) + 時計.加算ms;
        }
        if (!r.手.有り) return 終局(負け, 手数, r.理由);
        if (!指せる手か(今->局, COM番, r.手)) return 終局(負け, 手数, "illegal move");
        if (!指せる手か(今->局, COM番, r.手, 縛り.側(COM番)))
            return 終局(
                負け, 手数,
                "declined a change of form, held to a person's moves: " + 手の表記(今->局, r.手));
        下手.指された(r.手);
        上手.指された(r.手);
        手を進める(*今, r.手);
        if (今->局.勝者 != 手番_なし)
            return 終局(COM番 ? 結末::上手勝ち : 結末::下手勝ち, 手数 + 1, "king taken");
    }
    // The position left standing, to see whether a side was ahead and could not finish.
    return 終局(結末::引き分け, 最長手数, "move limit, left at sfen " + SFENへ(*今));
}

}  // namespace

対戦成績 対戦(std::ostream& out, const 対戦設定& 設定) {
    auto A = 対局者を作る(設定, true);
    auto B = 対局者を作る(設定, false);
    // Engines are named A and B; levels by their number.
    const bool エンジン = !設定.命令A.empty();
    const std::string 名A = エンジン ? "engine" : "level " + std::to_string(設定.レベルA);
    const std::string 名B = エンジン ? "B" : std::to_string(設定.レベルB);
    対戦成績 成績;
    if (設定.人 != 0)
        out << 設定.人 << " plays a person's moves (the change of form always taken); "
            << (設定.人 == 'A' ? 'B' : 'A') << (設定.人を読む ? " is told so" : " is not told")
            << std::endl;
    for (int g = 0; g < 設定.局数; ++g) {
        const int 番号 = g / 2;
        const bool A下手 = g % 2 == 0;
        // The held player's side this game, told to it and, with 人を読む, to the other.
        両側の範囲 縛り;
        if (設定.人 != 0) {
            const bool 人は下手 = (設定.人 == 'A') == A下手;
            (人は下手 ? 縛り.MAN : 縛り.COM) = 手の範囲::人の手;
        }
        (設定.人 == 'B' ? *B : *A).人の側を知る(縛り);
        (設定.人 == 'B' ? *A : *B).人の側を知る(設定.人を読む ? 縛り : 両側の範囲{});
        const 一局の結果 r = A下手 ? 一局(*A, *B, 設定.種, 番号, 設定.時計, 縛り)
                                   : 一局(*B, *A, 設定.種, 番号, 設定.時計, 縛り);
        const char* 勝者 = "nobody";
        if (r.結果 == 結末::引き分け) {
            ++成績.分;
        } else if ((r.結果 == 結末::下手勝ち) == A下手) {
            ++成績.勝;
            勝者 = "A";
        } else {
            ++成績.負;
            勝者 = "B";
        }
        out << "game " << g + 1 << " opening " << 番号 + 1 << ": A (" << 名A << ") "
            << (A下手 ? "lower" : "upper") << ", " << r.手数 << " moves, "
            << (r.結果 == 結末::引き分け ? "draw" : std::string(勝者) + " wins") << " (" << r.理由
            << ")";
        if (!r.時計.empty()) out << "; " << r.時計;
        const std::string a = A->様子();
        const std::string b = B->様子();
        if (!a.empty()) out << "; A " << a;
        if (!b.empty()) out << "; B " << b;
        out << std::endl;
    }
    const double 点 = 設定.局数 > 0 ? (成績.勝 + 0.5 * 成績.分) * 100.0 / 設定.局数 : 0.0;
    char 率[32];
    std::snprintf(率, sizeof 率, "%.1f", 点);
    out << "match " << (エンジン ? "A" : std::to_string(設定.レベルA)) << " vs " << 名B << ": "
        << 成績.勝 << " wins, " << 成績.負 << " losses, " << 成績.分 << " draws, score " << 率
        << "%" << std::endl;
    return 成績;
}

}  // namespace kiryuza
