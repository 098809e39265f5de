#include "app/single_instance.h"

#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStringList>
#include <QTimer>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <list>
#include <optional>
#include <thread>
#include <utility>

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <linux/sock_diag.h>
#include <linux/unix_diag.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kiryuza::app {

namespace {

using Clock = std::chrono::steady_clock;

constexpr QByteArrayView kRequest = "raise\t";
constexpr QByteArrayView kAnswer = "ok\n";
// How long a later start keeps trying to reach a copy that is still starting up, and how long
// it waits for the answer.
constexpr auto kReachFor = std::chrono::seconds(3);
constexpr int kReplyMs = 3000;
// How long a name that is bound but cannot be asked (no listener, or its queue full) is
// given before its holder counts as unknown: a copy of the game listens as soon as it binds.
constexpr auto kAskFor = std::chrono::milliseconds(500);
constexpr std::size_t kMaxMessage = 4096;
// Later starts that may wait in the listening socket's queue.
constexpr int kBacklog = 16;
// Connections taken from the queue at each wake-up, so that a flood of them cannot keep the
// window's thread from everything else.
constexpr int kAcceptsAtOnce = 32;

struct Address {
    sockaddr_un address{};
    socklen_t length = 0;
};

Address addressOf(const std::string& name) {
    Address a;
    a.address.sun_family = AF_UNIX;
    const std::size_t n = std::min(name.size(), sizeof a.address.sun_path - 1);
    std::memcpy(a.address.sun_path + 1, name.data(), n);  // sun_path[0] stays 0: abstract
    a.length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + n);
    return a;
}

// The folder as one name whichever way it is written: the part that exists with its links
// resolved, then the rest as written (the folder itself may not exist yet).
QString folderIdentity(const QString& folder) {
    QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    QStringList rest;
    for (;;) {
        const QString canonical = QFileInfo(path).canonicalFilePath();
        if (!canonical.isEmpty() || path == QStringLiteral("/")) {
            rest.prepend(canonical.isEmpty() ? path : canonical);
            return QDir::cleanPath(rest.join(u'/'));
        }
        const qsizetype slash = path.lastIndexOf(u'/');
        if (slash < 0) return QDir::cleanPath(folder);
        rest.prepend(path.mid(slash + 1));
        path = slash == 0 ? QStringLiteral("/") : path.left(slash);
    }
}

// The account the process at the other end of `fd` runs as; nothing when it cannot be told.
std::optional<uid_t> peerAccount(int fd) {
    ucred peer{};
    socklen_t length = sizeof peer;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0) return std::nullopt;
    return peer.uid;
}

bool sameUser(int fd) {
    return peerAccount(fd) == ::getuid();
}

// Reads from `fd` until a line end, the end of the stream, kMaxMessage bytes or `ms` passed.
QByteArray readLine(int fd, int ms) {
    QByteArray bytes;
    const auto until = Clock::now() + std::chrono::milliseconds(ms);
    while (!bytes.contains('\n') && bytes.size() < qsizetype(kMaxMessage)) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
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

// Who holds a name, as far as can be told now.
enum class Holder {
    none,    // nobody: the name is free
    ours,    // a process of this account
    other,   // a process of another account
    silent,  // bound without a listener, by an unknown account
    busy,    // listened at, but its queue is full: by an unknown account
};

// The account of the unconnected socket bound to `name`, from the kernel's table of sockets:
// nothing inside when no socket holds it, nothing at all when the table cannot be read.
std::optional<std::optional<uid_t>> tableHolder(const std::string& name) {
    const int fd = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_SOCK_DIAG);
    if (fd < 0) return std::nullopt;
    struct {
        nlmsghdr header;
        unix_diag_req request;
    } ask{};
    ask.header.nlmsg_len = sizeof ask;
    ask.header.nlmsg_type = SOCK_DIAG_BY_FAMILY;
    ask.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    ask.request.sdiag_family = AF_UNIX;
    // Listening and bound-but-unconnected sockets: the connections a listener accepted carry
    // its name too.
    ask.request.udiag_states = (1u << TCP_LISTEN) | (1u << TCP_CLOSE);
    ask.request.udiag_show = UDIAG_SHOW_NAME | UDIAG_SHOW_UID;
    std::optional<std::optional<uid_t>> found;
    if (::send(fd, &ask, sizeof ask, 0) == ssize_t(sizeof ask)) {
        const std::string wanted = std::string(1, '\0') + name;
        alignas(nlmsghdr) char buffer[16384];
        bool done = false;
        bool sawAccount = false;
        std::optional<uid_t> holder;
        while (!done) {
            pollfd p{fd, POLLIN, 0};
            if (::poll(&p, 1, 1000) <= 0) break;
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            int left = int(n);
            for (auto* h = reinterpret_cast<nlmsghdr*>(buffer); NLMSG_OK(h, left);
                 h = NLMSG_NEXT(h, left)) {
                if (h->nlmsg_type == NLMSG_DONE || h->nlmsg_type == NLMSG_ERROR) {
                    done = true;
                    if (h->nlmsg_type == NLMSG_DONE && (sawAccount || !holder)) found = holder;
                    break;
                }
                const auto* message = static_cast<const unix_diag_msg*>(NLMSG_DATA(h));
                int attributesLeft =
                    int(h->nlmsg_len) - int(NLMSG_LENGTH(NLMSG_ALIGN(sizeof *message)));
                std::optional<std::string> socketName;
                std::optional<uid_t> account;
                for (auto* a = reinterpret_cast<rtattr*>(static_cast<char*>(NLMSG_DATA(h)) +
                                                         NLMSG_ALIGN(sizeof *message));
                     RTA_OK(a, attributesLeft); a = RTA_NEXT(a, attributesLeft)) {
                    if (a->rta_type == UNIX_DIAG_NAME) {
                        socketName.emplace(static_cast<const char*>(RTA_DATA(a)),
                                           std::size_t(RTA_PAYLOAD(a)));
                    } else if (a->rta_type == UNIX_DIAG_UID && RTA_PAYLOAD(a) >= sizeof(uid_t)) {
                        uid_t uid = 0;
                        std::memcpy(&uid, RTA_DATA(a), sizeof uid);
                        account = uid;
                    }
                }
                if (socketName == wanted) {
                    // A kernel too old to name accounts leaves it unknown.
                    sawAccount = account.has_value();
                    holder = account.value_or(uid_t(-1));
                }
            }
        }
    }
    ::close(fd);
    return found;
}

// Who holds `name`: asked over a connection, whose peer's account the kernel vouches for;
// where none can be made, the kernel's table of sockets.
Holder holderOf(const std::string& name) {
    const Address a = addressOf(name);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return Holder::busy;
    const bool connected =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&a.address), a.length) == 0;
    const int error = errno;
    const std::optional<uid_t> account = connected ? peerAccount(fd) : std::nullopt;
    ::close(fd);
    if (account) return *account == ::getuid() ? Holder::ours : Holder::other;
    if (const auto inTable = tableHolder(name)) {
        if (!*inTable) return Holder::none;
        return **inTable == ::getuid() ? Holder::ours : Holder::other;
    }
    return !connected && error == ECONNREFUSED ? Holder::silent : Holder::busy;
}

// Binds and listens at `name`: the socket, or -1 with errno set (EADDRINUSE: the name is held).
int bindName(const std::string& name) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    const Address a = addressOf(name);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&a.address), a.length) == 0 &&
        ::listen(fd, kBacklog) == 0) {
        return fd;
    }
    const int error = errno;
    ::close(fd);
    errno = error;
    return -1;
}

}  // namespace

std::string InstanceLock::nameFor(const QString& folder, int index) {
    const QByteArray identity = folderIdentity(folder).toUtf8();
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : identity) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    char name[80];
    const int n = std::snprintf(name, sizeof name, "kiryuza-u%u-%016llx-%d", unsigned(::getuid()),
                                static_cast<unsigned long long>(hash), index);
    return std::string(name, std::size_t(n));
}

// Reads later starts without ever waiting on one: each is read when its bytes come, a few at a
// time, each for a short while.
class InstanceLock::Listener {
  public:
    Listener(int fd, std::function<void(const QByteArray&)> comeForward)
        : fd_(fd), comeForward_(std::move(comeForward)), accepting_(fd, QSocketNotifier::Read) {
        QObject::connect(&accepting_, &QSocketNotifier::activated, [this] { acceptSome(); });
        expiry_.setInterval(100);
        QObject::connect(&expiry_, &QTimer::timeout, [this] { expire(); });
        acceptSome();  // whatever came while the window was being made
    }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

  private:
    struct Caller {
        int fd = -1;
        QByteArray bytes;
        Clock::time_point until;
        std::unique_ptr<QSocketNotifier> notifier;

        Caller(int socket, Clock::time_point deadline) : fd(socket), until(deadline) {}
        Caller(const Caller&) = delete;
        Caller& operator=(const Caller&) = delete;
        ~Caller() {
            // The notifier may be the one whose signal is running: it goes once that is over.
            if (notifier) {
                notifier->setEnabled(false);
                notifier.release()->deleteLater();
            }
            ::close(fd);
        }
    };
    using Callers = std::list<Caller>;

    void acceptSome() {
        for (int i = 0; i < kAcceptsAtOnce; ++i) {
            const int fd = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            if (fd < 0) {
                if (errno == EINTR || errno == ECONNABORTED) continue;
                return;
            }
            // Another account's process neither asks nor waits.
            if (!sameUser(fd)) {
                ::close(fd);
                continue;
            }
            // The oldest that has not finished gives way to the newest.
            if (callers_.size() >= std::size_t(kMaxCallers)) callers_.pop_front();
            callers_.emplace_back(fd, Clock::now() + kCallerTime);
            const auto caller = std::prev(callers_.end());
            if (!readFrom(caller)) continue;
            caller->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
            QObject::connect(caller->notifier.get(), &QSocketNotifier::activated,
                             [this, caller] { readFrom(caller); });
            if (!expiry_.isActive()) expiry_.start();
        }
    }

    // Reads what has come; false when the caller is done with (and gone).
    bool readFrom(Callers::iterator caller) {
        for (;;) {
            char chunk[512];
            const ssize_t n = ::recv(caller->fd, chunk, sizeof chunk, MSG_DONTWAIT);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno == EAGAIN) return true;
            if (n <= 0) break;  // ended or failed before a whole request
            caller->bytes.append(chunk, qsizetype(n));
            const qsizetype end = caller->bytes.indexOf('\n');
            if (end >= 0) {
                const QByteArray line = caller->bytes.left(end);
                const bool asked = line.startsWith(kRequest);
                if (asked)
                    (void)::send(caller->fd, kAnswer.data(), std::size_t(kAnswer.size()),
                                 MSG_DONTWAIT | MSG_NOSIGNAL);
                callers_.erase(caller);
                if (asked && comeForward_) comeForward_(line.sliced(kRequest.size()).trimmed());
                return false;
            }
            if (caller->bytes.size() >= qsizetype(kMaxMessage)) break;
        }
        callers_.erase(caller);
        return false;
    }

    void expire() {
        const auto now = Clock::now();
        while (!callers_.empty() && callers_.front().until <= now) callers_.pop_front();
        if (callers_.empty()) expiry_.stop();
    }

    int fd_;
    std::function<void(const QByteArray&)> comeForward_;
    QSocketNotifier accepting_;
    QTimer expiry_;
    Callers callers_;
};

InstanceLock::InstanceLock(Outcome outcome, int fd, std::string name)
    : outcome_(outcome), fd_(fd), name_(std::move(name)) {}

InstanceLock::InstanceLock(InstanceLock&& other) noexcept
    : outcome_(other.outcome_),
      fd_(std::exchange(other.fd_, -1)),
      name_(std::move(other.name_)),
      listener_(std::move(other.listener_)) {}

InstanceLock::~InstanceLock() {
    listener_.reset();
    if (fd_ >= 0) ::close(fd_);
}

InstanceLock InstanceLock::claim(const QString& folder) {
    for (int index = 0; index < kNames; ++index) {
        const std::string name = nameFor(folder, index);
        const auto askUntil = Clock::now() + kAskFor;
        Holder holder = Holder::none;
        for (;;) {
            const int fd = bindName(name);
            if (fd >= 0) {
                // The names before this one were held by other accounts when they were tried; a
                // copy of ours that has taken one since (its holder gone) is the one that runs.
                for (int before = 0; before < index; ++before) {
                    const std::string earlier = nameFor(folder, before);
                    if (holderOf(earlier) == Holder::ours) {
                        ::close(fd);
                        return {Outcome::running, -1, earlier};
                    }
                }
                return {Outcome::first, fd, name};
            }
            if (errno != EADDRINUSE) return {Outcome::unavailable, -1, {}};
            holder = holderOf(name);
            if (holder == Holder::ours) return {Outcome::running, -1, name};
            if (holder == Holder::other || Clock::now() >= askUntil) break;
            // Gone since (the name is tried again), or not listening yet.
            if (holder != Holder::none) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        // A copy of the game listens as soon as it binds: a name long bound without a listener
        // is not one. A full queue may be a busy copy of ours: then there is no lock.
        if (holder == Holder::busy || holder == Holder::none) return {Outcome::unavailable, -1, {}};
    }
    return {Outcome::unavailable, -1, {}};
}

void InstanceLock::listen(std::function<void(const QByteArray&)> comeForward) {
    listener_.reset();
    if (outcome_ != Outcome::first || fd_ < 0 || !comeForward) return;
    listener_ = std::make_unique<Listener>(fd_, std::move(comeForward));
}

bool InstanceLock::askToComeForward(const QByteArray& token) const {
    if (outcome_ != Outcome::running) return false;
    const Address a = addressOf(name_);
    const auto until = Clock::now() + kReachFor;
    for (;;) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        // A full queue makes a connection wait; not for ever.
        const timeval wait{kReplyMs / 1000, 0};
        (void)::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&a.address), a.length) == 0) {
            QByteArray request = kRequest.toByteArray() + token.trimmed().left(kMaxMessage / 2);
            request += '\n';
            const bool answered = sameUser(fd) && sendAll(fd, request) &&
                                  readLine(fd, kReplyMs) == kAnswer.toByteArray();
            ::close(fd);
            return answered;
        }
        ::close(fd);
        // The running copy may be between binding and listening.
        if (Clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

QByteArray startActivationToken() {
    return qgetenv("XDG_ACTIVATION_TOKEN");
}

}  // namespace kiryuza::app
