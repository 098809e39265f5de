// A whole record file: three header lines (title, upper side's player, lower side's player) and
// one 358-character move line for each history entry 1..N, in CP932 with CR LF line ends.
// Writing refuses what the format cannot hold before anything is written; reading checks the
// whole file first, so a caller copies a record into the history only when all of it is good.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "interfaces/platform.h"
#include "record/record_line.h"
#include "rules/game_state.h"

namespace kiryuza {

// The most move lines a record holds: entries 1..500 of the history.
inline constexpr int 棋譜ファイル最大手数 = 棋譜最大手数;

// The largest record file read: 500 move lines are about 180 KB, and the header lines are
// typed into one-line boxes; anything far larger is not a record.
inline constexpr std::size_t 棋譜ファイル最大バイト数 = 1024 * 1024;

// The file name extension of a record file.
inline constexpr std::string_view 棋譜拡張子 = ".棋譜";

// Titles for the message boxes that show the texts below.
inline constexpr std::string_view 棋譜読込の題 = "棋譜";
inline constexpr std::string_view 棋譜書込の題 = "棋譜保存";

// A checked record: 手[i] is history entry i + 1.
struct 読込棋譜 {
    棋譜見出し 見出し;
    std::vector<棋譜行データ> 手;
    int 記録数() const { return static_cast<int>(手.size()); }
};

// The outcome of reading: the record, or a Japanese message naming the file and the line.
struct 棋譜読込結果 {
    bool 成功 = false;
    std::string 誤り;
    読込棋譜 棋譜;
};

// The bytes of a record file, or a Japanese message saying why it cannot be written. When an
// entry holds what the format cannot (a hand count of 10 or more, a time of 100000 seconds or
// more), 表せない手目 names the first such entry and 理由 says why; the entries before it can
// still be written.
struct 棋譜内容結果 {
    bool 成功 = false;
    std::string 誤り;
    std::vector<std::uint8_t> 内容;
    int 表せない手目 = 0;
    std::string 理由;
};

// The outcome of writing a file; 表せない手目 and 理由 as above. 取りやめ: the player chose not
// to save the part that could be written.
struct 棋譜書込結果 {
    bool 成功 = false;
    std::string 誤り;
    int 表せない手目 = 0;
    std::string 理由;
    bool 取りやめ = false;
};

// --- Writing ---

// Builds the file for entries 1..記録数 (0..500) of the history. Refuses header texts that
// CP932 cannot hold or that contain control characters, hand counts of 10 or more, times
// outside 0..99999 whole seconds and any entry that would not read back as a valid line.
棋譜内容結果 棋譜ファイル内容を作る(const 棋譜表& 棋譜, int 記録数, const 棋譜見出し& 見出し,
                                    文字コード& 符号);

// Builds the file and replaces `パス` atomically. On any failure nothing is written and an
// existing file of that name stays as it was; 誤り then holds the message for the user, which
// names the file as `表示名` (the name the user typed).
棋譜書込結果 棋譜ファイルを書く(ファイル系& ファイル, 文字コード& 符号, const std::string& パス,
                                const 棋譜表& 棋譜, int 記録数, const 棋譜見出し& 見出し,
                                std::string_view 表示名);

// Saves the whole history (entries 1..棋譜記録数) as `パス`. When the format cannot hold an
// entry, asks `途中まで` (with the question to show) whether to save the entries before it,
// and saves those on yes.
棋譜書込結果 棋譜を保存する(ファイル系& ファイル, 文字コード& 符号, const std::string& パス,
                            std::string_view 表示名, const 棋譜表& 棋譜, const 棋譜見出し& 見出し,
                            const std::function<bool(const std::string& 問い)>& 途中まで);

// --- Reading ---

// Parses and checks a whole file. `表示名` is the name the messages use for the file. Accepts
// CR LF and lone LF line ends, with or without a final line end, and an end-of-file mark
// (Ctrl-Z) at the very end; blank lines after the last move line are ignored. More than 500
// move lines are refused, as are files in UTF-16 and files whose lines end in CR alone, each
// with its own reason.
棋譜読込結果 棋譜ファイルを解析(std::string_view バイト列, std::string_view 表示名,
                                文字コード& 符号);

// Reads the file at `パス` and parses it; the messages name the file without its folder.
棋譜読込結果 棋譜ファイルを読む(ファイル系& ファイル, 文字コード& 符号, const std::string& パス);

// Puts a checked record into the history: entries 1..N from the record, entry 0 the starting
// position with times 0; 棋譜記録数 := N, 棋譜手数 := 0.
void 棋譜表へ移す(const 読込棋譜& 記録, 棋譜表& 棋譜);

// Reads the file and, only when all of it is good, puts it into `棋譜`; on failure `棋譜` is
// left exactly as it was.
棋譜読込結果 棋譜を読み込む(ファイル系& ファイル, 文字コード& 符号, const std::string& パス,
                            棋譜表& 棋譜);

// --- Texts of the messages above, for the window and the tests ---

namespace record_text {
inline constexpr std::string_view 空のファイル = "ファイルが空です";
inline constexpr std::string_view 見出し不足 =
    "見出しの3行（対局名と両対局者の名前）がそろっていません";
inline constexpr std::string_view 文字コード不正 = "文字がシフトJIS（CP932）として正しくありません";
inline constexpr std::string_view 制御文字 = "改行などの制御文字が含まれています";
inline constexpr std::string_view 手数超過 = "指し手の行が500行を超えています";
inline constexpr std::string_view 手数範囲外 = "保存する手数が正しくありません";
inline constexpr std::string_view 文字列不正 = "文字列が正しくありません";
inline constexpr std::string_view UTF16 =
    "文字コードがUTF-16です（シフトJIS（CP932）で保存したファイルを選んでください）";
inline constexpr std::string_view CR改行 =
    "改行がCRだけで書かれています（改行はCR LFかLFにしてください）";
}  // namespace record_text

// "棋譜ファイル「名」を読み込めません。" and, on the next line, where (行 > 0, 桁 > 0) and why.
std::string 読込失敗文(std::string_view 表示名, int 行, int 桁, std::string_view 理由);

// "棋譜ファイル「名」に書き込めません。" and, on the next line, why.
std::string 書込失敗文(std::string_view 表示名, std::string_view 理由);

// Why a header text cannot be written: a character CP932 lacks, named in the message.
std::string 書けない文字文(std::string_view 文字列, std::string_view 文字);

// Asks whether to write the entries before the first one the format cannot hold.
std::string 途中まで保存文(std::string_view 理由, int 手目);

// Why entry n cannot be written: a hand count of 10 or more.
std::string 持駒数超過文(int 手目);

// Why entry n cannot be written: a time outside 0..99999 whole seconds.
std::string 時間範囲外文(int 手目);

// Why entry n cannot be written: its position would not read back as a record line.
std::string 局面不正文(int 手目, 行誤り 誤り);

// The file name of a path: what follows the last '/'.
std::string_view ファイル名部分(std::string_view パス);

}  // namespace kiryuza
