// SPDX-License-Identifier: GPL-3.0-or-later
// Loading Qt's Czech translations.
#include "QtCzech.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace zorvik::editor {

bool InstallQtCzech(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_cs"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace zorvik::editor
