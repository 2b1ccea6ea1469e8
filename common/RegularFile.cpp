// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a regular file up to a size limit.
#include "RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace zorvik::files {

namespace {

ReadError OpenError(int error) {
    return error == ENOENT || error == ENOTDIR ? ReadError::kMissing : ReadError::kCannotOpen;
}

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

ReadResult Failed(ReadError error) {
    ReadResult result;
    result.error = error;
    return result;
}

}  // namespace

ReadResult ReadRegularFile(const std::string& path, size_t maxBytes) {
    // Looked at before opening: opening a device can already have effects of its own.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return Failed(OpenError(errno));
    if (!S_ISREG(info.st_mode)) return Failed(ReadError::kNotRegular);

    // Non-blocking, so that a FIFO put there since the look above cannot make the open wait.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) return Failed(OpenError(errno));
    if (::fstat(file.get(), &info) != 0) return Failed(ReadError::kCannotRead);
    if (!S_ISREG(info.st_mode)) return Failed(ReadError::kNotRegular);
    if (info.st_size < 0 || static_cast<unsigned long long>(info.st_size) > maxBytes) {
        return Failed(ReadError::kTooLarge);
    }

    // The size is only a hint (a file may grow, /proc files say 0): read up to one byte past
    // the limit to tell a file that is too large.
    ReadResult result;
    std::string& bytes = result.bytes;
    bytes.resize(static_cast<size_t>(info.st_size) + 1);
    size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > maxBytes) return Failed(ReadError::kTooLarge);
            bytes.resize(std::min(maxBytes + 1, bytes.size() * 2 + 4096));
        }
        const ssize_t got = ::read(file.get(), bytes.data() + filled, bytes.size() - filled);
        if (got < 0) {
            if (errno == EINTR) continue;
            return Failed(ReadError::kCannotRead);
        }
        if (got == 0) break;
        filled += static_cast<size_t>(got);
    }
    if (filled > maxBytes) return Failed(ReadError::kTooLarge);
    bytes.resize(filled);
    return result;
}

const char* ReadErrorText(ReadError error) {
    switch (error) {
        case ReadError::kNone:
            return "no error";
        case ReadError::kMissing:
            return "no such file";
        case ReadError::kCannotOpen:
            return "cannot be opened";
        case ReadError::kNotRegular:
            return "not a regular file";
        case ReadError::kTooLarge:
            return "too large";
        case ReadError::kCannotRead:
            return "read error";
    }
    return "unknown error";
}

}  // namespace zorvik::files
