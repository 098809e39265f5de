// The move list: each row names the move that leads from the entry before to its own, and
// choosing a row puts that entry on the board as stepping there would.
#include <random>

#include "display/move_list.h"
#include "form1_fixture.h"

namespace kiryuza::testing {
namespace {

// Over random games, the move a row names, made on the entry before it, gives its entry; the
// side alternates from the side that moved first, and the time is the mover's.
TEST(棋譜一覧, 行の手は前の局面から次の局面を作る) {
    局面表示 無表示;
    std::vector<指し手> 手(合法手最大数);
    for (unsigned 種 = 1; 種 <= 12; ++種) {
        std::mt19937 乱(種);
        const bool 先手COM = 種 % 2 == 0;
        局面 局;
        初期配置(局);
        派生値を整える(局);
        棋譜表 棋譜;
        棋譜.開始(局, 0, 0, 棋譜の出自::平手);
        bool COM側 = 先手COM;
        for (int n = 1; n <= 120 && 王がいる(局, 駒_MAN王) && 王がいる(局, 駒_COM王); ++n) {
            const int 数 = 合法手一覧(局, COM側, 手.data());
            if (数 == 0) break;
            const 指し手 m = 手[乱() % static_cast<unsigned>(数)];
            const double 秒 = (乱() % 50) / 10.0;
            棋譜.手順保存(局, 0, COM側 ? 0 : 秒, 0, COM側 ? 秒 : 0);
            int 駒 = m.駒;
            if (調査_駒成(局, m.元X, m.元Y, m.先X, m.先Y, m.駒) == 定数_ON) 駒 = 局.駒成結果;
            駒移動(局, 無表示, m.元X, m.元Y, m.先X, m.先Y, 駒);
            派生値を整える(局);
            棋譜.着手後保存(局);

            const auto 行 = 一覧の手を求める(棋譜, n, 先手COM);
            ASSERT_TRUE(行.has_value()) << 種 << " " << n;
            EXPECT_EQ(行->COM側, COM側);
            EXPECT_EQ(行->先手, n % 2 == 1);
            EXPECT_EQ(行->秒, static_cast<long long>(秒));  // whole seconds of the clock
            EXPECT_EQ(行->先X, m.先X);
            EXPECT_EQ(行->先Y, m.先Y);
            EXPECT_EQ(行->駒, 駒);
            const bool 打つ = m.元X == 持駒列_MAN || m.元X == 持駒列_COM;
            EXPECT_EQ(行->元X, 打つ ? 0 : m.元X) << 種 << " " << n;
            EXPECT_EQ(行->元Y, 打つ ? 0 : m.元Y);
            const std::string 文 = 一覧の文(棋譜, n, 先手COM, 0);
            EXPECT_EQ(文.rfind(n % 2 == 1 ? "▲" : "△", 0), 0u) << 文;
            EXPECT_NE(文.find(打つ ? " 打" : " ("), std::string::npos) << 文;
            COM側 = !COM側;
        }
    }
    // Rows for a history the move list cannot read are marked, not guessed.
    棋譜表 壊れ;
    局面 空;
    壊れ.開始(空, 0, 0, 棋譜の出自::平手);
    壊れ.手順保存(空, 0, 0, 0, 0);
    壊れ.着手後保存(空);
    EXPECT_FALSE(一覧の手を求める(壊れ, 1, false).has_value());
    EXPECT_EQ(一覧の文(壊れ, 1, false, 0), "？");
}

using 一覧 = Form1テスト;

TEST_F(一覧, 一覧は対局に付いて伸び_行を選ぶとその局面に戻り_対局は続けられる) {
    form->KIFU_LIST_Click();
    EXPECT_TRUE(環.メニュー欄.チェック("KIFU_LIST"));
    ASSERT_EQ(環.形勢.行.size(), 1u);
    EXPECT_EQ(環.形勢.行[0].手, "開始局面");
    form->SENTE_Click();
    押す(5, 7);
    押す(5, 6);
    押す(4, 7);
    押す(4, 6);
    ASSERT_EQ(s().棋譜.棋譜記録数(), 4);
    ASSERT_EQ(環.形勢.行.size(), 5u);
    EXPECT_EQ(環.形勢.選択, 4);
    EXPECT_EQ(環.形勢.行[1].手数, "1");
    EXPECT_EQ(環.形勢.行[1].手.rfind("▲", 0), 0u);
    EXPECT_NE(環.形勢.行[1].手.find("(57)"), std::string::npos) << 環.形勢.行[1].手;
    EXPECT_EQ(環.形勢.行[2].手.rfind("△", 0), 0u);

    // Back to entry 1: the board, the hands and the clocks as they stood, nothing dropped.
    const 棋譜項目 一 = s().棋譜.項目(1);
    form->棋譜一覧_選択(1);
    EXPECT_EQ(s().棋譜.棋譜手数(), 1);
    EXPECT_EQ(s().状況.手数, 1);
    EXPECT_EQ(s().状況.手番, s().局.手番値COM);
    EXPECT_EQ(std::memcmp(s().局.盤面, 一.盤面, sizeof 一.盤面), 0);
    EXPECT_EQ(s().時計.累計秒MAN, 一.前秒M);
    EXPECT_EQ(s().棋譜.棋譜記録数(), 4);
    EXPECT_EQ(環.形勢.選択, 1);
    // Forward to the end and on with the game.
    form->棋譜一覧_選択(4);
    EXPECT_EQ(s().状況.手番, s().局.手番値MAN);
    押す(3, 7);
    押す(3, 6);
    EXPECT_EQ(s().棋譜.棋譜記録数(), 6);
    EXPECT_EQ(環.形勢.行.size(), 7u);

    // Hidden, the panel is left alone; shown again it is brought up to date at once.
    form->KIFU_LIST_Click();
    form->棋譜一覧_選択(0);
    EXPECT_EQ(環.形勢.選択, 6);
    form->KIFU_LIST_Click();
    EXPECT_EQ(環.形勢.選択, 0);
}

// The review fills in as the searching player answers: every entry gets its point, the marks
// of the list and the graph agree, a marked move shows what was preferred, and a question about
// a position the game no longer holds is dropped.
TEST_F(一覧, 講評は答えが来るたびに埋まり_印は一覧とグラフで同じ) {
    form->KIFU_LIST_Click();
    form->START_Click();
    // Each side hangs a piece where it can: a move the other side can answer by taking the
    // piece moved, the kind of mistake a review is for.
    std::mt19937 乱(7);
    std::vector<指し手> 手(合法手最大数);
    std::vector<指し手> 応手(合法手最大数);
    局面表示 無表示;
    for (int i = 0; i < 40; ++i) {
        局面 局 = s().局;
        const bool 上 = s().状況.手番 == s().局.手番値COM;
        std::vector<指し手> 盤の手;
        std::vector<指し手> 捨て手;
        const int 数 = 合法手一覧(局, 上, 手.data());
        for (int k = 0; k < 数; ++k) {
            const 指し手 m = 手[static_cast<std::size_t>(k)];
            if (m.元X < 1 || m.元X > 9) continue;
            盤の手.push_back(m);
            局面 後 = 局;
            駒移動(後, 無表示, m.元X, m.元Y, m.先X, m.先Y, m.駒);
            const int 応 = 合法手一覧(後, !上, 応手.data());
            for (int j = 0; j < 応; ++j)
                if (応手[static_cast<std::size_t>(j)].先X == m.先X &&
                    応手[static_cast<std::size_t>(j)].先Y == m.先Y && std::abs(m.駒) >= 100)
                    捨て手.push_back(m);
        }
        const auto& 候補 = 捨て手.empty() ? 盤の手 : 捨て手;
        const 指し手 m = 候補[乱() % 候補.size()];
        押す(m.元X, m.元Y);
        押す(m.先X, m.先Y);
        if (s().局.勝者 != 手番_なし) break;
    }
    const int N = s().棋譜.棋譜記録数();
    ASSERT_GE(N, 8);
    EXPECT_NE(環.形勢.講評.find("解析中"), std::string::npos);
    for (int i = 0; i <= N + 1 && !環.読み.待ち一覧.empty(); ++i) 読みを届ける();
    EXPECT_TRUE(環.読み.待ち一覧.empty());
    ASSERT_EQ(環.形勢.点.size(), static_cast<std::size_t>(N) + 1);
    int 印の数 = 0;
    int 印の行 = 0;
    for (int n = 0; n <= N; ++n) {
        const 形勢点& p = 環.形勢.点[static_cast<std::size_t>(n)];
        const std::string& 印 = 環.形勢.行[static_cast<std::size_t>(n)].印;
        EXPECT_TRUE(p.有り) << n;
        EXPECT_EQ(印 == "悪手", p.印 == 講評印::悪手) << n;
        EXPECT_EQ(印 == "疑問手", p.印 == 講評印::疑問手) << n;
        if (!印.empty()) {
            ++印の数;
            印の行 = n;
        }
    }
    EXPECT_EQ(環.形勢.講評.find("解析中"), std::string::npos);
    ASSERT_GT(印の数, 0) << "random moves make no mistake a search sees";
    form->棋譜一覧_選択(印の行);
    EXPECT_NE(環.形勢.講評.find("がまさる"), std::string::npos) << 環.形勢.講評;
    int 水色 = 0;
    for (int x = -1; x <= 11; ++x)
        for (int y = 1; y <= 9; ++y) 水色 += 環.キャンバス面.模型.桝の枠(x, y) == 色_ヒント;
    EXPECT_GE(水色, 2);

    // A new move is asked about; taken back, the question goes with it.
    form->棋譜一覧_選択(N);
    form->START_Click();
    ASSERT_EQ(s().局.勝者, 手番_なし);
    const int 前 = s().棋譜.棋譜記録数();
    局面 局 = s().局;
    const int 数 = 合法手一覧(局, s().状況.手番 == s().局.手番値COM, 手.data());
    for (int k = 0; k < 数 && s().棋譜.棋譜記録数() == 前; ++k) {
        if (手[k].元X < 1 || 手[k].元X > 9) continue;
        押す(手[k].元X, 手[k].元Y);
        押す(手[k].先X, 手[k].先Y);
    }
    ASSERT_EQ(s().棋譜.棋譜記録数(), 前 + 1);
    EXPECT_EQ(環.読み.待ち一覧.size(), 1u);
    form->MATTA_Click();
    EXPECT_TRUE(環.読み.待ち一覧.empty());
}

// Who plays decides what the searching player is asked to weigh: against the computer the
// player's side is held to a person's moves and the computer's side keeps its choice, for the
// computer's own search, the hint, 検討 and the review alike; between two people both sides are
// held, unless they choose the form. The review keeps its evaluations by who is a person: the
// same game going on between two people is reviewed again from its first position.
TEST_F(一覧, 人の側は人の指せる手で読まれ_人の側が変われば講評は読み直す) {
    const auto 範囲 = [&](依頼者 誰) -> std::optional<両側の範囲> {
        for (const auto& w : 環.読み.待ち一覧)
            if (w.誰 == 誰) return w.依頼.設定.範囲;
        return std::nullopt;
    };
    const 両側の範囲 対COM{手の範囲::人の手, 手の範囲::全て};
    const 両側の範囲 二人{手の範囲::人の手, 手の範囲::人の手};
    form->KIFU_LIST_Click();
    form->検討_切替();
    form->LEVEL4_Click();
    form->GOTE_Click();
    EXPECT_EQ(範囲(依頼者::対局), 対COM);
    読みを届ける();
    ASSERT_EQ(s().状況.手番, s().局.手番値MAN);
    EXPECT_EQ(範囲(依頼者::検討), 対COM);
    EXPECT_EQ(範囲(依頼者::解析), 対COM);
    form->HINT_Click();
    EXPECT_EQ(範囲(依頼者::ヒント), 対COM);
    for (int i = 0; i < 5 && !環.読み.待ち一覧.empty(); ++i) 読みを届ける();
    EXPECT_EQ(範囲(依頼者::解析), std::nullopt);
    EXPECT_TRUE(環.形勢.点[1].有り);

    form->START_Click();
    EXPECT_EQ(s().状況.対局モード, 対局モード_人間);
    EXPECT_EQ(範囲(依頼者::検討), 二人);
    ASSERT_EQ(範囲(依頼者::解析), 二人);
    EXPECT_FALSE(環.形勢.点[1].有り);
    // People who choose the form may make every move.
    form->NARI_FUNARI_Click();
    EXPECT_EQ(範囲(依頼者::検討), 両側の範囲{});
    EXPECT_EQ(範囲(依頼者::解析), 両側の範囲{});
}

// The record as text names the two sides as the game knows them and how it ended, and is
// saved where the player says, or nowhere when the player cancels.
TEST_F(一覧, 棋譜の文は対局の両者と終わり方を書き_選んだ所に保存する) {
    // No moves: nothing is copied, and the player is told why.
    環.形勢.写した = "前の対局";
    form->棋譜をコピー_Click();
    EXPECT_EQ(鳴った(音_禁止), 1);
    EXPECT_EQ(環.メッセージ.最後(), "コピーする指し手がありません");
    EXPECT_EQ(環.形勢.写した, "前の対局");
    form->SENTE_Click();
    押す(5, 7);
    押す(5, 6);
    form->TOURYOU_Click();
    form->棋譜をコピー_Click();
    const std::string& 文 = 環.形勢.写した;
    EXPECT_NE(文.find("2026/12/08 10:00"), std::string::npos) << 文;
    EXPECT_NE(文.find("先手：あなた"), std::string::npos) << 文;
    EXPECT_NE(文.find("後手：コンピュータ（ﾚﾍﾞﾙ3）"), std::string::npos) << 文;
    EXPECT_NE(文.find("(57)"), std::string::npos) << 文;
    EXPECT_NE(文.find("まで2手で先手の投了"), std::string::npos) << 文;

    form->棋譜を文で保存_Click();
    EXPECT_EQ(環.ファイル.ファイル.count("/records/一局.kif"), 0u);
    環.形勢.保存先 = "/records/一局.kif";
    form->棋譜を文で保存_Click();
    EXPECT_EQ(環.ファイル.文字列("/records/一局.kif"), 文);
    EXPECT_EQ(環.メッセージ.最後(), "棋譜を保存しました");
    環.ファイル.書込禁止.insert("/records/一局.kif");
    form->棋譜を文で保存_Click();
    EXPECT_NE(環.メッセージ.最後().find("保存できませんでした"), std::string::npos);
}

// 検討 asks for the best three lines of the entry on the board, shows them as they deepen,
// starts again on another entry and rests while the computer has the move.
TEST_F(一覧, 検討は盤の局面の読み筋を示し_局面が変われば読み直し_COMの番は休む) {
    form->KIFU_LIST_Click();
    form->LEVEL4_Click();
    form->SENTE_Click();
    form->検討_切替();
    EXPECT_TRUE(環.形勢.検討);
    const auto 検討の依頼 = [&]() -> const 偽読み手::待ち* {
        for (const auto& w : 環.読み.待ち一覧)
            if (w.誰 == 依頼者::検討) return &w;
        return nullptr;
    };
    ASSERT_NE(検討の依頼(), nullptr);
    EXPECT_TRUE(検討の依頼()->依頼.読み筋も);
    EXPECT_EQ(検討の依頼()->依頼.設定.候補数, 3);
    EXPECT_FALSE(検討の依頼()->依頼.COM側);
    // A line as the search sends it: the pawn forward, from the player's view.
    読み答え a;
    a.誰 = 依頼者::検討;
    a.番号 = 検討の依頼()->番号;
    a.終わり = false;
    a.筋.番号 = 1;
    a.筋.深さ = 5;
    a.筋.評価 = 120;
    a.筋.手数 = 1;
    a.筋.手[0] = {true, 5, 7, 5, 6, 駒_MANと, 駒_MANと, 0};
    環.読み.答え.push_back(a);
    form->読み_完了();
    EXPECT_NE(環.形勢.検討文.find("深さ 5"), std::string::npos) << 環.形勢.検討文;
    EXPECT_NE(環.形勢.検討文.find("+120 ▲５六 と (57)"), std::string::npos) << 環.形勢.検討文;

    // The player's move: the computer thinks, 検討 rests; its move made, 検討 goes on.
    押す(5, 7);
    押す(5, 6);
    EXPECT_EQ(検討の依頼(), nullptr);
    EXPECT_NE(環.形勢.検討文.find("休みます"), std::string::npos);
    読みを届ける();
    ASSERT_EQ(s().状況.手数, 2);
    ASSERT_NE(検討の依頼(), nullptr);
    const std::uint64_t 前 = 検討の依頼()->番号;
    form->棋譜一覧_選択(1);
    ASSERT_NE(検討の依頼(), nullptr);
    EXPECT_NE(検討の依頼()->番号, 前);
    EXPECT_TRUE(検討の依頼()->依頼.COM側);
    form->検討_切替();
    EXPECT_EQ(検討の依頼(), nullptr);
}

}  // namespace
}  // namespace kiryuza::testing
