#include "platform/linux/ChildProcessPipe.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/linux/ExecList.h"

namespace modshelf::platform {

namespace {

// Children are looked at this often while we wait for their output.
constexpr int kSliceMs = 50;

int millisecondsUntil(ChildProcessPipe::Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - ChildProcessPipe::Clock::now());
    return static_cast<int>(std::clamp<long long>(left.count(), 0, kSliceMs));
}

// A write to a child that has ended raises SIGPIPE, which would end us: it is
// held back for the write and a pending one is taken away.
class SigpipeHeld {
public:
    SigpipeHeld() {
        sigemptyset(&pipeOnly_);
        sigaddset(&pipeOnly_, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        wasPending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipeOnly_, &old_);
    }
    ~SigpipeHeld() {
        if (raised_ && !wasPending_) {
            const timespec zero{0, 0};
            while (sigtimedwait(&pipeOnly_, nullptr, &zero) < 0 && errno == EINTR) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &old_, nullptr);
    }
    void raised() { raised_ = true; }

private:
    sigset_t pipeOnly_{};
    sigset_t old_{};
    bool wasPending_ = false;
    bool raised_ = false;
};

}  // namespace

ChildProcessPipe::~ChildProcessPipe() {
    kill();
}

bool ChildProcessPipe::start(const std::vector<std::string>& argv,
                             const std::vector<std::string>& environment, std::string& error) {
    kill();
    int input[2], output[2];
    if (::pipe2(input, O_CLOEXEC) != 0) {
        error = std::string("No pipe could be made: ") + std::strerror(errno) + ".";
        return false;
    }
    if (::pipe2(output, O_CLOEXEC) != 0) {
        error = std::string("No pipe could be made: ") + std::strerror(errno) + ".";
        ::close(input[0]);
        ::close(input[1]);
        return false;
    }
    std::vector<std::string> args = argv, env = environment;
    const std::vector<char*> argvPointers = execList(args);
    const std::vector<char*> envPointers = execList(env);

    const pid_t child = ::fork();
    if (child < 0) {
        error = std::string("The program could not be started: ") + std::strerror(errno) + ".";
        for (int fd : {input[0], input[1], output[0], output[1]}) ::close(fd);
        return false;
    }
    if (child == 0) {
        ::setpgid(0, 0);
        ::dup2(input[0], STDIN_FILENO);
        ::dup2(output[1], STDOUT_FILENO);
        const int devNull = ::open("/dev/null", O_RDWR);
        if (devNull >= 0) ::dup2(devNull, STDERR_FILENO);
        // Nothing of ours stays open in the child or in what it starts.
        ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
        ::signal(SIGPIPE, SIG_DFL);
        ::execvpe(argvPointers[0], argvPointers.data(), envPointers.data());
        ::_exit(127);
    }
    ::close(input[0]);
    ::close(output[1]);
    toChild_ = input[1];
    fromChild_ = output[0];
    ::fcntl(toChild_, F_SETFL, ::fcntl(toChild_, F_GETFL) | O_NONBLOCK);
    ::fcntl(fromChild_, F_SETFL, ::fcntl(fromChild_, F_GETFL) | O_NONBLOCK);
    pid_ = child;
    exitCode_ = -1;
    buffer_.clear();
    start_ = 0;
    return true;
}

bool ChildProcessPipe::alive() {
    if (pid_ <= 0) return false;
    int status = 0;
    const pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == 0) return true;
    if (done == pid_) exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    pid_ = -1;
    // What it wrote before it ended can still be read.
    if (toChild_ >= 0) ::close(toChild_);
    toChild_ = -1;
    return false;
}

int ChildProcessPipe::exitCode(std::chrono::milliseconds wait) {
    const auto deadline = Clock::now() + wait;
    while (alive() && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return exitCode_;
}

ChildProcessPipe::Result ChildProcessPipe::write(const std::string& bytes,
                                                 Clock::time_point deadline) {
    if (toChild_ < 0) return Result::Ended;
    SigpipeHeld held;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(toChild_, bytes.data() + done, bytes.size() - done);
        if (written > 0) {
            done += static_cast<std::size_t>(written);
            continue;
        }
        if (written < 0 && errno == EPIPE) {
            held.raised();
            return Result::Ended;
        }
        if (written < 0 && errno != EAGAIN && errno != EINTR) return Result::Failed;
        if (Clock::now() >= deadline) return Result::TimedOut;
        pollfd wait{toChild_, POLLOUT, 0};
        ::poll(&wait, 1, millisecondsUntil(deadline));
        if (!alive()) return Result::Ended;
    }
    return Result::Done;
}

ChildProcessPipe::Result ChildProcessPipe::fill(Clock::time_point deadline) {
    if (start_ > 0) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
    for (;;) {
        if (fromChild_ < 0) return Result::Ended;
        char chunk[65536];
        const ssize_t got = ::read(fromChild_, chunk, sizeof chunk);
        if (got > 0) {
            buffer_.append(chunk, static_cast<std::size_t>(got));
            return Result::Done;
        }
        if (got == 0) return Result::Ended;
        if (errno != EAGAIN && errno != EINTR) return Result::Failed;
        // The child may have ended while something it started holds the pipe;
        // what it wrote just before is taken first.
        if (pid_ <= 0) return Result::Ended;
        if (!alive()) continue;
        if (Clock::now() >= deadline) return Result::TimedOut;
        pollfd wait{fromChild_, POLLIN, 0};
        ::poll(&wait, 1, millisecondsUntil(deadline));
    }
}

ChildProcessPipe::Result ChildProcessPipe::readLine(std::string& line, Clock::time_point deadline,
                                                    std::size_t maxLength) {
    for (;;) {
        const std::size_t end = buffer_.find('\n', start_);
        if (end != std::string::npos) {
            line.assign(buffer_, start_, end - start_);
            start_ = end + 1;
            return Result::Done;
        }
        if (buffer_.size() - start_ > maxLength) return Result::Failed;
        if (const Result result = fill(deadline); result != Result::Done) return result;
    }
}

ChildProcessPipe::Result ChildProcessPipe::readExact(std::size_t length, std::string& bytes,
                                                     Clock::time_point deadline) {
    if (start_ > 0 && buffer_.size() - start_ < length) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
    buffer_.reserve(start_ + length);
    while (buffer_.size() - start_ < length)
        if (const Result result = fill(deadline); result != Result::Done) return result;
    bytes.assign(buffer_, start_, length);
    start_ += length;
    return Result::Done;
}

void ChildProcessPipe::stop(std::chrono::milliseconds grace) {
    if (toChild_ >= 0) {
        ::close(toChild_);
        toChild_ = -1;
    }
    const auto deadline = Clock::now() + grace;
    while (alive() && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    kill();
}

void ChildProcessPipe::kill() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
    }
    closeFds();
}

void ChildProcessPipe::closeFds() {
    if (toChild_ >= 0) ::close(toChild_);
    if (fromChild_ >= 0) ::close(fromChild_);
    toChild_ = fromChild_ = -1;
    buffer_.clear();
    start_ = 0;
}

}  // namespace modshelf::platform
