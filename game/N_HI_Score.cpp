// The high-score table: its file "/data/012.dat" (170 lines, one character code plus 123 a
// line), and the name entry after a game.
#include "N_HI_Score.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "A_deklarace.h"
#include "DirectX.h"
#include "J_PismoEfekt.h"
#include "MapText.h"
#include "N_HI_Score_Path.h"
#include "Numbers.h"

namespace zorvik {

namespace {

constexpr int kEntries = 10;
constexpr int kNameLength = 10;
constexpr int kValueLength = 7;
constexpr int kFileNumbers = kEntries * (kNameLength + kValueLength);  // 170
constexpr int kCodeShift = 123;
constexpr char kNamePad = 'z';
constexpr char kValuePad = '0';

std::string HiScorePath() {
    return HiScoreFilePath();
}

void ClearTable() {
    for (int i = 1; i <= kEntries; ++i) {
        hiScoreNames[i].clear();
        hiScoreValues[i].clear();
    }
}

// One line of the file: blanks, an optional sign and digits, blanks. Anything else, or a code
// outside 0..255 once the shift is taken off, makes the file unreadable.
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

// Pads the table in place (names with "z" to ten characters, scores with leading "0" to seven)
// and returns the 170 character codes of the file, unshifted.
std::vector<int> PadAndEncodeTable() {
    std::vector<int> codes;
    codes.reserve(kFileNumbers);
    for (int i = 1; i <= kEntries; ++i) {
        std::string& name = hiScoreNames[i];
        if (name.size() < kNameLength) name.append(kNameLength - name.size(), kNamePad);
        for (int c = 0; c < kNameLength; ++c)
            codes.push_back(static_cast<unsigned char>(name[c]));
    }
    for (int i = 1; i <= kEntries; ++i) {
        std::string& value = hiScoreValues[i];
        if (value.size() < kValueLength) value.insert(0, kValueLength - value.size(), kValuePad);
        for (int c = 0; c < kValueLength; ++c) {
            codes.push_back(static_cast<unsigned char>(value[c]));
        }
    }
    return codes;
}

// Fills the table from the character codes read so far, the way the file is read: a "z" in a
// name is padding and is dropped, every score character is kept. An entry whose name or score
// was not read in full stays empty; with all 170 codes every entry is filled.
void DecodeTable(const std::vector<int>& codes) {
    ClearTable();
    const size_t read = codes.size();
    for (int i = 1; i <= kEntries; ++i) {
        const size_t valueStart =
            static_cast<size_t>(kEntries * kNameLength + (i - 1) * kValueLength);
        if (read < valueStart + kValueLength) break;  // its score was not read in full
        const size_t nameStart = static_cast<size_t>((i - 1) * kNameLength);
        for (size_t c = 0; c < kNameLength; ++c) {
            const char ch = static_cast<char>(codes[nameStart + c]);
            if (ch != kNamePad) hiScoreNames[i] += ch;
        }
        for (size_t c = 0; c < kValueLength; ++c)
            hiScoreValues[i] += static_cast<char>(codes[valueStart + c]);
    }
}

// A table file that may not be written: no write permission bits (which hold even for root,
// as for the editor's levels), or a file this user cannot open for writing. The file is only
// opened, never changed. Whether its folder is writable decides where the table lives.
bool ReadOnlyTarget(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return false;  // missing: a new file is made
    if (!S_ISREG(info.st_mode) || (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return true;
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) return true;
    ::close(fd);
    return false;
}

// Writes the file's text to a temporary file beside the table's file and renames it over the
// old one, so an interrupted or failed write never leaves a half-written table behind.
bool WriteTextSafely(const std::string& text) {
    const std::string path = HiScoreSavePath();
    if (path.empty()) return false;
    const std::string temporary = path + ".tmp";
    // The rename would replace a read-only file as well; it is refused like a failed write.
    if (ReadOnlyTarget(path)) return false;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << text;
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    return true;
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
    std::vector<int> codes;
    codes.reserve(kFileNumbers);
    bool complete = true;
    // Lines as std::getline gives them: a last line without its line end still counts.
    while (static_cast<int>(codes.size()) < kFileNumbers) {
        if (text.empty()) {
            complete = false;
            break;
        }
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        int code = 0;
        if (!ParseCode(line, code)) {
            complete = false;
            break;
        }
        codes.push_back(code);
    }
    DecodeTable(codes);
    return complete;
}

bool LoadHiScores() {
    ClearTable();
    const std::optional<std::string> text = maptext::ReadFileText(HiScorePath());
    return text && ParseHiScores(*text);
}

std::string FormatHiScores() {
    std::string text;
    for (const int code : PadAndEncodeTable())
        text += std::to_string(code + kCodeShift) + '\n';
    return text;
}

bool SaveHiScores() {
    return WriteTextSafely(FormatHiScores());
}

void EnterHiScore() {
    // A score equal to an entry's goes below it; a score of 0 never enters.
    int entry = 0;
    for (int i = 1; i <= kEntries && entry == 0; ++i) {
        if (ReadNumber(hiScoreValues[i]) < static_cast<double>(score)) entry = i;
    }
    if (entry == 0) return;

    primarySurface->BltColorFill(dx::RECT{0, 0, dx::kScreenWidth, dx::kScreenHeight}, 0);
    int16_t frames = textDelay;
    DrawFlyingText(100, 100, 630, 100, frames, "zZADEJTE SVE- JME-NO");

    const std::string name = ReadPlayerName();

    for (int i = kEntries; i > entry; --i) {
        hiScoreNames[i] = hiScoreNames[i - 1];
        hiScoreValues[i] = hiScoreValues[i - 1];
    }
    hiScoreNames[entry] = name;
    hiScoreValues[entry] = std::to_string(score);

    // The table is written and read back, so every score shows its leading zeros. Should the
    // file fail either way, the table stays in memory in the form the file would have given,
    // and the player learns that it was not saved.
    const std::string text = FormatHiScores();
    const bool saved = WriteTextSafely(text);
    if (!saved || !LoadHiScores()) ParseHiScores(text);
    if (!saved) dx::MessageBox(kSaveFailed);
}

}  // namespace zorvik
