// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own texts in Czech: the standard buttons, the file dialogs and their questions.
#pragma once

class QCoreApplication;

namespace zorvik::editor {

// Installs Qt's Czech translations (qtbase_cs.qm from Qt's translations folder, Debian's
// qt6-translations-l10n) into `app`, whatever the desktop's language: the editor speaks Czech.
// False when they are not installed; Qt's texts then stay English. Called by main at start.
bool InstallQtCzech(QCoreApplication& app);

}  // namespace zorvik::editor
