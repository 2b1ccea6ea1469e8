// SPDX-License-Identifier: GPL-3.0-or-later
// The game's path beside the editor, in the build's layout or the installed one.
#include "GameLocation.h"

#include <QDir>
#include <QFileInfo>

namespace zorvik::editor {

namespace {

bool IsProgram(const QString& path) {
    const QFileInfo file(path);
    return file.isFile() && file.isExecutable();
}

}  // namespace

QString GameProgramFor(const QString& editorDir) {
    const QString beside = editorDir + QStringLiteral("/zorvik");
    if (IsProgram(beside)) return beside;
    const QString installed = QDir::cleanPath(editorDir + QStringLiteral("/../games/zorvik"));
    if (IsProgram(installed)) return installed;
    return beside;
}

}  // namespace zorvik::editor
