// SPDX-License-Identifier: GPL-3.0-or-later
// FIFOs, sparse files, a file-size limit, child processes and programs with a bare environment.
#include "HostileFiles.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace zorvik::test {

namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point After(double seconds) {
    return Clock::now() +
           std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

// The exit status of a finished child; -1 for one ended by a signal.
int ExitStatus(int waitStatus) {
    return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
}

// Waits for pid until the deadline, then kills it; returns its exit status or -1.
int WaitOrKill(pid_t pid, Clock::time_point deadline, bool* timedOut = nullptr) {
    int waitStatus = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &waitStatus, WNOHANG);
        if (done == pid) return ExitStatus(waitStatus);
        if (done < 0 && errno != EINTR) return -1;
        if (Clock::now() >= deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &waitStatus, 0);
    if (timedOut != nullptr) *timedOut = true;
    return -1;
}

}  // namespace

void MakeFifo(const std::string& path) {
    ::unlink(path.c_str());
    if (::mkfifo(path.c_str(), 0600) != 0) throw std::runtime_error("mkfifo " + path);
}

void MakeSparseFile(const std::string& path, off_t size, const std::string& head) {
    ::unlink(path.c_str());
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const bool ok = fd >= 0 &&
                    ::write(fd, head.data(), head.size()) == static_cast<ssize_t>(head.size()) &&
                    ::ftruncate(fd, size) == 0;
    if (fd >= 0) ::close(fd);
    if (!ok) throw std::runtime_error("cannot make the sparse file " + path);
}

bool FinishesWithin(double seconds, const std::string& fifo, const std::function<void()>& body) {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool released = false;
    // A watchdog beside the body, which runs on this thread (widgets must stay on theirs): a
    // writer that comes and goes releases a reader waiting to open the FIFO or to read from it.
    std::thread watchdog([&] {
        std::unique_lock<std::mutex> lock(mutex);
        if (finished.wait_until(lock, After(seconds), [&done] { return done; })) return;
        released = true;
        while (!done) {
            lock.unlock();
            const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (writer >= 0) ::close(writer);
            lock.lock();
            finished.wait_for(lock, std::chrono::milliseconds(50), [&done] { return done; });
        }
    });
    const auto stop = [&] {
        {
            const std::lock_guard<std::mutex> lock(mutex);
            done = true;
        }
        finished.notify_all();
        watchdog.join();
    };
    try {
        body();
    } catch (...) {
        stop();
        throw;
    }
    stop();
    return !released;
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    if (::getrlimit(RLIMIT_FSIZE, &saved_) != 0) return;
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    active_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

void FileSizeLimit::Lift() {
    if (active_) ::setrlimit(RLIMIT_FSIZE, &saved_);
    active_ = false;
}

ChildProcess::ChildProcess(const std::function<int()>& body) {
    std::fflush(nullptr);  // nothing buffered is written twice
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork");
    if (pid_ == 0) {
        int status = 100;
        try {
            status = body();
        } catch (...) {
        }
        std::fflush(nullptr);
        ::_exit(status);
    }
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) WaitOrKill(pid_, Clock::now());
}

int ChildProcess::Wait(double timeoutSeconds) {
    const int status = WaitOrKill(pid_, After(timeoutSeconds));
    pid_ = -1;
    return status;
}

ProgramRun RunProgram(const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment, double timeoutSeconds) {
    ProgramRun run;
    int errorPipe[2];
    if (::pipe2(errorPipe, O_CLOEXEC) != 0) return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, errorPipe[1], 2);
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& variable : environment)
        envp.push_back(const_cast<char*>(variable.c_str()));
    envp.push_back(nullptr);
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(errorPipe[1]);
    if (spawned != 0) {
        ::close(errorPipe[0]);
        return run;
    }

    const Clock::time_point deadline = After(timeoutSeconds);
    pollfd wanted{errorPipe[0], POLLIN, 0};
    char buffer[4096];
    while (Clock::now() < deadline) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (::poll(&wanted, 1, static_cast<int>(left.count()) + 1) <= 0) continue;
        const ssize_t got = ::read(errorPipe[0], buffer, sizeof buffer);
        if (got <= 0) break;  // the program closed its standard error: it is ending
        run.standardError.append(buffer, static_cast<size_t>(got));
    }
    ::close(errorPipe[0]);
    run.status = WaitOrKill(pid, deadline, &run.timedOut);
    return run;
}

}  // namespace zorvik::test
