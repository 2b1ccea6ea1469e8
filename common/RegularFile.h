// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the files both programs take from outside (maps, pictures, sounds, the high-score
// table): regular files only, and no more bytes than such a file can sensibly hold, so a FIFO
// cannot stop a program and a link to /dev/zero cannot exhaust its memory.
#pragma once

#include <cstddef>
#include <string>

namespace zorvik::files {

// The largest picture and sound files the programs read: a 4096 x 4096 picture at 32 bits a
// pixel; three minutes of 16-bit stereo sound at 22 050 Hz (the game's sounds are 8-bit mono at
// 11 025 Hz). Maps and the high-score table have limits of their own, beside their readers.
constexpr size_t kMaxPictureBytes = size_t{64} << 20;
constexpr size_t kMaxSoundBytes = size_t{16} << 20;

enum class ReadError {
    kNone,
    kMissing,     // nothing at the path (or a link to nothing)
    kCannotOpen,  // there, but this user may not read it
    kNotRegular,  // a folder, FIFO, device, socket
    kTooLarge,    // more than the limit the caller gave
    kCannotRead,  // an input/output error while reading
};

struct ReadResult {
    std::string bytes;  // the whole file when error is kNone, otherwise empty
    ReadError error = ReadError::kNone;

    bool ok() const { return error == ReadError::kNone; }
};

// The whole content of the regular file at path (a link to one is followed) when it holds at
// most maxBytes. The file's kind and size are checked before a byte is read, and opening never
// waits (a FIFO is refused, not opened for reading).
ReadResult ReadRegularFile(const std::string& path, size_t maxBytes);

// A few English words for a failed read, for the platform layer's error reports.
const char* ReadErrorText(ReadError error);

}  // namespace zorvik::files
