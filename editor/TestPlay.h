// SPDX-License-Identifier: GPL-3.0-or-later
// Test-play: the map as it is now is written to a temporary set and the game is started on it
// beside the editor (zorvik --level SET); the designer's own files are not touched.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <vector>

namespace zorvik::editor {

class EditorHost;

// Test-play failures.
inline const char* const kGameMissingText = "Hra nebyla nalezena: ";
inline const char* const kPlayWriteFailedText =
    "Level se nepodarilo zapsat pro hru (docasna slozka nebo hodnota mimo -99..999)";
inline const char* const kGameStartFailedText = "Hru se nepodarilo spustit: ";

// The game program the editor starts: zorvik beside the editor's executable.
QString FindGame();

// A fresh temporary folder for one test-play set (invalid when none could be made).
std::unique_ptr<QTemporaryDir> MakePlayFolder();

class TestPlay {
  public:
    explicit TestPlay(EditorHost& host);

    void SetProgram(const QString& program) { program_ = program; }
    const QString& Program() const { return program_; }
    // The tile file of the last set played; empty before the first.
    const QString& LastSet() const { return lastSet_; }

    // Writes the map into a fresh folder and starts the game on it; each failure is reported
    // with its message and starts nothing. Run by Mhrat_Click (F5).
    void Start();

  private:
    EditorHost& host_;
    QString program_;
    QString lastSet_;
    // Kept until the editor quits: a game still running keeps its own set.
    std::vector<std::unique_ptr<QTemporaryDir>> folders_;
};

}  // namespace zorvik::editor
