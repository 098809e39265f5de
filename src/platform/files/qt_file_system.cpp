#include "platform/files/qt_file_system.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QString>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
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

// The folder part of a path ("." for a bare name), without a trailing slash.
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Follows symbolic links from `path` to the name they finally lead to, which need not exist
// yet: writing there keeps a link a link. 0, or the errno of the failure (ELOOP for a chain
// that does not end).
int finalTarget(const std::string& path, std::string& target) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat status {};
        if (::lstat(target.c_str(), &status) != 0) return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(status.st_mode)) return 0;
        std::string link(std::size_t(PATH_MAX), '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n < 0) return errno;
        if (std::size_t(n) >= link.size()) return ENAMETOOLONG;
        link.resize(std::size_t(n));
        target = link.front() == '/' ? link : folderOf(target) + "/" + link;
    }
    return ELOOP;
}

// Why the file at `target` (links already followed) must not be replaced or removed: EISDIR
// for a folder, ENODEV for a device, a pipe or a socket; 0 when it is a regular file (then in
// `existing`) or there is none.
int refuseToReplace(const std::string& target, std::optional<struct stat>& existing) {
    existing.reset();
    struct stat status {};
    if (::lstat(target.c_str(), &status) != 0) return errno == ENOENT ? 0 : errno;
    if (S_ISDIR(status.st_mode)) return EISDIR;
    if (!S_ISREG(status.st_mode)) return ENODEV;
    existing = status;
    return 0;
}

// Creates a new, hidden file beside `target` that nothing else can have opened; its mode is
// what the umask leaves of rw-rw-rw-. The descriptor, or -1 with errno set.
int openTemporaryBeside(const std::string& target, std::string& temporary) {
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto mark =
            static_cast<std::uint64_t>(::getpid()) * 1000003u + counter.fetch_add(1) * 7919u +
            static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        temporary = folder + "." + name + "." + std::to_string(mark % 100000000u);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Writes every byte; 0 or the errno of the failure.
int writeAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return EIO;
        data += n;
        size -= std::size_t(n);
    }
    return 0;
}

// Makes a rename in `folder` last through a power cut; a folder that cannot be synced is
// left as it is (the file itself is already on the disk).
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
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
        case ENODEV:
            return files_text::kTargetNotRegular;
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
    std::string target;
    if (const int error = finalTarget(パス, target)) return failure(describeWriteErrno(error));
    const std::string folder = folderOf(target);
    if (target.size() == folder.size() + 1) return failure(files_text::kNoName);
    struct stat status {};
    if (::stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) {
        return failure(files_text::kFolderMissing);
    }
    // Only a regular file is ever replaced: a link to a device or a pipe is refused, not
    // replaced, whatever rights the process has.
    std::optional<struct stat> existing;
    if (const int error = refuseToReplace(target, existing)) {
        return failure(describeWriteErrno(error));
    }
    if (existing && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        return failure(describeWriteErrno(errno));
    }

    // A new file beside the target, renamed over it only when everything is on the disk.
    std::string temporary;
    errno = 0;
    const int fd = openTemporaryBeside(target, temporary);
    const QFileInfo info(QString::fromStdString(target));
    if (fd < 0) return failure(describeWriteFailure(errno, info, qint64(内容.size())));
    if (existing) {
        // The new file takes the old one's permissions and, where allowed, its owner.
        (void)::fchmod(fd, existing->st_mode & 07777);
        if ((existing->st_uid != ::geteuid() || existing->st_gid != ::getegid()) &&
            ::fchown(fd, existing->st_uid, existing->st_gid) != 0) {
            // Only root may give a file away; the file stays the writer's own.
        }
    }
    int error = writeAll(fd, 内容.data(), 内容.size());
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    // The target may have changed since it was looked at: look again just before the rename.
    if (error == 0) error = refuseToReplace(target, existing);
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return failure(describeWriteFailure(error, info, qint64(内容.size())));
    }
    syncFolder(folder);
    return {true, ""};
}

ファイル結果 QtFileSystem::消す(const std::string& パス) {
    std::string target;
    if (const int error = finalTarget(パス, target)) return failure(describeWriteErrno(error));
    std::optional<struct stat> existing;
    if (const int error = refuseToReplace(target, existing)) {
        return failure(describeWriteErrno(error));
    }
    if (existing && ::unlink(target.c_str()) != 0 && errno != ENOENT) {
        return failure(describeWriteErrno(errno));
    }
    return {true, ""};
}

std::optional<std::string> QtFileSystem::脇へ移す(const std::string& パス, const std::string& 印) {
    std::string target;
    std::optional<struct stat> existing;
    if (finalTarget(パス, target) != 0 || refuseToReplace(target, existing) != 0 || !existing) {
        return std::nullopt;
    }
    // A name no file has: the mark, then a number when the mark alone is taken.
    for (int n = 1; n < 1000; ++n) {
        std::string aside = target + "." + 印;
        if (n > 1) aside.append(1, '-').append(std::to_string(n));
        // Never over an existing name: a rename that refuses to replace, or where the file
        // system has none, a second name made first and the first one dropped after.
        bool moved =
            ::renameat2(AT_FDCWD, target.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0;
        if (!moved && (errno == EINVAL || errno == ENOSYS) &&
            ::link(target.c_str(), aside.c_str()) == 0) {
            moved = ::unlink(target.c_str()) == 0 || errno == ENOENT;
        }
        if (moved) {
            syncFolder(folderOf(target));
            return aside;
        }
        if (errno != EEXIST) break;
    }
    return std::nullopt;
}

}  // namespace kiryuza
