#include "form1_fixture.h"

namespace kiryuza::testing {
namespace {

using 棋譜 = Form1テスト;

TEST_F(棋譜, 書込の後に読込んで進めば同じ局面が並ぶ) {
    form->SENTE_Click();
    for (int i = 1; i <= 3; ++i) {
        押す(i, 7);
        押す(i, 6);
    }
    ASSERT_EQ(s().状況.手数, 6);
    const auto 記録 = std::make_unique<棋譜表>(s().棋譜);
    form->KIFU_WRITE_Click();
    EXPECT_TRUE(環.パネル.入力見);
    EXPECT_TRUE(環.パネル.ドライブ見);
    EXPECT_FALSE(環.パネル.ファイル見);
    環.パネル.欄[1] = "対局1";
    環.パネル.欄[2] = "練習";
    環.パネル.欄[3] = "太郎";
    環.パネル.欄[4] = "コンピュータ";
    form->Command1_Click();
    EXPECT_EQ(環.メッセージ.最後(), "棋譜を書き込みました");
    EXPECT_FALSE(環.パネル.入力見);
    EXPECT_EQ(環.パネル.更新回数, 1);
    const std::string 中身 = 環.ファイル.文字列("/records/対局1.棋譜");
    // Three header lines (the upper side's player second) and entries 1..6, the last one the
    // position after the last move.
    EXPECT_EQ(中身.rfind("練習\r\nコンピュータ\r\n太郎\r\n", 0), 0u);
    EXPECT_EQ(中身.size(), std::string("練習\r\nコンピュータ\r\n太郎\r\n").size() + 6 * 360);

    form->CANCEL_Click();
    form->KIFU_READ_Click();
    EXPECT_TRUE(環.パネル.ファイル見);
    EXPECT_EQ(環.パネル.更新回数, 2);  // the list is read again when the panel opens
    form->File1_Click("/records/対局1.棋譜");
    EXPECT_EQ(環.メッセージ.最後(), "棋譜を '進 'で進めて下さい");
    EXPECT_EQ(s().状況.棋譜モード, 定数_ON);
    EXPECT_EQ(s().状況.手番, 手番_先手);
    EXPECT_EQ(s().棋譜.棋譜記録数(), 6);
    EXPECT_TRUE(環.キャンバス面.字あり("練習"));
    for (int n = 1; n <= 6; ++n) {
        form->AFTER_Click();
        EXPECT_EQ(s().状況.手数, n);
        for (int x = 1; x <= 9; ++x)
            for (int y = 1; y <= 9; ++y) ASSERT_EQ(盤(x, y), 記録->項目(n).盤面[x][y]);
    }
    form->AFTER_Click();
    EXPECT_EQ(環.メッセージ.最後(), "終わり");
    // Back to the start shows the real starting position (entry 0 is filled on loading).
    for (int n = 0; n < 6; ++n) form->REPLAY_Click();
    局面 開始;
    初期配置(開始);
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) EXPECT_EQ(盤(x, y), 開始.盤面[x][y]);
    // A board click in record mode asks; "No" leaves the record.
    環.メッセージ.答え.push_back(押されたボタン::いいえ);
    押す(5, 7);
    EXPECT_EQ(s().状況.棋譜モード, 定数_OFF);
    EXPECT_EQ(s().状況.手番, 手番_なし);
    form->REVERSE_Click();
    EXPECT_NE(環.メッセージ.最後(), "棋譜ﾓｰﾄﾞではできません");
}

TEST_F(棋譜, 書込を断る場合) {
    form->KIFU_WRITE_Click();
    form->Command1_Click();
    EXPECT_EQ(環.メッセージ.最後(), "ﾌｧｲﾙ名が入力されていません");
    環.パネル.欄[1] = "x";
    form->Command1_Click();
    EXPECT_EQ(環.メッセージ.最後(), "保存するデータがありません");
    EXPECT_EQ(環.メッセージ.箱一覧.back().題, "棋譜保存");

    form->LBEL_UP_Click();
    form->KIFU_WRITE_Click();
    EXPECT_EQ(環.メッセージ.最後(), "ﾊﾝﾃﾞｷｬｯﾌﾟ設定後は書き込みできません");
    form->CANCEL_Click();
    form->REVERSE_Click();
    form->KIFU_WRITE_Click();
    EXPECT_EQ(環.メッセージ.最後(), "反転後は書き込みできません");
    EXPECT_EQ(環.メッセージ.箱一覧.back().題, "棋譜書込");
}

TEST_F(棋譜, 書けないときは知らせて元のファイルを残す) {
    form->SENTE_Click();
    押す(5, 7);
    押す(5, 6);
    環.ファイル.置く("/records/古い.棋譜", "old");
    環.ファイル.書込禁止.insert("/records/古い.棋譜");
    form->KIFU_WRITE_Click();
    環.パネル.欄[1] = "古い";
    form->Command1_Click();
    EXPECT_NE(環.メッセージ.最後().find("書き込めません"), std::string::npos);
    EXPECT_EQ(環.ファイル.文字列("/records/古い.棋譜"), "old");
    EXPECT_TRUE(環.パネル.入力見);  // the panel stays open to try again
}

TEST_F(棋譜, 壊れたファイルは読まずに対局はそのまま) {
    form->SENTE_Click();
    押す(5, 7);
    押す(5, 6);
    const int 手数 = s().状況.手数;
    const 局面 前 = s().局;
    環.ファイル.置く("/records/壊れ.棋譜", "題\r\n上\r\n下\r\nこれは指し手の行ではありません\r\n");
    form->File1_Click("/records/壊れ.棋譜");
    EXPECT_NE(環.メッセージ.最後().find("壊れ.棋譜"), std::string::npos);
    EXPECT_EQ(s().状況.手数, 手数);
    EXPECT_EQ(s().状況.棋譜モード, 定数_OFF);
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) EXPECT_EQ(盤(x, y), 前.盤面[x][y]);
    form->File1_Click("/records/ない.棋譜");
    EXPECT_NE(環.メッセージ.最後().find("ない.棋譜"), std::string::npos);
    EXPECT_EQ(s().状況.手数, 手数);
}

TEST_F(棋譜, 見出しだけのファイルはデータなし) {
    環.ファイル.置く("/records/空.棋譜", "題\r\n上\r\n下\r\n");
    form->File1_Click("/records/空.棋譜");
    EXPECT_EQ(環.メッセージ.最後(), "棋譜ﾌｧｲﾙにﾃﾞｰﾀがありません");
    EXPECT_EQ(s().状況.手番, 手番_なし);
    form->AFTER_Click();
    EXPECT_EQ(環.メッセージ.最後(), "「対局」で始めて下さい");
}

TEST_F(棋譜, 盤のクリックや対局メニューでパネルを閉じる_ドライブが開けなければ知らせる) {
    form->KIFU_READ_Click();
    EXPECT_TRUE(環.パネル.ファイル見);
    form->TAIKYOKU_Click();
    EXPECT_FALSE(環.パネル.ファイル見);
    form->KIFU_READ_Click();
    押す(5, 5);
    EXPECT_FALSE(環.パネル.ドライブ見);
    環.パネル.開けないドライブ.insert("/media/usb");
    form->Drive1_Change("/media/usb");
    EXPECT_EQ(環.メッセージ.最後(), "ﾃﾞﾊﾞｲｽが準備できていません");
    EXPECT_EQ(環.メッセージ.箱一覧.back().題, "ｴﾗｰ");
    form->Dir1_Change("/home/player");
    EXPECT_EQ(環.パネル.今フォルダ, "/home/player");
}

}  // namespace
}  // namespace kiryuza::testing
