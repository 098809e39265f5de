// What the game needs from the platform, as small interfaces. The Qt side implements them
// (src/platform/); the tests implement them with fakes. Texts are UTF-8 throughout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kiryuza {

// Modal message boxes.
enum class ボタン種類 { OK, はいいいえ };
enum class 押されたボタン { OK, はい, いいえ };

class メッセージ窓 {
public:
    virtual ~メッセージ窓() = default;
    // Shows a modal box and returns the button pressed. `警告` adds the exclamation icon.
    virtual 押されたボタン 表示(const std::string& 本文, const std::string& 題,
                                ボタン種類 種類 = ボタン種類::OK, bool 警告 = false) = 0;
};

// The time of day in seconds since midnight, with fractions (0 <= t < 86400).
class 時刻源 {
public:
    virtual ~時刻源() = default;
    virtual double 現在秒() = 0;
};

// The 50 ms clock timer. Ticks arrive as Form1::Timer1_Timer through the window's event loop.
class タイマー {
public:
    virtual ~タイマー() = default;
    virtual void 開始() = 0;
    virtual void 停止() = 0;
    virtual bool 動作中() const = 0;
};

// The menu items with check marks, addressed by their control names ("KEIKA", "LEVEL3", ...).
class メニュー {
public:
    virtual ~メニュー() = default;
    virtual bool チェック(const std::string& 名) const = 0;
    virtual void チェック設定(const std::string& 名, bool 付ける) = 0;
};

// The sound library: 32-bit handles, 0 = none. Calls with a 0 handle do nothing.
class サウンド {
public:
    virtual ~サウンド() = default;
    virtual std::int32_t dsInitialize() = 0;
    virtual std::int32_t dsCreateDSB(std::int32_t ライブラリ, const std::uint8_t* データ,
                                     std::size_t 長さ, std::int32_t フラグ) = 0;
    virtual void dsPlay(std::int32_t バッファ) = 0;
    virtual void dsPlayLooping(std::int32_t バッファ) = 0;
    virtual void dsStop(std::int32_t バッファ) = 0;
    virtual void dsFree(std::int32_t バッファ) = 0;
    virtual void dsTerminate(std::int32_t ライブラリ) = 0;
};

// Whole-file access. Paths are UTF-8. A failure carries a Japanese description for the user.
struct ファイル結果 {
    bool 成功 = false;
    std::string 誤り;  // empty on success
};

class ファイル系 {
public:
    virtual ~ファイル系() = default;
    virtual bool 存在(const std::string& パス) = 0;
    // The whole file, or nothing when it cannot be read (誤り then says why).
    virtual std::optional<std::vector<std::uint8_t>> 読む(const std::string& パス,
                                                          std::string& 誤り) = 0;
    // Replaces the file atomically: on failure the previous file is left as it was.
    virtual ファイル結果 書く(const std::string& パス, const std::vector<std::uint8_t>& 内容) = 0;
};

// The Japanese Windows code page (CP932) of the record and settings files.
class 文字コード {
public:
    virtual ~文字コード() = default;
    // Decodes CP932 bytes; nothing when they are not valid CP932.
    virtual std::optional<std::string> CP932から(const std::string& バイト列) = 0;
    // Encodes UTF-8 text; nothing when CP932 cannot hold a character of it.
    virtual std::optional<std::string> CP932へ(const std::string& 文字列) = 0;
};

}  // namespace kiryuza
