#include <gtest/gtest.h>

#include <map>
#include <set>

#include "options/sound.h"

namespace kiryuza {
namespace {

// Records every library call as text; dsInitialize answers `ライブラリ値`, and buffers are
// numbered from 11 unless the bytes are "bad".
struct 記録サウンド : サウンド {
    std::vector<std::string> 呼出;
    std::int32_t ライブラリ値 = 77;
    std::int32_t 次 = 11;

    std::int32_t dsInitialize() override {
        呼出.push_back("init");
        return ライブラリ値;
    }
    std::int32_t dsCreateDSB(std::int32_t lib, const std::uint8_t* p, std::size_t n,
                             std::int32_t flag) override {
        const std::string bytes(reinterpret_cast<const char*>(p), n);
        呼出.push_back("create " + std::to_string(lib) + " " + bytes + " " + std::to_string(flag));
        return bytes == "bad" ? 0 : 次++;
    }
    void dsPlay(std::int32_t b) override { 呼出.push_back("play " + std::to_string(b)); }
    void dsPlayLooping(std::int32_t b) override { 呼出.push_back("loop " + std::to_string(b)); }
    void dsStop(std::int32_t b) override { 呼出.push_back("stop " + std::to_string(b)); }
    void dsFree(std::int32_t b) override { 呼出.push_back("free " + std::to_string(b)); }
    void dsTerminate(std::int32_t l) override { 呼出.push_back("terminate " + std::to_string(l)); }
};

// Files by name; a name in 読めない fails to read with the given text.
struct 偽ファイル : ファイル系 {
    std::map<std::string, std::string> 内容;
    std::map<std::string, std::string> 読めない;
    std::vector<std::string> 読んだ;

    bool 存在(const std::string& p) override {
        return 内容.count(p) != 0 || 読めない.count(p) != 0;
    }
    std::optional<std::vector<std::uint8_t>> 読む(const std::string& p, std::string& 誤り,
                                                  std::size_t) override {
        読んだ.push_back(p);
        if (読めない.count(p) != 0) {
            誤り = 読めない[p];
            return std::nullopt;
        }
        const std::string& s = 内容.at(p);
        return std::vector<std::uint8_t>(s.begin(), s.end());
    }
    ファイル結果 書く(const std::string&, const std::vector<std::uint8_t>&) override { return {}; }
};

struct 表示記録 {
    std::string 本文, 題;
    ボタン種類 種類;
    bool 警告;
};

struct 記録窓 : メッセージ窓 {
    std::vector<表示記録> 表示済み;
    押されたボタン 表示(const std::string& 本文, const std::string& 題, ボタン種類 種類,
                        bool 警告) override {
        表示済み.push_back({本文, 題, 種類, 警告});
        return 押されたボタン::OK;
    }
};

struct 音響テスト : ::testing::Test {
    記録サウンド 音源;
    偽ファイル ファイル;
    記録窓 窓;
    音響 音{音源, ファイル, 窓};

    音響テスト() {
        ファイル.内容 = {{"その他.wav", "chime"},
                         {"禁止.wav", "buzz"},
                         {"駒打音.wav", "click"},
                         {"BGM.wav", "music"}};
    }
};

TEST_F(音響テスト, 開始で四つの音を決まった順に読む) {
    音.開始();
    EXPECT_EQ(音源.呼出, (std::vector<std::string>{"init", "create 77 chime 3", "create 77 buzz 3",
                                                   "create 77 click 3", "create 77 music 1"}));
    EXPECT_EQ(音.ライブラリ, 77);
    EXPECT_EQ(音.音_その他, 11);
    EXPECT_EQ(音.音_禁止, 12);
    EXPECT_EQ(音.音_駒打, 13);
    EXPECT_EQ(音.音_BGM, 14);
    EXPECT_TRUE(窓.表示済み.empty());
}

TEST_F(音響テスト, 音のフォルダから読む) {
    偽ファイル 置かれた;
    for (const auto& [名, 中身] : ファイル.内容) 置かれた.内容["/usr/share/kiryuza/" + 名] = 中身;
    ファイル.内容.clear();  // nothing in the working folder
    音響 入れた音{音源, 置かれた, 窓, "/usr/share/kiryuza/"};
    入れた音.開始();
    EXPECT_EQ(置かれた.読んだ, (std::vector<std::string>{
                                   "/usr/share/kiryuza/その他.wav", "/usr/share/kiryuza/禁止.wav",
                                   "/usr/share/kiryuza/駒打音.wav", "/usr/share/kiryuza/BGM.wav"}));
    EXPECT_EQ(入れた音.音_BGM, 14);
    EXPECT_TRUE(ファイル.読んだ.empty());
}

TEST_F(音響テスト, 装置がなければ警告して何も読まない) {
    音源.ライブラリ値 = 0;
    音.開始();
    ASSERT_EQ(窓.表示済み.size(), 1u);
    EXPECT_EQ(窓.表示済み[0].本文, "Direct Soundインターフェースが作成できません。");
    EXPECT_EQ(窓.表示済み[0].題, "Kiryuza.dll");
    EXPECT_EQ(窓.表示済み[0].種類, ボタン種類::OK);
    EXPECT_TRUE(窓.表示済み[0].警告);
    EXPECT_EQ(音源.呼出, std::vector<std::string>{"init"});
    EXPECT_TRUE(ファイル.読んだ.empty());
    // Every later call passes the 0 handles on, and the library is not ended.
    音.鳴らす_駒打();
    音.BGM開始();
    音.停止();
    EXPECT_EQ(音源.呼出, (std::vector<std::string>{"init", "play 0", "loop 0", "free 0", "free 0",
                                                   "free 0", "free 0"}));
}

TEST_F(音響テスト, 読めない音は0のまま残りを読む) {
    ファイル.内容.erase("禁止.wav");                                 // missing
    ファイル.読めない["駒打音.wav"] = "アクセスが拒否されました。";  // read error
    ファイル.内容["BGM.wav"] = "bad";                                // refused by the library
    音.開始();
    EXPECT_EQ(音.音_その他, 11);
    EXPECT_EQ(音.音_禁止, 0);
    EXPECT_EQ(音.音_駒打, 0);
    EXPECT_EQ(音.音_BGM, 0);
    EXPECT_EQ(ファイル.読んだ, (std::vector<std::string>{"その他.wav", "駒打音.wav", "BGM.wav"}));
    ASSERT_EQ(窓.表示済み.size(), 1u);
    EXPECT_EQ(窓.表示済み[0].本文, "アクセスが拒否されました。");
    EXPECT_EQ(窓.表示済み[0].題, "Kiryuza.dll");
    EXPECT_TRUE(窓.表示済み[0].警告);
}

TEST_F(音響テスト, 理由のない読込失敗はファイル名を示す) {
    ファイル.読めない["BGM.wav"] = "";
    音.開始();
    ASSERT_EQ(窓.表示済み.size(), 1u);
    EXPECT_NE(窓.表示済み[0].本文.find("BGM.wav"), std::string::npos);
}

TEST_F(音響テスト, 停止は決まった順に解放してから終える) {
    音.開始();
    音源.呼出.clear();
    音.鳴らす_その他();
    音.鳴らす_禁止();
    音.鳴らす_駒打();
    音.BGM開始();
    音.BGM停止();
    音.停止();
    音.停止();  // a second time only passes 0 handles
    EXPECT_EQ(音源.呼出,
              (std::vector<std::string>{"play 11", "play 12", "play 13", "loop 14", "stop 14",
                                        "free 11", "free 12", "free 13", "free 14", "terminate 77",
                                        "free 0", "free 0", "free 0", "free 0"}));
}

}  // namespace
}  // namespace kiryuza
