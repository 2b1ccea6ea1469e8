// SPDX-License-Identifier: GPL-3.0-or-later
// Work is not lost, driven by real mouse and key events: undo and redo reach the map from any
// focus, Clear map and Open ask before dropping changes, the unsaved mark follows undo back to
// the saved map, the number boxes refuse what the map cannot use, and a failed save is not
// where the next dialog opens.
#include <QAbstractButton>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <functional>

#include "EditorFixture.h"

namespace zorvik::editor::test {
namespace {

class LostWorkTest : public ActiveEditorTest {
  protected:
    void PaintCell(int k, int r) {
        QTest::mouseClick(form->Level, Qt::LeftButton, {}, CellCentre(k, r));
    }
    // Replaces the text of a box by typing, as a designer does: a click, select all, keys.
    static void Type(QLineEdit* box, const char* keys) {
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, keys);
    }
    QString StatusMessage() const { return form->statusBar()->currentMessage(); }
};

TEST_F(LostWorkTest, UndoAndRedoKeysActOnTheMapWhateverHasTheFocus) {
    PressSlot(2);
    PaintCell(1, 1);
    ASSERT_EQ(mapTiles[1][1], 3);

    // The link box has the focus and a typed number: the keys still undo the map edit.
    Type(form->Text1, "17");
    ASSERT_TRUE(form->Text1->hasFocus());
    QTest::keyClick(form->Text1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(mapTiles[1][1], 0);
    EXPECT_EQ(form->Text1->text(), "17");
    QTest::keyClick(form->Text1, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(mapTiles[1][1], 3);

    // The same from the speed box, with Ctrl+Shift+Z as redo.
    Type(form->Text2, "4");
    QTest::keyClick(form->Text2, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(mapTiles[1][1], 0);
    QTest::keyClick(form->Text2, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(mapTiles[1][1], 3);
    EXPECT_EQ(form->Text2->text(), "4");
}

TEST_F(LostWorkTest, ClearMapAndOpenAskBeforeDroppingUnsavedChanges) {
    PressSlot(2);
    PaintCell(1, 1);
    const QString question = QString::fromUtf8(kUnsavedChangesText);

    // "Zrušit": nothing happens, neither the clear nor the open dialog.
    host.saveAnswers = {SaveChoice::Cancel};
    ChooseMenuItem(*form, *form->Mfile, *form->Mclear);
    EXPECT_EQ(mapTiles[1][1], 3);
    host.saveAnswers = {SaveChoice::Cancel};
    ChooseMenuItem(*form, *form->Mfile, *form->Mopen);
    EXPECT_EQ(host.dialogsShown, 0);
    EXPECT_EQ(mapTiles[1][1], 3);
    EXPECT_EQ(host.questions, (std::vector<QString>{question, question}));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(form->MapChanged());

    // "Uložit": the map is saved under a name chosen first, then cleared.
    host.saveAnswers = {SaveChoice::Save};
    host.dialogAnswers = {Path("kept.map")};
    ChooseMenuItem(*form, *form->Mfile, *form->Mclear);
    EXPECT_TRUE(ReadAll(Path("kept.map")).startsWith("003000"));
    EXPECT_EQ(mapTiles[1][1], 0);
    EXPECT_EQ(form->windowTitle(), "Form1");

    // "Zahodit": the new change is dropped for the opened set.
    PaintCell(2, 1);
    host.saveAnswers = {SaveChoice::Discard};
    host.dialogAnswers = {Path("kept.map")};
    ChooseMenuItem(*form, *form->Mfile, *form->Mopen);
    EXPECT_EQ(mapTiles[1][1], 3);
    EXPECT_EQ(mapTiles[2][1], 0);
    EXPECT_EQ(form->windowTitle(), "kept.map - Form1");

    // Without changes nothing is asked.
    ChooseMenuItem(*form, *form->Mfile, *form->Mclear);
    EXPECT_EQ(host.questions.size(), 4u);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(LostWorkTest, UndoingClearMapBackToTheSavedMapLeavesNoUnsavedMark) {
    PressSlot(2);
    PaintCell(3, 3);
    host.dialogAnswers = {Path("a.map")};
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
    ASSERT_EQ(form->windowTitle(), "a.map - Form1");

    ChooseMenuItem(*form, *form->Mfile, *form->Mclear);
    EXPECT_EQ(form->windowTitle(), "Form1");
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(mapTiles[3][3], 3);
    EXPECT_EQ(form->windowTitle(), "a.map - Form1");
    EXPECT_FALSE(form->MapChanged());

    // One more edit and its undo come back to the saved map too; a save elsewhere makes
    // a.map's state no longer the saved one under the new name.
    PaintCell(4, 3);
    EXPECT_EQ(form->windowTitle(), "*a.map - Form1");
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form->windowTitle(), "a.map - Form1");
    PaintCell(4, 3);
    host.dialogAnswers = {Path("b.map")};
    ChooseMenuItem(*form, *form->Mfile, *form->Msave);
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(form->windowTitle(), "*b.map - Form1");
    EXPECT_TRUE(host.questions.empty());
}

TEST_F(LostWorkTest, NumberBoxesRefuseAtOnceWhatTheMapCannotUse) {
    const QString linkRefusal = QString::fromUtf8(kLinkRefusedText);
    const QString speedRefusal = QString::fromUtf8(kSpeedRefusedText);

    // A link number stops at the digit that would leave 0..19, and the status bar says why.
    Type(form->Text1, "1000");
    EXPECT_EQ(form->Text1->text(), "10");
    EXPECT_EQ(StatusMessage(), linkRefusal);
    form->statusBar()->clearMessage();
    Type(form->Text1, "-5");
    EXPECT_EQ(form->Text1->text(), "-");
    EXPECT_EQ(StatusMessage(), linkRefusal);
    form->statusBar()->clearMessage();
    Type(form->Text1, "7x");
    EXPECT_EQ(form->Text1->text(), "7");
    Type(form->Text1, "19.5");  // rounds to 20
    EXPECT_EQ(form->Text1->text(), "19.");
    Type(form->Text1, " 19.4");
    EXPECT_EQ(form->Text1->text(), " 19.4");

    // Speeds are 1..5; 0.6 rounds to 1.
    form->statusBar()->clearMessage();
    Type(form->Text2, "9");
    EXPECT_EQ(form->Text2->text(), "");
    EXPECT_EQ(StatusMessage(), speedRefusal);
    Type(form->Text2, "0.6");
    EXPECT_EQ(form->Text2->text(), "0.6");

    // What the boxes hold is what the tools write.
    mapTiles[2][2] = 14;
    mapItems[3][2] = 46;
    Type(form->Text1, "12");
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    QTest::mouseClick(form->Command3, Qt::LeftButton);
    PaintCell(2, 2);
    PaintCell(3, 2);
    EXPECT_EQ(mapItems[2][2], 12);
    EXPECT_EQ(mapItems[3][2], 46);
}

TEST_F(LostWorkTest, AfterAFailedSaveTheDialogDoesNotOpenInTheFolderThatFailed) {
    ASSERT_TRUE(QDir().mkpath(Path("good")));
    ASSERT_TRUE(QDir().mkpath(Path("ro")));
    ASSERT_TRUE(QFile::setPermissions(Path("ro"), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    PressSlot(1);
    PaintCell(1, 1);
    host.dialogAnswers = {Path("good/a.map")};
    ChooseMenuItem(*form, *form->Mfile, *form->Msave);
    PaintCell(2, 1);
    host.dialogAnswers = {Path("ro/a.map")};
    ChooseMenuItem(*form, *form->Mfile, *form->Msave);
    ASSERT_EQ(host.messages.size(), 1u);
    host.dialogAnswers = {""};
    ChooseMenuItem(*form, *form->Mfile, *form->Msave);
    EXPECT_EQ(host.lastInitDir, Path("good"));
    // The failed save left the map under its old name.
    EXPECT_EQ(form->FileName(), Path("good/a.map"));
    QFile::setPermissions(Path("ro"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(LostWorkTest, AFastDragPaintsEveryCellItCrossesInOneStep) {
    PressSlot(2);
    // Five columns in one move, then three rows and back diagonally.
    QTest::mousePress(form->Level, Qt::LeftButton, {}, CellCentre(1, 1));
    SendMove(form->Level, CellCentre(6, 1), Qt::LeftButton);
    SendMove(form->Level, CellCentre(6, 4), Qt::LeftButton);
    SendMove(form->Level, CellCentre(3, 7), Qt::LeftButton);
    QTest::mouseRelease(form->Level, Qt::LeftButton, {}, CellCentre(3, 7));
    for (int k = 1; k <= 6; ++k)
        EXPECT_EQ(mapTiles[k][1], 3) << k;
    for (int r = 2; r <= 4; ++r)
        EXPECT_EQ(mapTiles[6][r], 3) << r;
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(mapTiles[6 - i][4 + i], 3) << i;
    EXPECT_EQ(mapTiles[2][2], 0);

    // The pointer leaving the map breaks the line: the cells between the exit and the
    // re-entry are not erased.
    PaintCell(1, 5);
    QTest::mousePress(form->Level, Qt::RightButton, {}, CellCentre(1, 10));
    SendMove(form->Level, QPoint(-5, 285), Qt::RightButton);
    SendMove(form->Level, CellCentre(1, 1), Qt::RightButton);
    QTest::mouseRelease(form->Level, Qt::RightButton, {}, CellCentre(1, 1));
    EXPECT_EQ(mapTiles[1][1], 0);
    EXPECT_EQ(mapTiles[1][5], 3);

    // Each drag is one step.
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(mapTiles[1][1], 3);
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(mapTiles[1][5], 0);
    QTest::keyClick(form.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(mapTiles[6][1] | mapTiles[6][4] | mapTiles[3][7], 0);
    EXPECT_FALSE(form->MapChanged());
}

// The desktop's question: three Czech buttons, Escape cancels.
TEST(EditorSaveQuestion, TheDesktopQuestionOffersSaveDiscardAndCancel) {
    QtEditorHost desktop(nullptr);
    auto answer = [&desktop](const std::function<void(QMessageBox&)>& act) {
        QTimer::singleShot(0, [&act] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            act(*box);
        });
        return desktop.AskSaveChanges(QString::fromUtf8(kUnsavedChangesText));
    };
    auto click = [](const char* caption) {
        return [caption](QMessageBox& box) {
            QStringList captions;
            for (QAbstractButton* button : box.buttons())
                captions << button->text();
            captions.sort();
            EXPECT_EQ(captions,
                      (QStringList{QString::fromUtf8("Uložit"), QString::fromUtf8("Zahodit"),
                                   QString::fromUtf8("Zrušit")}));
            for (QAbstractButton* button : box.buttons()) {
                if (button->text() == QString::fromUtf8(caption))
                    QTest::mouseClick(button, Qt::LeftButton);
            }
        };
    };
    EXPECT_EQ(answer(click("Uložit")), SaveChoice::Save);
    EXPECT_EQ(answer(click("Zahodit")), SaveChoice::Discard);
    EXPECT_EQ(answer(click("Zrušit")), SaveChoice::Cancel);
    EXPECT_EQ(answer([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }),
              SaveChoice::Cancel);
}

}  // namespace
}  // namespace zorvik::editor::test
