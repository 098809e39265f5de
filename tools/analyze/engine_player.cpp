#include "engine_player.h"

#include <cstdlib>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "engine/deep_search.h"
#include "engine_process.h"

namespace kiryuza {

namespace {

using namespace std::chrono_literals;

// How long an engine may take to introduce itself and to say it is ready.
constexpr auto kHandshake = 10s;
// How long past its thinking time a move may be late before the engine counts as hung. On a
// clock the game's rules decide the loss on time; this only bounds the wait.
constexpr auto kLate = 5s;
constexpr auto kLateOnClock = 1s;
// How long an engine has to end by itself after quit.
constexpr auto kQuitGrace = 2s;

std::string firstWord(const std::string& line) {
    const std::size_t b = line.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    return line.substr(b, line.find_first_of(" \t", b) - b);
}

// The score an info line gives, on the searching player's scale (a mate as the score of a
// king taken on that ply), or nothing when the line has none or one out of that scale.
std::optional<int> score(const std::string& line) {
    for (const auto& [key, mate] :
         {std::pair{" score cp ", false}, std::pair{" score mate ", true}}) {
        const std::size_t at = line.find(key);
        if (at == std::string::npos) continue;
        char* end = nullptr;
        const char* from = line.c_str() + at + std::strlen(key);
        const long v = std::strtol(from, &end, 10);
        if (end == from) return std::nullopt;
        if (!mate) {
            if (v <= -深読み勝ち境界 || v >= 深読み勝ち境界) return std::nullopt;
            return static_cast<int>(v);
        }
        const long 手数 = v < 0 ? -v : v;
        if (手数 < 1 || 手数 > 深読み勝ち - 深読み勝ち境界 + 1) return std::nullopt;
        const int 値 = 深読み勝ち - static_cast<int>(手数) + 1;
        return v < 0 ? -値 : 値;
    }
    return std::nullopt;
}

std::string shown(const std::string& line) {
    return "'" + (line.size() > 60 ? line.substr(0, 60) + "..." : line) + "'";
}

class 外部エンジン対局者 : public 対局者 {
  public:
    外部エンジン対局者(std::string 命令, int 時間ms, const 持ち時間設定& 時計, int スレッド数)
        : 命令_(std::move(命令)), 時間ms_(時間ms), 時計_(時計), スレッド数_(スレッド数) {}

    // A sound engine is asked to quit and given time to; a broken one is ended at once.
    ~外部エンジン対局者() override {
        if (健全_) 子_.send("quit");
        子_.end(健全_ ? std::chrono::milliseconds(kQuitGrace) : 0ms);
    }

    void 人の側を知る(const 両側の範囲& 範囲) override { 人の側_ = 範囲; }

    std::string 新局(const 局面と手番& 開始) override {
        std::string 理由;
        if (!健全_ && !起動(理由)) return 理由;
        // The sides held to a person's moves, told whenever they change (a new process starts
        // with none).
        if (!(人の側_ == 告げた人の側_)) {
            static constexpr const char* 値[] = {"none", "sente", "gote", "both"};
            if (!子_.send(std::string("setoption name PersonSide value ") + 値[人の側_.番号()])) {
                健全_ = false;
                return "the engine died";
            }
            告げた人の側_ = 人の側_;
        }
        健全_ = 子_.send("isready") && 待つ("readyok", kHandshake, 理由) && 子_.send("usinewgame");
        if (!健全_) return 理由.empty() ? "the engine died" : 理由;
        開始SFEN_ = SFENへ(開始);
        手順_.clear();
        今_ = 開始;
        峰_.reset();
        谷_.reset();
        return {};
    }

    応手 選ぶ(const 局面と手番& 今, const std::int64_t* 残りms) override {
        応手 r;
        std::string 命 = "position sfen " + 開始SFEN_;
        if (!手順_.empty()) 命 += " moves";
        for (const std::string& m : 手順_) 命 += " " + m;
        auto 限 = EngineProcess::Clock::now();
        std::string go = "go";
        if (残りms != nullptr) {
            go += " btime " + std::to_string(残りms[0]) + " wtime " + std::to_string(残りms[1]);
            if (時計_.加算ms > 0)
                go += " binc " + std::to_string(時計_.加算ms) + " winc " +
                      std::to_string(時計_.加算ms);
            if (時計_.秒読みms > 0 || 時計_.加算ms == 0)
                go += " byoyomi " + std::to_string(時計_.秒読みms);
            限 +=
                std::chrono::milliseconds(残りms[今.COM番 ? 1 : 0] + 時計_.秒読みms) + kLateOnClock;
        } else {
            go += " movetime " + std::to_string(時間ms_);
            限 += std::chrono::milliseconds(時間ms_) + kLate;
        }
        if (!健全_ || !子_.send(命) || !子_.send(go)) return 失敗("the engine died");
        std::optional<int> 評価;
        for (;;) {
            std::string 行;
            switch (子_.readLine(行, 限)) {
                case EngineProcess::Read::line:
                    break;
                case EngineProcess::Read::timeout:
                    return 失敗("no move from the engine in time");
                case EngineProcess::Read::closed:
                    return 失敗("the engine died");
                case EngineProcess::Read::tooLong:
                    return 失敗("garbage from the engine: a line without end");
            }
            const std::string 語 = firstWord(行);
            if (語 == "info")
                if (const auto v = score(行)) 評価 = v;
            if (語.empty() || 語 == "info") continue;
            if (語 != "bestmove") return 失敗("garbage from the engine: " + shown(行));
            if (評価) 記す(*評価, 今.手数);
            const std::size_t b = 行.find_first_not_of(" \t", 行.find("bestmove") + 8);
            const std::string 手 = b == std::string::npos ? "" : firstWord(行.substr(b));
            if (手 == "resign") {
                r.理由 = "resigned";
                return r;
            }
            std::string why;
            if (!表記の手(今, 手, r.手, why))
                return 失敗("bad move from the engine: " + shown(手) + " (" + why + ")");
            return r;
        }
    }

    void 指された(const 最善手& 手) override {
        手順_.push_back(手の表記(今_.局, 手));
        手を進める(今_, 手);
    }

    // How the game went in the engine's own eyes: its last score, its best and its worst, each
    // with the move it was given for.
    std::string 様子() const override {
        if (!峰_) return {};
        return "evaluation " + 評価の文(最後_) + " last, peak " + 評価の文(峰_->値) + " (move " +
               std::to_string(峰_->手) + "), low " + 評価の文(谷_->値) + " (move " +
               std::to_string(谷_->手) + ")";
    }

  private:
    void 記す(int v, int 手) {
        if (!峰_ || v > 峰_->値) 峰_ = 記録{v, 手};
        if (!谷_ || v < 谷_->値) 谷_ = 記録{v, 手};
        最後_ = v;
    }

    // Starts the program and introduces both sides; false with the reason when it fails.
    bool 起動(std::string& 理由) {
        子_.end(0ms);
        告げた人の側_ = {};
        if (!子_.start(命令_)) {
            理由 = "the engine could not be started";
            return false;
        }
        if (!子_.send("usi") || !待つ("usiok", kHandshake, 理由)) return false;
        if (スレッド数_ > 0 &&
            !子_.send("setoption name Threads value " + std::to_string(スレッド数_))) {
            理由 = "the engine died";
            return false;
        }
        return true;
    }

    // Reads until the line `語`, letting through what the protocol sends meanwhile.
    bool 待つ(std::string_view 語, std::chrono::milliseconds 待ち, std::string& 理由) {
        const auto 限 = EngineProcess::Clock::now() + 待ち;
        for (;;) {
            std::string 行;
            const EngineProcess::Read r = 子_.readLine(行, 限);
            if (r == EngineProcess::Read::timeout) {
                理由 = "no " + std::string(語) + " from the engine";
                return false;
            }
            if (r != EngineProcess::Read::line) {
                理由 = r == EngineProcess::Read::closed
                           ? "the engine died"
                           : "garbage from the engine: a line without end";
                return false;
            }
            const std::string w = firstWord(行);
            if (w == 語) return true;
            if (!w.empty() && w != "id" && w != "option" && w != "info") {
                理由 = "garbage from the engine: " + shown(行);
                return false;
            }
        }
    }

    応手 失敗(std::string 理由) {
        健全_ = false;
        応手 r;
        r.理由 = std::move(理由);
        return r;
    }

    std::string 命令_;
    int 時間ms_;
    持ち時間設定 時計_;
    int スレッド数_;
    EngineProcess 子_;
    bool 健全_ = false;        // started, and answering as the protocol says
    両側の範囲 人の側_;        // the sides to be held to a person's moves this game
    両側の範囲 告げた人の側_;  // what the running process was told
    std::string 開始SFEN_;
    std::vector<std::string> 手順_;
    局面と手番 今_;
    // The scores of the engine's moves this game, each for the side it moved for: the last, and
    // the highest and the lowest with the move each was given for.
    struct 記録 {
        int 値;
        int 手;
    };
    int 最後_ = 0;
    std::optional<記録> 峰_;
    std::optional<記録> 谷_;
};

}  // namespace

std::unique_ptr<対局者> エンジン対局者を作る(const std::string& 命令, int 時間ms,
                                             const 持ち時間設定& 時計, int スレッド数) {
    return std::make_unique<外部エンジン対局者>(命令, 時間ms, 時計, スレッド数);
}

}  // namespace kiryuza
