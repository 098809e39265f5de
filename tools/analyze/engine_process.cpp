#include "engine_process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <thread>

namespace kiryuza {

namespace {

void closeFd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

}  // namespace

bool EngineProcess::start(const std::string& command) {
    end(std::chrono::milliseconds(0));
    // A program that stops reading must not end the runner with the next write.
    std::signal(SIGPIPE, SIG_IGN);
    int in[2];
    int out[2];
    if (pipe2(in, O_CLOEXEC) != 0) return false;
    if (pipe2(out, O_CLOEXEC) != 0) {
        close(in[0]);
        close(in[1]);
        return false;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    if (pid < 0) {
        close(in[1]);
        close(out[0]);
        return false;
    }
    setpgid(pid, pid);  // from this side too, so that the group exists before any kill
    pid_ = pid;
    toChild_ = in[1];
    fromChild_ = out[0];
    buffer_.clear();
    return true;
}

bool EngineProcess::send(std::string_view line) {
    std::string s(line);
    s += '\n';
    std::size_t done = 0;
    while (toChild_ >= 0 && done < s.size()) {
        const ssize_t n = write(toChild_, s.data() + done, s.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return done == s.size();
}

EngineProcess::Read EngineProcess::readLine(std::string& line, Clock::time_point deadline) {
    for (;;) {
        const std::size_t end = buffer_.find('\n');
        if (end != std::string::npos) {
            if (end > kMaxLine) return Read::tooLong;
            line.assign(buffer_, 0, end);
            buffer_.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return Read::line;
        }
        if (buffer_.size() > kMaxLine) return Read::tooLong;
        if (fromChild_ < 0) return Read::closed;
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return Read::timeout;
        pollfd p{fromChild_, POLLIN, 0};
        const int r = poll(&p, 1, static_cast<int>(std::min<long long>(left, 1000)));
        if (r < 0 && errno != EINTR) return Read::closed;
        if (r <= 0) continue;
        char chunk[4096];
        const ssize_t n = read(fromChild_, chunk, sizeof chunk);
        if (n > 0) {
            buffer_.append(chunk, static_cast<std::size_t>(n));
        } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
            closeFd(fromChild_);
        }
    }
}

void EngineProcess::end(std::chrono::milliseconds grace) {
    closeFd(toChild_);
    if (pid_ > 0) {
        // Wait without reaping, so that the group's id stays ours until every member is gone.
        const auto until = Clock::now() + grace;
        siginfo_t info{};
        while (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
               info.si_pid == 0 && Clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        kill(-pid_, SIGKILL);
        int status = 0;
        while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
    }
    closeFd(fromChild_);
    buffer_.clear();
}

}  // namespace kiryuza
