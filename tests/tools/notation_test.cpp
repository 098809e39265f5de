// The engine protocol's notation: every legal move of positions from random games, written and
// read back, is the same move, and no two moves share a text; every position read back from its
// SFEN is the same position; what is not a move or a position is refused with a reason.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "notation.h"
#include "tools/usi_support.h"

namespace kiryuza {
namespace {

using testing::乱局面;
using testing::全ての手;

bool 同じ手(const 最善手& a, const 最善手& b) {
    return a.有り == b.有り && a.元X == b.元X && a.元Y == b.元Y && a.先X == b.先X &&
           a.先Y == b.先Y && a.駒 == b.駒 && a.元駒 == b.元駒;
}

TEST(表記, 合法手はどれも書いて読めば同じ手で_表記は重ならない) {
    int 手の数 = 0;
    for (const 局面と手番& p : 乱局面(12, 160, 7)) {
        std::set<std::string> 表記;
        for (const 最善手& m : 全ての手(p)) {
            const std::string s = 手の表記(p.局, m);
            最善手 r;
            std::string why;
            ASSERT_TRUE(表記の手(p, s, r, why)) << s << ": " << why << " in " << SFENへ(p);
            ASSERT_TRUE(同じ手(r, m)) << s << " in " << SFENへ(p);
            ASSERT_TRUE(表記.insert(s).second) << "two moves written " << s;
            ++手の数;
        }
    }
    EXPECT_GT(手の数, 100000);
}

TEST(表記, 局面はSFENに書いて読めば同じ局面) {
    for (const 局面と手番& p : 乱局面(12, 160, 8)) {
        const std::string s = SFENへ(p);
        局面と手番 r;
        std::string why;
        ASSERT_TRUE(SFENから(s, r, why)) << s << ": " << why;
        ASSERT_EQ(std::memcmp(r.局.盤面, p.局.盤面, sizeof r.局.盤面), 0) << s;
        ASSERT_EQ(std::memcmp(r.局.持駒MAN, p.局.持駒MAN, sizeof r.局.持駒MAN), 0) << s;
        ASSERT_EQ(std::memcmp(r.局.持駒COM, p.局.持駒COM, sizeof r.局.持駒COM), 0) << s;
        ASSERT_EQ(r.COM番, p.COM番) << s;
        ASSERT_EQ(r.手数, p.手数) << s;
    }
}

// The starting position as docs/ENGINE.md gives it.
TEST(表記, 開始局面のSFEN) {
    EXPECT_EQ(SFENへ(開始局面()),
              "+l+n+sgkg+s+n+l/1+r5+b1/+p+p+p+p+p+p+p+p+p/9/9/9/+P+P+P+P+P+P+P+P+P/1+B5+R1/"
              "+L+N+SGKG+S+N+L b - 1");
}

// A square named in a move is the square of that name in the SFEN: a gold dropped on each square
// in turn shows up where the SFEN's ranks and files put that name.
TEST(表記, 手の桝とSFENの桝は同じ名前) {
    for (char 筋 = '1'; 筋 <= '9'; ++筋)
        for (char 段 = 'a'; 段 <= 'i'; ++段) {
            const std::string 桝{筋, 段};
            // The kings in two corners, away from the gold.
            const bool 角 = 桝 == "1a" || 桝 == "9i";
            局面と手番 p;
            std::string why;
            ASSERT_TRUE(
                SFENから(角 ? "k8/9/9/9/9/9/9/9/8K b G" : "8k/9/9/9/9/9/9/9/K8 b G", p, why));
            最善手 m;
            ASSERT_TRUE(表記の手(p, "G*" + 桝, m, why)) << 桝 << ": " << why;
            手を進める(p, m);
            // Spell the SFEN's board out: rank by rank from a, each from file 9 to file 1.
            const std::string s = SFENへ(p);
            std::string 段の列[9];
            int r = 0;
            for (const char c : s.substr(0, s.find(' '))) {
                if (c == '/') {
                    ++r;
                } else if (c >= '1' && c <= '9') {
                    段の列[r] += std::string(static_cast<std::size_t>(c - '0'), '.');
                } else {
                    段の列[r] += c;
                }
            }
            EXPECT_EQ(段の列[段 - 'a'][static_cast<std::size_t>('9' - 筋)], 'G') << 桝 << ": " << s;
        }
}

TEST(表記, 規則にない手と形の言い違いは理由付きで断る) {
    // Lower side to move: a promoted pawn that may enter the far zone, a promoted knight that
    // stays out of it, a plain pawn, a gold and a pawn in hand.
    const char* 局 = "4k4/9/9/4+P4/9/9/2+N2P3/9/4K4 b GP 1";
    struct 例 {
        const char* 手;
        const char* 理由;
    };
    const 例 例表[] = {
        {"", "not a move"},
        {"5d", "not a move"},
        {"5d5c+x", "not a move"},
        {"0a5c", "not a move"},
        {"5d5j", "not a move"},
        {"5e5d", "no piece of the side to move"},
        {"5a5b", "no piece of the side to move"},
        {"5d5b", "cannot go there"},
        {"5d5c", "either form"},
        {"7g7f+", "form is forced"},
        {"7g7f=", "form is forced"},
        {"K*5e", "not a drop"},
        {"g*5e", "not a drop"},
        {"G*5e+", "not a drop"},
        {"S*5e", "no such piece in hand"},
        {"G*5d", "cannot go there"},
    };
    局面と手番 p;
    std::string why;
    ASSERT_TRUE(SFENから(局, p, why)) << why;
    for (const 例& e : 例表) {
        最善手 m;
        why.clear();
        EXPECT_FALSE(表記の手(p, e.手, m, why)) << e.手;
        EXPECT_NE(why.find(e.理由), std::string::npos) << e.手 << ": " << why;
    }
    // Both forms are written and read; the pawn dropped lands promoted, so it may stand in a
    // column with a pawn of its own and on the last rank.
    for (const char* 手 : {"5d5c+", "5d5c=", "7g7f", "P*5c", "P*4a"}) {
        最善手 m;
        EXPECT_TRUE(表記の手(p, 手, m, why)) << 手 << ": " << why;
    }
    最善手 m;
    ASSERT_TRUE(表記の手(p, "5d5c+", m, why));
    EXPECT_EQ(m.駒, 駒_MANと);
    ASSERT_TRUE(表記の手(p, "5d5c=", m, why));
    EXPECT_EQ(m.駒, 駒_MAN歩);
    // Once a king is taken the game is over.
    ASSERT_TRUE(SFENから("4k4/4+P4/9/9/9/9/9/9/4K4 b - 1", p, why)) << why;
    ASSERT_TRUE(表記の手(p, "5b5a+", m, why)) << why;
    手を進める(p, m);
    EXPECT_FALSE(表記の手(p, "5a4a", m, why));
    EXPECT_NE(why.find("game is over"), std::string::npos) << why;
}

TEST(表記, 壊れたSFENは理由付きで断り_局面を変えない) {
    struct 例 {
        const char* SFEN;
        const char* 理由;
    };
    const 例 例表[] = {
        {"", "3 or 4 fields"},
        {"4k4/9/9/9/9/9/9/9/4K4 b - 1 2", "3 or 4 fields"},
        {"4k4/9/9/9/9/9/9/4K4 b - 1", "9 ranks"},
        {"4k4/9/9/9/9/9/9/9/9/4K4 b - 1", "more than 9 ranks"},
        {"4k5/9/9/9/9/9/9/9/4K4 b - 1", "too long"},
        {"4k3/9/9/9/9/9/9/9/4K4 b - 1", "not 9 squares"},
        {"4k+g3/9/9/9/9/9/9/9/4K4 b - 1", "not a piece"},
        {"4k+k3/9/9/9/9/9/9/9/4K4 b - 1", "not a piece"},
        {"4kx3/9/9/9/9/9/9/9/4K4 b - 1", "not a piece"},
        {"4k4/9/9/9/9/9/9/9/4K4 x - 1", "b or w"},
        {"4k4/9/9/9/9/9/9/9/4K4 b 0P 1", "bad count"},
        {"4k4/9/9/9/9/9/9/9/4K4 b 2 1", "names no piece"},
        {"4k4/9/9/9/9/9/9/9/4K4 b K 1", "not a piece in hand"},
        {"4k4/9/9/9/9/9/9/9/4K4 b 19P 1", "more pieces"},
        {"4k4/9/9/9/9/9/9/9/4K4 b 3B 1", "more pieces"},
        {"4k4/9/9/9/9/9/9/9/4KK3 b - 1", "one king"},
        {"9/9/9/9/9/9/9/9/4K4 b - 1", "one king"},
        {"4k4/9/9/9/9/9/9/9/4K4 b - 0", "move number"},
        {"4k4/9/9/9/9/9/9/9/4K4 b - 1x", "move number"},
    };
    const 局面と手番 元 = 開始局面();
    for (const 例& e : 例表) {
        局面と手番 p = 元;
        std::string why;
        EXPECT_FALSE(SFENから(e.SFEN, p, why)) << e.SFEN;
        EXPECT_NE(why.find(e.理由), std::string::npos) << e.SFEN << ": " << why;
        EXPECT_EQ(SFENへ(p), SFENへ(元)) << e.SFEN;
    }
    // The move number may be left out; it is then 1.
    局面と手番 p;
    std::string why;
    ASSERT_TRUE(SFENから("4k4/9/9/9/9/9/9/9/4K4 w 2p", p, why)) << why;
    EXPECT_EQ(SFENへ(p), "4k4/9/9/9/9/9/9/9/4K4 w 2p 1");
}

}  // namespace
}  // namespace kiryuza
