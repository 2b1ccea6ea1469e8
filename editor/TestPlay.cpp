// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the game, the temporary set and starting the game on it.
#include "TestPlay.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "EditorHost.h"
#include "MapSetFiles.h"

namespace zorvik::editor {

QString FindGame() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/zorvik");
}

std::unique_ptr<QTemporaryDir> MakePlayFolder() {
    return std::make_unique<QTemporaryDir>(QDir::tempPath() +
                                           QStringLiteral("/zorvik-level-XXXXXX"));
}

TestPlay::TestPlay(EditorHost& host) : host_(host), program_(FindGame()) {}

void TestPlay::Start() {
    const QFileInfo game(program_);
    if (!game.isFile() || !game.isExecutable()) {
        host_.MsgBox(QString::fromLatin1(kGameMissingText) + QDir::toNativeSeparators(program_));
        return;
    }
    std::unique_ptr<QTemporaryDir> folder = MakePlayFolder();
    const QString set = folder->filePath(QStringLiteral("level.map"));
    if (!folder->isValid() || !WriteMapSet(set)) {
        host_.MsgBox(QString::fromLatin1(kPlayWriteFailedText));
        return;
    }
    if (!host_.StartDetached(program_, {QStringLiteral("--level"), set})) {
        host_.MsgBox(QString::fromLatin1(kGameStartFailedText) +
                     QDir::toNativeSeparators(program_));
        return;
    }
    lastSet_ = set;
    folders_.push_back(std::move(folder));
}

}  // namespace zorvik::editor
