// SPDX-License-Identifier: GPL-3.0-or-later
// The high-score table: its file "/data/012.dat" (170 lines, one character code plus 123 a
// line), and the name entry after a game.
#include "N_HI_Score.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "A_deklarace.h"
#include "DirectX.h"
#include "J_PismoEfekt.h"
#include "N_HI_Score_Path.h"
#include "Numbers.h"
#include "RegularFile.h"
#include "SafeWrite.h"

namespace zorvik {

namespace {

constexpr int kEntries = 10;
constexpr int kNameLength = 10;
constexpr int kValueLength = 7;
constexpr int kNameLines = kEntries * kNameLength;                     // lines 1..100
constexpr int kFileNumbers = kEntries * (kNameLength + kValueLength);  // 170
constexpr int kCodeShift = 123;
constexpr char kNamePad = 'z';
constexpr char kValuePad = '0';

// Names or scores of a table, entries 1..10 as in hiScoreNames and hiScoreValues.
using Column = std::array<std::string, kEntries + 1>;

// A table held apart from the game's, such as the one on disk.
struct Table {
    Column names;
    Column values;
};

// One line of the file: blanks, an optional sign and digits, blanks. Anything else, or a code
// outside 0..255 once the shift is taken off, makes the line unreadable.
bool ParseCode(std::string_view line, int& code) {
    size_t i = 0;
    const auto blank = [&line](size_t at) {
        return line[at] == ' ' || line[at] == '\t' || line[at] == '\r';
    };
    while (i < line.size() && blank(i))
        ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) {
        negative = line[i] == '-';
        ++i;
    }
    long value = 0;
    size_t digits = 0;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9') {
        if (value < 100000) value = value * 10 + (line[i] - '0');  // large values fail below
        ++i;
        ++digits;
    }
    while (i < line.size() && blank(i))
        ++i;
    if (digits == 0 || i != line.size()) return false;
    const long shifted = (negative ? -value : value) - kCodeShift;
    if (shifted < 0 || shifted > 255) return false;
    code = static_cast<int>(shifted);
    return true;
}

// Fills names and values from the file's text. Every entry's lines have fixed places (its ten
// name characters among lines 1..100, its seven score characters among lines 101..170), so an
// entry whose own 17 lines all hold valid codes is kept, whatever the other lines hold; every
// other entry is left empty. A "z" in a name is padding and is dropped. Returns whether all 170
// lines were valid.
bool ParseTable(std::string_view text, Column& names, Column& values) {
    std::array<int, kFileNumbers> codes{};
    std::array<bool, kFileNumbers> valid{};
    // Lines as std::getline gives them: a last line without its line end still counts.
    for (size_t line = 0; line < codes.size() && !text.empty(); ++line) {
        const size_t end = text.find('\n');
        valid[line] = ParseCode(text.substr(0, end), codes[line]);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    const auto allValid = [&valid](size_t from, size_t count) {
        return std::all_of(valid.begin() + static_cast<std::ptrdiff_t>(from),
                           valid.begin() + static_cast<std::ptrdiff_t>(from + count),
                           [](bool v) { return v; });
    };
    bool complete = true;
    for (int i = 1; i <= kEntries; ++i) {
        names[i].clear();
        values[i].clear();
        const size_t nameStart = static_cast<size_t>((i - 1) * kNameLength);
        const size_t valueStart = static_cast<size_t>(kNameLines + (i - 1) * kValueLength);
        if (!allValid(nameStart, kNameLength) || !allValid(valueStart, kValueLength)) {
            complete = false;
            continue;
        }
        for (size_t c = 0; c < kNameLength; ++c) {
            const char ch = static_cast<char>(codes[nameStart + c]);
            if (ch != kNamePad) names[i] += ch;
        }
        for (size_t c = 0; c < kValueLength; ++c)
            values[i] += static_cast<char>(codes[valueStart + c]);
    }
    return complete;
}

// The file's text for a table, padding it in place (names with "z" to ten characters, scores
// with leading "0" to seven): 170 lines of one number each.
std::string FormatTable(Column& names, Column& values) {
    std::string text;
    const auto write = [&text](char c) {
        text += std::to_string(static_cast<unsigned char>(c) + kCodeShift) + '\n';
    };
    for (int i = 1; i <= kEntries; ++i) {
        std::string& name = names[i];
        if (name.size() < kNameLength) name.append(kNameLength - name.size(), kNamePad);
        for (int c = 0; c < kNameLength; ++c)
            write(name[c]);
    }
    for (int i = 1; i <= kEntries; ++i) {
        std::string& value = values[i];
        if (value.size() < kValueLength) value.insert(0, kValueLength - value.size(), kValuePad);
        for (int c = 0; c < kValueLength; ++c)
            write(value[c]);
    }
    return text;
}

// The entry a score takes: the first whose score is lower (empty text counts as 0), so an
// equal score goes below; 0 when it does not enter the table.
int PlaceFor(const Column& values, int32_t newScore) {
    for (int i = 1; i <= kEntries; ++i) {
        if (ReadNumber(values[i]) < static_cast<double>(newScore)) return i;
    }
    return 0;
}

// Moves the entries from `place` on one down (the last drops out) and puts the new one there.
void PutEntry(Column& names, Column& values, int place, const std::string& name,
              const std::string& value) {
    for (int i = kEntries; i > place; --i) {
        names[i] = names[i - 1];
        values[i] = values[i - 1];
    }
    names[place] = name;
    values[place] = value;
}

// The table's file as it is now.
struct TableFile {
    enum class State { kMissing, kIntact, kDamaged };
    State state = State::kMissing;
    Table table;  // the entries read in full (all empty for a file that could not be read)
};

// A file that is not there is missing; one that cannot be read (not a regular file, too large,
// no permission) or holds an unreadable line is damaged.
TableFile ReadTableFile(const std::string& path) {
    TableFile file;
    const files::ReadResult read = files::ReadRegularFile(path, kMaxHiScoreFileBytes);
    if (read.error == files::ReadError::kMissing) return file;
    const bool complete = ParseTable(read.bytes, file.table.names, file.table.values);
    file.state = read.ok() && complete ? TableFile::State::kIntact : TableFile::State::kDamaged;
    return file;
}

// Whether the table's file may be replaced, and the permission bits the new file takes: the
// old file's, so that a table shared by several players stays theirs. Refused are a folder in
// its place, a file without write permission bits (which hold even for root, as for the
// editor's levels) and a file this user cannot open for writing; any other kind of file (a
// FIFO, a link to a device) counts as a damaged table.
bool MayReplace(const std::string& path, mode_t& mode) {
    mode = files::NewFileMode();
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return true;  // missing: a new file is made
    if (S_ISDIR(info.st_mode)) return false;
    if (!S_ISREG(info.st_mode)) return true;
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    mode = info.st_mode & 0777;
    return true;
}

// Replaces the table's file by the text `make` gives for the file as it is now, all under the
// lock of its folder, so that two games saving at once each see the other's entry. A damaged
// file is kept beside the new one as 012.dat.bad. Returns false, with the old file as it was,
// when the file may not or cannot be written.
bool RewriteTableFile(const std::function<std::string(const TableFile&)>& make) {
    const std::string path = HiScoreSavePath();
    if (path.empty()) return false;  // an installed game with no folder of the player's
    const files::FolderLock lock(files::FolderOf(path));
    mode_t mode = 0;
    if (!MayReplace(path, mode)) return false;
    const TableFile old = ReadTableFile(path);
    const std::string text = make(old);
    const bool keepOld = old.state == TableFile::State::kDamaged;
    const std::string kept = path + ".bad";
    if (keepOld && ::rename(path.c_str(), kept.c_str()) != 0) return false;
    if (files::ReplaceFile(path, text, mode)) return true;
    if (keepOld) ::rename(kept.c_str(), path.c_str());  // the damaged file goes back in place
    return false;
}

// Keys of the name input in the order they are tested; the letters follow the key's position on
// a US keyboard, whatever the keyboard's language.
struct NameKey {
    int dik;
    char character;  // kBackspace and kEnter for the two editing keys
};
constexpr char kBackspace = '\b';
constexpr char kEnter = '\n';
constexpr NameKey kNameKeys[] = {
    {16, 'Q'}, {17, 'W'}, {18, 'E'}, {19, 'R'},        {20, 'T'},    {21, 'Y'},
    {22, 'U'}, {23, 'I'}, {24, 'O'}, {25, 'P'},        {30, 'A'},    {31, 'S'},
    {32, 'D'}, {33, 'F'}, {34, 'G'}, {35, 'H'},        {36, 'J'},    {37, 'K'},
    {38, 'L'}, {44, 'Z'}, {45, 'X'}, {46, 'C'},        {47, 'V'},    {48, 'B'},
    {49, 'N'}, {50, 'M'}, {57, ' '}, {14, kBackspace}, {28, kEnter}, {156, kEnter},
};

const char* const kSaveFailed =
    "Nepodařilo se uložit tabulku nejlepších skóre. Výsledek zůstane zapsán jen do ukončení hry.";

bool Down(int dik) {
    return keyState.key[static_cast<size_t>(dik)] != 0;
}

// Every key must be released between two characters, so a held letter is typed once.
void WaitForKeysReleased() {
    for (;;) {
        keyboard->GetDeviceStateKeyboard(keyState);
        bool anyDown = false;
        for (int dik = 1; dik <= 57; ++dik)
            anyDown = anyDown || Down(dik);
        if (!anyDown) return;
    }
}

char WaitForNameKey() {
    for (;;) {
        keyboard->GetDeviceStateKeyboard(keyState);
        for (const NameKey& key : kNameKeys) {
            if (Down(key.dik)) return key.character;
        }
    }
}

// The name typed under the prompt, up to ten characters, ended by Enter or keypad Enter.
std::string ReadPlayerName() {
    std::string name;
    for (;;) {
        WaitForKeysReleased();
        const char key = WaitForNameKey();
        if (key == kEnter) return name;
        if (key == kBackspace) {
            if (!name.empty()) name.pop_back();
        } else if (name.size() < kNameLength) {
            name += key;
        }
        // Clears from the end of the name on, erasing a removed character, then redraws it.
        primarySurface->BltColorFill(
            dx::RECT{100 + 20 * static_cast<int32_t>(name.size()), 150, 640, 480}, 0);
        int16_t frames = 1;
        DrawFlyingText(100, 160, 630, 100, frames, "z" + name);
    }
}

}  // namespace

bool ParseHiScores(std::string_view text) {
    return ParseTable(text, hiScoreNames, hiScoreValues);
}

bool LoadHiScores() {
    TableFile file = ReadTableFile(HiScoreFilePath());
    // Until the player has a copy of their own (it could not be made: a full disk at the first
    // start), the shipped table is shown.
    if (file.state == TableFile::State::kMissing) file = ReadTableFile(ShippedHiScorePath());
    hiScoreNames = file.table.names;
    hiScoreValues = file.table.values;
    return file.state == TableFile::State::kIntact;
}

std::string FormatHiScores() {
    return FormatTable(hiScoreNames, hiScoreValues);
}

bool SaveHiScores() {
    return RewriteTableFile([](const TableFile&) { return FormatHiScores(); });
}

void EnterHiScore() {
    // A score equal to an entry's goes below it; a score of 0 never enters.
    const int entry = PlaceFor(hiScoreValues, score);
    if (entry == 0) return;

    primarySurface->BltColorFill(dx::RECT{0, 0, dx::kScreenWidth, dx::kScreenHeight}, 0);
    int16_t frames = textDelay;
    DrawFlyingText(100, 100, 630, 100, frames, "zZADEJTE SVE- JME-NO");

    const std::string name = ReadPlayerName();
    const std::string value = std::to_string(score);
    PutEntry(hiScoreNames, hiScoreValues, entry, name, value);

    // The table is written and read back, so every score shows its leading zeros. Another game
    // may have saved since this one read the table: the entry goes into the table on disk as it
    // is now. Should the file fail either way, the table stays in memory in the form the file
    // would have given, and the player learns that it was not saved.
    const std::string text = FormatHiScores();
    const bool saved = RewriteTableFile([&](const TableFile& old) {
        if (old.state == TableFile::State::kMissing) return text;
        Table merged = old.table;
        const int place = PlaceFor(merged.values, score);
        if (place != 0) PutEntry(merged.names, merged.values, place, name, value);
        return FormatTable(merged.names, merged.values);
    });
    if (!saved || !LoadHiScores()) ParseHiScores(text);
    if (!saved) dx::MessageBox(kSaveFailed);
}

}  // namespace zorvik
