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
