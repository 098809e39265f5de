// One copy per account and kept game, whatever is in the state folder and whatever other
// accounts do with the lock's names; later starts that never finish asking hold up nothing.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/single_instance.h"

namespace kiryuza::app {
namespace {

using Outcome = InstanceLock::Outcome;

// Runs the event loop, as the window's thread would, until `done` or ten seconds passed.
void 待つ(const std::function<bool()>& done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done() && std::chrono::steady_clock::now() < until) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

// A later start asking from a thread of its own while this one runs the event loop; whether
// the running copy answered.
bool 前に出させる(const InstanceLock& later, const QByteArray& token) {
    std::atomic<int> answered{-1};
    std::thread asker([&] { answered = later.askToComeForward(token) ? 1 : 0; });
    待つ([&] { return answered >= 0; });
    asker.join();
    return answered == 1;
}

sockaddr_un 住所(const std::string& name, socklen_t& length) {
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    name.copy(a.sun_path + 1, sizeof a.sun_path - 2);
    length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    return a;
}

int 繋ぐ(const std::string& name) {
    socklen_t length = 0;
    const sockaddr_un a = 住所(name, length);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&a), length) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Whether the other end has closed `fd`, without waiting.
bool 閉じられた(int fd) {
    char byte = 0;
    return ::recv(fd, &byte, 1, MSG_DONTWAIT) == 0;
}

TEST(InstanceLockTest, OneCopyWhateverTheStateFolderHolds) {
    struct 例 {
        const char* 名;
        std::function<void(const QString& folder)> 用意;
    };
    const auto 置く = [](const QString& folder) {
        return folder + QStringLiteral("/running.lock");
    };
    const auto 繋げる = [](const QString& to, const QString& from) { QFile::link(to, from); };
    const 例 表[] = {
        {"nothing there", [](const QString&) {}},
        {"a link to a regular file",
         [&](const QString& f) {
             QFile(f + "/real").open(QIODevice::WriteOnly);
             繋げる(f + "/real", 置く(f));
         }},
        {"a pipe",
         [&](const QString& f) { ::mkfifo(QFile::encodeName(置く(f)).constData(), 0600); }},
        {"a link to /dev/null", [&](const QString& f) { 繋げる("/dev/null", 置く(f)); }},
        {"a dangling link", [&](const QString& f) { 繋げる(f + "/gone", 置く(f)); }},
        {"a folder", [&](const QString& f) { QDir(f).mkdir("running.lock"); }},
        {"a read-only folder",
         [](const QString& f) { ::chmod(QFile::encodeName(f).constData(), 0500); }},
    };
    for (const 例& e : 表) {
        QTemporaryDir home;
        const QString folder = home.filePath(QStringLiteral("state/kiryuza"));
        ASSERT_TRUE(QDir().mkpath(folder));
        e.用意(folder);
        const QStringList 前 = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden);

        InstanceLock first = InstanceLock::claim(folder);
        ASSERT_EQ(first.outcome(), Outcome::first) << e.名;
        QByteArray 頼まれた;
        first.listen([&](const QByteArray& token) { 頼まれた = token; });
        const InstanceLock second = InstanceLock::claim(folder);
        EXPECT_EQ(second.outcome(), Outcome::running) << e.名;
        EXPECT_TRUE(前に出させる(second, "token-7")) << e.名;
        EXPECT_EQ(頼まれた, "token-7") << e.名;
        // The lock needs no file and makes none.
        EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden), 前) << e.名;
        // Whatever is removed from the folder meanwhile, and reached through a link or not.
        ::chmod(QFile::encodeName(folder).constData(), 0700);
        QFile::remove(置く(folder));
        QDir(置く(folder)).removeRecursively();
        ASSERT_TRUE(QFile::link(home.filePath(QStringLiteral("state")),
                                home.filePath(QStringLiteral("via"))));
        EXPECT_EQ(InstanceLock::claim(home.filePath(QStringLiteral("via/kiryuza"))).outcome(),
                  Outcome::running)
            << e.名;
    }
    // Another folder is another game; the last copy gone, the next start is first again.
    QTemporaryDir a;
    QTemporaryDir b;
    {
        const InstanceLock first = InstanceLock::claim(a.path());
        EXPECT_EQ(InstanceLock::claim(b.path()).outcome(), Outcome::first);
    }
    EXPECT_EQ(InstanceLock::claim(a.path()).outcome(), Outcome::first);
}

// A process of another account holding `names`: listening and answering every request as a
// copy would, bound without listening, or listening with a full queue that it never takes.
enum 振る舞い { 答える, 黙る, 溢れさせる };
class 他人 {
  public:
    他人(const std::vector<std::string>& names, 振る舞い how) {
        int ready[2];
        if (::pipe(ready) != 0) return;
        pid_ = ::fork();
        if (pid_ != 0) {
            char byte = 0;
            ::close(ready[1]);
            ready_ = ::read(ready[0], &byte, 1) == 1;
            ::close(ready[0]);
            return;
        }
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(1);
        int fd = -1;
        for (const std::string& name : names) {
            socklen_t length = 0;
            const sockaddr_un a = 住所(name, length);
            fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            if (::bind(fd, reinterpret_cast<const sockaddr*>(&a), length) != 0) ::_exit(2);
            if (how != 黙る) ::listen(fd, 0);
            for (int i = 0; how == 溢れさせる && i < 2; ++i)
                (void)::connect(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0),
                                reinterpret_cast<const sockaddr*>(&a), length);
        }
        (void)!::write(ready[1], "r", 1);
        for (;;) {
            const int c = how == 答える ? ::accept(fd, nullptr, nullptr) : (::pause(), -1);
            if (c >= 0) (void)!::write(c, "ok\n", 3), ::close(c);
        }
    }
    ~他人() {
        if (pid_ > 0) ::kill(pid_, SIGKILL), ::waitpid(pid_, nullptr, 0);
    }
    他人(const 他人&) = delete;
    他人& operator=(const 他人&) = delete;
    bool ready() const { return ready_; }

  private:
    pid_t pid_ = -1;
    bool ready_ = false;
};

// Another account can bind any name, the lock's included: a name it holds is passed over,
// whether its holder answers like a copy, stays silent or never takes a connection; only when
// every name is held does the game go without the lock.
TEST(InstanceLockTest, AnotherAccountsNameNeitherKeepsTheGameOutNorPassesForACopy) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to run as another account";
    QTemporaryDir home;
    const QString folder = home.path();
    for (const auto how : {答える, 黙る, 溢れさせる}) {
        const 他人 squatter({InstanceLock::nameFor(folder, 0)}, how);
        ASSERT_TRUE(squatter.ready());
        InstanceLock first = InstanceLock::claim(folder);
        ASSERT_EQ(first.outcome(), Outcome::first) << how;
        QByteArray 頼まれた;
        first.listen([&](const QByteArray& token) { 頼まれた = token; });
        const InstanceLock second = InstanceLock::claim(folder);
        ASSERT_EQ(second.outcome(), Outcome::running) << how;
        EXPECT_TRUE(前に出させる(second, "mine")) << how;
        EXPECT_EQ(頼まれた, "mine") << how;
    }
    std::vector<std::string> all;
    for (int i = 0; i < InstanceLock::kNames; ++i) all.push_back(InstanceLock::nameFor(folder, i));
    const 他人 everywhere(all, 答える);
    ASSERT_TRUE(everywhere.ready());
    const InstanceLock none = InstanceLock::claim(folder);
    EXPECT_EQ(none.outcome(), Outcome::unavailable);
    EXPECT_FALSE(none.askToComeForward("x"));
}

// Starts of this account that connect and never ask, or ask a byte at a time and never end,
// are read a few at a time, each for a short while, off the event loop's back: a real start
// behind them is answered, and each is dropped in time.
TEST(InstanceLockTest, SilentAndTricklingStartsHoldUpNothing) {
    QTemporaryDir home;
    InstanceLock first = InstanceLock::claim(home.path());
    ASSERT_EQ(first.outcome(), Outcome::first);
    int raised = 0;
    first.listen([&](const QByteArray&) { ++raised; });
    const std::string name = InstanceLock::nameFor(home.path());

    std::vector<int> silent;
    for (int i = 0; i < 8; ++i) silent.push_back(繋ぐ(name));
    std::atomic<bool> stop{false};
    std::vector<std::thread> tricklers;
    for (int i = 0; i < 2; ++i) {
        tricklers.emplace_back([&] {
            const int fd = 繋ぐ(name);
            while (!stop && fd >= 0 && ::send(fd, "r", 1, MSG_NOSIGNAL) == 1)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            if (fd >= 0) ::close(fd);
        });
    }
    // Only a few are read at once: the others are let go as soon as they come.
    待つ([&] {
        return std::count_if(silent.begin(), silent.end(), 閉じられた) >=
               8 - InstanceLock::kMaxCallers;
    });
    EXPECT_GE(std::count_if(silent.begin(), silent.end(), 閉じられた),
              8 - InstanceLock::kMaxCallers);

    const InstanceLock later = InstanceLock::claim(home.path());
    ASSERT_EQ(later.outcome(), Outcome::running);
    EXPECT_TRUE(前に出させる(later, {}));
    EXPECT_EQ(raised, 1);
    // Every one of them is let go after its time.
    待つ([&] { return std::all_of(silent.begin(), silent.end(), 閉じられた); });
    EXPECT_TRUE(std::all_of(silent.begin(), silent.end(), 閉じられた));
    stop = true;
    for (auto& t : tricklers) t.join();
    for (int fd : silent) ::close(fd);
    EXPECT_EQ(raised, 1);
}

}  // namespace
}  // namespace kiryuza::app
