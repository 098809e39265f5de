// Whole-file access: QFile for reading; writing to a new file beside the target, renamed over
// it once on the disk, so that a failed or interrupted write leaves the previous file as it
// was. A write follows links only to a regular file, and only links of the account the game
// runs as (or, among the folders on the way, root's): never a link another account made, which
// could lead a write of root's onto any file. Failures carry Japanese texts.
#pragma once

#include <QtGlobal>
#include <string_view>

#include "interfaces/platform.h"

namespace kiryuza {

// The texts the adapter gives when a file cannot be read or written.
namespace files_text {
inline constexpr std::string_view kNoName = "ファイル名が指定されていません";
inline constexpr std::string_view kNotFound = "ファイルが見つかりません";
inline constexpr std::string_view kIsFolder = "ファイルではなくフォルダです";
inline constexpr std::string_view kNotRegular = "通常のファイルではないため読めません";
inline constexpr std::string_view kTooLarge = 読込文_大きすぎる;
inline constexpr std::string_view kNoReadPermission = "ファイルを読む権限がありません";
inline constexpr std::string_view kOpenFailed = "ファイルを開けませんでした";
inline constexpr std::string_view kReadFailed = "ファイルを読み込めませんでした";
inline constexpr std::string_view kFolderMissing = "保存先のフォルダが見つかりません";
inline constexpr std::string_view kTargetIsFolder = "同じ名前のフォルダがあるため保存できません";
inline constexpr std::string_view kTargetNotRegular =
    "保存先が通常のファイルではない（装置やパイプなど）ため保存できません";
inline constexpr std::string_view kForeignLink =
    "保存先へのリンクかその先のファイルが別のユーザーのものなので保存できません";
inline constexpr std::string_view kNoWritePermission = "保存先のフォルダに書き込む権限がありません";
inline constexpr std::string_view kReadOnly = "保存先が読み取り専用です";
inline constexpr std::string_view kDiskFull = "ディスクの空き容量が足りません";
inline constexpr std::string_view kFileTooBig = "ファイルの大きさの上限を超えたため書き込めません";
inline constexpr std::string_view kNameTooLong = "ファイル名が長すぎます";
inline constexpr std::string_view kWriteFailed = "ファイルを書き込めませんでした";
}  // namespace files_text

// The text for a failed write, from the errno the system call left behind; kWriteFailed when
// the number says nothing more specific.
std::string_view describeWriteErrno(int error);

// Makes a write past the process's file-size limit fail with EFBIG (reported to the player)
// instead of ending the program with SIGXFSZ. Called once at start-up.
void ignoreFileSizeSignal();

class QtFileSystem : public ファイル系 {
  public:
    // True when something other than a folder is at the path.
    bool 存在(const std::string& パス) override;
    std::optional<std::vector<std::uint8_t>> 読む(const std::string& パス, std::string& 誤り,
                                                  std::size_t 上限) override;
    ファイル結果 書く(const std::string& パス, const std::vector<std::uint8_t>& 内容) override;
    // The file stays open; its parts are read with pread, from any thread. Its first bytes
    // are read at once, so that a file that cannot be read is known now, as with 読む.
    std::shared_ptr<const 読み口> 開く(const std::string& パス, std::string& 誤り,
                                       std::size_t 上限) override;

    // Makes the folder at the path and every missing folder on the way, following links by the
    // same rule as a write.
    ファイル結果 フォルダを作る(const std::string& パス);
    // Removes the regular file the path leads to (a link is followed and stays); anything else
    // there is left alone and refused. Success when there is nothing to remove.
    ファイル結果 消す(const std::string& パス);
    // Renames the regular file the path leads to into "<name>.<印>" (or "<name>.<印>-2", ...)
    // beside it, never over another file; the new path, or nothing when it could not be done.
    std::optional<std::string> 脇へ移す(const std::string& パス, const std::string& 印);
};

}  // namespace kiryuza
