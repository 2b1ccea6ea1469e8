// SPDX-License-Identifier: GPL-3.0-or-later
// Test-play: the map as it is now is written to a temporary set and the game is started on it
// beside the editor (zorvik --level SET); the designer's own files are not touched. One test
// game at a time: starting again ends the running one and starts the map anew.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace zorvik::editor {

class EditorHost;

// Test-play failures.
inline const char* const kGameMissingText = "Hra nebyla nalezena: ";
inline const char* const kPlayWriteFailedText =
    "Level se nepodarilo zapsat pro hru (docasna slozka nebo hodnota mimo -99..999)";
inline const char* const kGameStartFailedText = "Hru se nepodarilo spustit: ";
// Shift+F5 without a map cell under the pointer (UTF-8).
inline const char* const kPlayFromWhereText =
    "Najeďte ukazatelem na pole mapy, odkud se má hrát, a stiskněte Shift+F5.";
// Heading of what the map lacks before the game can play it (UTF-8).
inline const char* const kCannotPlayText = "Level nelze hrát, chybí:";

// The game program the editor starts: zorvik beside the editor's executable.
QString FindGame();

// A fresh temporary folder for one test-play set (invalid when none could be made).
std::unique_ptr<QTemporaryDir> MakePlayFolder();

// The map's path in a play folder.
QString PlaySetIn(const QTemporaryDir& folder);

// Whether the game can play the map (a start, an exit or goal) and is there to start; each
// failure is told to the designer.
bool ReadyToPlay(EditorHost& host, const QString& program);

// Writes the map as it is now into a fresh temporary folder; null, with the cause told to
// the designer, when it cannot be written.
std::unique_ptr<QTemporaryDir> WritePlaySet(EditorHost& host);

class TestPlay {
  public:
    explicit TestPlay(EditorHost& host);
    // Ends a test game still running.
    ~TestPlay();
    TestPlay(const TestPlay&) = delete;
    TestPlay& operator=(const TestPlay&) = delete;

    void SetProgram(const QString& program) { program_ = program; }
    const QString& Program() const { return program_; }
    // The tile file of the last set played; empty before the first.
    const QString& LastSet() const { return lastSet_; }
    // Whether the game started last is still running.
    bool Running() const;

    // Checks that the game can play the map, ends the test game still running, writes the map
    // into a fresh folder and starts the game on it. Each failure is reported with its message
    // and starts nothing. Run by Mhrat_Click (F5); `options` follow the set on the game's
    // command line (Shift+F5: --start COL,ROW --no-card).
    void Start(const QStringList& options = {});

    // Starts the game on a set already written (the prover's, for its route), ending the test
    // game still running; a failure is reported.
    void Play(const QString& set, const QStringList& options);

  private:
    void Stop();

    EditorHost& host_;
    QString program_;
    QString lastSet_;
    std::unique_ptr<QProcess> game_;
    // The set of the game started last, removed when the next one starts or the editor quits.
    std::unique_ptr<QTemporaryDir> folder_;
};

}  // namespace zorvik::editor
