// SPDX-License-Identifier: GPL-3.0-or-later
// What the bad-input tests attack the programs with: FIFOs, huge sparse files, a disk that
// fills up, a second process at the same time, a program run with a bare environment.
#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace zorvik::test {

// A FIFO at path, replacing whatever was there.
void MakeFifo(const std::string& path);
// A file of `size` bytes that takes no room on the disk, starting with `head`.
void MakeSparseFile(const std::string& path, off_t size, const std::string& head = "");

// Runs body and tells whether it returned within `seconds`. When it did not, it is taken to
// wait on the FIFO at `fifo`: a writer opens and closes the FIFO until body returns, so the test
// fails instead of hanging.
bool FinishesWithin(double seconds, const std::string& fifo, const std::function<void()>& body);

// A limit on the size of the files this process writes (RLIMIT_FSIZE, with SIGXFSZ ignored):
// a write beyond it fails as on a full disk. Lifted when the object goes.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit() { Lift(); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool Active() const { return active_; }
    void Lift();

  private:
    rlimit saved_{};
    bool active_ = false;
};

// A forked copy of the test process that runs body and ends with its result (100 for an
// exception), never returning into the test. Killed if still running when the object goes.
class ChildProcess {
  public:
    explicit ChildProcess(const std::function<int()>& body);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    // The exit status; -1 when the child died of a signal or ran past timeoutSeconds (it is
    // killed then).
    int Wait(double timeoutSeconds = 60);

  private:
    pid_t pid_ = -1;
};

struct ProgramRun {
    int status = -1;  // the exit status; -1 when killed by a signal or by the timeout
    bool timedOut = false;
    std::string standardError;
};
// Runs a program with exactly the environment given ("NAME=value" each), standard input and
// output on /dev/null; killed after timeoutSeconds.
ProgramRun RunProgram(const std::vector<std::string>& arguments,
                      const std::vector<std::string>& environment, double timeoutSeconds);

}  // namespace zorvik::test
