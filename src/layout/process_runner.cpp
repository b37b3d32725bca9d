#include "layout/process_runner.h"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace quarnel::layout {
namespace {

constexpr size_t MaxStatusLine = 299;

// Owns a descriptor and closes it once.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return fd_; }
    void reset()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

// Splits what the child writes into lines and hands each to the handler.
class LineSplitter {
public:
    explicit LineSplitter(const StatusLineHandler &handler) : handler_(handler) {}
    void feed(const char *bytes, size_t size)
    {
        for (size_t i = 0; i < size; ++i) {
            if (bytes[i] == '\n')
                flush();
            else if (line_.size() < MaxStatusLine)
                line_.push_back(bytes[i]);
        }
    }
    void finish()
    {
        if (!line_.empty())
            flush();
    }

private:
    void flush()
    {
        if (!line_.empty() && line_.back() == '\r')
            line_.pop_back();
        handler_(line_);
        line_.clear();
    }
    const StatusLineHandler &handler_;
    std::string line_;
};

int spawn(const std::vector<std::string> &argv, int inheritedFd, pid_t &pid)
{
    std::vector<char *> args;
    for (const std::string &arg : argv)
        args.push_back(const_cast<char *>(arg.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Duplicating a descriptor onto itself clears its close-on-exec flag in the child only, so
    // no other process the converter starts inherits the pipe.
    if (inheritedFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, inheritedFd, inheritedFd);
    const int result = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return result;
}

int waitForExit(pid_t pid)
{
    int status = 0;
    pid_t waited;
    do {
        waited = ::waitpid(pid, &status, 0);
    } while (waited < 0 && errno == EINTR);
    if (waited != pid)
        return -1;
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return 128 + WTERMSIG(status);
    return -1;
}

void readStatusLines(int fd, const StatusLineHandler &onStatusLine)
{
    LineSplitter splitter(onStatusLine);
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0)
            splitter.feed(buffer, size_t(got));
        else if (got == 0 || errno != EINTR)
            break;
    }
    splitter.finish();
}

} // namespace

int runProcess(const std::vector<std::string> &argv, const StatusLineHandler &onStatusLine)
{
    if (argv.empty() || argv[0].empty())
        return -1;
    pid_t pid = 0;
    if (!onStatusLine)
        return spawn(argv, -1, pid) == 0 ? waitForExit(pid) : -1;

    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return -1;
    Descriptor readEnd(ends[0]);
    Descriptor writeEnd(ends[1]);
    std::vector<std::string> withStatus = argv;
    withStatus.push_back(std::to_string(writeEnd.get()));
    if (spawn(withStatus, writeEnd.get(), pid) != 0)
        return -1;
    // Only the child may hold the write end, so the read below ends when the child does.
    writeEnd.reset();
    readStatusLines(readEnd.get(), onStatusLine);
    return waitForExit(pid);
}

} // namespace quarnel::layout
