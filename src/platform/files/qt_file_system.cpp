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
#include <deque>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>

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

// A descriptor that closes itself.
class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        if (this != &other) {
            reset();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

  private:
    void reset() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }
    int fd_;
};

// Not an errno: a link on the way belongs to another account, or leads to a file that does.
constexpr int kForeignLink = -1;

std::string_view describeFailure(int error) {
    return error == kForeignLink ? files_text::kForeignLink : describeWriteErrno(error);
}

// The names of a path, without empty ones and ".".
std::deque<std::string> namesOf(std::string_view path) {
    std::deque<std::string> names;
    while (!path.empty()) {
        const std::size_t slash = path.find('/');
        const std::string_view name = path.substr(0, slash);
        if (!name.empty() && name != ".") names.emplace_back(name);
        if (slash == std::string_view::npos) break;
        path.remove_prefix(slash + 1);
    }
    return names;
}

std::string joined(const std::string& folder, const std::string& name) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/') path.push_back('/');
    path.append(name);
    return path;
}

// Where a path leads: the folder that holds its last name, held open so that whatever is
// swapped in on the way afterwards is never written into, and that name.
struct Place {
    Descriptor folder;
    std::string folderPath;  // as the player reads it
    std::string name;
    std::string path() const { return joined(folderPath, name); }
};

// Walks `path` one name at a time from the working folder (or the root), following links:
// one among the folders on the way only when it belongs to this account or to root, one at the
// last name only when it and the file it leads to belong to this account (the rule the
// kernel applies to links in shared folders): a link another account made must not lead a
// write of ours onto a file of its choice. With `folders`, every name is a folder, made when
// missing. 0, or the errno of the failure.
int walk(const std::string& path, Place& place, bool folders = false) {
    std::deque<std::string> names = namesOf(path);
    const bool absolute = !path.empty() && path.front() == '/';
    Descriptor folder(::open(absolute ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0) return errno;
    std::string where(absolute ? 1 : 0, '/');
    const uid_t self = ::geteuid();
    bool followedLast = false;
    int hops = 0;
    while (!names.empty()) {
        const std::string name = std::move(names.front());
        names.pop_front();
        const bool last = names.empty() && !folders;
        struct stat status {};
        const bool exists =
            ::fstatat(folder.get(), name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0;
        if (!exists && errno != ENOENT) return errno;
        if (exists && S_ISLNK(status.st_mode)) {
            if (++hops > 40) return ELOOP;
            if (status.st_uid != self && (last || status.st_uid != 0)) return kForeignLink;
            std::string link(std::size_t(PATH_MAX), '\0');
            const ssize_t n = ::readlinkat(folder.get(), name.c_str(), link.data(), link.size());
            if (n < 0) return errno;
            if (std::size_t(n) >= link.size()) return ENAMETOOLONG;
            link.resize(std::size_t(n));
            followedLast = followedLast || last;
            const std::deque<std::string> more = namesOf(link);
            // A last name that leads to a folder itself ("/", ".") is a folder.
            if (more.empty() && last) return EISDIR;
            names.insert(names.begin(), more.begin(), more.end());
            if (!link.empty() && link.front() == '/') {
                folder = Descriptor(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
                if (folder.get() < 0) return errno;
                where.assign(1, '/');
            }
            continue;
        }
        if (last) {
            if (followedLast && exists && status.st_uid != self) return kForeignLink;
            place.folder = std::move(folder);
            place.folderPath = std::move(where);
            place.name = name;
            return 0;
        }
        if (!exists && folders && ::mkdirat(folder.get(), name.c_str(), 0777) != 0 &&
            errno != EEXIST) {
            return errno;
        }
        Descriptor next(
            ::openat(folder.get(), name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        // A link swapped in since it was looked at opens as no folder.
        if (next.get() < 0) return errno == ELOOP ? ENOTDIR : errno;
        folder = std::move(next);
        where = joined(where, name);
    }
    if (!folders) return ENOENT;
    place.folder = std::move(folder);
    place.folderPath = std::move(where);
    place.name.clear();
    return 0;
}

// Why the file at the place must not be replaced or removed: EISDIR for a folder, ENODEV for
// a link, a device, a pipe or a socket; 0 when it is a regular file (then in `existing`) or
// there is none.
int refuseToReplace(const Place& place, std::optional<struct stat>& existing) {
    existing.reset();
    struct stat status {};
    if (::fstatat(place.folder.get(), place.name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        return errno == ENOENT ? 0 : errno;
    }
    if (S_ISDIR(status.st_mode)) return EISDIR;
    if (!S_ISREG(status.st_mode)) return ENODEV;
    existing = status;
    return 0;
}

// Creates a new, hidden file beside the place's file that nothing else can have opened; its
// mode is what the umask leaves of rw-rw-rw-. The descriptor, or -1 with errno set.
int openTemporaryBeside(const Place& place, std::string& temporary) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto mark =
            static_cast<std::uint64_t>(::getpid()) * 1000003u + counter.fetch_add(1) * 7919u +
            static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        temporary = "." + place.name + "." + std::to_string(mark % 100000000u);
        const int fd = ::openat(place.folder.get(), temporary.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
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

// Makes a rename in the place's folder last through a power cut; a folder that cannot be
// synced is left as it is (the file itself is already on the disk).
void syncFolder(const Place& place) {
    const int fd = ::openat(place.folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
    Place place;
    if (const int error = walk(パス, place)) {
        return failure(error == ENOENT ? files_text::kFolderMissing : describeFailure(error));
    }
    // Only a regular file is ever replaced: a link to a device or a pipe is refused, not
    // replaced, whatever rights the process has.
    std::optional<struct stat> existing;
    if (const int error = refuseToReplace(place, existing)) {
        return failure(describeWriteErrno(error));
    }
    if (existing && ::faccessat(place.folder.get(), place.name.c_str(), W_OK, AT_EACCESS) != 0) {
        return failure(describeWriteErrno(errno));
    }

    // A new file beside the target, renamed over it only when everything is on the disk.
    std::string temporary;
    errno = 0;
    const int fd = openTemporaryBeside(place, temporary);
    const QFileInfo info(QString::fromStdString(place.path()));
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
    // The rename itself replaces the name and never follows what is there.
    if (error == 0) error = refuseToReplace(place, existing);
    if (error == 0 && ::renameat(place.folder.get(), temporary.c_str(), place.folder.get(),
                                 place.name.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlinkat(place.folder.get(), temporary.c_str(), 0);
        return failure(describeWriteFailure(error, info, qint64(内容.size())));
    }
    syncFolder(place);
    return {true, ""};
}

ファイル結果 QtFileSystem::フォルダを作る(const std::string& パス) {
    if (パス.empty()) return failure(files_text::kNoName);
    Place place;
    if (const int error = walk(パス, place, true)) return failure(describeFailure(error));
    return {true, ""};
}

ファイル結果 QtFileSystem::消す(const std::string& パス) {
    Place place;
    if (const int error = walk(パス, place)) {
        return error == ENOENT ? ファイル結果{true, ""} : failure(describeFailure(error));
    }
    std::optional<struct stat> existing;
    if (const int error = refuseToReplace(place, existing)) {
        return failure(describeWriteErrno(error));
    }
    if (existing && ::unlinkat(place.folder.get(), place.name.c_str(), 0) != 0 && errno != ENOENT) {
        return failure(describeWriteErrno(errno));
    }
    return {true, ""};
}

std::optional<std::string> QtFileSystem::脇へ移す(const std::string& パス, const std::string& 印) {
    Place place;
    std::optional<struct stat> existing;
    if (walk(パス, place) != 0 || refuseToReplace(place, existing) != 0 || !existing) {
        return std::nullopt;
    }
    const int folder = place.folder.get();
    // A name no file has: the mark, then a number when the mark alone is taken.
    for (int n = 1; n < 1000; ++n) {
        std::string aside = place.name + "." + 印;
        if (n > 1) aside.append(1, '-').append(std::to_string(n));
        // Never over an existing name: a rename that refuses to replace, or where the file
        // system has none, a second name made first and the first one dropped after.
        bool moved =
            ::renameat2(folder, place.name.c_str(), folder, aside.c_str(), RENAME_NOREPLACE) == 0;
        if (!moved && (errno == EINVAL || errno == ENOSYS) &&
            ::linkat(folder, place.name.c_str(), folder, aside.c_str(), 0) == 0) {
            moved = ::unlinkat(folder, place.name.c_str(), 0) == 0 || errno == ENOENT;
        }
        if (moved) {
            syncFolder(place);
            return joined(place.folderPath, aside);
        }
        if (errno != EEXIST) break;
    }
    return std::nullopt;
}

}  // namespace kiryuza
