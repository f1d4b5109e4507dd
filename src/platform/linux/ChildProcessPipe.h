#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace modshelf::platform {

// A child program that we talk to over its standard input and output, with a
// deadline on every read and write: a child that hangs never hangs us, and
// one that has ended is noticed even when a process it started still holds
// its output open (as Wine's services do).
class ChildProcessPipe {
public:
    using Clock = std::chrono::steady_clock;
    enum class Result { Done, Ended, TimedOut, Failed };

    ChildProcessPipe() = default;
    ~ChildProcessPipe();
    ChildProcessPipe(const ChildProcessPipe&) = delete;
    ChildProcessPipe& operator=(const ChildProcessPipe&) = delete;

    // Starts argv[0] (searched in PATH) with exactly `environment`; its
    // standard error goes nowhere.
    bool start(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
               std::string& error);

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }
    // False once the child has ended (it is then reaped).
    bool alive();
    // The child's exit code once it has ended normally, else -1; waits up to
    // `wait` for a child that has closed its output but not ended yet.
    int exitCode(std::chrono::milliseconds wait = std::chrono::milliseconds(0));

    Result write(const std::string& bytes, Clock::time_point deadline);
    // One line without its "\n"; a line longer than maxLength fails.
    Result readLine(std::string& line, Clock::time_point deadline, std::size_t maxLength);
    Result readExact(std::size_t length, std::string& bytes, Clock::time_point deadline);

    // Closes the child's input (a polite child ends at that) and waits up to
    // `grace` for it to end before it is killed. Nothing is left running.
    void stop(std::chrono::milliseconds grace);
    void kill();

private:
    Result fill(Clock::time_point deadline);
    void closeFds();

    pid_t pid_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
    int exitCode_ = -1;
    std::string buffer_;
    std::size_t start_ = 0;
};

}  // namespace modshelf::platform
