// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's ties to its desktop entry: the app id its windows carry and the icon they show.
#include <QApplication>
#include <QIcon>
#include <QImage>

#include "EditorFixture.h"
#include "editor/EditorDesktop.h"

namespace zorvik::editor::test {
namespace {

TEST(EditorDesktop, WindowsCarryTheDesktopEntrysIdAndTheEditorsIcon) {
    IntroduceToTheDesktop();
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("cz.zorvik.editor"));

    RecordingHost host;
    Form1 form(&host);
    const QIcon icon = form.windowIcon();
    ASSERT_FALSE(icon.isNull());
    const QImage image = icon.pixmap(64, 64).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(64, 64));
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);      // outside the rounded sheet
    EXPECT_EQ(qAlpha(image.pixel(32, 32)), 255);  // on it
    host.saveAnswers.assign(4, SaveChoice::Discard);
}

}  // namespace
}  // namespace zorvik::editor::test
