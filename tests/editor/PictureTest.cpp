// SPDX-License-Identifier: GPL-3.0-or-later
// Not a check: renders the editor window with a small level open, for the documentation.
// Run with --gtest_also_run_disabled_tests and ZORVIK_EDITOR_PICTURE=<file.png>, or
// ZORVIK_EDITOR_PICTURES=<folder> for the link highlight and the solidity overlay.
#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <QTest>

#include "EditorFixture.h"

namespace zorvik::editor::test {
namespace {

void PaintSmallLevel() {
    for (int col = 1; col <= 50; ++col) {
        mapTiles[col][18] = 1;
        mapTiles[col][17] = col % 9 == 0 ? 0 : 2;
    }
    for (int col = 6; col <= 10; ++col)
        mapTiles[col][12] = 3;
    mapTiles[7][16] = 14;  // platform linked to board 1
    mapItems[7][16] = 1;
    mapTiles[13][16] = 18;  // board 1
    mapItems[13][16] = 1;
    mapItems[2][16] = 999;  // start
    mapItems[4][16] = 47;   // flexible enemy, speed 2
    mapItems[10][16] = 43;  // flexible enemy, speed 3
    mapItems[16][16] = 56;
    mapItems[5][16] = 20;
    mapTiles[5][16] = 0;
    for (int col = 6; col <= 10; ++col)
        mapItems[col][11] = col == 8 ? 52 : 40;
    mapItems[15][10] = 53;
    mapItems[17][16] = 54;
    mapItems[12][8] = 55;
    mapTiles[3][13] = 7;
    mapTiles[4][13] = 9;
    mapItems[18][15] = 997;
    for (int row = 1; row <= 16; ++row)
        mapTiles[1][row] = 12;
}

// The map as a designer sees it: saved, cleared and opened again from the file, the third
// palette entry picked, the window at its picture size.
class PictureTest : public EditorTest {
  protected:
    void ShowSavedAndReopened(int windowHeight) {
        host.dialogAnswers = {Path("mapa9.map"), Path("mapa9.map")};
        form->Msave_Click();
        form->Mclear_Click();
        form->Mopen_Click();
        ASSERT_TRUE(host.messages.empty());
        form->Vyber_MouseDown(1, 0, 10, 74 * 2 + 10);
        form->resize(800, windowHeight);
    }
};

TEST_F(PictureTest, DISABLED_SaveWindowPicture) {
    const QString target = qEnvironmentVariable("ZORVIK_EDITOR_PICTURE");
    if (target.isEmpty()) GTEST_SKIP() << "ZORVIK_EDITOR_PICTURE not set";
    PaintSmallLevel();
    ASSERT_NO_FATAL_FAILURE(ShowSavedAndReopened(600));
    QApplication::processEvents();
    ASSERT_TRUE(form->grab().save(target));
}

TEST_F(PictureTest, DISABLED_SaveOverlayPictures) {
    const QString folder = qEnvironmentVariable("ZORVIK_EDITOR_PICTURES");
    if (folder.isEmpty()) GTEST_SKIP() << "ZORVIK_EDITOR_PICTURES not set";
    PaintSmallLevel();
    mapTiles[10][13] = 14;  // a second platform for board 1, and board 2 with its own
    mapItems[10][13] = 1;
    mapTiles[16][12] = 18;
    mapItems[16][12] = 2;
    mapTiles[14][16] = 14;
    mapItems[14][16] = 2;
    // Solidity as the palette paints it.
    for (int col = 1; col <= 50; ++col) {
        for (int row = 1; row <= 18; ++row) {
            const int tile = mapTiles[col][row];
            mapSolid[col][row] =
                static_cast<int16_t>(tile != 0 && tile != 4 && tile != 5 && tile != 6 &&
                                     tile != 8 && tile != 10 && tile != 11);
        }
    }
    ASSERT_NO_FATAL_FAILURE(ShowSavedAndReopened(620));
    // The pointer on the platform at column 7, row 16.
    const QPointF at(6 * 30 + 15, 15 * 30 + 15);
    QMouseEvent move(QEvent::MouseMove, at, form->Level->mapToGlobal(at), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(form->Level, &move);
    QApplication::processEvents();
    ASSERT_TRUE(form->grab().save(folder + "/editor-links.png"));
    const QPointF off(17 * 30 + 15, 15);
    QMouseEvent away(QEvent::MouseMove, off, form->Level->mapToGlobal(off), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(form->Level, &away);
    form->Mpevnost->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(form->grab().save(folder + "/editor-solid.png"));
}

// The whole-map view on a 1280 x 1024 screen, with the pointer on the platform of board 1.
TEST_F(PictureTest, DISABLED_SaveWholeMapPicture) {
    const QString folder = qEnvironmentVariable("ZORVIK_EDITOR_PICTURES");
    if (folder.isEmpty()) GTEST_SKIP() << "ZORVIK_EDITOR_PICTURES not set";
    PaintSmallLevel();
    for (int col = 19; col <= 50; ++col) {
        mapTiles[col][14 - col % 5] = 3;
        if (col % 7 == 0) mapItems[col][13 - col % 5] = 40;
    }
    mapItems[49][17] = 900;
    ASSERT_NO_FATAL_FAILURE(ShowSavedAndReopened(600));
    form->Mcela->trigger();
    form->Mpaleta->trigger();
    for (int entry : {31, 17, 14, 24, 20, 3})
        form->SelectEntry(entry);
    form->resize(1280, 1024 - 60);
    QApplication::processEvents();
    QWidget* whole = form->findChild<QWidget*>("WholeMap");
    const QPointF at(6.5 * whole->width() / 50.0, 15.5 * whole->width() / 50.0);
    QMouseEvent move(QEvent::MouseMove, at, whole->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(whole, &move);
    QApplication::processEvents();
    ASSERT_TRUE(form->grab().save(folder + "/editor-whole-map.png"));
}

// The palette panel beside the normal view, after a few entries were used, with the minimap.
TEST_F(PictureTest, DISABLED_SavePalettePicture) {
    const QString folder = qEnvironmentVariable("ZORVIK_EDITOR_PICTURES");
    if (folder.isEmpty()) GTEST_SKIP() << "ZORVIK_EDITOR_PICTURES not set";
    PaintSmallLevel();
    ASSERT_NO_FATAL_FAILURE(ShowSavedAndReopened(600));
    form->Mpaleta->trigger();
    form->Mminimapa->trigger();
    for (int entry : {31, 17, 14, 24, 20, 3})
        form->SelectEntry(entry);
    form->resize(1200, 800);
    QApplication::processEvents();
    ASSERT_TRUE(form->grab().save(folder + "/editor-palette.png"));
}

// F6 with the real game in the whole map: a ledge with a pit the player cannot leave, a star
// out of reach; the route in green, the dead end framed in red with its reason in the status
// bar, the star crossed out.
TEST_F(PictureTest, DISABLED_SaveProvePicture) {
    const QString folder = qEnvironmentVariable("ZORVIK_EDITOR_PICTURES");
    if (folder.isEmpty()) GTEST_SKIP() << "ZORVIK_EDITOR_PICTURES not set";
    for (int col = 1; col <= 30; ++col) {
        for (int row = 13; row <= 18; ++row) {
            if ((col == 12 || col == 13) && row <= 17) continue;
            mapTiles[col][row] = row == 13 ? 1 : 2;
            mapSolid[col][row] = 1;
        }
    }
    for (int row = 1; row <= 12; ++row)
        mapTiles[31][row] = 12;
    mapItems[2][12] = 999;
    mapItems[28][12] = 997;
    mapItems[8][12] = 40;
    mapItems[16][11] = 40;
    mapItems[20][3] = 40;
    ASSERT_NO_FATAL_FAILURE(ShowSavedAndReopened(600));
    form->SetGameProgram(QString::fromStdString(zorvik::test::DistDir()) + "/zorvik");
    host.runPrograms = true;
    form->Mcela->trigger();
    form->resize(1280, 1024 - 60);
    form->Moverit->trigger();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !form->Proving(); }, 30000));
    ASSERT_TRUE(host.messages.empty());
    QWidget* whole = form->findChild<QWidget*>("WholeMap");
    const QPointF at(9.5 * whole->width() / 50.0, 11.5 * whole->width() / 50.0);
    QMouseEvent move(QEvent::MouseMove, at, whole->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(whole, &move);
    QApplication::processEvents();
    ASSERT_TRUE(form->grab().save(folder + "/editor-prove.png"));
}

// A selection being pasted in the whole map: the copied cells follow the pointer.
TEST_F(PictureTest, DISABLED_SavePastePicture) {
    const QString folder = qEnvironmentVariable("ZORVIK_EDITOR_PICTURES");
    if (folder.isEmpty()) GTEST_SKIP() << "ZORVIK_EDITOR_PICTURES not set";
    PaintSmallLevel();
    ASSERT_NO_FATAL_FAILURE(ShowSavedAndReopened(600));
    form->Mcela->trigger();
    form->resize(1280, 1024 - 60);
    QApplication::processEvents();
    QWidget* whole = form->findChild<QWidget*>("WholeMap");
    const double cell = whole->width() / 50.0;
    auto send = [&](QEvent::Type type, double col, double row, Qt::MouseButtons held,
                    Qt::KeyboardModifiers modifiers) {
        const QPointF at((col - 0.5) * cell, (row - 0.5) * cell);
        QMouseEvent event(type, at, whole->mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                          modifiers);
        QApplication::sendEvent(whole, &event);
    };
    send(QEvent::MouseButtonPress, 5, 10, Qt::LeftButton, Qt::ControlModifier);
    send(QEvent::MouseMove, 11, 16, Qt::LeftButton, Qt::ControlModifier);
    send(QEvent::MouseButtonRelease, 11, 16, Qt::NoButton, Qt::ControlModifier);
    for (QAction* action : form->Mupravy->actions())
        if (action->text() == QString::fromUtf8("Kopírovat")) action->trigger();
    send(QEvent::MouseMove, 28, 9, Qt::NoButton, {});
    for (QAction* action : form->Mupravy->actions())
        if (action->text() == QString::fromUtf8("Vložit")) action->trigger();
    send(QEvent::MouseMove, 30, 10, Qt::NoButton, {});
    QApplication::processEvents();
    ASSERT_TRUE(form->grab().save(folder + "/editor-paste.png"));
}

}  // namespace
}  // namespace zorvik::editor::test
