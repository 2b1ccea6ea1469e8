// SPDX-License-Identifier: GPL-3.0-or-later
// The file dialog's start folder when the editor's own folder is read-only or installed: the
// player's levels folder under XDG_DATA_HOME, made when first needed; an installed editor never
// starts the dialog in its own folder, even where it may write (root).
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>

#include "EditorFixture.h"

namespace zorvik::editor::test {
namespace {

TEST(LevelFolder, AReadOnlyProgramFolderSendsTheDialogToTheUsersLevelsFolder) {
    QTemporaryDir xdg;
    ASSERT_TRUE(xdg.isValid());
    setenv("XDG_DATA_HOME", xdg.path().toLocal8Bit().constData(), 1);
    const QString levels = xdg.path() + "/zorvik/levels";
    {
        RecordingHost host;
        // /proc takes no new files, not even from root.
        Form1 form(&host, QStringLiteral("/proc"));
        EXPECT_FALSE(QDir(levels).exists());  // nothing made before it is needed
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        QTest::keyClick(&form, Qt::Key_O, Qt::ControlModifier);
        EXPECT_EQ(host.lastInitDir, levels);
        EXPECT_TRUE(QDir(levels).exists());
        host.saveAnswers.assign(4, SaveChoice::Discard);
    }
    {
        // A writable program folder keeps the dialog there.
        RecordingHost host;
        QTemporaryDir program;
        Form1 form(&host, program.path());
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(host.lastInitDir, program.path());
        host.saveAnswers.assign(4, SaveChoice::Discard);
    }
    unsetenv("XDG_DATA_HOME");
}

TEST(LevelFolder, AnInstalledEditorNeverOffersItsOwnFolderEvenWhereItMayWrite) {
    QTemporaryDir prefix;
    QTemporaryDir xdg;
    ASSERT_TRUE(prefix.isValid() && xdg.isValid());
    const QString installed = prefix.path() + "/share/zorvik";
    ASSERT_TRUE(QDir().mkpath(installed + "/map"));
    setenv("XDG_DATA_HOME", xdg.path().toLocal8Bit().constData(), 1);
    {
        RecordingHost host;
        Form1 form(&host, installed);
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        QTest::keyClick(&form, Qt::Key_O, Qt::ControlModifier);
        EXPECT_EQ(host.lastInitDir, xdg.path() + "/zorvik/levels");
        host.saveAnswers.assign(4, SaveChoice::Discard);
    }
    {
        // No levels folder can be made: the home folder, still not the installed one.
        setenv("XDG_DATA_HOME", "/proc/zorvik-no-such-folder", 1);
        RecordingHost host;
        Form1 form(&host, installed);
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        QTest::keyClick(&form, Qt::Key_O, Qt::ControlModifier);
        EXPECT_EQ(host.lastInitDir, QDir::homePath());
        host.saveAnswers.assign(4, SaveChoice::Discard);
    }
    unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace zorvik::editor::test
