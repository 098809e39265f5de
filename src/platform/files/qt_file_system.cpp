#include "platform/files/qt_file_system.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>
#include <QString>
#include <algorithm>
#include <cerrno>
#include <csignal>

#include <unistd.h>

namespace kiryuza {

namespace {

QString toQString(const std::string& path) {
    return QString::fromUtf8(path.data(), qsizetype(path.size()));
}

ファイル結果 failure(std::string_view text) {
    return {false, std::string(text)};
}

// The text for a failed write; a full disk is recognised by the free space as well, in case
// the error number was lost on the way out of Qt.
std::string_view describeWriteFailure(int error, const QFileInfo& target, qint64 size) {
    std::string_view text = describeWriteErrno(error);
    if (text == files_text::kWriteFailed) {
        const QStorageInfo storage(target.absolutePath());
        if (storage.isValid() && storage.bytesAvailable() >= 0 && storage.bytesAvailable() < size) {
            text = files_text::kDiskFull;
        }
    }
    return text;
}

// Forces the written data to the disk, where a full disk or a failing device may only now
// show; true when the file has no descriptor to sync.
bool syncToDisk(QSaveFile& file) {
    const int fd = file.handle();
    return fd < 0 || ::fsync(fd) == 0;
}

}  // namespace

void ignoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

std::string_view describeWriteErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return files_text::kFolderMissing;
        case EISDIR:
            return files_text::kTargetIsFolder;
        case EACCES:
        case EPERM:
            return files_text::kNoWritePermission;
        case EROFS:
            return files_text::kReadOnly;
        case ENOSPC:
        case EDQUOT:
            return files_text::kDiskFull;
        case EFBIG:
            return files_text::kFileTooBig;
        case ENAMETOOLONG:
            return files_text::kNameTooLong;
        default:
            return files_text::kWriteFailed;
    }
}

bool QtFileSystem::存在(const std::string& パス) {
    if (パス.empty()) return false;
    const QFileInfo info(toQString(パス));
    return info.exists() && !info.isDir();
}

std::optional<std::vector<std::uint8_t>> QtFileSystem::読む(const std::string& パス,
                                                            std::string& 誤り, std::size_t 上限) {
    auto fail = [&誤り](std::string_view text) {
        誤り = text;
        return std::nullopt;
    };
    if (パス.empty()) return fail(files_text::kNoName);
    const QFileInfo info(toQString(パス));
    if (!info.exists()) return fail(files_text::kNotFound);
    if (info.isDir()) return fail(files_text::kIsFolder);
    // Devices and pipes could block or never end.
    if (!info.isFile()) return fail(files_text::kNotRegular);
    const auto limit = qint64(std::min<std::size_t>(上限, std::size_t(1) << 40));
    if (info.size() > limit) return fail(files_text::kTooLarge);

    QFile file(info.filePath());
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        const int error = errno;
        if (error == EACCES || error == EPERM) return fail(files_text::kNoReadPermission);
        if (error == ENOENT) return fail(files_text::kNotFound);
        return fail(files_text::kOpenFailed);
    }
    // Read by the file's real size (it may still grow while we read, so stop one byte past
    // the limit), never reserving room for the limit itself.
    std::vector<std::uint8_t> bytes(std::size_t(std::max<qint64>(info.size(), 0)));
    qint64 got = 0;
    for (;;) {
        if (got == qint64(bytes.size())) {
            if (got > limit) return fail(files_text::kTooLarge);
            bytes.resize(bytes.size() + 4096);
        }
        const qint64 n = file.read(reinterpret_cast<char*>(bytes.data()) + got,
                                   std::min(qint64(bytes.size()) - got, limit + 1 - got));
        if (n < 0) return fail(files_text::kReadFailed);
        if (n == 0) break;
        got += n;
        if (got > limit) return fail(files_text::kTooLarge);
    }
    bytes.resize(std::size_t(got));
    誤り.clear();
    return bytes;
}

ファイル結果 QtFileSystem::書く(const std::string& パス, const std::vector<std::uint8_t>& 内容) {
    if (パス.empty()) return failure(files_text::kNoName);
    const QFileInfo target(toQString(パス));
    if (target.fileName().isEmpty()) return failure(files_text::kNoName);
    const QFileInfo folder(target.absolutePath());
    if (!folder.exists() || !folder.isDir()) return failure(files_text::kFolderMissing);
    if (target.isDir()) return failure(files_text::kTargetIsFolder);

    // QSaveFile writes a temporary file beside the target and renames it over the target only
    // when everything was written; direct writing (which would not be atomic) stays off.
    QSaveFile file(target.filePath());
    const qint64 size = qint64(内容.size());
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        return failure(describeWriteFailure(errno, target, size));
    }
    // QSaveFile::commit() ignores a failure of its final flush (Qt 6.4), which would put a
    // truncated file in place of the old one: flush and sync here and give up on any error.
    const qint64 written = file.write(reinterpret_cast<const char*>(内容.data()), size);
    const bool stored = written == size && file.flush() && syncToDisk(file);
    if (!stored) {
        const int error = errno;
        file.cancelWriting();
        return failure(describeWriteFailure(error, target, size));
    }
    errno = 0;
    if (!file.commit()) return failure(describeWriteFailure(errno, target, size));
    return {true, ""};
}

}  // namespace kiryuza
