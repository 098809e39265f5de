#include "analyze.h"

#include <istream>
#include <memory>
#include <ostream>
#include <string>

#include "record/record_line.h"

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
    return (負 ? "-" : "") + std::to_string(a / 10) + "." + std::to_string(a % 10);
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
        if (r.誤り != 行誤り::なし) {
            out << "error " << 行番号 << ' ' << 行誤りの理由(r.誤り) << '\n';
            全て正常 = false;
            continue;
        }
        // A fresh engine for every position: every persistent map starts at 0.
        auto 局 = std::make_unique<局面>();
        for (int x = 1; x <= 9; ++x)
            for (int y = 1; y <= 9; ++y) 局->盤面[x][y] = r.データ.盤面[x][y];
        for (int k = 1; k <= 7; ++k) {
            局->持駒MAN[k] = r.データ.持駒MAN[k];
            局->持駒COM[k] = r.データ.持駒COM[k];
            局->持駒総数MAN += 局->持駒MAN[k];
            局->持駒総数COM += 局->持駒COM[k];
        }
        auto エンジン = std::make_unique<思考エンジン>(*局);
        エンジン->COMレベル = レベル;
        エンジン->勢力調査();
        const 最善手 m = エンジン->探索(候補表示 ? static_cast<探索観察&>(候補) : 無観察);
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

struct 指し手 {
    int 元X, 元Y, 先X, 先Y, 駒;
};

// The pseudo-player's legal moves, in a fixed order: board moves by origin column, origin row,
// destination column and row, always taking the change of form; then drops by hand index and
// destination. Returns the number of moves written to `手`.
constexpr int 手数最大 = 81 * 81 + 7 * 81;

int MANの手一覧(局面& 局, 指し手* 手) {
    調査_2歩フラグ設定(局);
    int n = 0;
    for (int ox = 1; ox <= 9; ++ox)
        for (int oy = 1; oy <= 9; ++oy) {
            const int c = 局.盤面[ox][oy];
            if (!MAN駒(c)) continue;
            for (int tx = 1; tx <= 9; ++tx)
                for (int ty = 1; ty <= 9; ++ty) {
                    if (移動チェック(局, ox, oy, tx, ty, c) != 定数_ON) continue;
                    int 駒 = c;
                    if (調査_駒成(局, ox, oy, tx, ty, c) == 定数_ON) 駒 = 局.駒成結果;
                    手[n++] = {ox, oy, tx, ty, 駒};
                }
        }
    for (int k = 1; k <= 7; ++k) {
        if (局.持駒MAN[k] <= 0) continue;
        for (int tx = 1; tx <= 9; ++tx)
            for (int ty = 1; ty <= 9; ++ty)
                if (移動チェック(局, 持駒列_MAN, k + 2, tx, ty, 打駒_MAN[k]) == 定数_ON) {
                    手[n++] = {持駒列_MAN, k + 2, tx, ty, 打駒_MAN[k]};
                }
    }
    return n;
}

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
    auto 手一覧 = std::make_unique<指し手[]>(手数最大);

    for (int ply = 1; ply <= 手数上限; ++ply) {
        if (ply % 2 == 1) {
            const int n = MANの手一覧(*局, 手一覧.get());
            if (n == 0) return;
            const std::uint64_t i = (種 * 7919u + static_cast<std::uint64_t>(ply) * 104729u) %
                                    static_cast<std::uint64_t>(n);
            const 指し手 m = 手一覧[i];
            駒移動(*局, 無表示, m.元X, m.元Y, m.先X, m.先Y, m.駒);
            手を出力(out, ply, "MAN", m);
            if (局->勝者 != 手番_なし) {
                out << "end MAN\n";
                return;
            }
        } else {
            エンジン->勢力調査();
            const 最善手 b = エンジン->探索(無観察);
            if (!b.有り) return;
            駒移動(*局, 無表示, b.元X, b.元Y, b.先X, b.先Y, b.駒);
            エンジン->勢力調査();
            手を出力(out, ply, "COM", {b.元X, b.元Y, b.先X, b.先Y, b.駒});
            if (局->勝者 != 手番_なし) {
                out << "end COM\n";
                return;
            }
        }
    }
}

}  // namespace kiryuza
