// SPDX-License-Identifier: GPL-3.0-or-later
// What the editor remembers across runs (the recent map sets and the last folder, in settings
// of the test's own), and the tooltips of every button and box.
#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

#include "EditorFixture.h"

namespace zorvik::editor::test {
namespace {

QByteArray LayerWith(const char* firstCell) {
    QByteArray text;
    for (int row = 1; row <= 18; ++row)
        text += QByteArray("000").repeated(50) + "\r\n";
    return text.replace(0, 3, firstCell);
}

class RememberTest : public ActiveEditorTest {
  protected:
    void WriteSet(const QString& base, const char* firstTile) {
        WriteAll(base, LayerWith(firstTile));
        WriteAll(base + ".1", LayerWith("000"));
        WriteAll(base + ".2", LayerWith("000"));
    }
    // The editor started again: a new window over the same settings.
    void Restart() {
        host.saveAnswers.assign(2, SaveChoice::Discard);
        form.reset();
        form = std::make_unique<Form1>(&host, QString::fromStdString(zorvik::test::DistDir()));
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    QStringList RecentEntries() const {
        QStringList texts;
        for (QAction* item : form->Mnedavne->actions())
            texts << item->text();
        return texts;
    }
};

TEST_F(RememberTest, RecentSetsAndTheLastFolderSurviveARestart) {
    ASSERT_TRUE(QDir().mkpath(Path("one")));
    ASSERT_TRUE(QDir().mkpath(Path("two")));
    WriteSet(Path("one/a.map"), "007");
    ASSERT_NO_FATAL_FAILURE(Restart());
    EXPECT_EQ(RecentEntries(), QStringList{QString::fromUtf8("(zatím žádné)")});

    host.dialogAnswers = {Path("one/a.map")};
    ChooseMenuItem(*form, *form->Mfile, *form->Mopen);
    ASSERT_EQ(mapTiles[1][1], 7);
    mapTiles[2][1] = 3;
    host.dialogAnswers = {Path("two/b.map")};
    ChooseMenuItem(*form, *form->Mfile, *form->Msave);
    ASSERT_TRUE(host.messages.empty());

    ASSERT_NO_FATAL_FAILURE(Restart());
    // The list, the most recent first, names each set with its folder.
    EXPECT_EQ(RecentEntries(),
              (QStringList{"&1 b.map   " + Path("two"), "&2 a.map   " + Path("one")}));
    // The dialog opens where the last save went.
    host.dialogAnswers = {""};
    ChooseMenuItem(*form, *form->Mfile, *form->Mopen);
    EXPECT_EQ(host.lastInitDir, Path("two"));

    // A recent set opens from the menu; it moves to the top.
    host.messages.clear();
    ChooseMenuItem(*form, *form->Mnedavne, *form->Mnedavne->actions()[1]);
    EXPECT_EQ(form->FileName(), Path("one/a.map"));
    EXPECT_EQ(mapTiles[1][1], 7);
    EXPECT_EQ(RecentEntries()[0], "&1 a.map   " + Path("one"));

    // One that is gone says so and leaves the list; a folder that is gone is not offered.
    QDir(Path("two")).removeRecursively();
    ChooseMenuItem(*form, *form->Mnedavne, *form->Mnedavne->actions()[1]);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], kOpenFailedText);
    EXPECT_EQ(RecentEntries(), QStringList{"&1 a.map   " + Path("one")});
    EXPECT_EQ(form->FileName(), Path("one/a.map"));
    host.settings.setValue("recent/folder", Path("two"));
    host.dialogAnswers = {""};
    ChooseMenuItem(*form, *form->Mfile, *form->Mopen);
    EXPECT_EQ(host.lastInitDir, QString::fromStdString(zorvik::test::DistDir()));
}

TEST_F(RememberTest, TheListKeepsEightSetsEachOnce) {
    for (int i = 1; i <= 10; ++i) {
        WriteSet(Path(QString("m%1.map").arg(i)), "001");
        ASSERT_TRUE(form->OpenMapSet(Path(QString("m%1.map").arg(i))));
    }
    ASSERT_TRUE(form->OpenMapSet(Path("m5.map")));
    const QStringList entries = RecentEntries();
    ASSERT_EQ(entries.size(), 8);
    EXPECT_TRUE(entries[0].startsWith("&1 m5.map"));
    EXPECT_TRUE(entries[1].startsWith("&2 m10.map"));
    EXPECT_TRUE(entries[6].startsWith("&7 m4.map"));
    EXPECT_TRUE(entries[7].startsWith("&8 m3.map"));
}

TEST_F(EditorTest, EveryButtonAndBoxHasATooltip) {
    // The form's own buttons (the menu bar has an overflow button of Qt's).
    const QList<QAbstractButton*> buttons = form->centralWidget()->findChildren<QAbstractButton*>();
    ASSERT_GE(buttons.size(), 7);
    for (const QAbstractButton* button : buttons)
        EXPECT_FALSE(button->toolTip().isEmpty()) << button->objectName().toStdString();
    for (const QLineEdit* box : form->findChildren<QLineEdit*>())
        EXPECT_FALSE(box->toolTip().isEmpty()) << box->objectName().toStdString();
    for (const QWidget* box :
         {static_cast<QWidget*>(form->Vyber), static_cast<QWidget*>(form->SELEC)})
        EXPECT_FALSE(box->toolTip().isEmpty()) << box->objectName().toStdString();
}

}  // namespace
}  // namespace zorvik::editor::test
