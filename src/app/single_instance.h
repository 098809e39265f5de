// One copy of the game per account and kept game. The first start binds a name in Linux's
// abstract socket space, made of the account's number and the folder of the kept game, for as
// long as it runs, and listens there for later starts; a later start finds the name held by a
// process of its own account, asks that copy to come to the front and ends without touching a
// file. Binding a name is atomic and needs no file, so no file in the state folder (missing,
// read-only, a link, a pipe, a folder, deleted) can let a second copy in, and the name goes
// with the process that held it, so a copy that died leaves nothing that keeps the next start
// out.
//
// Any account may bind any abstract name. A name another account holds is neither taken for
// a running copy nor keeps the game out: the game binds the next of a few names instead. When
// it cannot tell who holds a name (every name taken, a holder that never answers), it has no
// lock, and must not touch the kept game.
#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace kiryuza::app {

class InstanceLock {
  public:
    enum class Outcome {
        first,        // this copy holds the lock
        running,      // a copy of this account holds it
        unavailable,  // no lock can be had here: another copy may run for all this copy knows
    };

    // How many names a copy tries, the first free one being its lock.
    static constexpr int kNames = 8;
    // The listening copy reads at most this many later starts at once, each for at most
    // kCallerTime, so that silent or slow ones never hold up the window or a start after them.
    static constexpr int kMaxCallers = 4;
    static constexpr std::chrono::milliseconds kCallerTime{1000};

    // Takes the lock of the game kept in `folder`. A first copy is reachable by later starts
    // from now on; they wait until listen() hands their requests over.
    static InstanceLock claim(const QString& folder);

    InstanceLock(InstanceLock&& other) noexcept;
    InstanceLock& operator=(InstanceLock&&) = delete;
    InstanceLock(const InstanceLock&) = delete;
    ~InstanceLock();

    Outcome outcome() const { return outcome_; }

    // A first copy: `comeForward` runs on the event loop's thread whenever a later start of
    // this account asks, with that start's activation token (empty when it had none). Needs a
    // QCoreApplication; an empty function stops listening (before the application goes).
    void listen(std::function<void(const QByteArray& token)> comeForward);

    // A copy that found another running: asks that copy to come forward with `token`; true
    // when it answered.
    bool askToComeForward(const QByteArray& token) const;

    // The name a copy of this account binds first for `folder`, without the leading zero byte.
    static std::string nameFor(const QString& folder, int index = 0);

  private:
    class Listener;
    InstanceLock(Outcome outcome, int fd, std::string name);

    Outcome outcome_;
    int fd_;            // the bound socket of a first copy
    std::string name_;  // the name held, or the running copy's
    std::unique_ptr<Listener> listener_;
};

// The activation token a desktop hands a program it starts, so that the window it shows (or
// asks to be shown) may take the focus; empty when there is none.
QByteArray startActivationToken();

}  // namespace kiryuza::app
