// SPDX-License-Identifier: GPL-3.0-or-later
// The designer's aids, driven by real mouse, wheel and key events: undo and redo, the title and
// quick save, wheel and key scrolling, the overlays over the map view, the layout findings of
// the level check, test-play, and redrawing only what changed.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QProcess>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <random>

#include "EditorFixture.h"

namespace zorvik::editor::test {
namespace {

void SendWheel(QWidget* widget, int angleY, int angleX = 0) {
    const QPointF at(20, 20);
    QWheelEvent wheel(at, widget->mapToGlobal(at), QPoint(), QPoint(angleX, angleY), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
}

class DesignerTest : public ActiveEditorTest {
  protected:
    void Keys(const QKeySequence& keys) { QTest::keySequence(form.get(), keys); }
    // The map view as shown on screen, overlays included.
    QImage Shown() const {
        return form->Level->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    // What a full DrawMap draws for the map as it is now (the view is redrawn by it).
    QImage FullDrawMap() const {
        DrawMap();
        return form->Level->Image().copy();
    }
};

TEST_F(DesignerTest, UndoAndRedoTakeWholeStepsAcrossADragAClearAndAnOpen) {
    PressSlot(2);  // entry 3: solid tile 3
    QTest::mousePress(form->Level, Qt::LeftButton, {}, CellCentre(1, 1));
    SendMove(form->Level, CellCentre(2, 1), Qt::LeftButton);
    SendMove(form->Level, CellCentre(3, 1), Qt::LeftButton);
    QTest::mouseRelease(form->Level, Qt::LeftButton, {}, CellCentre(3, 1));
    QTest::mouseClick(form->Level, Qt::RightButton, {}, CellCentre(2, 1));
    EXPECT_EQ(mapTiles[1][1] + mapTiles[2][1] + mapTiles[3][1], 6);
    EXPECT_EQ(form->windowTitle(), "*Form1");

    Keys(QKeySequence::Undo);  // the erase
    EXPECT_EQ(mapTiles[2][1], 3);
    EXPECT_EQ(mapSolid[2][1], 1);
    Keys(QKeySequence("Ctrl+Z"));  // the whole drag
    EXPECT_EQ(mapTiles[1][1] | mapTiles[2][1] | mapTiles[3][1] | mapSolid[1][1], 0);
    EXPECT_FALSE(form->MapChanged());
    EXPECT_FALSE(form->Mzpet->isEnabled());
    Keys(QKeySequence("Ctrl+Y"));
    EXPECT_EQ(mapTiles[1][1] + mapTiles[2][1] + mapTiles[3][1], 9);
    Keys(QKeySequence("Ctrl+Shift+Z"));
    EXPECT_EQ(mapTiles[2][1], 0);
    EXPECT_FALSE(form->Mznovu->isEnabled());

    // Saved, then one step back and forth: the marker follows, the files stay as saved.
    host.dialogAnswers = {Path("a.map")};
    form->Msave->trigger();
    EXPECT_EQ(form->windowTitle(), "a.map - Form1");
    const QByteArray saved = ReadAll(Path("a.map"));
    Keys(QKeySequence("Ctrl+Z"));
    EXPECT_EQ(form->windowTitle(), "*a.map - Form1");
    EXPECT_TRUE(form->MapChanged());
    EXPECT_EQ(ReadAll(Path("a.map")), saved);
    Keys(QKeySequence("Ctrl+Y"));
    EXPECT_FALSE(form->MapChanged());
    EXPECT_EQ(form->windowTitle(), "a.map - Form1");
    QCloseEvent close;
    QApplication::sendEvent(form.get(), &close);
    EXPECT_TRUE(close.isAccepted());
    EXPECT_TRUE(host.questions.empty());

    // Clear map is a step: undo brings the map back (with the view redrawn), the map as
    // a.map holds it, so without the unsaved mark.
    form->Mclear->trigger();
    EXPECT_EQ(mapTiles[1][1], 0);
    EXPECT_EQ(form->windowTitle(), "Form1");
    Keys(QKeySequence("Ctrl+Z"));
    EXPECT_EQ(mapTiles[1][1], 3);
    EXPECT_EQ(form->windowTitle(), "a.map - Form1");
    EXPECT_EQ(mapTiles[3][1], 3);
    EXPECT_EQ(CellMismatches(*form, 1, 1, 2), 0);

    // Open is a step too.
    mapItems[0][3] = 77;  // outside the map: kept by Open, untouched by its undo
    WriteAll(Path("b.map"), ReadAll(Path("a.map")).replace(0, 3, "007"));
    WriteAll(Path("b.map.1"), ReadAll(Path("a.map.1")));
    WriteAll(Path("b.map.2"), ReadAll(Path("a.map.2")));
    host.dialogAnswers = {Path("b.map")};
    form->Mopen->trigger();
    EXPECT_EQ(mapTiles[1][1], 7);
    EXPECT_FALSE(form->MapChanged());
    EXPECT_EQ(form->windowTitle(), "b.map - Form1");
    // Undone, the map is again the one saved as a.map, and a save would go there.
    Keys(QKeySequence("Ctrl+Z"));
    EXPECT_EQ(mapTiles[1][1], 3);
    EXPECT_FALSE(form->MapChanged());
    EXPECT_EQ(form->windowTitle(), "a.map - Form1");
    Keys(QKeySequence("Ctrl+Y"));
    EXPECT_EQ(mapTiles[1][1], 7);
    EXPECT_FALSE(form->MapChanged());
    EXPECT_EQ(form->windowTitle(), "b.map - Form1");
    EXPECT_EQ(mapItems[0][3], 77);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(DesignerTest, QuickSaveWritesTheNamedSetWithoutTheDialog) {
    PressSlot(0);
    // Without a name Ctrl+S asks as Save MAP does.
    host.dialogAnswers = {Path("q.map")};
    Keys(QKeySequence("Ctrl+S"));
    EXPECT_EQ(host.dialogsShown, 1);
    EXPECT_EQ(form->FileName(), Path("q.map"));

    QTest::mouseClick(form->Level, Qt::LeftButton, {}, CellCentre(2, 1));
    EXPECT_EQ(form->windowTitle(), "*q.map - Form1");
    Keys(QKeySequence("Ctrl+S"));
    EXPECT_EQ(host.dialogsShown, 1);
    EXPECT_TRUE(ReadAll(Path("q.map")).startsWith("000001000"));
    EXPECT_EQ(form->windowTitle(), "q.map - Form1");

    // The menu item still asks, and the dialog now starts in the folder last used.
    host.dialogAnswers = {""};
    form->Msave->trigger();
    EXPECT_EQ(host.dialogsShown, 2);
    EXPECT_EQ(host.lastInitDir, dir.path());
    EXPECT_EQ(host.messages.size(), 1u);  // the cancelled dialog

    // The command line's open: no dialog, the set named in the title.
    form->Mclear->trigger();
    EXPECT_FALSE(form->OpenMapSet(Path("none.map")));
    ASSERT_TRUE(form->OpenMapSet(Path("q.map")));
    EXPECT_EQ(mapTiles[2][1], 1);
    EXPECT_EQ(form->windowTitle(), "q.map - Form1");
    EXPECT_EQ(host.dialogsShown, 2);
}

TEST_F(DesignerTest, WheelAndKeysScrollWithTheButtonsLimitsAndBeeps) {
    auto* status = form->findChild<QLabel*>("status");
    SendMove(form->Level, CellCentre(1, 1), Qt::NoButton);
    EXPECT_TRUE(status->text().startsWith("Sloupec 1  Radek 1 "));
    SendWheel(form->Level, -120);
    EXPECT_EQ(viewScroll, 1);
    // The status bar follows the cell that came under the pointer.
    EXPECT_TRUE(status->text().startsWith("Sloupec 2  Radek 1 "));
    SendWheel(form->Level, 240);
    EXPECT_EQ(viewScroll, 0);
    EXPECT_EQ(host.beeps, 1);
    SendWheel(form->Level, -60);  // half a notch waits for the other half
    EXPECT_EQ(viewScroll, 0);
    SendWheel(form->Level, -60);
    EXPECT_EQ(viewScroll, 1);
    SendWheel(form->Level, -120 * 40);
    EXPECT_EQ(viewScroll, 32);
    EXPECT_EQ(host.beeps, 1 + 9);
    SendWheel(form->Level, 0, 120);  // tilting left
    EXPECT_EQ(viewScroll, 31);

    SendWheel(form->Vyber, -120 * 2);
    EXPECT_EQ(paletteTop, 2);
    SendWheel(form->Vyber, 120 * 3);
    EXPECT_EQ(paletteTop, 0);
    EXPECT_EQ(host.beeps, 11);
    EXPECT_EQ(viewScroll, 31);

    // Arrows move the view once the map has the focus (a middle click edits nothing).
    QTest::mouseClick(form->Level, Qt::MiddleButton, {}, CellCentre(1, 1));
    ASSERT_TRUE(form->Level->hasFocus());
    QTest::keyClick(form->Level, Qt::Key_Right);
    QTest::keyClick(form->Level, Qt::Key_Right);
    EXPECT_EQ(viewScroll, 32);
    EXPECT_EQ(host.beeps, 12);
    for (int i = 0; i < 33; ++i)
        QTest::keyClick(form->Level, Qt::Key_Left);
    EXPECT_EQ(viewScroll, 0);
    EXPECT_EQ(host.beeps, 13);
    // Page Down / Up move the palette, also while a text box has the focus.
    form->Text1->setFocus();
    for (int i = 0; i < 28; ++i)
        QTest::keyClick(form->Text1, Qt::Key_PageDown);
    EXPECT_EQ(paletteTop, 27);
    EXPECT_EQ(host.beeps, 14);
    QTest::keyClick(form->Text1, Qt::Key_PageUp);
    EXPECT_EQ(paletteTop, 26);
    EXPECT_FALSE(form->MapChanged());

    // A held button repeats.
    for (QPushButton* button : {form->Nahoru, form->Dolu, form->Vlevo, form->Vpravo})
        EXPECT_TRUE(button->autoRepeat());
    QTest::mousePress(form->Vlevo, Qt::LeftButton);
    QTest::qWait(form->Vlevo->autoRepeatDelay() + 3 * form->Vlevo->autoRepeatInterval());
    QTest::mouseRelease(form->Vlevo, Qt::LeftButton);
    EXPECT_GE(viewScroll, 2);
}

TEST_F(DesignerTest, PointingAtALinkHighlightsItsCellsAndSolidityIsTinted) {
    mapTiles[3][10] = 14;  // platform 2
    mapItems[3][10] = 2;
    mapTiles[8][12] = 18;  // board 2
    mapItems[8][12] = 2;
    mapTiles[5][10] = 14;  // platform 3
    mapItems[5][10] = 3;
    mapTiles[1][1] = 1;
    mapSolid[1][1] = 1;
    mapTiles[2][1] = 4;
    DrawMap();
    const QImage plain = form->Level->Image().copy();
    const QRgb yellow = qRgb(255, 255, 0);
    const QRgb cyan = qRgb(0, 255, 255);

    // With the pointer off the links the screen shows the drawing and the gate outlines.
    SendMove(form->Level, CellCentre(6, 6), Qt::NoButton);
    QImage shown = Shown();
    // Board 2's gate: column 8, rows 9..11, outlined on its grid lines.
    for (int y = 240; y <= 330; ++y) {
        ASSERT_EQ(shown.pixel(210, y), cyan) << y;
        ASSERT_EQ(shown.pixel(240, y), cyan) << y;
    }
    EXPECT_EQ(shown.pixel(225, 240), cyan);
    EXPECT_EQ(shown.pixel(225, 255), plain.pixel(225, 255));

    SendMove(form->Level, CellCentre(3, 10), Qt::NoButton);
    EXPECT_EQ(form->Hovered(), (MapCell{3, 10}));
    EXPECT_EQ(form->findChild<QLabel*>("status")->text(),
              "Sloupec 3  Radek 10   Dlazdice 14  Pevnost 0  Objekt 2");
    shown = Shown();
    // A three-pixel yellow frame inside both cells of link 2, none around platform 3.
    for (const auto& [k, r] : {std::pair{3, 10}, std::pair{8, 12}}) {
        const int x = 30 * (k - 1) + 1;
        const int y = 30 * (r - 1) + 1;
        for (int i = 0; i < 29; ++i) {
            ASSERT_EQ(shown.pixel(x + i, y), yellow);
            ASSERT_EQ(shown.pixel(x + i, y + 28), yellow);
            ASSERT_EQ(shown.pixel(x, y + i), yellow);
            ASSERT_EQ(shown.pixel(x + 28, y + i), yellow);
        }
        EXPECT_EQ(shown.pixel(x + 2, y + 14), yellow);
        EXPECT_EQ(shown.pixel(x + 3, y + 14), plain.pixel(x + 3, y + 14));
    }
    EXPECT_EQ(shown.pixel(121, 271), plain.pixel(121, 271));

    // Solidity: solid cells tinted red, passable ones unchanged.
    SendMove(form->Level, CellCentre(6, 6), Qt::NoButton);
    form->Mpevnost->trigger();
    shown = Shown();
    const double alpha = 96.0 / 255.0;
    for (int y = 1; y < 30; y += 7) {
        for (int x = 1; x < 30; x += 7) {
            const QColor under = plain.pixelColor(x, y);
            const QColor tinted = shown.pixelColor(x, y);
            EXPECT_NEAR(tinted.red(), under.red() * (1 - alpha) + 255 * alpha, 1.5);
            EXPECT_NEAR(tinted.green(), under.green() * (1 - alpha), 1.5);
            EXPECT_EQ(shown.pixel(x + 30, y), plain.pixel(x + 30, y));
        }
    }
    // The tint is on screen only: the view's picture is what DrawMap draws.
    EXPECT_EQ(form->Level->Image(), plain);

    // With the toggles off and no link pointed at, the screen is the drawing, pixel for pixel.
    form->Mpevnost->trigger();
    form->Mbrany->trigger();
    EXPECT_EQ(Shown(), plain);
    EXPECT_EQ(FullDrawMap(), plain);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(form->Level, &leave);
    EXPECT_TRUE(form->findChild<QLabel*>("status")->text().isEmpty());
}

TEST_F(DesignerTest, LevelCheckListsEveryLayoutFindingInOneMessage) {
    mapItems[2][17] = 999;
    mapTiles[5][3] = 18;  // board 1, too high, no platform, a wall in its gate
    mapSolid[5][3] = 1;
    mapItems[5][3] = 1;
    mapTiles[5][1] = 7;
    mapSolid[5][1] = 1;
    mapTiles[9][15] = 18;  // board 4 of two
    mapItems[9][15] = 4;
    mapTiles[20][17] = 14;  // platforms of boards 4 and 6
    mapItems[20][17] = 4;
    mapTiles[21][17] = 14;
    mapItems[21][17] = 6;
    mapItems[30][1] = 25;  // a stone in the top row
    host.messages.clear();
    form->Command2->click();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].split('\n'),
              (QStringList{kFurtherFindingsText, "Level nema vychod (997) ani cil hry (900)",
                           "Prkno (sloupec 9, radek 15) ma cislo 4, prkna musi mit cisla 1 az "
                           "pocet prken bez mezer",
                           "Prkno (sloupec 5, radek 3) je nad 4. radkem, jeho brana se do mapy "
                           "nevejde",
                           "Plosinka (sloupec 21, radek 17) ma cislo 6, ale zadne prkno ho nema",
                           "Na prkno (sloupec 5, radek 3) s cislem 1 nevede zadna plosinka",
                           "Kamen (sloupec 30, radek 1) je v hornim radku, nad nim neni misto",
                           "Pole brany (sloupec 5, radek 1) nad prknem neni prazdne ani "
                           "pruchozi"}));

    // More boards than the game's table holds, and two with one number.
    form->Mclear->trigger();
    mapItems[2][17] = 999;
    mapItems[3][17] = 900;
    for (int i = 0; i < 20; ++i) {
        mapTiles[i + 1][10] = 18;
        mapItems[i + 1][10] = static_cast<int16_t>(i == 19 ? 1 : i + 1);
        mapTiles[i + 1][12] = 14;
        mapItems[i + 1][12] = static_cast<int16_t>(i + 1);
    }
    host.messages.clear();
    form->Command2->click();
    ASSERT_EQ(host.messages.size(), 3u);
    EXPECT_EQ(host.messages[0], "V levelu smi byt nejvice deset prken");
    EXPECT_EQ(host.messages[1], "V levelu smi byt nejvice deset plosinek");
    const QStringList lines = host.messages[2].split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[1], "V levelu je 20 prken, hra jich unese nejvice 19");
    EXPECT_EQ(lines[2], "Prkno (sloupec 20, radek 10) ma stejne cislo 1 jako jine prkno");
}

TEST_F(DesignerTest, TestPlayWritesATemporarySetAndStartsTheGameOnIt) {
    mapItems[10][10] = 999;  // a start and an exit: the game can play the map
    mapItems[12][10] = 997;
    PressSlot(0);
    QTest::mouseClick(form->Level, Qt::LeftButton, {}, CellCentre(4, 2));
    host.dialogAnswers = {Path("mine.map")};
    form->Msave->trigger();
    const QByteArray mine = ReadAll(Path("mine.map"));
    QTest::mouseClick(form->Level, Qt::RightButton, {}, CellCentre(4, 2));

    // Without the game beside the editor: a clear message, nothing started.
    form->SetGameProgram(Path("missing/zorvik"));
    Keys(QKeySequence(Qt::Key_F5));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_TRUE(host.messages[0].startsWith(kGameMissingText));
    EXPECT_TRUE(host.messages[0].endsWith("missing/zorvik"));
    EXPECT_TRUE(host.started.empty());

    const QString game = Path("zorvik");
    WriteAll(game, "#!/bin/sh\n");
    ASSERT_TRUE(QFile::setPermissions(game, QFile::ReadOwner | QFile::ExeOwner));
    form->SetGameProgram(game);
    Keys(QKeySequence(Qt::Key_F5));
    ASSERT_EQ(host.started.size(), 1u);
    const QString set = form->LastPlaySet();
    EXPECT_EQ(host.started[0], (QStringList{game, "--level", set}));
    EXPECT_FALSE(set.startsWith(dir.path()));
    // The set holds the map as it is now (the erase included); the designer's files are
    // untouched, the map keeps its name and its unsaved state.
    EXPECT_EQ(ReadAll(set), ReadAll(Path("mine.map")).replace(152 + 9, 3, "000"));
    EXPECT_EQ(ReadAll(set + ".1").size(), 18 * 152);
    EXPECT_EQ(ReadAll(set + ".2").size(), 18 * 152);
    EXPECT_EQ(ReadAll(Path("mine.map")), mine);
    EXPECT_TRUE(form->MapChanged());
    EXPECT_EQ(form->FileName(), Path("mine.map"));

    // The menu item does the same, in a fresh folder; the set of the game before is gone.
    const QByteArray played = ReadAll(set);
    form->Mhrat->trigger();
    ASSERT_EQ(host.started.size(), 2u);
    EXPECT_NE(form->LastPlaySet(), set);
    EXPECT_EQ(ReadAll(form->LastPlaySet()), played);
    EXPECT_FALSE(QFileInfo::exists(set));
    EXPECT_EQ(host.messages.size(), 1u);
}

// Test-play's set goes into $TMPDIR when that is a folder the designer can write in, and into
// /tmp otherwise: never into the root or the current folder.
TEST_F(DesignerTest, TestPlayWritesItsSetIntoTmpdirOrElseIntoTmp) {
    mapItems[2][17] = 999;  // a start and an exit: the game can play the map
    mapItems[9][17] = 997;
    const QString game = Path("zorvik");
    WriteAll(game, "#!/bin/sh\n");
    ASSERT_TRUE(QFile::setPermissions(game, QFile::ReadOwner | QFile::ExeOwner));
    form->SetGameProgram(game);
    const QByteArray oldTmpdir = qgetenv("TMPDIR");
    const QString own = Path("own-tmp");
    ASSERT_TRUE(QDir().mkpath(own));
    const struct {
        QByteArray tmpdir;
        QString folder;
    } cases[] = {
        {QFile::encodeName(own), own},
        {QFile::encodeName(Path("missing")), "/tmp"},
        {"relative", "/tmp"},
        {"/proc", "/tmp"},  // takes no files, not even from root
        {"", "/tmp"},
    };
    for (const auto& c : cases) {
        qputenv("TMPDIR", c.tmpdir);
        host.started.clear();
        Keys(QKeySequence(Qt::Key_F5));
        ASSERT_EQ(host.started.size(), 1u) << c.tmpdir.toStdString();
        EXPECT_EQ(QFileInfo(QFileInfo(form->LastPlaySet()).path()).path(), c.folder)
            << c.tmpdir.toStdString();
        EXPECT_TRUE(QFileInfo(form->LastPlaySet()).isFile());
    }
    qputenv("TMPDIR", oldTmpdir);
    if (oldTmpdir.isNull()) qunsetenv("TMPDIR");
    EXPECT_TRUE(host.messages.empty());
}

// Edits redraw only the cells they change; the picture must stay the one a full DrawMap
// draws, also where long link labels spill into the next cells.
TEST_F(DesignerTest, RedrawingOnlyChangedCellsGivesTheFullDrawing) {
    std::mt19937 random(15);
    auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int round = 0; round < 60; ++round) {
        const int what = pick(10);
        if (what < 5) {
            PressSlot(pick(5));
            const QPoint from = CellCentre(1 + pick(18), 1 + pick(18));
            const Qt::MouseButton button = what == 0 ? Qt::RightButton : Qt::LeftButton;
            QTest::mousePress(form->Level, button, {}, from);
            for (int step = 0; step < 3; ++step)
                SendMove(form->Level, from + QPoint(30 * step, 0), button);
            QTest::mouseRelease(form->Level, button, {}, from);
        } else if (what < 7) {
            // Link numbers of every width on housings and platforms.
            form->Text1->setText(QString::number(pick(2) == 0 ? -32768 + pick(100) : pick(30)));
            form->Command1->click();
            QTest::mouseClick(form->Level, Qt::LeftButton, {},
                              CellCentre(1 + pick(18), 1 + pick(18)));
        } else if (what == 7) {
            SendWheel(form->Vyber, pick(2) == 0 ? 120 : -120);
        } else if (what == 8) {
            Keys(QKeySequence("Ctrl+Z"));
        } else {
            Keys(QKeySequence("Ctrl+Y"));
        }
        if (round % 10 == 0) {
            // Housings and platforms in a row, so labels meet their neighbours.
            for (int k = 1; k <= 18; ++k) {
                mapTiles[k][5] = static_cast<int16_t>(k % 2 == 0 ? 18 : 14);
                mapItems[k][5] = static_cast<int16_t>(-32000 - k);
            }
            DrawMap();
        }
        const QImage drawn = form->Level->Image().copy();
        ASSERT_EQ(drawn, FullDrawMap()) << "round " << round;
    }
}

// Labels are rendered once and copied afterwards; the copy must be what painting the text
// gives, wherever it lands and whatever lies under it.
TEST(EditorLabels, CopiedLabelsArePixelForPixelThePaintedText) {
    PictureBox box(QColor(0, 0, 0));
    box.SetGeometry(0, 0, 140, 80);
    box.BitBlt(0, 0, 70, 80, nullptr, 0, 0, kWhiteness);
    box.SetTextColor(QColor(255, 255, 255));
    QImage expected = box.Image().copy();
    QFont font;
    font.setFamily("DejaVu Sans");
    font.setPixelSize(11);
    font.setBold(true);
    int at = 0;
    for (const QString text : {"3", "-32768", "3", "17", "-32768", "17", "0-5"}) {
        const int left = 3 + 19 * at;
        const int top = 4 + 7 * (at % 3);
        ++at;
        const QRect drawn = box.DrawTextA(text, -1, left, top, left + 50, top + 50);
        QPainter painter(&expected);
        const QRect clip(QPoint(left, top), QPoint(left + 49, top + 49));
        painter.setClipRect(clip);
        painter.setFont(font);
        const QRect bounds =
            painter.boundingRect(clip, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
        painter.fillRect(bounds, Qt::black);
        painter.setPen(Qt::white);
        painter.drawText(clip, Qt::AlignLeft | Qt::AlignTop, text);
        EXPECT_EQ(drawn, bounds.intersected(clip)) << text.toStdString();
    }
    EXPECT_EQ(box.Image(), expected);
}

TEST(EditorCommandLine, HelpVersionAndUnknownOptions) {
    QProcess editor;
    editor.start(ZORVIK_EDITOR_BIN, {"--help"});
    ASSERT_TRUE(editor.waitForFinished(20000));
    EXPECT_EQ(editor.exitCode(), 0);
    EXPECT_TRUE(editor.readAllStandardOutput().startsWith("Pouziti: "));

    editor.start(ZORVIK_EDITOR_BIN, {"--version"});
    ASSERT_TRUE(editor.waitForFinished(20000));
    EXPECT_EQ(editor.exitCode(), 0);
    EXPECT_EQ(editor.readAllStandardOutput().count('\n'), 1);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    editor.setProcessEnvironment(environment);
    editor.start(ZORVIK_EDITOR_BIN, {"--bogus"});
    ASSERT_TRUE(editor.waitForFinished(20000));
    EXPECT_EQ(editor.exitCode(), 2);
    const QByteArray error = editor.readAllStandardError();
    // One line of ours (Qt may add its own notes about the environment).
    const QList<QByteArray> lines = error.split('\n');
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const QByteArray& line) { return line.contains("--bogus"); }),
              1);
    EXPECT_TRUE(editor.readAllStandardOutput().isEmpty());
}

// Without a display (none named, or one that does not answer) the editor says so in one line
// and ends with status 1, instead of Qt's abort. (A platform chosen on purpose, offscreen, runs:
// see the unknown option above.)
TEST(EditorCommandLine, WithoutADisplayItSaysSoInOneLineAndEndsWithStatusOne) {
    QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_QPA_PLATFORMTHEME"})
        bare.remove(name);
    QProcessEnvironment unanswered = bare;
    unanswered.insert("DISPLAY", ":7391");
    for (const QProcessEnvironment& environment : {bare, unanswered}) {
        QProcess editor;
        editor.setProcessEnvironment(environment);
        editor.start(ZORVIK_EDITOR_BIN, {});
        ASSERT_TRUE(editor.waitForFinished(20000));
        EXPECT_EQ(editor.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(editor.exitCode(), 1);
        EXPECT_EQ(editor.readAllStandardError(),
                  "editor: nenalezen zadny displej (zkontrolujte DISPLAY nebo WAYLAND_DISPLAY)\n");
    }
}

}  // namespace
}  // namespace zorvik::editor::test
