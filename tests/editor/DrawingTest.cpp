// SPDX-License-Identifier: GPL-3.0-or-later
// The editor window at start-up (with the speed legend as rendered) and the pictures DrawMap
// makes of the map's codes.
#include <QAction>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <algorithm>
#include <vector>

#include "EditorFixture.h"

namespace zorvik::editor::test {
namespace {

const QColor kGrey(128, 128, 128);
const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);

bool OnGrid(int x, int y) {
    return (x % 30 == 0 && x <= 540 && y <= 539) || (y % 30 == 0 && y <= 540 && x <= 539);
}

TEST_F(EditorTest, StartUpShowsBlackViewWithGreyGridPaletteAndPreview) {
    int wrong = 0;
    for (int y = 0; y < 542; ++y) {
        for (int x = 0; x < 542; ++x) {
            if (form->Level->Pixel(x, y) != (OnGrid(x, y) ? kGrey : kBlack)) ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);

    // Slot s shows sheet cell s (palette entry s + 1); one grey pixel row between slots.
    for (int slot = 0; slot < 5; ++slot) {
        int mismatches = 0;
        for (int j = 0; j < 73; ++j) {
            for (int i = 0; i < 73; ++i) {
                if (form->Vyber->Pixel(1 + i, 74 * slot + j) !=
                    form->Hiden->Pixel(73 * slot + i, j))
                    ++mismatches;
            }
        }
        EXPECT_EQ(mismatches, 0) << "slot " << slot;
        if (slot < 4) {
            EXPECT_EQ(form->Vyber->Pixel(30, 74 * slot + 73), kGrey);
        }
    }
    EXPECT_EQ(form->Vyber->Pixel(0, 10), kGrey);
    // Neighbouring sheet cells differ, so the slot comparison above is not vacuous.
    int differing = 0;
    for (int j = 0; j < 73; ++j) {
        for (int i = 0; i < 73; ++i)
            differing += form->Hiden->Pixel(i, j) != form->Hiden->Pixel(73 + i, j);
    }
    EXPECT_GT(differing, 100);

    for (int j = 0; j < 73; ++j) {
        for (int i = 0; i < 73; ++i) {
            ASSERT_EQ(form->SELEC->Pixel(1 + i, 1 + j), form->Hiden->Pixel(i, j));
        }
    }
    EXPECT_EQ(form->SELEC->Pixel(0, 0), kGrey);

    EXPECT_EQ(selectedEntry, 1);
    EXPECT_EQ(paletteTop, 0);
    EXPECT_EQ(linkMode, -1);
    EXPECT_EQ(speedMode, -1);
    EXPECT_EQ(paletteTable[20].item, 40);
    EXPECT_EQ(paletteTable[15].tile, 16);
    EXPECT_EQ(paletteTable[0].tile, 0);
    EXPECT_FALSE(form->Hiden->isVisible());
    EXPECT_FALSE(form->Fialova->isVisible());
    EXPECT_TRUE(form->Level->isVisible());
    EXPECT_EQ(form->Level->TextColor(), kWhite);
}

TEST_F(EditorTest, WindowHasEveryControlWithItsGeometryAndCaption) {
    EXPECT_EQ(form->windowTitle(), "Form1");
    struct Control {
        const char* name;
        const char* kind;
        QRect geometry;
        QString text;
    };
    const Control controls[] = {
        {"Level", "zorvik::editor::PictureBox", {0, 0, 542, 542}, {}},
        {"Vyber", "zorvik::editor::PictureBox", {546, 0, 78, 374}, {}},
        {"Nahoru", "zorvik::editor::WrapButton", {624, 0, 17, 49}, "UP"},
        {"Dolu", "zorvik::editor::WrapButton", {624, 308, 17, 57}, "DOWN"},
        {"Vpravo", "zorvik::editor::WrapButton", {0, 545, 97, 17}, "Posun Vlevo"},
        {"Vlevo", "zorvik::editor::WrapButton", {446, 545, 97, 17}, "Posun Vpravo"},
        {"SELEC", "zorvik::editor::PictureBox", {546, 450, 77, 77}, {}},
        {"Label1", "QLabel", {559, 528, 49, 17}, "SELECT"},
        {"Command1",
         "zorvik::editor::WrapButton",
         {648, 0, 113, 41},
         "Propojovat prkna a plosinky"},
        {"Text1", "QLineEdit", {680, 48, 49, 22}, "1"},
        {"Command3",
         "zorvik::editor::WrapButton",
         {648, 80, 113, 57},
         "Editovat rychlost ohebnych nepratel"},
        {"Text2", "QLineEdit", {680, 144, 49, 19}, "1"},
        {"Label2",
         "QLabel",
         {672, 168, 81, 33},
         QString::fromUtf8("1-nejrychleší\n5-nejpomalejší")},
        {"Command2", "zorvik::editor::WrapButton", {648, 224, 105, 49}, "Kontrola Levelu"},
        {"Fialova", "zorvik::editor::PictureBox", {0, 0, 542, 542}, {}},
        {"Hiden", "zorvik::editor::PictureBox", {0, 0, 740, 400}, {}},
    };
    for (const Control& c : controls) {
        auto* widget = form->findChild<QWidget*>(QLatin1String(c.name));
        ASSERT_NE(widget, nullptr) << c.name;
        EXPECT_STREQ(widget->metaObject()->className(), c.kind) << c.name;
        EXPECT_EQ(widget->geometry(), c.geometry) << c.name;
        if (auto* button = qobject_cast<QPushButton*>(widget)) {
            EXPECT_EQ(button->text(), c.text);
        }
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            EXPECT_EQ(label->text(), c.text);
        }
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            EXPECT_EQ(edit->text(), c.text);
        }
        if (!qobject_cast<PictureBox*>(widget)) {
            EXPECT_EQ(widget->font().bold(), c.name != std::string("Label2")) << c.name;
        }
    }
    EXPECT_EQ(form->Hiden->Image().size(), QSize(740, 400));

    auto* menu = form->findChild<QMenu*>("Mfile");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), "File");
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 5);
    const char* names[] = {"Mclear", "mcara", "Mopen", "mcara2", "Msave"};
    const char* texts[] = {"Clear map", "", "Open MAP", "", "Save MAP"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(items[i]->objectName(), names[i]);
        EXPECT_EQ(items[i]->isSeparator(), i == 1 || i == 3);
        if (!items[i]->isSeparator()) {
            EXPECT_EQ(items[i]->text(), texts[i]);
        }
    }
    EXPECT_EQ(form->Mopen->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(form->Msave->shortcut(), QKeySequence("Ctrl+S"));
}

TEST(EditorTileSheet, MissingSheetIsReportedAndReplacedByAUsableStandIn) {
    RecordingHost host;
    QTemporaryDir empty;
    {
        Form1 form(&host, empty.path());
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_TRUE(host.messages[0].contains("editor-tiles.bmp"));
        // Every palette image is drawn and distinct from its neighbour.
        for (int cell = 0; cell < 32; ++cell) {
            const QColor centre = form.Hiden->Pixel(73 * (cell % 10) + 20, 73 * (cell / 10) + 20);
            EXPECT_NE(centre, kBlack) << cell;
            EXPECT_NE(centre,
                      form.Hiden->Pixel(73 * ((cell + 1) % 10) + 20, 73 * ((cell + 1) / 10) + 20));
        }
    }
}

TEST(EditorTileSheet, SheetIsLoadedFromTheDataFolder) {
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir("data"));
    QImage sheet(730, 292, QImage::Format_RGB32);
    sheet.fill(QColor(10, 20, 30));
    sheet.setPixelColor(73 * 3 + 5, 73 * 2 + 6, QColor(200, 100, 50));
    ASSERT_TRUE(sheet.save(folder.filePath("data/editor-tiles.bmp"), "BMP"));
    RecordingHost host;
    Form1 form(&host, folder.path());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(form.Hiden->Pixel(73 * 3 + 5, 73 * 2 + 6), QColor(200, 100, 50));
    EXPECT_EQ(form.Hiden->Pixel(0, 0), QColor(10, 20, 30));
    EXPECT_EQ(form.SELEC->Pixel(1, 1), QColor(10, 20, 30));
}

TEST_F(EditorTest, DrawMapShowsTilesObjectsAndEmptyCells) {
    mapTiles[1][1] = 7;   // plain tile: sheet cell 6
    mapTiles[2][1] = 15;  // pressed platform shows like tile 16
    mapTiles[3][1] = 16;
    mapTiles[4][1] = 17;   // sheet cell 15
    mapTiles[5][1] = 7;    // object overrides the tile
    mapItems[5][1] = 999;  // player start: sheet cell 29
    mapItems[6][1] = 0;    // empty cell
    mapTiles[7][1] = 3;
    mapItems[7][1] = 54;   // signpost: sheet cell 17
    mapItems[8][1] = 900;  // goal: sheet cell 31
    form->Level->BitBlt(0, 0, 542, 542, nullptr, 0, 0, kWhiteness);
    DrawMap();

    EXPECT_EQ(CellMismatches(*form, 1, 1, 6), 0);
    EXPECT_EQ(CellMismatches(*form, 2, 1, 14), 0);
    EXPECT_EQ(CellMismatches(*form, 3, 1, 14), 0);
    EXPECT_EQ(CellMismatches(*form, 4, 1, 15), 0);
    EXPECT_EQ(CellMismatches(*form, 5, 1, 29), 0);
    EXPECT_GT(CellMismatches(*form, 5, 1, 6), 0);
    EXPECT_EQ(NonBlackPixels(*form, 6, 1), 0);
    EXPECT_EQ(CellMismatches(*form, 7, 1, 17), 0);
    EXPECT_EQ(CellMismatches(*form, 8, 1, 31), 0);
    // Every view cell was redrawn and the grid put back over them.
    EXPECT_EQ(NonBlackPixels(*form, 18, 18), 0);
    EXPECT_EQ(form->Level->Pixel(30, 15), kGrey);
    EXPECT_EQ(form->Level->Pixel(15, 540), kGrey);
}

TEST_F(EditorTest, DrawMapMarksStonesWithoutLabels) {
    mapItems[1][2] = 20;  // stone on an empty cell: black with the marker
    mapTiles[2][2] = 7;
    mapItems[2][2] = 39;  // stone on a tile
    mapTiles[3][2] = 18;
    mapItems[3][2] = 25;  // stone on a board housing: marker instead of the link label
    DrawMap();
    for (int k = 1; k <= 3; ++k) {
        int markerWrong = 0;
        for (int j = 0; j < 20; ++j) {
            for (int i = 0; i < 20; ++i) {
                if (form->Level->Pixel(30 * (k - 1) + 5 + i, 30 + 5 + j) !=
                    form->Hiden->Pixel(73 * 3 + i * 73 / 20, 73 * 2 + j * 73 / 20))
                    ++markerWrong;
            }
        }
        EXPECT_EQ(markerWrong, 0) << k;
    }
    EXPECT_EQ(form->Level->Pixel(2, 32), kBlack);
    EXPECT_EQ(CellMismatches(*form, 2, 2, 6, 0, 2), 0);
    EXPECT_EQ(CellMismatches(*form, 3, 2, 16, 0, 2), 0);
    EXPECT_EQ(CellMismatches(*form, 3, 2, 16, 25, 28), 0);  // no circle below the marker
}

// Draws the expected label onto a black box at the cell's offsets and compares what lies
// inside the text's area.
void ExpectLabel(const Form1& form, int k, int r, const QString& text, int count, int left) {
    PictureBox reference(Qt::black);
    reference.SetGeometry(0, 0, 80, 80);
    reference.SetTextColor(Qt::white);
    const QRect area = reference.DrawTextA(text, count, left, 12, left + 50, 62);
    reference.Circle(16, 18, 8, Qt::white);
    ASSERT_FALSE(area.isEmpty());
    const int x0 = 30 * (k - 1);
    const int y0 = 30 * (r - 1);
    int wrong = 0;
    int white = 0;
    for (int y = area.top(); y <= std::min(area.bottom(), 28); ++y) {
        for (int x = area.left(); x <= std::min(area.right(), 29); ++x) {
            if (form.Level->Pixel(x0 + x, y0 + y) != reference.Pixel(x, y)) ++wrong;
            if (reference.Pixel(x, y) == QColor(Qt::white)) ++white;
        }
    }
    EXPECT_EQ(wrong, 0) << text.toStdString();
    EXPECT_GT(white, 0);
    // The circle of radius 8 around (16, 18).
    for (const QPoint& p : {QPoint(24, 18), QPoint(8, 18), QPoint(16, 10), QPoint(16, 26)}) {
        EXPECT_EQ(form.Level->Pixel(x0 + p.x(), y0 + p.y()), QColor(Qt::white));
    }
}

TEST_F(EditorTest, DrawMapLabelsEnemySpeedsAndLinkNumbers) {
    mapItems[1][3] = 47;  // leftwards enemy, speed 2: sheet cell 24
    mapItems[2][3] = 43;  // rightwards enemy, speed 3: sheet cell 25
    mapTiles[3][3] = 18;
    mapItems[3][3] = 12;  // board housing with link 12: sheet cell 16
    mapTiles[4][3] = 14;
    mapItems[4][3] = 0;  // platform with link 0: sheet cell 13
    mapTiles[5][3] = 18;
    mapItems[5][3] = 40;  // link 40 is the star's code: star image, no label
    mapTiles[6][3] = 14;
    mapItems[6][3] = -12;
    DrawMap();

    EXPECT_EQ(CellMismatches(*form, 1, 3, 24, 0, 8), 0);
    EXPECT_EQ(CellMismatches(*form, 2, 3, 25, 0, 8), 0);
    EXPECT_EQ(CellMismatches(*form, 3, 3, 16, 0, 8), 0);
    EXPECT_EQ(CellMismatches(*form, 4, 3, 13, 0, 8), 0);
    ExpectLabel(*form, 1, 3, "2", 1, 13);
    ExpectLabel(*form, 2, 3, "3", 1, 13);
    ExpectLabel(*form, 3, 3, "12", -1, 11);
    ExpectLabel(*form, 4, 3, "0", -1, 11);
    ExpectLabel(*form, 6, 3, "-12", -1, 11);
    EXPECT_EQ(CellMismatches(*form, 5, 3, 19), 0);
    // "2" and "3" really are told apart.
    PictureBox two(Qt::black), three(Qt::black);
    two.SetGeometry(0, 0, 40, 40);
    three.SetGeometry(0, 0, 40, 40);
    two.SetTextColor(Qt::white);
    three.SetTextColor(Qt::white);
    two.DrawTextA("2", 1, 0, 0, 40, 40);
    three.DrawTextA("3", 1, 0, 0, 40, 40);
    EXPECT_NE(two.Image(), three.Image());
}

// The lines of ink in a rendered text: for each run of rows holding pixels other than the
// background, its horizontal ink width.
std::vector<int> InkLineWidths(const QImage& image, const QColor& background) {
    std::vector<int> widths;
    int left = image.width(), right = -1;
    for (int y = 0; y <= image.height(); ++y) {
        bool ink = false;
        for (int x = 0; y < image.height() && x < image.width(); ++x) {
            if (image.pixelColor(x, y) != background) {
                ink = true;
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
        if (!ink && right >= 0) {
            widths.push_back(right - left + 1);
            left = image.width();
            right = -1;
        }
    }
    return widths;
}

// The ink width of one line of text in `font`, drawn alone.
int InkWidth(const QString& text, const QFont& font) {
    QImage image(300, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, 300, 40), Qt::AlignLeft | Qt::AlignVCenter, text);
    painter.end();
    const std::vector<int> widths = InkLineWidths(image, Qt::white);
    return widths.size() == 1 ? widths[0] : -1;
}

TEST_F(EditorTest, SpeedLegendBreaksBetweenItsTwoEntries) {
    form->show();
    const QImage shown = form->Label2->grab().toImage();
    const std::vector<int> lines =
        InkLineWidths(shown, form->Label2->palette().color(QPalette::Window));
    ASSERT_EQ(lines.size(), 2u);
    const QFont font = form->Label2->font();
    EXPECT_NEAR(lines[0], InkWidth(QString::fromUtf8("1-nejrychleší"), font), 1);
    EXPECT_NEAR(lines[1], InkWidth(QString::fromUtf8("5-nejpomalejší"), font), 1);
}

}  // namespace
}  // namespace zorvik::editor::test
