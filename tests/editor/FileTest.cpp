// SPDX-License-Identifier: GPL-3.0-or-later
// Clear, Open and Save of map file sets, the file dialog's settings, and the question on
// closing a window with unsaved changes (save, discard or cancel).
#include <unistd.h>

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <fstream>

#include "EditorFixture.h"

namespace zorvik::editor::test {
namespace {

// A layer file of 18 lines; `cell` gives the three characters of (column, row).
template <typename CellText>
QByteArray LayerFile(CellText cell, int lines = 18) {
    QByteArray text;
    for (int row = 1; row <= lines; ++row) {
        for (int col = 1; col <= 50; ++col)
            text += cell(col, row);
        text += "\r\n";
    }
    return text;
}

QByteArray ZeroFile() {
    return LayerFile([](int, int) { return QByteArray("000"); });
}

void FillSomeMap() {
    for (int col = 1; col <= 50; ++col) {
        for (int row = 1; row <= 18; ++row) {
            mapTiles[col][row] = static_cast<int16_t>((col * 7 + row) % 19);
            mapSolid[col][row] = static_cast<int16_t>((col + row) % 2);
            mapItems[col][row] = static_cast<int16_t>((col * row) % 60);
        }
    }
    mapItems[1][1] = 999;
    mapItems[50][18] = 900;
    mapItems[3][4] = -12;
}

TEST_F(EditorTest, ClearEmptiesEveryCellAndShowsTheStartOfTheMap) {
    FillSomeMap();
    mapTiles[0][0] = 5;
    mapItems[0][7] = 5;
    viewScroll = 10;
    paletteTop = 3;
    selectedEntry = 7;
    form->Text1->setText("4");
    form->Mclear->trigger();
    for (int col = 0; col <= 50; ++col) {
        for (int row = 0; row <= 18; ++row) {
            ASSERT_EQ(mapTiles[col][row] | mapSolid[col][row] | mapItems[col][row], 0);
        }
    }
    EXPECT_EQ(viewScroll, 0);
    EXPECT_EQ(paletteTop, 3);
    EXPECT_EQ(selectedEntry, 7);
    EXPECT_EQ(form->Text1->text(), "4");
    EXPECT_EQ(NonBlackPixels(*form, 1, 1), 0);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.dialogsShown, 0);
}

TEST_F(EditorTest, SaveWritesThreeFilesOfEighteenLinesAndOpenReadsThemBack) {
    // An empty map: 18 lines of 150 zeros, each ending CR LF, under the name as picked.
    host.dialogAnswers = {Path("level")};
    form->Msave->trigger();
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(host.lastDialogWasSave);
    for (const char* name : {"level", "level.1", "level.2"}) {
        EXPECT_EQ(ReadAll(Path(name)), ZeroFile()) << name;
    }
    EXPECT_EQ(ZeroFile().size(), 18 * 152);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3);  // no temporaries left

    FillSomeMap();
    mapItems[5][6] = -5;  // written 0-5, reads back as 0
    viewScroll = 20;
    host.dialogAnswers = {Path("mapa3.map")};
    form->Msave_Click();
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(viewScroll, 0);
    EXPECT_FALSE(form->MapChanged());
    const QByteArray items = ReadAll(Path("mapa3.map.2"));
    ASSERT_EQ(items.size(), 18 * 152);
    EXPECT_EQ(items.mid(0, 3), "999");
    EXPECT_EQ(items.mid(3 * 152 + 6, 3), "-12");   // column 3, row 4
    EXPECT_EQ(items.mid(5 * 152 + 12, 3), "0-5");  // column 5, row 6
    EXPECT_EQ(items.mid(17 * 152 + 147, 5), "900\r\n");
    EXPECT_EQ(ReadAll(Path("mapa3.map")).mid(0, 3), "008");  // tile (1, 1) = 8

    MapLayer tiles, solid, itemsBefore;
    std::memcpy(tiles, mapTiles, sizeof tiles);
    std::memcpy(solid, mapSolid, sizeof solid);
    std::memcpy(itemsBefore, mapItems, sizeof itemsBefore);
    form->Mclear_Click();
    viewScroll = 5;
    host.dialogAnswers = {Path("mapa3.map")};
    form->Mopen->trigger();
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(host.lastDialogWasSave);
    EXPECT_EQ(viewScroll, 0);
    EXPECT_EQ(std::memcmp(tiles, mapTiles, sizeof tiles), 0);
    EXPECT_EQ(std::memcmp(solid, mapSolid, sizeof solid), 0);
    EXPECT_EQ(mapItems[5][6], 0);
    EXPECT_EQ(mapItems[3][4], -12);
    itemsBefore[5][6] = 0;
    EXPECT_EQ(std::memcmp(itemsBefore, mapItems, sizeof itemsBefore), 0);
    EXPECT_EQ(CellMismatches(*form, 1, 1, 29), 0);  // the start at (1, 1) is drawn

    // Saving what was read gives the same bytes (but for the -5 that read back as 0).
    host.dialogAnswers = {Path("again.map")};
    form->Msave_Click();
    EXPECT_EQ(ReadAll(Path("again.map")), ReadAll(Path("mapa3.map")));
    EXPECT_EQ(ReadAll(Path("again.map.1")), ReadAll(Path("mapa3.map.1")));
    QByteArray expectedItems = ReadAll(Path("mapa3.map.2"));
    expectedItems.replace(5 * 152 + 12, 3, "000");
    EXPECT_EQ(ReadAll(Path("again.map.2")), expectedItems);
}

TEST_F(EditorTest, OpenReadsCellsLikeTheGame) {
    // Blanks, short lines, extra text after the cells and lines after the 18th.
    QByteArray tiles = LayerFile([](int col, int row) {
        if (row == 2 && col == 1) return QByteArray("  7");
        if (row == 3 && col == 1) return QByteArray("   ");
        return QByteArray("018");
    });
    tiles.replace(4 * 152, 150, QByteArray("005").repeated(30));  // row 5 has 30 cells
    tiles += "999999\r\n";
    WriteAll(Path("a.map"), tiles);
    WriteAll(Path("a.map.1"), LayerFile([](int, int) { return QByteArray("1"); }, 20) + "x");
    QByteArray items = ZeroFile();
    items.replace(0, 3, "2.5");
    items.replace(3, 3, "3.5");
    items.replace(6, 3, "-7x");
    items.replace(9, 3, "0-5");
    WriteAll(Path("a.map.2"), items);
    host.dialogAnswers = {Path("a.map")};
    form->Mopen_Click();
    ASSERT_TRUE(host.messages.empty());
    EXPECT_EQ(mapTiles[1][1], 18);
    EXPECT_EQ(mapTiles[1][2], 7);
    EXPECT_EQ(mapTiles[1][3], 0);
    EXPECT_EQ(mapTiles[30][5], 5);
    EXPECT_EQ(mapTiles[31][5], 0);
    EXPECT_EQ(mapTiles[50][5], 0);
    EXPECT_EQ(mapTiles[50][18], 18);
    EXPECT_EQ(mapSolid[1][1], 111);  // "1" repeated: the cell reads "111"
    EXPECT_EQ(mapItems[1][1], 2);
    EXPECT_EQ(mapItems[2][1], 4);
    EXPECT_EQ(mapItems[3][1], -7);
    EXPECT_EQ(mapItems[4][1], 0);
}

// A name that is not UTF-8 (made on a system with another encoding, or by a program) opens as
// the system gives its bytes. Qt cannot name such a file, so the map stays unnamed and Ctrl+S
// asks where to save instead of writing to some other name.
TEST_F(EditorTest, AMapWhosePathIsNotUtf8OpensAndItsSaveAsks) {
    const QByteArray base = QFile::encodeName(dir.path()) + "/mapa-\xff\xfe.map";
    const auto write = [](const QByteArray& path, const QByteArray& bytes) {
        std::ofstream(path.toStdString(), std::ios::binary) << bytes.toStdString();
    };
    write(base, LayerFile([](int col, int) { return QByteArray(col == 7 ? "012" : "000"); }));
    write(base + ".1", ZeroFile());
    write(base + ".2", ZeroFile());
    ASSERT_TRUE(form->OpenMapSet(base));
    EXPECT_EQ(mapTiles[7][18], 12);
    EXPECT_EQ(form->FileName(), QString());

    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    host.dialogAnswers = {Path("copy.map")};
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(host.dialogsShown, 1);
    EXPECT_EQ(ReadAll(Path("copy.map")).mid(18, 3), "012");
    // Nothing went to the name as Qt reads it.
    EXPECT_FALSE(QFile::exists(QFile::decodeName(base)));
    for (const char* layer : {"", ".1", ".2"})
        EXPECT_EQ(::unlink((base + layer).constData()), 0) << layer;  // Qt cannot remove them
}

TEST_F(EditorTest, FailedOpenShowsItsMessageAndLeavesTheMapAsItWas) {
    FillSomeMap();
    MapLayer tiles, solid, items;
    std::memcpy(tiles, mapTiles, sizeof tiles);
    std::memcpy(solid, mapSolid, sizeof solid);
    std::memcpy(items, mapItems, sizeof items);
    auto unchanged = [&] {
        return std::memcmp(tiles, mapTiles, sizeof tiles) == 0 &&
               std::memcmp(solid, mapSolid, sizeof solid) == 0 &&
               std::memcmp(items, mapItems, sizeof items) == 0;
    };
    const QByteArray other = LayerFile([](int, int) { return QByteArray("003"); });
    WriteAll(Path("b.map"), other);
    WriteAll(Path("b.map.1"), other);  // b.map.2 is missing
    WriteAll(Path("c.map"), LayerFile([](int, int) { return QByteArray("003"); }, 10));
    WriteAll(Path("c.map.1"), other);
    WriteAll(Path("c.map.2"), other);
    WriteAll(Path("d.map"), other);
    WriteAll(Path("d.map.1"), other);
    WriteAll(Path("d.map.2"), QByteArray(other).replace(0, 3, "9e9"));  // beyond 16 bits

    const QString answers[] = {QString(),     Path("b.map"),       Path("c.map"),
                               Path("d.map"), Path("missing.map"), dir.path()};
    for (const QString& answer : answers) {
        host.messages.clear();
        host.dialogAnswers = {answer};
        viewScroll = 7;
        form->Mopen_Click();
        ASSERT_EQ(host.messages.size(), 1u) << answer.toStdString();
        EXPECT_EQ(host.messages[0], "Chyba nahravani mapy");
        EXPECT_TRUE(unchanged()) << answer.toStdString();
        EXPECT_EQ(viewScroll, 7);
    }
    // A later open still works.
    host.messages.clear();
    WriteAll(Path("b.map.2"), other);
    host.dialogAnswers = {Path("b.map")};
    form->Mopen_Click();
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(mapItems[7][7], 3);
}

TEST_F(EditorTest, DialogStartsInTheEditorsFolderWithTheMapFilter) {
    form->Mopen_Click();
    EXPECT_TRUE(host.lastCancelError);
    EXPECT_EQ(host.lastInitDir, QString::fromStdString(zorvik::test::DistDir()));
    EXPECT_EQ(host.lastFilter, "Zorvik MAP file|*.map");
    EXPECT_EQ(form->Dialog.QtFilter(), "Zorvik MAP file (*.map)");
    form->Msave_Click();
    EXPECT_TRUE(host.lastDialogWasSave);
    EXPECT_EQ(host.lastInitDir, QString::fromStdString(zorvik::test::DistDir()));
    EXPECT_EQ(host.messages.size(), 2u);  // both cancelled

    // Ctrl+O and Ctrl+S reach the same commands.
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(host.dialogsShown, 3);
    EXPECT_FALSE(host.lastDialogWasSave);
    QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(host.dialogsShown, 4);
    EXPECT_TRUE(host.lastDialogWasSave);
}

const char* const kSaveMessage =
    "Pokud se snazite prepsat puvodni mapy, tak jsou oznacene pouze pro cteni. Jinak chyba pri "
    "ukladani";

TEST_F(EditorTest, FailedSaveShowsItsMessageAndReplacesNothing) {
    const QByteArray old = LayerFile([](int, int) { return QByteArray("004"); });
    for (const char* name : {"x.map", "x.map.1", "x.map.2"})
        WriteAll(Path(name), old);
    FillSomeMap();
    Pick(3);
    ClickCell(2, 2);
    ASSERT_TRUE(form->MapChanged());

    // Cancelled: nothing written.
    form->Msave_Click();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], kSaveMessage);

    // A link number of 1000 does not fit: no file is touched, and the message names the cell.
    mapItems[9][9] = 1000;
    host.dialogAnswers = {Path("x.map")};
    form->Msave_Click();
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(SaveCause(host.messages[1]),
              QString::fromUtf8("Hodnota 1000 (sloupec 9, řádek 9, vrstva objektů (.2)) se do "
                                "souboru mapy nevejde: soubor unese jen -99 až 999."));
    mapItems[9][9] = -100;
    host.dialogAnswers = {Path("new.map")};
    form->Msave_Click();
    ASSERT_EQ(host.messages.size(), 3u);
    EXPECT_TRUE(SaveCause(host.messages[2]).startsWith("Hodnota -100 (sloupec 9,"));
    mapItems[9][9] = 5;

    // A read-only solidity file: the save fails and the other two keep their old text.
    ASSERT_TRUE(QFile::setPermissions(Path("x.map.1"), QFileDevice::ReadOwner));
    host.dialogAnswers = {Path("x.map")};
    form->Msave_Click();
    ASSERT_EQ(host.messages.size(), 4u);
    EXPECT_EQ(SaveCause(host.messages[3]),
              QString::fromUtf8("Soubor %1 je jen pro čtení.").arg(Path("x.map.1")));
    for (const char* name : {"x.map", "x.map.1", "x.map.2"})
        EXPECT_EQ(ReadAll(Path(name)), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3);
    EXPECT_TRUE(form->MapChanged());

    // A folder that cannot be written to.
    host.dialogAnswers = {Path("nowhere/y.map")};
    form->Msave_Click();
    ASSERT_EQ(host.messages.size(), 5u);
    EXPECT_EQ(SaveCause(host.messages[4]),
              QString::fromUtf8("Složka %1 neexistuje.").arg(Path("nowhere")));

    // Once writable again the same save replaces all three, keeping their permissions.
    ASSERT_TRUE(
        QFile::setPermissions(Path("x.map.1"), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    host.dialogAnswers = {Path("x.map")};
    form->Msave_Click();
    EXPECT_EQ(host.messages.size(), 5u);
    EXPECT_EQ(ReadAll(Path("x.map.2")).mid(0, 3), "999");
    EXPECT_NE(ReadAll(Path("x.map.1")), old);
    EXPECT_FALSE(QFileInfo(Path("x.map.1")).permissions() & QFileDevice::ReadOther);
    EXPECT_FALSE(form->MapChanged());
}

TEST_F(EditorTest, ShippedLevelsAreProtectedFromSaving) {
    const QString shipped =
        QString::fromStdString(zorvik::test::DistDir()) + QStringLiteral("/map/mapa1.map");
    if (!QFileInfo::exists(shipped)) GTEST_SKIP() << "no shipped level laid out yet";
    const QByteArray before = ReadAll(shipped);
    host.dialogAnswers = {shipped};
    form->Msave_Click();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(SaveCause(host.messages[0]),
              QString::fromUtf8("Soubor %1 je jen pro čtení.").arg(shipped));
    EXPECT_EQ(ReadAll(shipped), before);
}

TEST_F(EditorTest, ClosingWithUnsavedChangesAsksToSaveDiscardOrCancel) {
    QCloseEvent quiet;
    QApplication::sendEvent(form.get(), &quiet);
    EXPECT_TRUE(quiet.isAccepted());
    EXPECT_TRUE(host.questions.empty());

    Pick(3);
    ClickCell(1, 1);
    ASSERT_TRUE(form->MapChanged());
    host.saveAnswers = {SaveChoice::Cancel};
    QCloseEvent refused;
    QApplication::sendEvent(form.get(), &refused);
    EXPECT_FALSE(refused.isAccepted());
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0], QString::fromUtf8(kUnsavedChangesText));

    // "Uložit" on a map without a name asks for one; cancelling that keeps the window open,
    // without the save message.
    host.saveAnswers = {SaveChoice::Save};
    host.dialogAnswers = {""};
    QCloseEvent cancelledSave;
    QApplication::sendEvent(form.get(), &cancelledSave);
    EXPECT_FALSE(cancelledSave.isAccepted());
    EXPECT_TRUE(host.messages.empty());

    // A save that fails keeps the window open too, and says why.
    host.saveAnswers = {SaveChoice::Save};
    host.dialogAnswers = {Path("nowhere/z.map")};
    QCloseEvent failedSave;
    QApplication::sendEvent(form.get(), &failedSave);
    EXPECT_FALSE(failedSave.isAccepted());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_TRUE(host.messages[0].startsWith(kSaveMessage));

    // "Uložit" with a name: the set is written, then the window closes.
    host.saveAnswers = {SaveChoice::Save};
    host.dialogAnswers = {Path("z.map")};
    QCloseEvent saved;
    QApplication::sendEvent(form.get(), &saved);
    EXPECT_TRUE(saved.isAccepted());
    EXPECT_TRUE(ReadAll(Path("z.map")).startsWith("003"));
    EXPECT_FALSE(form->MapChanged());

    // Saved maps close without a question; "Zahodit" closes over a change.
    QCloseEvent afterSave;
    QApplication::sendEvent(form.get(), &afterSave);
    EXPECT_TRUE(afterSave.isAccepted());
    EXPECT_EQ(host.questions.size(), 4u);
    ClickCell(2, 2);
    host.saveAnswers = {SaveChoice::Discard};
    QCloseEvent discarded;
    QApplication::sendEvent(form.get(), &discarded);
    EXPECT_TRUE(discarded.isAccepted());
    EXPECT_EQ(host.questions.size(), 5u);
    EXPECT_TRUE(form->MapChanged());
}

}  // namespace
}  // namespace zorvik::editor::test
