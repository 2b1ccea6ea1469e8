// SPDX-License-Identifier: GPL-3.0-or-later
// What the high-score tests share: the file's numbers for a table, its lines, and a program
// folder holding only data/ with a harness on it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "A_deklarace.h"
#include "GameHarness.h"

namespace zorvik::test {

inline const char* const kSaveFailedPrefix = "Nepodařilo se uložit tabulku nejlepších skóre";

// The file's lines for a table given as ten names and ten scores (padded as the game pads).
inline std::vector<int> FileNumbers(const std::vector<std::string>& names,
                                    const std::vector<std::string>& values) {
    std::vector<int> numbers;
    for (int i = 0; i < 10; ++i) {
        std::string name = i < static_cast<int>(names.size()) ? names[i] : "";
        name.resize(10, 'z');
        for (const char c : name)
            numbers.push_back(static_cast<unsigned char>(c) + 123);
    }
    for (int i = 0; i < 10; ++i) {
        std::string value = i < static_cast<int>(values.size()) ? values[i] : "";
        value.insert(0, 7 - value.size(), '0');
        for (const char c : value)
            numbers.push_back(static_cast<unsigned char>(c) + 123);
    }
    return numbers;
}

inline std::string Lines(const std::vector<int>& numbers) {
    std::string text;
    for (const int n : numbers)
        text += std::to_string(n) + "\n";
    return text;
}

inline std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

inline void ExpectEmptyTable() {
    for (int i = 1; i <= 10; ++i) {
        EXPECT_EQ(hiScoreNames[i], "") << "entry " << i;
        EXPECT_EQ(hiScoreValues[i], "") << "entry " << i;
    }
}

// A program folder holding only data/, for the file alone.
class HiScoreFileTest : public ::testing::Test {
  protected:
    HiScoreFileTest() : dir_(MakeDir()), game_(dir_.string()) {}
    ~HiScoreFileTest() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    static std::filesystem::path MakeDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zorvik-hiscore-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
        std::filesystem::create_directories(std::filesystem::path(pattern) / "data");
        return pattern;
    }

    std::string FilePath() const { return (dir_ / "data" / "012.dat").string(); }
    // The names in data/, sorted.
    std::vector<std::string> DataFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_ / "data"))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    void WriteFile(const std::string& text) const {
        std::ofstream out(FilePath(), std::ios::binary | std::ios::trunc);
        out << text;
    }

    std::filesystem::path dir_;
    GameHarness game_;
};

}  // namespace zorvik::test
