// SPDX-License-Identifier: GPL-3.0-or-later
// Which game the editor starts for test-play: the one beside it in the build's game folder, or
// ../games/zorvik when it is installed in bin/; only an executable file counts.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "EditorFixture.h"
#include "editor/GameLocation.h"

namespace zorvik::editor::test {
namespace {

// Makes a file at path, executable or not.
void MakeFile(const QString& path, bool executable) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n");
    file.close();
    const QFile::Permissions read = QFile::ReadOwner | QFile::WriteOwner;
    ASSERT_TRUE(file.setPermissions(executable ? read | QFile::ExeOwner : read));
}

TEST(GameLocation, TheGameBesideTheEditorComesFirstThenTheInstalledOne) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString dist = root.path() + "/build/dist";
    MakeFile(dist + "/zorvik", true);
    EXPECT_EQ(GameProgramFor(dist), dist + "/zorvik");

    const QString bin = root.path() + "/usr/bin";
    ASSERT_TRUE(QDir().mkpath(bin));
    MakeFile(root.path() + "/usr/games/zorvik", true);
    EXPECT_EQ(GameProgramFor(bin), root.path() + "/usr/games/zorvik");
    // A game beside an installed editor (an unpacked copy with both in one folder) wins.
    MakeFile(bin + "/zorvik", true);
    EXPECT_EQ(GameProgramFor(bin), bin + "/zorvik");
}

TEST(GameLocation, OnlyAnExecutableFileCountsAndAMissingGameIsNamedBesideTheEditor) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString bin = root.path() + "/usr/bin";
    ASSERT_TRUE(QDir().mkpath(bin));
    EXPECT_EQ(GameProgramFor(bin), bin + "/zorvik");  // neither: the message names this

    MakeFile(bin + "/zorvik", false);
    MakeFile(root.path() + "/usr/games/zorvik", true);
    EXPECT_EQ(GameProgramFor(bin), root.path() + "/usr/games/zorvik");

    ASSERT_TRUE(QDir().mkpath(root.path() + "/opt/bin/zorvik"));  // a folder, not a program
    EXPECT_EQ(GameProgramFor(root.path() + "/opt/bin"), root.path() + "/opt/bin/zorvik");
}

}  // namespace
}  // namespace zorvik::editor::test
