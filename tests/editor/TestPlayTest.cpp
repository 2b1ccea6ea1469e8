// SPDX-License-Identifier: GPL-3.0-or-later
// Test-play with F5: one test game at a time (F5 again starts the map anew), nothing started
// for a map the game cannot play; and Qt's own dialog texts in Czech.
#include <signal.h>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

#include "EditorFixture.h"
#include "editor/QtCzech.h"

namespace zorvik::editor::test {
namespace {

class TestPlayTest : public ActiveEditorTest {
  protected:
    void F5() { QTest::keyClick(form.get(), Qt::Key_F5); }
    // A stand-in game that notes its process number and then waits to be ended.
    QString WaitingGame() {
        const QString game = Path("zorvik");
        WriteAll(game, "#!/bin/sh\necho $$ >> \"" + Path("pids").toUtf8() + "\"\nexec sleep 60\n");
        QFile::setPermissions(game, QFile::ReadOwner | QFile::ExeOwner);
        return game;
    }
    // The process numbers noted so far, once `count` games have noted theirs.
    std::vector<pid_t> Pids(size_t count) {
        std::vector<pid_t> pids;
        (void)QTest::qWaitFor(
            [&] {
                pids.clear();
                for (const QByteArray& line : ReadAll(Path("pids")).split('\n'))
                    if (!line.isEmpty()) pids.push_back(static_cast<pid_t>(line.toInt()));
                return pids.size() >= count;
            },
            5000);
        return pids;
    }
    static bool Alive(pid_t pid) { return ::kill(pid, 0) == 0; }
};

TEST_F(TestPlayTest, F5AgainEndsTheRunningGameAndStartsTheMapAnew) {
    mapItems[2][17] = 999;
    mapItems[9][17] = 997;
    form->SetGameProgram(WaitingGame());
    host.runPrograms = true;

    F5();
    const std::vector<pid_t> first = Pids(1);
    ASSERT_EQ(first.size(), 1u);
    ASSERT_TRUE(Alive(first[0]));
    const QString firstSet = form->LastPlaySet();

    // The map changed, F5 again: the first game is ended, one game runs on the new map.
    mapItems[9][17] = 900;
    F5();
    const std::vector<pid_t> both = Pids(2);
    ASSERT_EQ(both.size(), 2u);
    EXPECT_FALSE(Alive(both[0]));
    EXPECT_TRUE(Alive(both[1]));
    EXPECT_FALSE(QFileInfo::exists(firstSet));
    EXPECT_TRUE(ReadAll(form->LastPlaySet() + ".2").contains("900"));
    EXPECT_TRUE(host.messages.empty());

    // Closing the editor ends its test game.
    form.reset();
    EXPECT_FALSE(Alive(both[1]));
}

TEST_F(TestPlayTest, F5OnAMapTheGameCannotPlayNamesWhatIsMissingAndStartsNothing) {
    const QString game = Path("zorvik");
    WriteAll(game, "#!/bin/sh\n");
    ASSERT_TRUE(QFile::setPermissions(game, QFile::ReadOwner | QFile::ExeOwner));
    form->SetGameProgram(game);
    const QString heading = QString::fromUtf8(kCannotPlayText);

    F5();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(
        host.messages[0].split('\n'),
        (QStringList{heading, QString::fromUtf8("- startovní pozice Zorvik flašky (998 nebo 999)"),
                     QString::fromUtf8("- východ (997) nebo cíl hry (900)")}));

    // A start painted with the mouse: only the exit is missing.
    for (int i = 0; i < 27; ++i)
        QTest::mouseClick(form->Dolu, Qt::LeftButton);
    const int startSlot = 29 - 1 - paletteTop;  // entry 29: player start
    QTest::mouseClick(form->Vyber, Qt::LeftButton, {}, QPoint(30, 74 * startSlot + 20));
    QTest::mouseClick(form->Level, Qt::LeftButton, {}, QPoint(45, 495));
    ASSERT_EQ(mapItems[2][17], 998);
    F5();
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[1].split('\n'),
              (QStringList{heading, QString::fromUtf8("- východ (997) nebo cíl hry (900)")}));
    EXPECT_TRUE(host.started.empty());
    EXPECT_TRUE(form->LastPlaySet().isEmpty());

    // With the goal the game starts.
    mapItems[20][17] = 900;
    F5();
    EXPECT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.started.size(), 1u);
}

TEST_F(TestPlayTest, ShiftF5PlaysFromTheHoveredCellWithoutTheCard) {
    const QString game = Path("zorvik");
    WriteAll(game, "#!/bin/sh\n");
    ASSERT_TRUE(QFile::setPermissions(game, QFile::ReadOwner | QFile::ExeOwner));
    form->SetGameProgram(game);
    mapItems[2][17] = 999;
    mapItems[40][17] = 997;

    // No cell under the pointer: it says where to point and starts nothing.
    QTest::keyClick(form.get(), Qt::Key_F5, Qt::ShiftModifier);
    EXPECT_EQ(host.messages, std::vector<QString>{QString::fromUtf8(kPlayFromWhereText)});
    EXPECT_TRUE(host.started.empty());

    // The normal view scrolled by three columns: view cell (5, 12) is map column 8.
    for (int i = 0; i < 3; ++i)
        form->Vlevo->click();
    SendMove(form->Level, CellCentre(5, 12), Qt::NoButton);
    QTest::keyClick(form.get(), Qt::Key_F5, Qt::ShiftModifier);
    ASSERT_EQ(host.started.size(), 1u);
    EXPECT_EQ(host.started[0].mid(1),
              (QStringList{"--level", form->LastPlaySet(), "--start", "8,12", "--no-card"}));
    // F5 itself stays as it was: the level from its start, with its card.
    QTest::keyClick(form.get(), Qt::Key_F5);
    ASSERT_EQ(host.started.size(), 2u);
    EXPECT_EQ(host.started[1].mid(1), (QStringList{"--level", form->LastPlaySet()}));

    // The same checks as F5: without an exit nothing starts.
    mapItems[40][17] = 0;
    QTest::keyClick(form.get(), Qt::Key_F5, Qt::ShiftModifier);
    EXPECT_EQ(host.started.size(), 2u);
    EXPECT_EQ(host.messages.size(), 2u);
}

// Qt's standard buttons and file dialog speak Czech once the translations are installed.
TEST(EditorQtTexts, QtsOwnDialogTextsAreCzech) {
    ASSERT_TRUE(InstallQtCzech(*QCoreApplication::instance()))
        << "Qt's Czech translations (qt6-translations-l10n) are not installed";

    QMessageBox box(QMessageBox::Question, "Zorvik", "?", QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove('&'), "Ano");
    EXPECT_EQ(box.button(QMessageBox::No)->text().remove('&'), "Ne");

    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    auto* lookIn = dialog.findChild<QLabel*>("lookInLabel");
    ASSERT_NE(lookIn, nullptr);
    EXPECT_FALSE(lookIn->text().contains("Look in"));
    EXPECT_EQ(dialog.labelText(QFileDialog::Reject).remove('&'), QString::fromUtf8("Zrušit"));
    EXPECT_NE(QFileDialog::tr("%1 already exists.\nDo you want to replace it?"),
              "%1 already exists.\nDo you want to replace it?");

    // The other editor tests read texts of their own; leave Qt's as they were.
    for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

}  // namespace
}  // namespace zorvik::editor::test
