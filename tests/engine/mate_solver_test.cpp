// The mate solver on the set of mating positions (tests/data/mate/mates.txt), checked against an
// exhaustive AND/OR search written here over the rules alone (合法手一覧, 調査_駒成, 駒移動,
// 移動チェック): the length of the short mates of the set and of positions from random games,
// every line move by move, no mate where there is none, and the limits and a stop from another
// thread.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "engine/mate_solver.h"
#include "rules_oracle.h"
#include "support/mate_set.h"

namespace kiryuza {
namespace {

using testing::手の形;
using testing::指した後;
using testing::規則にある手;
using testing::詰み問題;

// Exhaustive search: the attacker tries every move in every form the rules allow (a side held
// to a person's moves only the form the mouse leaves), a move that leaves it able to take the
// king is a check, and the defender tries every move; a defence is a move after which its king
// cannot be taken. Move lists are kept per ply.
class 総当たり {
  public:
    explicit 総当たり(bool 攻COM, 両側の範囲 範囲 = {}) : 攻COM_(攻COM), 範囲_(範囲) {}

    // True when side `COM側` could take the other side's king at once.
    static bool 王に届く(const 局面& 局, bool COM側) {
        const int 王 = COM側 ? 駒_MAN王 : 駒_COM王;
        int kx = 0;
        int ky = 0;
        for (int x = 1; x <= 9; ++x)
            for (int y = 1; y <= 9; ++y)
                if (局.盤面[x][y] == 王) kx = x, ky = y;
        if (kx == 0) return false;
        for (int x = 1; x <= 9; ++x)
            for (int y = 1; y <= 9; ++y) {
                const int c = 局.盤面[x][y];
                if ((COM側 ? COM駒(c) : MAN駒(c)) && 移動チェック(局, x, y, kx, ky, c) == 定数_ON)
                    return true;
            }
        return false;
    }

    // Every move of a side with the forms it may choose, for `f` until it returns true.
    template <class F>
    bool どれか(局面 局, bool COM側, int ply, F f) {
        std::vector<指し手>& 一覧 = 手_[static_cast<std::size_t>(ply)];
        一覧.resize(合法手最大数);
        const int n = 合法手一覧(局, COM側, 一覧.data());
        for (int i = 0; i < n; ++i) {
            指し手 m = 一覧[i];
            const bool 打 = m.元X == 持駒列_COM || m.元X == 持駒列_MAN;
            const bool 変わる = !打 && 調査_駒成(局, m.元X, m.元Y, m.先X, m.先Y, m.駒) == 定数_ON;
            const bool 人 = 範囲_.側(COM側) == 手の範囲::人の手;
            if (!(変わる && 人) && f(m)) return true;
            if (変わる) {
                m.駒 = 局.駒成結果;
                if (f(m)) return true;
            }
        }
        return false;
    }

    // True when the attacker, to move, mates within `d` plies.
    bool 詰む(const 局面& 局, int d, int ply = 0) {
        if (d < 1) return false;
        return どれか(局, 攻COM_, ply, [&](const 指し手& m) {
            const 局面 後 = 指した後(局, m);
            if (後.勝者 != 手番_なし) return true;
            return 王に届く(後, 攻COM_) && !逃れる(後, d - 1, ply + 1);
        });
    }

    // True when the defender, to move after a check, has a defence that is not mated within
    // `d` plies, or takes the attacker's king.
    bool 逃れる(const 局面& 局, int d, int ply = 0) {
        if (王に届く(局, !攻COM_)) return true;
        return どれか(局, !攻COM_, ply, [&](const 指し手& m) {
            const 局面 次 = 指した後(局, m);
            return !王に届く(次, 攻COM_) && !詰む(次, d - 1, ply + 1);
        });
    }

    // The defender's moves after which its king cannot be taken.
    std::vector<指し手> 受け(const 局面& 局) {
        std::vector<指し手> 結果;
        どれか(局, !攻COM_, 0, [&](const 指し手& m) {
            if (!王に届く(指した後(局, m), 攻COM_)) 結果.push_back(m);
            return false;
        });
        return 結果;
    }

  private:
    bool 攻COM_;
    両側の範囲 範囲_;
    std::vector<指し手> 手_[16];
};

const std::vector<詰み問題>& 問題集() {
    static const std::vector<詰み問題> 集 = testing::詰み問題集(KIRYUZA_MATES);
    return 集;
}

// A node limit far above what any position here needs, so that a fault fails instead of hanging.
詰み設定 設定(int 最大手数, std::uint64_t 節点上限 = 2000000) {
    詰み設定 s;
    s.最大手数 = 最大手数;
    s.節点上限 = 節点上限;
    return s;
}

class 詰み探索テスト : public ::testing::Test {
  protected:
    std::unique_ptr<詰み探索> 探索 = std::make_unique<詰み探索>(16);
};

TEST_F(詰み探索テスト, 問題集には長さごとに詰みと不詰がある) {
    int 数[12]{};
    for (const 詰み問題& p : 問題集()) ++数[p.手数 <= 11 ? p.手数 : 1];
    for (int L = 3; L <= 11; L += 2) EXPECT_GE(数[L], 3) << L << " plies";
    EXPECT_GE(数[0], 3);
    EXPECT_EQ(数[1], 0);
}

// The exhaustive search agrees on the short mates: a mate within the length, none within two
// plies less; the solver finds that length.
TEST_F(詰み探索テスト, 短い詰みの手数は総当たりと同じ) {
    for (const 詰み問題& p : 問題集()) {
        if (p.手数 == 0 || p.手数 > 5) continue;
        SCOPED_TRACE("line " + std::to_string(p.行番号));
        総当たり 全(p.COM側);
        EXPECT_TRUE(全.詰む(p.局, p.手数));
        EXPECT_FALSE(全.詰む(p.局, p.手数 - 2));
        const 詰み結果 r = 探索->探す(p.局, p.COM側, 設定(31));
        EXPECT_EQ(r.判定, 詰み判定::詰み);
        EXPECT_EQ(r.手数, p.手数);
    }
}

// Every line is played by the rules: each attacking move a legal check, each defence a legal
// move that keeps the king, and no defence after the last check. Near the end of the line the
// exhaustive search confirms that every other defence is mated as soon and the chosen one
// lasts the whole line. A king that can be taken at once is taken, as a mate of one ply.
TEST_F(詰み探索テスト, 詰み筋は規則どおりで最後まで逃げる) {
    for (const 詰み問題& p : 問題集()) {
        if (p.手数 == 0) continue;
        SCOPED_TRACE("line " + std::to_string(p.行番号));
        // Limited to two plies less first: what that search leaves in the table must not
        // hide the mate from the next one.
        探索->初期化();
        EXPECT_EQ(探索->探す(p.局, p.COM側, 設定(p.手数 - 2)).判定, 詰み判定::不詰);
        const 詰み結果 r = 探索->探す(p.局, p.COM側, 設定(31));
        ASSERT_EQ(r.判定, 詰み判定::詰み);
        EXPECT_EQ(r.手数, p.手数);
        EXPECT_TRUE(r.最短);
        ASSERT_EQ(r.手順長, r.手数);
        総当たり 全(p.COM側);
        局面 局 = p.局;
        for (int i = 0; i < r.手順長; ++i) {
            const bool 攻め = i % 2 == 0;
            const bool 側 = 攻め == p.COM側;
            ASSERT_TRUE(規則にある手(局, 側, r.手順[i])) << "ply " << i;
            const 局面 後 = 指した後(局, 手の形(r.手順[i]));
            ASSERT_EQ(総当たり::王に届く(後, p.COM側), 攻め) << "ply " << i;
            if (i == 0) {
                // Were the defender to pass, the attacker would take the king: a mate of one.
                const 詰み結果 取る = 探索->探す(後, p.COM側, 設定(1));
                ASSERT_EQ(取る.判定, 詰み判定::詰み);
                EXPECT_EQ(取る.手数, 1);
                EXPECT_NE(指した後(後, 手の形(取る.手順[0])).勝者, 手番_なし);
            }
            const int 残り = r.手数 - i - 1;  // plies of the line after this move
            if (!攻め && 残り <= 3) {
                for (const 指し手& m : 全.受け(局))
                    EXPECT_TRUE(全.詰む(指した後(局, m), 残り)) << "ply " << i;
                EXPECT_FALSE(全.詰む(後, 残り - 2)) << "ply " << i;
            }
            局 = 後;
        }
        EXPECT_FALSE(全.逃れる(局, 0));
    }
}

// Positions from random games, where both kings stand open and a check may leave the checker's
// own king to be taken: the solver mates within one and three plies exactly where the
// exhaustive search does, also with the attacker or the defender held to a person's moves.
TEST_F(詰み探索テスト, 乱戦でも短い詰みは総当たりと同じ) {
    std::mt19937 乱(2024);
    局面表示 無表示;
    std::vector<指し手> 一覧(合法手最大数);
    int 比べた = 0;
    int 詰んだ = 0;
    for (int 局数 = 0; 局数 < 8; ++局数) {
        局面 局;
        初期配置(局);
        bool COM側 = false;
        for (int ply = 0; ply < 160 && 局.勝者 == 手番_なし; ++ply) {
            if (ply >= 30 && ply % 5 == 0) {
                SCOPED_TRACE("game " + std::to_string(局数) + " ply " + std::to_string(ply));
                for (const int 縛り : {0, 1, 2}) {
                    // 1: the attacker held, 2: the defender.
                    両側の範囲 範囲;
                    if (縛り != 0) ((縛り == 1) == COM側 ? 範囲.COM : 範囲.MAN) = 手の範囲::人の手;
                    総当たり 全(COM側, 範囲);
                    for (const int d : {1, 3}) {
                        詰み設定 s = 設定(d);
                        s.範囲 = 範囲;
                        const bool 詰む = 全.詰む(局, d);
                        const 詰み結果 r = 探索->探す(局, COM側, s);
                        EXPECT_EQ(r.判定, 詰む ? 詰み判定::詰み : 詰み判定::不詰) << d << 縛り;
                        if (詰む) {
                            EXPECT_EQ(r.手数 == 1, 全.詰む(局, 1)) << d << 縛り;
                        }
                        ++比べた;
                        詰んだ += 詰む;
                    }
                }
            }
            const int n = 合法手一覧(局, COM側, 一覧.data());
            if (n == 0) break;
            指し手 m = 一覧[乱() % static_cast<unsigned>(n)];
            if (調査_駒成(局, m.元X, m.元Y, m.先X, m.先Y, m.駒) == 定数_ON && 乱() % 2 == 0)
                m.駒 = 局.駒成結果;
            駒移動(局, 無表示, m.元X, m.元Y, m.先X, m.先Y, m.駒);
            COM側 = !COM側;
        }
    }
    EXPECT_GT(詰んだ, 20);
    EXPECT_GT(比べた - 詰んだ, 20);
}

// Where the attacker has checks but no mate, the solver never answers 詰み, and says 不詰 when
// it is given the time; the exhaustive search finds no short mate either.
TEST_F(詰み探索テスト, 詰みのない局面は不詰) {
    for (const 詰み問題& p : 問題集()) {
        if (p.手数 != 0) continue;
        SCOPED_TRACE("line " + std::to_string(p.行番号));
        EXPECT_FALSE(総当たり(p.COM側).詰む(p.局, 3));
        const 詰み結果 r = 探索->探す(p.局, p.COM側, 設定(詰み手順最大長));
        EXPECT_EQ(r.判定, 詰み判定::不詰);
        EXPECT_EQ(r.手順長, 0);
    }
}

// A node limit, a time limit and a stop request from another thread end the search with no
// verdict.
TEST_F(詰み探索テスト, 節点上限と時間と停止で探索が終わる) {
    const 詰み問題* 長 = nullptr;
    for (const 詰み問題& p : 問題集())
        if (長 == nullptr || p.手数 > 長->手数) 長 = &p;
    ASSERT_NE(長, nullptr);
    const 詰み結果 r = 探索->探す(長->局, 長->COM側, 設定(31, 20));
    EXPECT_EQ(r.判定, 詰み判定::不明);
    EXPECT_LE(r.節点数, 20u);

    // A lone king in the middle, checked by a dragon and a gold from the hand and shielded by
    // pawns dropped in between: no search to the longest length ends on its own soon.
    局面 局{};
    局.盤面[5][5] = 駒_MAN王;
    局.盤面[9][1] = 駒_COM王;
    局.持駒COM[5] = 1;
    局.持駒COM[7] = 1;
    局.持駒MAN[1] = 9;
    詰み設定 時間 = 設定(詰み手順最大長, 0);
    時間.時間ms = 30;
    EXPECT_EQ(探索->探す(局, true, 時間).判定, 詰み判定::不明);

    // Afresh, or what the timed search left in the table could let this one end on its own
    // before it is asked to stop.
    探索->初期化();
    std::atomic<bool> 終わった{false};
    詰み結果 止めた;
    std::thread t([&] {
        止めた = 探索->探す(局, true, 設定(詰み手順最大長, 0));
        終わった = true;
    });
    // Asked again until it ends, in case the search had not begun when first asked.
    while (!終わった) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        探索->停止();
    }
    t.join();
    EXPECT_EQ(止めた.判定, 詰み判定::不明);
}

}  // namespace
}  // namespace kiryuza
