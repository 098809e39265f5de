// One copy of the game per account. The first start holds a lock on a file in the user's state
// folder for as long as it runs, and listens for later starts; a later start finds the lock
// held, asks the running copy to come to the front and ends without touching a file. The lock
// goes with the process that held it, so a copy that died (killed, power cut) leaves nothing
// that keeps the next start out.
#pragma once

#include <QByteArray>
#include <functional>
#include <memory>
#include <string>

class QSocketNotifier;

namespace kiryuza::app {

class InstanceLock {
  public:
    enum class Outcome {
        first,        // this copy holds the lock
        running,      // another copy of this account holds it
        unavailable,  // no lock can be taken here (no state folder, say): run without one
    };

    // Takes the lock at `lockFile`, making its folder when missing. A first copy is reachable
    // by later starts from now on; they wait until listen() hands their requests over.
    static InstanceLock claim(const std::string& lockFile);

    InstanceLock(InstanceLock&& other) noexcept;
    InstanceLock& operator=(InstanceLock&&) = delete;
    InstanceLock(const InstanceLock&) = delete;
    ~InstanceLock();

    Outcome outcome() const { return outcome_; }

    // A first copy: `comeForward` runs on the event loop's thread whenever a later start of
    // this account asks, with that start's activation token (empty when it had none). Needs a
    // QCoreApplication; an empty function stops listening (before the application goes).
    void listen(std::function<void(const QByteArray& token)> comeForward);

    // A later start: asks the copy holding `lockFile` to come forward with `token`; true when
    // it answered.
    static bool askToComeForward(const std::string& lockFile, const QByteArray& token);

  private:
    InstanceLock(Outcome outcome, int lockFd, int listenFd);
    void answer();

    Outcome outcome_;
    int lockFd_;
    int listenFd_;
    std::function<void(const QByteArray&)> comeForward_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

// The activation token a desktop hands a program it starts, so that the window it shows (or
// asks to be shown) may take the focus; empty when there is none.
QByteArray startActivationToken();

}  // namespace kiryuza::app
