// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's Wayland app id and window icon.
#include "EditorDesktop.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>

#include "DesktopIds.h"
#include "WindowIcons.h"

namespace zorvik::editor {

void IntroduceToTheDesktop() {
    QGuiApplication::setDesktopFileName(QString::fromLatin1(desktop::kEditorId));
    const QImage builtIn(kEditorWindowIcon, kWindowIconSize, kWindowIconSize, kWindowIconSize * 4,
                         QImage::Format_RGBA8888);
    QApplication::setWindowIcon(QIcon::fromTheme(QString::fromLatin1(desktop::kEditorId),
                                                 QIcon(QPixmap::fromImage(builtIn))));
}

}  // namespace zorvik::editor
