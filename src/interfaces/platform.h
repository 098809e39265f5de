// What the game needs from the platform, as small interfaces. The Qt side implements them
// (src/platform/); the tests implement them with fakes. Texts are UTF-8 throughout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kiryuza {

// Modal message boxes.
// はいいいえ_いいえ既定: Yes/No with No as the default, for a question whose はい loses something.
enum class ボタン種類 { OK, はいいいえ, はいいいえ_いいえ既定 };
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
    // Lets a moment pass in a loop that waits for the time to reach a mark.
    virtual void 少し待つ() = 0;
    // Today's date and the time as records write them: "2026/12/08 09:30".
    virtual std::string 日時() {
        const std::time_t t = std::time(nullptr);
        std::tm 今{};
        localtime_r(&t, &今);
        char 文[32];
        std::strftime(文, sizeof 文, "%Y/%m/%d %H:%M", &今);
        return 文;
    }
};

// The 50 ms clock timer. Ticks arrive as Form1::Timer1_Timer through the window's event loop.
class タイマー {
  public:
    virtual ~タイマー() = default;
    virtual void 開始() = 0;
    virtual void 停止() = 0;
    virtual bool 動作中() const = 0;
};

// The menu items with check marks, addressed by their control names (interfaces/
// control_names.h). The game keeps its options itself; the marks only show them.
class メニュー {
  public:
    virtual ~メニュー() = default;
    virtual void チェック設定(std::string_view 名, bool 付ける) = 0;
    // Greys an item out (false) or makes it choosable again.
    virtual void 有効設定(std::string_view 名, bool 有効) = 0;
};

// An open file whose bytes are read where they lie when they are wanted, so that a large one
// need not be held in memory. Reads may come from any thread.
class 読み口 {
  public:
    virtual ~読み口() = default;
    // The file's size when it was opened.
    virtual std::uint64_t 大きさ() const = 0;
    // Copies `長さ` bytes from `位置` to `先`; false when they are not all there any more (the
    // file was cut short or a read failed).
    virtual bool 読む(std::uint64_t 位置, void* 先, std::size_t 長さ) const = 0;
};

// Bytes already in memory, read through the same interface.
class メモリ読み口 : public 読み口 {
  public:
    explicit メモリ読み口(std::vector<std::uint8_t> 内容) : 内容_(std::move(内容)) {}
    std::uint64_t 大きさ() const override { return 内容_.size(); }
    bool 読む(std::uint64_t 位置, void* 先, std::size_t 長さ) const override {
        if (位置 > 内容_.size() || 長さ > 内容_.size() - 位置) return false;
        if (長さ != 0) std::memcpy(先, 内容_.data() + 位置, 長さ);
        return true;
    }

  private:
    std::vector<std::uint8_t> 内容_;
};

// The sound library: 32-bit handles, 0 = none. Calls with a 0 handle do nothing.
class サウンド {
  public:
    virtual ~サウンド() = default;
    virtual std::int32_t dsInitialize() = 0;
    virtual std::int32_t dsCreateDSB(std::int32_t ライブラリ, const std::uint8_t* データ,
                                     std::size_t 長さ, std::int32_t フラグ) = 0;
    // The same from an open WAV file, which the library may keep and read from as the sound
    // plays instead of copying it. By default the whole file is read and handed to the above;
    // 0 when it cannot be read.
    virtual std::int32_t dsCreateDSBFromFile(std::int32_t ライブラリ,
                                             const std::shared_ptr<const 読み口>& ファイル,
                                             std::int32_t フラグ) {
        if (!ファイル) return 0;
        std::vector<std::uint8_t> 内容(static_cast<std::size_t>(ファイル->大きさ()));
        if (!ファイル->読む(0, 内容.data(), 内容.size())) return 0;
        return dsCreateDSB(ライブラリ, 内容.data(), 内容.size(), フラグ);
    }
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

// Why a read failed because the file is larger than the caller allows.
inline constexpr const char* 読込文_大きすぎる = "ファイルが大きすぎます";

class ファイル系 {
  public:
    virtual ~ファイル系() = default;
    virtual bool 存在(const std::string& パス) = 0;
    // The whole file, or nothing when it cannot be read (誤り then says why); a file of more
    // than `上限` bytes is refused with 読込文_大きすぎる before anything is read.
    virtual std::optional<std::vector<std::uint8_t>> 読む(const std::string& パス,
                                                          std::string& 誤り, std::size_t 上限) = 0;
    // Replaces the file atomically: on failure the previous file is left as it was.
    virtual ファイル結果 書く(const std::string& パス, const std::vector<std::uint8_t>& 内容) = 0;
    // The file opened for reading its parts later; nothing when it cannot be opened or read,
    // with 誤り as 読む gives it. By default the whole file is read now.
    virtual std::shared_ptr<const 読み口> 開く(const std::string& パス, std::string& 誤り,
                                               std::size_t 上限) {
        std::optional<std::vector<std::uint8_t>> 内容 = 読む(パス, 誤り, 上限);
        if (!内容) return nullptr;
        return std::make_shared<const メモリ読み口>(std::move(*内容));
    }
};

// Where the game in progress is kept, so that nothing is lost to a crash or a kill. Writes are
// atomic; they may finish after the call returns, the latest one winning.
class 自動保存先 {
  public:
    virtual ~自動保存先() = default;
    virtual void 保存(std::vector<std::uint8_t> 内容) = 0;
    // What the last run kept: nothing when no game is kept; a kept game that cannot be read
    // gives no bytes.
    virtual std::optional<std::vector<std::uint8_t>> 読込() = 0;
    virtual void 消去() = 0;
    // Renames a kept game that cannot be used, so that it is neither offered nor lost; the
    // name it now has, or nothing when it could not be moved.
    virtual std::optional<std::string> 脇へ移す() = 0;
    // How the latest write that ended since the last call went; nothing when none ended.
    virtual std::optional<ファイル結果> 書込結果() = 0;
    // The folder the game is kept in, as the player would look for it.
    virtual std::string フォルダ() const = 0;
};

// Where the game's own files are. The defaults are bare names, opened in the working folder;
// the program fills in the user's configuration folder and the folder of its installed sounds.
struct 置き場所 {
    std::string 設定ファイル = "Kiryuza.ini";
    // The folder of the four WAV files, ending in '/'; empty for the working folder.
    std::string 音フォルダ;
    // The level, the time control and the kind of the last game, beside the settings file.
    std::string 好みファイル = "Kiryuza-play.ini";
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

// The record panel: a drive list, a folder list, a file list showing "*.棋譜" files, four
// text boxes with their labels and the "RETURN" button, shown over the upper-left of the
// window. Its events arrive as Form1::File1_Click, Drive1_Change, Dir1_Change, Command1_Click.
class 棋譜パネル {
  public:
    virtual ~棋譜パネル() = default;
    // Visibility of the drive, folder and file lists.
    virtual void 一覧表示(bool ドライブ, bool フォルダ, bool ファイル) = 0;
    // Visibility of the four text boxes, their labels and the button.
    virtual void 入力欄表示(bool 表示) = 0;
    // Empties the four text boxes.
    virtual void 入力欄消去() = 0;
    // The text of box 1..4 (1 file name, 2 game title, 3 first player, 4 second player).
    virtual std::string 入力(int 番号) = 0;
    // The folder the file list shows.
    virtual std::string フォルダ() = 0;
    // Points the folder list at a drive (a place such as the home folder); false when that
    // place cannot be opened.
    virtual bool ドライブ設定(const std::string& ドライブ) = 0;
    // Points the file list at a folder.
    virtual void ファイルフォルダ設定(const std::string& フォルダ) = 0;
    // Reads the file list again.
    virtual void ファイル一覧更新() = 0;
};

// One row of the move list: the move number, the move ("▲１六 と (17)"; the start for row 0),
// the time it took, and the review's mark.
struct 一覧行 {
    std::string 手数;
    std::string 手;
    std::string 時間;
    std::string 印;
    bool operator==(const 一覧行&) const = default;
};

// One point of the evaluation graph: the lower side's (▲'s) chance to win after that entry,
// 0..1, when it is known; and the review's mark of the move that led there.
enum class 講評印 { なし, 疑問手, 悪手 };
struct 形勢点 {
    bool 有り = false;
    double 勝率 = 0.5;
    講評印 印 = 講評印::なし;
    bool operator==(const 形勢点&) const = default;
};

// The panel 棋譜と形勢 beside the board (or in a window of its own): the move list, the
// evaluation graph with the review, 検討 and the record as text. Choosing a row or a point of
// the graph arrives as Form1::棋譜一覧_選択, showing or hiding it as Form1::形勢パネル_表示変化.
class 棋譜と形勢 {
  public:
    virtual ~棋譜と形勢() = default;
    virtual bool 表示中() const = 0;
    virtual void 表示設定(bool 表示) = 0;
    // Row n is history entry n.
    virtual void 行を置く(const std::vector<一覧行>& 行) = 0;
    // Highlights the entry on the board.
    virtual void 選択設定(int n) = 0;
    // Point n is history entry n; 下手が先手: the lower side moved first (▲ above the line).
    virtual void 形勢を置く(const std::vector<形勢点>& 点, bool 下手が先手) = 0;
    // The review's summary and, for the entry on the board, what it says of the move.
    virtual void 講評を置く(const std::string& 文) = 0;
    // Whether 検討 is switched on, and what it has found (empty: nothing yet).
    virtual bool 検討中() const = 0;
    virtual void 検討設定(bool 入) = 0;
    virtual void 検討を置く(const std::string& 文) = 0;
    // Puts UTF-8 text on the clipboard.
    virtual void 文を写す(const std::string& 文) = 0;
    // Asks where to save a text record; nothing when the player cancels.
    virtual std::optional<std::string> 保存先を尋ねる(const std::string& 既定名) = 0;
};

// The top-level window itself.
class ウィンドウ {
  public:
    virtual ~ウィンドウ() = default;
    // The top edge in twips (a maximised window reports -60).
    virtual double 上端() = 0;
    // Places and sizes the window, in twips.
    virtual void 配置(double 左, double 上, double 幅, double 高さ) = 0;
    // Ends the program once the current event is handled.
    virtual void 終了() = 0;
    // Shows the modal about box.
    virtual void バージョン情報() = 0;
    // Opens the window that teaches the game, or brings it forward; it is not modal, so play
    // goes on while it is read.
    virtual void 遊び方() = 0;
    // Lets the window repaint while a long handler runs; clicks and keys wait for its end.
    virtual void 描画を進める() = 0;
};

}  // namespace kiryuza
