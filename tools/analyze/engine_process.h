// A program started through /bin/sh -c with pipes on its standard input and output, spoken to
// one line at a time: the match runner's engines, and the engine program under test.
#pragma once

#include <sys/types.h>
#include <chrono>
#include <string>
#include <string_view>

namespace kiryuza {

class EngineProcess {
  public:
    using Clock = std::chrono::steady_clock;
    enum class Read { line, timeout, closed, tooLong };

    EngineProcess() = default;
    ~EngineProcess() { end(std::chrono::milliseconds(0)); }
    EngineProcess(const EngineProcess&) = delete;
    EngineProcess& operator=(const EngineProcess&) = delete;

    // Starts `command` in a process group of its own; false when no process could be made.
    // A failing command still starts: it shows as a closed output.
    bool start(const std::string& command);
    bool running() const { return pid_ > 0; }

    // Writes one line; false once the program reads no more.
    bool send(std::string_view line);
    // The next line without its end, waiting at most until `deadline`. Lines longer than
    // kMaxLine are refused as tooLong.
    Read readLine(std::string& line, Clock::time_point deadline);

    // Closes the program's input, gives it `grace` to end by itself, then kills its group.
    void end(std::chrono::milliseconds grace);

    static constexpr std::size_t kMaxLine = 64 * 1024;

  private:
    pid_t pid_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
    std::string buffer_;
};

}  // namespace kiryuza
