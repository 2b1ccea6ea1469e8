// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the game, the temporary set, and the one test game the editor runs.
#include "TestPlay.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include "EditorHost.h"
#include "GameLocation.h"
#include "LevelCheck.h"
#include "LevelFolder.h"
#include "MapSetFiles.h"

namespace zorvik::editor {

namespace {

// How long the game gets to end by itself before it is killed.
constexpr int kStopWaitMs = 3000;

}  // namespace

QString FindGame() {
    return GameProgramFor(QCoreApplication::applicationDirPath());
}

std::unique_ptr<QTemporaryDir> MakePlayFolder() {
    return std::make_unique<QTemporaryDir>(TemporaryFolder() +
                                           QStringLiteral("/zorvik-level-XXXXXX"));
}

TestPlay::TestPlay(EditorHost& host) : host_(host), program_(FindGame()) {}

TestPlay::~TestPlay() {
    Stop();
}

bool TestPlay::Running() const {
    return game_ != nullptr && game_->state() != QProcess::NotRunning;
}

void TestPlay::Stop() {
    if (!Running()) return;
    game_->terminate();
    if (!game_->waitForFinished(kStopWaitMs)) {
        game_->kill();
        game_->waitForFinished(kStopWaitMs);
    }
}

bool ReadyToPlay(EditorHost& host, const QString& program) {
    const QStringList missing = MissingForPlay();
    if (!missing.isEmpty()) {
        host.MsgBox(QString::fromUtf8(kCannotPlayText) + QStringLiteral("\n- ") +
                    missing.join(QStringLiteral("\n- ")));
        return false;
    }
    const QFileInfo game(program);
    if (!game.isFile() || !game.isExecutable()) {
        host.MsgBox(QString::fromLatin1(kGameMissingText) + QDir::toNativeSeparators(program));
        return false;
    }
    return true;
}

std::unique_ptr<QTemporaryDir> WritePlaySet(EditorHost& host) {
    std::unique_ptr<QTemporaryDir> folder = MakePlayFolder();
    const WriteResult written =
        folder->isValid()
            ? WriteMapSet(PlaySetIn(*folder))
            : WriteResult{false, QString::fromUtf8("Dočasnou složku v %1 se nepodařilo vytvořit.")
                                     .arg(QDir::toNativeSeparators(TemporaryFolder()))};
    if (!written.written) {
        host.MsgBox(QString::fromLatin1(kPlayWriteFailedText) + QString::fromUtf8("\n\nPříčina: ") +
                    written.cause);
        return nullptr;
    }
    return folder;
}

QString PlaySetIn(const QTemporaryDir& folder) {
    return folder.filePath(QStringLiteral("level.map"));
}

void TestPlay::Start(const QStringList& options) {
    if (!ReadyToPlay(host_, program_)) return;
    std::unique_ptr<QTemporaryDir> folder = WritePlaySet(host_);
    if (folder == nullptr) return;
    const QString set = PlaySetIn(*folder);
    Play(set, options);
    if (lastSet_ == set) folder_ = std::move(folder);
}

void TestPlay::Play(const QString& set, const QStringList& options) {
    // A game still running plays the map as it was: it makes way for the map as it is now.
    Stop();
    game_ = std::make_unique<QProcess>();
    if (!host_.StartProcess(*game_, program_,
                            QStringList{QStringLiteral("--level"), set} + options)) {
        host_.MsgBox(QString::fromLatin1(kGameStartFailedText) +
                     QDir::toNativeSeparators(program_));
        return;
    }
    lastSet_ = set;
}

}  // namespace zorvik::editor
