#include "platform/files/qt_file_system.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>
#include <QString>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <limits>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
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

// Why a file cannot be read, found before it is opened: nothing when it may be tried.
// `limit` is the caller's size limit as Qt counts sizes.
std::optional<std::string_view> refuseToRead(const std::string& パス, const QFileInfo& info,
                                             qint64 limit) {
    if (パス.empty()) return files_text::kNoName;
    if (!info.exists()) return files_text::kNotFound;
    if (info.isDir()) return files_text::kIsFolder;
    // Devices and pipes could block or never end.
    if (!info.isFile()) return files_text::kNotRegular;
    if (info.size() > limit) return files_text::kTooLarge;
    return std::nullopt;
}

// The text for a file that could not be opened for reading, from the errno left behind.
std::string_view describeOpenErrno(int error) {
    if (error == EACCES || error == EPERM) return files_text::kNoReadPermission;
    if (error == ENOENT) return files_text::kNotFound;
    return files_text::kOpenFailed;
}

qint64 sizeLimit(std::size_t 上限) {
    return qint64(std::min<std::size_t>(上限, std::size_t(1) << 40));
}

// An open file read with pread, which keeps no position and so serves any thread.
class OpenFile : public 読み口 {
  public:
    OpenFile(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
    ~OpenFile() override { ::close(fd_); }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    std::uint64_t 大きさ() const override { return size_; }
    bool 読む(std::uint64_t 位置, void* 先, std::size_t 長さ) const override {
        auto* to = static_cast<char*>(先);
        while (長さ > 0) {
            if (位置 > std::uint64_t(std::numeric_limits<off_t>::max())) return false;
            const ssize_t n = ::pread(fd_, to, 長さ, off_t(位置));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            to += n;
            位置 += std::uint64_t(n);
            長さ -= std::size_t(n);
        }
        return true;
    }

  private:
    int fd_;
    std::uint64_t size_;
};

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
    const QFileInfo info(toQString(パス));
    const qint64 limit = sizeLimit(上限);
    if (const auto refusal = refuseToRead(パス, info, limit)) return fail(*refusal);

    QFile file(info.filePath());
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) return fail(describeOpenErrno(errno));
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

std::shared_ptr<const 読み口> QtFileSystem::開く(const std::string& パス, std::string& 誤り,
                                                 std::size_t 上限) {
    auto fail = [&誤り](std::string_view text) {
        誤り = text;
        return nullptr;
    };
    const QFileInfo info(toQString(パス));
    const qint64 limit = sizeLimit(上限);
    if (const auto refusal = refuseToRead(パス, info, limit)) return fail(*refusal);

    errno = 0;
    const int fd = ::open(QFile::encodeName(info.filePath()).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return fail(describeOpenErrno(errno));
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return fail(files_text::kNotRegular);
    }
    auto file = std::make_shared<const OpenFile>(fd, std::uint64_t(status.st_size));
    if (status.st_size > limit) return fail(files_text::kTooLarge);
    // A file that opens but cannot be read is refused now, not when it is first wanted.
    char first[512];
    if (!file->読む(0, first, std::min<std::size_t>(sizeof first, std::size_t(status.st_size)))) {
        return fail(files_text::kReadFailed);
    }
    誤り.clear();
    return file;
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
