#include "app/single_instance.h"

#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace kiryuza::app {

namespace {

constexpr QByteArrayView kRequest = "raise\t";
constexpr QByteArrayView kAnswer = "ok\n";
// How long a later start keeps trying to reach a copy that is still starting up, and how long
// either side waits for the other's few bytes.
constexpr auto kReachFor = std::chrono::seconds(3);
constexpr int kReplyMs = 3000;
constexpr std::size_t kMaxMessage = 4096;

// The address a first copy listens at: a name of Linux's abstract socket space made from the
// lock file's path, so nothing is left in a folder when the copy dies.
sockaddr_un addressFor(const std::string& lockFile, socklen_t& length) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : lockFile) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    char name[64];
    const int n = std::snprintf(name, sizeof name, "kiryuza-instance-%016llx",
                                static_cast<unsigned long long>(hash));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name, std::size_t(n));  // sun_path[0] stays 0: abstract
    length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + std::size_t(n));
    return address;
}

// True when the process at the other end of `fd` runs as this process's user: another user's
// copy neither asks nor is asked.
bool sameUser(int fd) {
    ucred peer{};
    socklen_t length = sizeof peer;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && peer.uid == ::getuid();
}

// Reads from `fd` until a line end, the end of the stream, kMaxMessage bytes or `ms` passed.
QByteArray readLine(int fd, int ms) {
    QByteArray bytes;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!bytes.contains('\n') && bytes.size() < qsizetype(kMaxMessage)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            until - std::chrono::steady_clock::now());
        pollfd p{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, int(left.count())) <= 0) break;
        char chunk[512];
        const ssize_t n = ::recv(fd, chunk, sizeof chunk, MSG_DONTWAIT);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) break;
        bytes.append(chunk, qsizetype(n));
    }
    return bytes;
}

bool sendAll(int fd, QByteArrayView bytes) {
    while (!bytes.isEmpty()) {
        const ssize_t n = ::send(fd, bytes.data(), std::size_t(bytes.size()), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes = bytes.sliced(n);
    }
    return true;
}

}  // namespace

InstanceLock::InstanceLock(Outcome outcome, int lockFd, int listenFd)
    : outcome_(outcome), lockFd_(lockFd), listenFd_(listenFd) {}

InstanceLock::InstanceLock(InstanceLock&& other) noexcept
    : outcome_(other.outcome_),
      lockFd_(std::exchange(other.lockFd_, -1)),
      listenFd_(std::exchange(other.listenFd_, -1)),
      comeForward_(std::move(other.comeForward_)),
      notifier_(std::move(other.notifier_)) {}

InstanceLock::~InstanceLock() {
    notifier_.reset();
    if (listenFd_ >= 0) ::close(listenFd_);
    if (lockFd_ >= 0) ::close(lockFd_);
}

InstanceLock InstanceLock::claim(const std::string& lockFile) {
    const QString path = QString::fromStdString(lockFile);
    QDir().mkpath(QFileInfo(path).absolutePath());
    // The lock is a regular file of our own: a link, a device or a pipe there is never opened.
    struct stat status {};
    if (::lstat(lockFile.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        return {Outcome::unavailable, -1, -1};
    }
    const int fd =
        ::open(lockFile.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) return {Outcome::unavailable, -1, -1};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return {Outcome::unavailable, -1, -1};
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return {error == EWOULDBLOCK ? Outcome::running : Outcome::unavailable, -1, -1};
    }
    // Reachable at once, so that a later start need not wait for the window; requests wait in
    // the socket's queue until listen(). A copy that cannot listen still holds the lock.
    int listenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    socklen_t length = 0;
    const sockaddr_un address = addressFor(lockFile, length);
    if (listenFd >= 0 &&
        (::bind(listenFd, reinterpret_cast<const sockaddr*>(&address), length) != 0 ||
         ::listen(listenFd, 8) != 0)) {
        ::close(listenFd);
        listenFd = -1;
    }
    return {Outcome::first, fd, listenFd};
}

void InstanceLock::listen(std::function<void(const QByteArray&)> comeForward) {
    comeForward_ = std::move(comeForward);
    notifier_.reset();
    if (listenFd_ < 0 || !comeForward_) return;
    notifier_ = std::make_unique<QSocketNotifier>(listenFd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { answer(); });
    answer();  // whatever came while the window was being made
}

// Answers every start waiting in the queue: each gets its "ok" before the window moves.
void InstanceLock::answer() {
    for (;;) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR) continue;
            return;
        }
        QByteArray message = sameUser(fd) ? readLine(fd, 500) : QByteArray();
        const bool asked = message.startsWith(kRequest) && message.endsWith('\n');
        if (asked) (void)sendAll(fd, kAnswer);
        ::close(fd);
        if (asked && comeForward_) comeForward_(message.sliced(kRequest.size()).trimmed());
    }
}

bool InstanceLock::askToComeForward(const std::string& lockFile, const QByteArray& token) {
    socklen_t length = 0;
    const sockaddr_un address = addressFor(lockFile, length);
    const auto until = std::chrono::steady_clock::now() + kReachFor;
    for (;;) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0) {
            QByteArray request = kRequest.toByteArray() + token.trimmed().left(kMaxMessage / 2);
            request += '\n';
            const bool answered = sameUser(fd) && sendAll(fd, request) &&
                                  readLine(fd, kReplyMs) == kAnswer.toByteArray();
            ::close(fd);
            return answered;
        }
        ::close(fd);
        // The running copy may be between taking the lock and listening.
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

QByteArray startActivationToken() {
    return qgetenv("XDG_ACTIVATION_TOKEN");
}

}  // namespace kiryuza::app
