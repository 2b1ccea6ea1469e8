// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a file so that a crash, a full disk, a planted link or a second process never leaves
// it half-written or lost: a fresh temporary beside it, synced and renamed over it, under a lock
// on its folder.
#pragma once

#include <sys/types.h>
#include <string>
#include <string_view>

namespace zorvik::files {

// The permission bits a newly created file gets: 0666 less the process's umask.
mode_t NewFileMode();

// Replaces (or creates) the file at path with bytes. They go to a new temporary file in the same
// folder (made by mkstemp, so no link planted at its name is followed), which gets the
// permission bits `mode`, is synced to disk, and is renamed over path; then the folder is synced
// so that the rename lasts too. On failure the temporary is removed, path is left as it was, and
// the result is false.
bool ReplaceFile(const std::string& path, std::string_view bytes, mode_t mode);

// The folder part of a path ("." for a bare name).
std::string FolderOf(const std::string& path);

// An exclusive lock (flock) on a folder while the object lives, for read-change-write cycles
// that several processes make on files in it. A folder is locked rather than the file, which the
// rename replaces. Waits at most patienceMs for another holder; should the lock not come (a
// holder that never lets go, a folder that cannot be opened) the object goes on without it.
class FolderLock {
  public:
    explicit FolderLock(const std::string& folder, int patienceMs = 5000);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    bool Held() const { return held_; }

  private:
    int fd_ = -1;
    bool held_ = false;
};

}  // namespace zorvik::files
