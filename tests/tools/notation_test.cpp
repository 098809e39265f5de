// The engine protocol's notation: every position of random games and every legal move there,
// written and read back, is itself, and no two moves share a text; square names agree between
// moves and SFEN; what is not a move or a position is refused with a reason.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "notation.h"
#include "tools/usi_support.h"

namespace kiryuza {
namespace {

TEST(表記, 局面も合法手も書いて読めば同じで_手の表記は重ならない) {
    int 手の数 = 0;
    for (const 局面と手番& p : testing::乱局面(12, 160, 7)) {
        const std::string sfen = SFENへ(p);
        局面と手番 r;
        std::string why;
        ASSERT_TRUE(SFENから(sfen, r, why)) << sfen << ": " << why;
        ASSERT_TRUE(std::memcmp(r.局.盤面, p.局.盤面, sizeof r.局.盤面) == 0 &&
                    std::memcmp(r.局.持駒MAN, p.局.持駒MAN, sizeof r.局.持駒MAN) == 0 &&
                    std::memcmp(r.局.持駒COM, p.局.持駒COM, sizeof r.局.持駒COM) == 0 &&
                    r.COM番 == p.COM番 && r.手数 == p.手数)
            << sfen;
        std::set<std::string> 表記;
        for (const 最善手& m : testing::全ての手(p)) {
            const std::string s = 手の表記(p.局, m);
            最善手 b;
            ASSERT_TRUE(表記の手(p, s, b, why)) << s << ": " << why << " in " << sfen;
            ASSERT_TRUE(b.元X == m.元X && b.元Y == m.元Y && b.先X == m.先X && b.先Y == m.先Y &&
                        b.駒 == m.駒 && b.元駒 == m.元駒)
                << s << " in " << sfen;
            ASSERT_TRUE(表記.insert(s).second) << "two moves written " << s << " in " << sfen;
            ++手の数;
        }
    }
    EXPECT_GT(手の数, 100000);
}

// As docs/ENGINE.md gives it.
TEST(表記, 開始局面のSFEN) {
    EXPECT_EQ(SFENへ(開始局面()),
              "+l+n+sgkg+s+n+l/1+r5+b1/+p+p+p+p+p+p+p+p+p/9/9/9/+P+P+P+P+P+P+P+P+P/1+B5+R1/"
              "+L+N+SGKG+S+N+L b - 1");
}

// A gold dropped on each square in turn stands where the SFEN's ranks (a first) and files (9
// first) put that square's name.
TEST(表記, 手の桝とSFENの桝は同じ名前) {
    for (char 筋 = '1'; 筋 <= '9'; ++筋)
        for (char 段 = 'a'; 段 <= 'i'; ++段) {
            const std::string 桝{筋, 段};
            const bool 角 = 桝 == "1a" || 桝 == "9i";  // keep the kings off the gold's square
            局面と手番 p;
            std::string why;
            ASSERT_TRUE(
                SFENから(角 ? "k8/9/9/9/9/9/9/9/8K b G" : "8k/9/9/9/9/9/9/9/K8 b G", p, why));
            最善手 m;
            ASSERT_TRUE(表記の手(p, "G*" + 桝, m, why)) << 桝 << ": " << why;
            手を進める(p, m);
            std::string 盤;  // the SFEN's board with its digits spelt out as dots
            for (const char c : SFENへ(p)) {
                if (c == ' ') break;
                if (c >= '1' && c <= '9') 盤 += std::string(static_cast<std::size_t>(c - '0'), '.');
                if (c < '1' || c > '9') 盤 += c;
            }
            EXPECT_EQ(盤[static_cast<std::size_t>((段 - 'a') * 10 + ('9' - 筋))], 'G') << 桝;
        }
}

TEST(表記, 規則にない手と形の言い違いは理由付きで断る) {
    // Lower side to move: a promoted pawn that may enter the far zone, a promoted knight that
    // stays out of it, a plain pawn, a gold and a pawn in hand.
    局面と手番 p;
    std::string why;
    ASSERT_TRUE(SFENから("4k4/9/9/4+P4/9/9/2+N2P3/9/4K4 b GP 1", p, why)) << why;
    const std::pair<const char*, const char*> 例表[] = {
        {"", "not a move"},
        {"5d5c+x", "not a move"},
        {"0a5c", "not a move"},
        {"5e5d", "no piece of the side to move"},
        {"5d5b", "cannot go there"},
        {"5d5c", "either form"},
        {"7g7f+", "form is forced"},
        {"K*5e", "not a drop"},
        {"S*5e", "no such piece in hand"},
        {"G*5d", "cannot go there"},
    };
    最善手 m;
    for (const auto& [手, 理由] : 例表) {
        why.clear();
        EXPECT_FALSE(表記の手(p, 手, m, why)) << 手;
        EXPECT_NE(why.find(理由), std::string::npos) << 手 << ": " << why;
    }
    // "+" keeps the promoted form, "=" takes the plain one; a pawn lands promoted, so it may
    // go into a column with a plain pawn of its own and onto the last rank.
    ASSERT_TRUE(表記の手(p, "5d5c+", m, why));
    EXPECT_EQ(m.駒, 駒_MANと);
    ASSERT_TRUE(表記の手(p, "5d5c=", m, why));
    EXPECT_EQ(m.駒, 駒_MAN歩);
    for (const char* 手 : {"7g7f", "P*5c", "P*4a"}) EXPECT_TRUE(表記の手(p, 手, m, why)) << 手;
    // Once a king is taken the game is over.
    ASSERT_TRUE(SFENから("4k4/4+P4/9/9/9/9/9/9/4K4 b - 1", p, why)) << why;
    ASSERT_TRUE(表記の手(p, "5b5a+", m, why)) << why;
    手を進める(p, m);
    EXPECT_FALSE(表記の手(p, "5a4a", m, why));
    EXPECT_NE(why.find("game is over"), std::string::npos) << why;
}

TEST(表記, 壊れたSFENは理由付きで断り_局面を変えない) {
    const std::pair<const char*, const char*> 例表[] = {
        {"", "3 or 4 fields"},
        {"4k4/9/9/9/9/9/9/4K4 b - 1", "9 ranks"},
        {"4k4/9/9/9/9/9/9/9/9/4K4 b - 1", "more than 9 ranks"},
        {"4k5/9/9/9/9/9/9/9/4K4 b - 1", "too long"},
        {"4k3/9/9/9/9/9/9/9/4K4 b - 1", "not 9 squares"},
        {"4k+g3/9/9/9/9/9/9/9/4K4 b - 1", "not a piece"},
        {"4k4/9/9/9/9/9/9/9/4K4 x - 1", "b or w"},
        {"4k4/9/9/9/9/9/9/9/4K4 b 0P 1", "bad count"},
        {"4k4/9/9/9/9/9/9/9/4K4 b K 1", "not a piece in hand"},
        {"4k4/9/9/9/9/9/9/9/4K4 b 19P 1", "more pieces"},
        {"4k4/9/9/9/9/9/9/9/4KK3 b - 1", "one king"},
        {"4k4/9/9/9/9/9/9/9/4K4 b - 0", "move number"},
    };
    for (const auto& [sfen, 理由] : 例表) {
        局面と手番 p = 開始局面();
        std::string why;
        EXPECT_FALSE(SFENから(sfen, p, why)) << sfen;
        EXPECT_NE(why.find(理由), std::string::npos) << sfen << ": " << why;
        EXPECT_EQ(SFENへ(p), SFENへ(開始局面())) << sfen;
    }
    局面と手番 p;  // the move number may be left out
    std::string why;
    ASSERT_TRUE(SFENから("4k4/9/9/9/9/9/9/9/4K4 w 2p", p, why)) << why;
    EXPECT_EQ(SFENへ(p), "4k4/9/9/9/9/9/9/9/4K4 w 2p 1");
}

}  // namespace
}  // namespace kiryuza
