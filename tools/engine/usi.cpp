#include "usi.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

#include "engine/deep_board.h"
#include "engine/time_budget.h"
#include "interfaces/product.h"

namespace kiryuza {

namespace {

struct SpinOption {
    std::string_view name;
    int defaultValue;
    int min;
    int max;
};
constexpr SpinOption kThreads{"Threads", 1, 1, 256};
constexpr SpinOption kHash{"Hash", 16, 1, 4096};
constexpr SpinOption kMultiPV{"MultiPV", 1, 1, 読み筋最大数};
constexpr SpinOption kOptions[] = {kThreads, kHash, kMultiPV};

// The sides whose moves a person enters, who always takes the change of form: none, the lower
// side (sente, b), the upper side (gote, w) or both, as 両側の範囲 holds them.
constexpr std::string_view kPersonSide = "PersonSide";
constexpr std::string_view kPersonValues[] = {"none", "sente", "gote", "both"};

bool number(std::string_view s, std::int64_t& v) {
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && end == s.data() + s.size();
}

int toInt(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, 0, INT_MAX));
}

std::vector<std::string_view> split(std::string_view s) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < s.size()) {
        if (s[i] == ' ' || s[i] == '\t') {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < s.size() && s[j] != ' ' && s[j] != '\t') ++j;
        words.push_back(s.substr(i, j - i));
        i = j;
    }
    return words;
}

std::string join(const std::vector<std::string_view>& w, std::size_t from, std::size_t to) {
    std::string s;
    for (std::size_t i = from; i < to; ++i) {
        if (i > from) s += ' ';
        s += w[i];
    }
    return s;
}

// A score for the side to move: a win or loss as the number of plies until a king is taken
// (negative when it is the mover's own), anything else in hundredths of a pawn.
std::string scoreText(int v) {
    if (std::abs(v) < 深読み勝ち境界) return "cp " + std::to_string(v);
    const int plies = 深読み勝ち - std::abs(v) + 1;
    return "mate " + std::to_string(v > 0 ? plies : -plies);
}

}  // namespace

UsiSession::UsiSession(std::ostream& out)
    : out_(out), service_(static_cast<std::size_t>(kHash.defaultValue)) {}

UsiSession::~UsiSession() {
    service_.stop();
    service_.wait();
}

void UsiSession::say(std::string_view text) {
    std::lock_guard lock(outMutex_);
    out_ << text << '\n';
    out_.flush();
}

bool UsiSession::handle(std::string_view text) {
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    const Words w = split(text);
    if (w.empty()) return true;
    const std::string_view c = w[0];
    if (c == "usi") {
        usi();
    } else if (c == "isready") {
        prepare();
        say("readyok");
    } else if (c == "setoption") {
        setOption(w);
    } else if (c == "usinewgame") {
        service_.newGame();
    } else if (c == "position") {
        position(w);
    } else if (c == "go") {
        go(w);
    } else if (c == "stop" || c == "gameover") {
        service_.stop();
        service_.wait();
    } else if (c == "quit") {
        service_.stop();
        service_.wait();
        return false;
    } else if (c == "sfen") {
        say("info string sfen " + SFENへ(position_));
    } else {
        say("info string unknown command: " + std::string(c));
    }
    return true;
}

void UsiSession::usi() {
    say("id name " + std::string(製品名) + " " + std::string(版));
    say("id author Kiryuza developers");
    for (const SpinOption& o : kOptions)
        say("option name " + std::string(o.name) + " type spin default " +
            std::to_string(o.defaultValue) + " min " + std::to_string(o.min) + " max " +
            std::to_string(o.max));
    std::string person = "option name " + std::string(kPersonSide) + " type combo default none";
    for (const std::string_view v : kPersonValues) person += " var " + std::string(v);
    say(person);
    say("usiok");
}

// setoption name <name> value <value>
void UsiSession::setOption(const Words& w) {
    const auto valueAt = std::find(w.begin(), w.end(), std::string_view("value"));
    if (w.size() < 3 || w[1] != "name" || valueAt == w.end()) {
        say("info string setoption: expected: setoption name <name> value <value>");
        return;
    }
    const std::size_t v = static_cast<std::size_t>(valueAt - w.begin());
    const std::string name = join(w, 2, v);
    const std::string value = join(w, v + 1, w.size());
    if (name == kPersonSide) {
        const auto at = std::find(std::begin(kPersonValues), std::end(kPersonValues), value);
        if (at == std::end(kPersonValues)) {
            say("info string setoption: PersonSide takes none, sente, gote or both");
            return;
        }
        const int n = static_cast<int>(at - std::begin(kPersonValues));
        persons_.MAN = (n & 1) != 0 ? 手の範囲::人の手 : 手の範囲::全て;
        persons_.COM = (n & 2) != 0 ? 手の範囲::人の手 : 手の範囲::全て;
        return;
    }
    const auto o = std::find_if(std::begin(kOptions), std::end(kOptions),
                                [&](const SpinOption& x) { return x.name == name; });
    if (o == std::end(kOptions)) {
        say("info string setoption: no option " + name);
        return;
    }
    std::int64_t n = 0;
    if (!number(value, n) || n < o->min || n > o->max) {
        say("info string setoption: " + name + " takes a number from " + std::to_string(o->min) +
            " to " + std::to_string(o->max));
        return;
    }
    if (o->name == kThreads.name) service_.setThreads(static_cast<int>(n));
    if (o->name == kHash.name) service_.setHash(static_cast<std::size_t>(n));
    if (o->name == kMultiPV.name) multiPV_ = static_cast<int>(n);
}

// position (startpos | sfen <board> <side> <hands> [<move number>]) [moves <move> ...]
void UsiSession::position(const Words& w) {
    const auto movesAt = std::find(w.begin(), w.end(), std::string_view("moves"));
    const std::size_t m = static_cast<std::size_t>(movesAt - w.begin());
    局面と手番 p;
    if (w.size() >= 2 && w[1] == "startpos" && m == 2) {
        p = 開始局面();
    } else if (w.size() >= 2 && w[1] == "sfen") {
        std::string why;
        if (!SFENから(join(w, 2, m), p, why)) {
            say("info string position: bad SFEN (" + why + "); the position is unchanged");
            return;
        }
    } else {
        say("info string position: expected startpos or sfen, then moves; the position is "
            "unchanged");
        return;
    }
    std::vector<std::uint64_t> 通った;
    for (std::size_t i = m + 1; i < w.size(); ++i) {
        最善手 move;
        std::string why;
        const std::uint64_t 鍵 = 局面の鍵(p.局, p.COM番);
        if (!表記の手(p, w[i], move, why)) {
            say("info string illegal move " + std::string(w[i]) + " (move " +
                std::to_string(i - m) + " of the list): " + why +
                "; the position stands before it");
            break;
        }
        通った.push_back(鍵);
        手を進める(p, move);
    }
    position_ = p;
    passed_ = std::move(通った);
}

// go [movetime T] [btime B wtime W [byoyomi Y] [binc I winc J]] [depth D] [nodes N]
//    [mate T|infinite] [infinite]
void UsiSession::go(const Words& w) {
    if (service_.searching()) {
        say("info string go: a search is running; stop it first");
        return;
    }
    service_.wait();                   // the last search may still be writing its result
    std::int64_t clock[2] = {-1, -1};  // the lower side's, the upper side's
    std::int64_t inc[2] = {0, 0};
    std::int64_t byoyomi = 0;
    std::int64_t movetime = -1;
    std::int64_t depth = 0;
    std::int64_t nodes = 0;
    std::int64_t mateMs = -1;
    bool infinite = false;
    bool mate = false;
    for (std::size_t i = 1; i < w.size(); ++i) {
        const std::string_view key = w[i];
        if (key == "infinite") {
            infinite = true;
            continue;
        }
        std::int64_t* target = key == "btime"      ? &clock[0]
                               : key == "wtime"    ? &clock[1]
                               : key == "binc"     ? &inc[0]
                               : key == "winc"     ? &inc[1]
                               : key == "byoyomi"  ? &byoyomi
                               : key == "movetime" ? &movetime
                               : key == "depth"    ? &depth
                               : key == "nodes"    ? &nodes
                               : key == "mate"     ? &mateMs
                                                   : nullptr;
        if (target == nullptr) {
            say("info string go: " + std::string(key) + " is not supported; ignored");
            continue;
        }
        mate = mate || target == &mateMs;
        std::int64_t n = 0;
        if (i + 1 < w.size() && target == &mateMs && w[i + 1] == "infinite") {
            ++i;
        } else if (i + 1 < w.size() && number(w[i + 1], n) && n >= 0) {
            *target = n;
            ++i;
        } else {
            say("info string go: " + std::string(key) + " needs a number; ignored");
        }
    }
    if (!対局中(position_.局)) {
        say("info string the game is over: a king has been taken");
        say(mate ? "checkmate nomate" : "bestmove resign");
        return;
    }
    深読み設定 limits;
    limits.時間ms = 0;
    limits.深さ上限 = toInt(depth);
    limits.節点上限 = static_cast<std::uint64_t>(nodes);
    limits.候補数 = multiPV_;
    if (mate) {
        goMate(limits, mateMs < 0 ? 0 : toInt(std::max<std::int64_t>(mateMs, 1)));
        return;
    }
    const int side = position_.COM番 ? 1 : 0;
    int hardLimitMs = 0;
    if (movetime >= 0) {
        limits.時間ms = hardLimitMs = toInt(std::max<std::int64_t>(movetime, 1));
    } else if (clock[side] >= 0 || byoyomi > 0 || inc[side] > 0) {
        const 考慮時間 t = 考慮時間を決める(std::max<std::int64_t>(clock[side], 0), byoyomi,
                                            inc[side], position_.手数);
        limits.時間ms = toInt(t.目安ms);
        hardLimitMs = toInt(t.上限ms);
    }
    // Without any limit the search goes on until stop, as with infinite.
    const bool hold = infinite || (limits.時間ms == 0 && depth == 0 && nodes == 0);
    if (hold) {
        limits = {};
        limits.時間ms = 0;
        limits.候補数 = multiPV_;
        hardLimitMs = 0;
    }
    mateMode_ = false;
    startSearch(limits, hardLimitMs, hold);
}

void UsiSession::goMate(const 深読み設定& limits, int timeMs) {
    深読み設定 s = limits;
    s.時間ms = timeMs;
    mateMode_ = true;
    startSearch(s, timeMs, false);
}

void UsiSession::prepare() {
    if (!service_.prepare()) say("info string Hash: not enough memory; the table has 1 MB");
}

void UsiSession::startSearch(const 深読み設定& limits, int hardLimitMs, bool holdUntilStop) {
    prepare();
    searchRoot_ = position_;
    searchLines_ = limits.候補数;
    SearchService::Request r;
    r.局 = position_.局;
    r.COM側 = position_.COM番;
    r.設定 = limits;
    r.設定.範囲 = persons_;
    r.hardLimitMs = hardLimitMs;
    r.holdUntilStop = holdUntilStop;
    r.既出鍵 = passed_;
    r.mate = mateMode_;
    service_.start(r, *this);
}

void UsiSession::line(const 深読み読み筋& 筋) {
    std::string s =
        "info depth " + std::to_string(筋.深さ) + " seldepth " + std::to_string(筋.選択深さ);
    if (searchLines_ > 1) s += " multipv " + std::to_string(筋.番号);
    const double ms = 筋.秒 * 1000;
    s += " score " + scoreText(筋.評価) + " nodes " + std::to_string(筋.節点数) + " nps " +
         std::to_string(筋.秒 > 0 ? static_cast<std::uint64_t>(筋.節点数 / 筋.秒) : 0) + " time " +
         std::to_string(std::llround(ms)) + " pv";
    // Each move is read back before it is written, so that a line never shows a move the
    // rules would refuse; the line ends where one would be.
    局面と手番 walk = searchRoot_;
    for (int i = 0; i < 筋.手数; ++i) {
        const std::string text = 手の表記(walk.局, 筋.手[i]);
        最善手 m;
        std::string why;
        if (!表記の手(walk, text, m, why)) break;
        s += ' ' + text;
        手を進める(walk, m);
    }
    say(s);
}

// The mate solver's answer: the mating line, "nomate" when it proved there is none within its
// plies, "timeout" when time or a stop came first.
void UsiSession::mateFinished(const 詰み結果& 結果) {
    if (結果.判定 == 詰み判定::不詰) {
        say("checkmate nomate");
        return;
    }
    if (結果.判定 != 詰み判定::詰み) {
        say("checkmate timeout");
        return;
    }
    std::string s = "checkmate";
    局面と手番 walk = searchRoot_;
    for (int i = 0; i < 結果.手順長; ++i) {
        s += ' ' + 手の表記(walk.局, 結果.手順[i]);
        手を進める(walk, 結果.手順[i]);
    }
    say(s);
}

void UsiSession::finished(const 深読み結果& 結果) {
    if (!結果.手.有り) {
        say("bestmove resign");
    } else {
        say("bestmove " + 手の表記(searchRoot_.局, 結果.手));
    }
}

}  // namespace kiryuza
