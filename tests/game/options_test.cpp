#include "form1_fixture.h"

namespace kiryuza::testing {
namespace {

// Starts a fresh Form1 with the given settings file (or none).
class 設定 : public Form1テスト {
  protected:
    void SetUp() override {}
    void 起動(const char* ini) {
        if (ini) 環.ファイル.置く("Kiryuza.ini", ini);
        form = std::make_unique<Form1>(環.束(), *環.状態);
        form->Form_Load();
    }
    bool 印(const char* 名) { return 環.メニュー欄.チェック(名); }
    std::string ini() { return 環.ファイル.文字列("Kiryuza.ini"); }
};

TEST_F(設定, 全部の行を読む_BGMがONなら音楽を始める) {
    起動("背景画=宇宙\r\n移動指導=ON\r\n経過時間=OFF\r\nBGM=ON\r\n");
    EXPECT_EQ(s().設定.背景種類, 背景_宇宙);
    EXPECT_TRUE(印("UCHU"));
    EXPECT_FALSE(印("MIDORI"));
    EXPECT_TRUE(印("SIDOU"));
    EXPECT_EQ(s().設定.移動指導フラグ, 定数_ON);
    EXPECT_EQ(s().設定.色_移動指導, 色_白);
    EXPECT_FALSE(印("KEIKA"));
    EXPECT_TRUE(印("BGM"));
    EXPECT_EQ(環.サウンド源.呼出.back(), "loop " + std::to_string(音_BGM));
    // The space tile was drawn at once.
    bool 宇宙 = false;
    for (const auto& e : 環.キャンバス面.絵一覧) 宇宙 |= e.コード == 背景_宇宙;
    EXPECT_TRUE(宇宙);
}

TEST_F(設定, BGMの行だけなら他は外れたまま_背景は緑) {
    起動("BGM=OFF\r\n");
    EXPECT_FALSE(印("BGM"));
    EXPECT_FALSE(印("SIDOU"));
    EXPECT_FALSE(印("KEIKA"));
    EXPECT_EQ(s().設定.移動指導フラグ, 定数_OFF);
    EXPECT_EQ(s().設定.背景種類, 背景_緑);
    EXPECT_EQ(ini(), "BGM=OFF\r\n");  // reading never rewrites the file
}

// The glance the program takes at the background before the game starts agrees with what the
// game then reads, and writes nothing, even where the game writes the defaults back.
TEST(設定の背景, 先に見る背景は読み込んだ背景と同じで何も書かない) {
    const std::string 大きい(設定ファイル最大バイト数 + 1, 'x');
    const char* const 例[] = {"背景画=宇宙\r\n移動指導=ON\r\n", "BGM=OFF\r\n",  "背景画=虹\r\n",
                              "背景画=竹\r\n背景画=煉瓦\r\n",   大きい.c_str(), nullptr};
    for (const char* ini : 例) {
        メモリファイル ファイル;
        素通し符号 符号;
        if (ini) ファイル.置く("Kiryuza.ini", ini);
        const int 背景 = 設定の背景(ファイル, 符号, "Kiryuza.ini");
        EXPECT_EQ(ファイル.文字列("Kiryuza.ini"), ini ? ini : "");
        設定状態 状態;
        (void)設定を読み込む(ファイル, 符号, "Kiryuza.ini", 状態);
        EXPECT_EQ(背景, 状態.背景種類) << (ini ? std::string(ini).substr(0, 20) : "なし");
    }
}

TEST_F(設定, 小文字のonや知らない値や壊れた行) {
    起動("移動指導=on\n背景画=虹\nごみ\n=\n経過時間=ON\r\nBGM=ON=X\r\n");
    EXPECT_FALSE(印("SIDOU"));
    EXPECT_EQ(s().設定.色_移動指導, 色_緑);  // "OFF" from the file gives the green guidance colour
    EXPECT_TRUE(印("KEIKA"));
    EXPECT_FALSE(印("BGM"));
    // Without a valid background line the green tile is shown, and checked.
    EXPECT_EQ(s().設定.背景種類, 背景_緑);
    for (const char* 名 : {"TATAMI", "TAKE", "UCHU", "RENGA"}) EXPECT_FALSE(印(名));
    EXPECT_TRUE(印("MIDORI"));
}

TEST_F(設定, 後の行が前の行に勝ち_大きすぎるファイルは初期値に戻して知らせる) {
    起動("BGM=ON\r\n背景画=竹\r\nBGM=OFF\r\n背景画=畳\r\n");
    EXPECT_FALSE(印("BGM"));
    EXPECT_EQ(環.サウンド源.呼出.size(), 0u);  // the music never started
    EXPECT_TRUE(印("TATAMI"));
    EXPECT_FALSE(印("TAKE"));
    EXPECT_TRUE(環.メッセージ.箱一覧.empty());

    偽環境 大;
    大.ファイル.置く("Kiryuza.ini", "BGM=OFF\r\n" + std::string(設定ファイル最大バイト数, 'x'));
    Form1 f(大.束(), *大.状態);
    f.Form_Load();
    EXPECT_NE(大.メッセージ.最後().find("大きすぎる"), std::string::npos);
    EXPECT_TRUE(大.メニュー欄.チェック("BGM"));
    EXPECT_EQ(大.ファイル.文字列("Kiryuza.ini"),
              "背景画=緑\r\n移動指導=OFF\r\n経過時間=ON\r\nBGM=ON\r\n");
}

TEST_F(設定, オプションを切り替えるたびに四行を書き直す) {
    起動(nullptr);
    form->SIDOU_Click();
    EXPECT_EQ(ini(), "背景画=緑\r\n移動指導=ON\r\n経過時間=ON\r\nBGM=ON\r\n");
    form->KEIKA_Click();
    EXPECT_FALSE(環.Timer1.動作);
    form->BGM_Click();
    EXPECT_EQ(環.サウンド源.呼出.back(), "stop " + std::to_string(音_BGM));
    form->RENGA_Click();
    EXPECT_EQ(ini(), "背景画=煉瓦\r\n移動指導=ON\r\n経過時間=OFF\r\nBGM=OFF\r\n");
    EXPECT_EQ(s().設定.背景種類, 背景_煉瓦);
    form->SIDOU_Click();
    EXPECT_EQ(s().設定.色_移動指導, 色_桝線);
    form->BGM_Click();
    EXPECT_EQ(環.サウンド源.呼出.back(), "loop " + std::to_string(音_BGM));
    EXPECT_EQ(ini(), "背景画=煉瓦\r\n移動指導=OFF\r\n経過時間=OFF\r\nBGM=ON\r\n");
    // Choosing the background already checked rewrites the file and repaints all the same.
    環.キャンバス面.消す();
    form->RENGA_Click();
    EXPECT_GT(環.キャンバス面.絵一覧.size(), 500u);
    // The next start reads back what was chosen.
    偽環境 次;
    次.ファイル.ファイル = 環.ファイル.ファイル;
    Form1 f(次.束(), *次.状態);
    f.Form_Load();
    EXPECT_EQ(次.状態->設定.背景種類, 背景_煉瓦);
    EXPECT_TRUE(次.メニュー欄.チェック("BGM"));
    EXPECT_FALSE(次.メニュー欄.チェック("KEIKA"));
}

TEST_F(設定, 書けなくても選んだ設定はそのまま使い一度だけ知らせる) {
    const std::string 前 = "背景画=竹\r\n移動指導=ON\r\n経過時間=ON\r\nBGM=ON\r\n";
    起動(前.c_str());
    環.ファイル.書込禁止.insert("Kiryuza.ini");
    form->BGM_Click();
    ASSERT_EQ(環.メッセージ.箱一覧.size(), 1u);
    EXPECT_NE(環.メッセージ.最後().find("Kiryuza.ini"), std::string::npos);
    EXPECT_FALSE(印("BGM"));
    EXPECT_EQ(環.サウンド源.呼出.back(), "stop " + std::to_string(音_BGM));
    form->SIDOU_Click();
    form->UCHU_Click();
    EXPECT_EQ(環.メッセージ.箱一覧.size(), 1u);
    EXPECT_EQ(環.サウンド源.呼出.back(), "stop " + std::to_string(音_BGM));
    EXPECT_FALSE(印("SIDOU"));
    EXPECT_EQ(s().設定.移動指導フラグ, 定数_OFF);
    EXPECT_TRUE(印("UCHU"));
    EXPECT_EQ(s().設定.背景種類, 背景_宇宙);
    EXPECT_EQ(ini(), 前);
    // Once the file can be written again, the next change saves every choice.
    環.ファイル.書込禁止.clear();
    form->KEIKA_Click();
    EXPECT_EQ(ini(), "背景画=宇宙\r\n移動指導=OFF\r\n経過時間=OFF\r\nBGM=OFF\r\n");
}

TEST_F(設定, その他は音を鳴らしてバージョン情報を出す) {
    起動(nullptr);
    form->VER_Click();
    EXPECT_EQ(環.窓.情報回数, 1);
    EXPECT_EQ(鳴った(音_その他), 1);
}

}  // namespace
}  // namespace kiryuza::testing
