// The editor's window: its controls and menu, the event handlers of the map view, the palette,
// the scroll and tool buttons and the File menu, and the level check.
#include "Form1.h"

#include <unistd.h>

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "A_deklare.h"
#include "B_do.h"
#include "GameLocation.h"
#include "LevelFolder.h"
#include "LevelRules.h"
#include "MapFile.h"
#include "MapText.h"
#include "Numbers.h"
#include "RegularFile.h"

namespace zorvik::editor {

namespace {

Form1* theForm = nullptr;

const QColor kGrey(128, 128, 128);
// Overlay colours: solid cells tinted red, the cells sharing the pointed link number framed
// in yellow, board gates outlined in cyan.
const QColor kSolidTint(255, 0, 0, 96);
const QColor kLinkColour(255, 255, 0);
const QColor kGateColour(0, 255, 255);
const QString kTileSheetPath = QStringLiteral("/data/editor-tiles.bmp");
constexpr int kSheetWidth = 730;
constexpr int kSheetHeight = 292;

// The closest bold sans-serif to the form's MS Sans Serif: 8.25 pt is 11 pixels and 9.75 pt
// is 13 pixels on a 96 dpi screen.
QFont FormFont(int pixelSize) {
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

// A stand-in tile sheet when data/editor-tiles.bmp is missing: each palette entry gets a
// coloured square with its number, so the editor stays usable.
QImage FallbackTileSheet() {
    QImage sheet(kSheetWidth, kSheetHeight, QImage::Format_RGB32);
    sheet.fill(Qt::black);
    QPainter painter(&sheet);
    QFont font = FormFont(22);
    painter.setFont(font);
    for (int cell = 0; cell < kPaletteEntries; ++cell) {
        const QRect box(kSheetCell * (cell % kSheetCols), kSheetCell * (cell / kSheetCols),
                        kSheetCell, kSheetCell);
        const QColor fill = QColor::fromHsv((cell * 47) % 360, 150, 200);
        painter.fillRect(box.adjusted(2, 2, -2, -2), fill);
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignCenter, QString::number(cell + 1));
    }
    return sheet;
}

// The number typed in a text box, as the link and speed tools read it: leading blanks
// skipped, the numeric prefix taken (0 without one), then rounded to nearest, ties to even.
double TypedNumber(const QLineEdit& box) {
    return ReadNumber(box.text().toStdString());
}

// A whole number in the 16-bit range: rounded, ties to even, then clamped.
int16_t Clamp16(double value) {
    return static_cast<int16_t>(std::clamp(RoundHalfEven(value), -32768.0, 32767.0));
}

// The text of one layer file, or nothing when a value does not fit in three characters.
std::optional<QByteArray> LayerText(const MapLayer& layer) {
    QByteArray text;
    std::vector<long> values(static_cast<size_t>(kLastCol));
    for (int row = 1; row <= kLastRow; ++row) {
        for (int col = 1; col <= kLastCol; ++col) {
            values[static_cast<size_t>(col - 1)] = layer[col][row];
        }
        const std::optional<std::string> line = maptext::FormatLine(values);
        if (!line) return std::nullopt;
        text.append(line->data(), static_cast<qsizetype>(line->size()));
        text.append("\r\n");
    }
    return text;
}

}  // namespace

Form1& TheForm() {
    return *theForm;
}

WrapButton::WrapButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

void WrapButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    // Narrow buttons ("UP", "DOWN") break inside words; the others between words.
    const QRect area = rect().adjusted(2, 2, -2, -2);
    int flags = Qt::AlignCenter | Qt::TextWordWrap;
    for (const QString& word : caption.split(QLatin1Char(' '))) {
        if (fontMetrics().horizontalAdvance(word) > area.width())
            flags = Qt::AlignCenter | Qt::TextWrapAnywhere;
    }
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(area, flags, caption);
}

Form1::Form1(EditorHost* host, const QString& programDir)
    : Dialog(nullptr),
      ownHost_(host == nullptr ? std::make_unique<QtEditorHost>(this) : nullptr),
      host_(host == nullptr ? ownHost_.get() : host),
      programDir_(programDir.isEmpty() ? ProgramDataFolder() : programDir),
      gameProgram_(GameProgramFor(QCoreApplication::applicationDirPath())) {
    theForm = this;
    Dialog = CommonDialog(host_);
    ResetEditorState();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    BuildControls();
    BuildMenu();
    BuildExtraMenus();
    const bool sheetLoaded = LoadTileSheet();
    Form_Load();
    if (!sheetLoaded) {
        host_->MsgBox(QStringLiteral("Chybi obrazek dlazdic ") +
                      QDir::toNativeSeparators(programDir_ + kTileSheetPath) +
                      QStringLiteral(" - editor kresli nahradni obrazky."));
    }
}

Form1::~Form1() {
    if (theForm == this) theForm = nullptr;
}

void Form1::BuildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    setCentralWidget(client);
    client->setMinimumSize(770, 570);

    auto picture = [client](const char* name, const QColor& background, int l, int t, int w,
                            int h) {
        auto* box = new PictureBox(background, client);
        box->setObjectName(QLatin1String(name));
        box->SetGeometry(l, t, w, h);
        return box;
    };
    auto button = [client](const char* name, const QString& caption, int pixelSize, int l, int t,
                           int w, int h) {
        auto* b = new WrapButton(caption, client);
        b->setObjectName(QLatin1String(name));
        b->setFont(FormFont(pixelSize));
        b->setGeometry(l, t, w, h);
        b->setFocusPolicy(Qt::NoFocus);
        return static_cast<QPushButton*>(b);
    };
    auto label = [client](const char* name, const QString& caption, int l, int t, int w, int h) {
        auto* lab = new QLabel(caption, client);
        lab->setObjectName(QLatin1String(name));
        lab->setFont(FormFont(11));
        lab->setGeometry(l, t, w, h);
        lab->setWordWrap(true);
        return lab;
    };
    auto textBox = [client](const char* name, int pixelSize, int l, int t, int w, int h) {
        auto* edit = new QLineEdit(QStringLiteral("1"), client);
        edit->setObjectName(QLatin1String(name));
        edit->setFont(FormFont(pixelSize));
        edit->setGeometry(l, t, w, h);
        edit->setTextMargins(0, 0, 0, 0);
        return edit;
    };

    Hiden = picture("Hiden", Qt::black, 0, 0, 740, 400);
    Fialova = picture("Fialova", kGrey, 0, 0, 542, 542);
    Level = picture("Level", Qt::black, 0, 0, 542, 542);
    Vyber = picture("Vyber", kGrey, 546, 0, 78, 374);
    SELEC = picture("SELEC", kGrey, 546, 450, 77, 77);
    Nahoru = button("Nahoru", QStringLiteral("UP"), 11, 624, 0, 17, 49);
    Dolu = button("Dolu", QStringLiteral("DOWN"), 11, 624, 308, 17, 57);
    Vpravo = button("Vpravo", QStringLiteral("Posun Vlevo"), 11, 0, 545, 97, 17);
    Vlevo = button("Vlevo", QStringLiteral("Posun Vpravo"), 11, 446, 545, 97, 17);
    Label1 = label("Label1", QStringLiteral("SELECT"), 559, 528, 49, 17);
    Command1 =
        button("Command1", QStringLiteral("Propojovat prkna a plosinky"), 11, 648, 0, 113, 41);
    Text1 = textBox("Text1", 13, 680, 48, 49, 22);
    Command3 = button("Command3", QStringLiteral("Editovat rychlost ohebnych nepratel"), 11, 648,
                      80, 113, 57);
    Text2 = textBox("Text2", 11, 680, 144, 49, 19);
    // One entry per line: word wrap would also break after a hyphen ("5-" / "nejpomalejší").
    Label2 = label("Label2", QString::fromUtf8("1-nejrychleší\n5-nejpomalejší"), 672, 168, 81, 33);
    // Label2 keeps the form's default font: the same face, not bold.
    QFont plain = FormFont(11);
    plain.setBold(false);
    Label2->setFont(plain);
    Command2 = button("Command2", QStringLiteral("Kontrola Levelu"), 13, 648, 224, 105, 49);
    // The scroll buttons repeat while held.
    for (QPushButton* scroll : {Nahoru, Dolu, Vlevo, Vpravo})
        scroll->setAutoRepeat(true);
    // The map view takes the focus on a click (for the arrow keys) and follows the pointer
    // without a button (for the status bar and the link highlight).
    Level->setFocusPolicy(Qt::ClickFocus);
    Level->setMouseTracking(true);
    Level->SetOverlay([this](QPainter& painter) { PaintOverlay(painter); });
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    statusBar()->addWidget(status_, 1);

    connect(Level, &PictureBox::MouseDown, this,
            [this](int b, int s, double x, double y) { Level_MouseDown(b, s, x, y); });
    connect(Level, &PictureBox::MouseMove, this, [this](int b, int s, double x, double y) {
        Level_MouseMove(b, s, x, y);
        Hover(x, y);
    });
    connect(Level, &PictureBox::MouseUp, this,
            [this](int b, int s, double x, double y) { Level_MouseUp(b, s, x, y); });
    connect(Level, &PictureBox::PointerLeft, this, [this] { Hover(-1, -1); });
    // Wheel: the view scrolls a column per notch (up or left: towards column 1), the palette
    // an entry per notch; arrows scroll the view while it has the focus.
    connect(Level, &PictureBox::WheelTurned, this,
            [this](int up, int left) { Scroll(0, -(up + left)); });
    connect(Vyber, &PictureBox::WheelTurned, this, [this](int up, int) { Scroll(-up, 0); });
    connect(Level, &PictureBox::KeyPressed, this, [this](int key) {
        if (key == Qt::Key_Left) Scroll(0, -1);
        if (key == Qt::Key_Right) Scroll(0, 1);
        if (key == Qt::Key_PageUp) Scroll(-1, 0);
        if (key == Qt::Key_PageDown) Scroll(1, 0);
    });
    connect(Vyber, &PictureBox::MouseDown, this,
            [this](int b, int s, double x, double y) { Vyber_MouseDown(b, s, x, y); });
    connect(Nahoru, &QPushButton::clicked, this, [this] { Nahoru_Click(); });
    connect(Dolu, &QPushButton::clicked, this, [this] { Dolu_Click(); });
    connect(Vlevo, &QPushButton::clicked, this, [this] { Vlevo_Click(); });
    connect(Vpravo, &QPushButton::clicked, this, [this] { Vpravo_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
}

void Form1::BuildMenu() {
    Mfile = menuBar()->addMenu(QStringLiteral("File"));
    Mfile->setObjectName(QStringLiteral("Mfile"));
    Mclear = Mfile->addAction(QStringLiteral("Clear map"));
    Mclear->setObjectName(QStringLiteral("Mclear"));
    mcara = Mfile->addSeparator();
    mcara->setObjectName(QStringLiteral("mcara"));
    Mopen = Mfile->addAction(QStringLiteral("Open MAP"));
    Mopen->setObjectName(QStringLiteral("Mopen"));
    Mopen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    mcara2 = Mfile->addSeparator();
    mcara2->setObjectName(QStringLiteral("mcara2"));
    Msave = Mfile->addAction(QStringLiteral("Save MAP"));
    Msave->setObjectName(QStringLiteral("Msave"));
    Msave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    // The key itself goes to QuickSave; the menu item shows it and still asks for a name.
    Msave->setShortcutContext(Qt::WidgetShortcut);
    connect(Mclear, &QAction::triggered, this, [this] { Mclear_Click(); });
    connect(Mopen, &QAction::triggered, this, [this] { Mopen_Click(); });
    connect(Msave, &QAction::triggered, this, [this] { Msave_Click(); });
}

void Form1::BuildExtraMenus() {
    Mupravy = menuBar()->addMenu(QString::fromUtf8("Úpravy"));
    Mupravy->setObjectName(QStringLiteral("Mupravy"));
    Mzpet = Mupravy->addAction(QString::fromUtf8("Zpět"));
    Mzpet->setObjectName(QStringLiteral("Mzpet"));
    Mzpet->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    Mznovu = Mupravy->addAction(QStringLiteral("Znovu"));
    Mznovu->setObjectName(QStringLiteral("Mznovu"));
    Mznovu->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(Mzpet, &QAction::triggered, this, [this] { Mzpet_Click(); });
    connect(Mznovu, &QAction::triggered, this, [this] { Mznovu_Click(); });

    Mzobrazit = menuBar()->addMenu(QStringLiteral("Zobrazit"));
    Mzobrazit->setObjectName(QStringLiteral("Mzobrazit"));
    Mpevnost = Mzobrazit->addAction(QString::fromUtf8("Pevná pole"));
    Mpevnost->setObjectName(QStringLiteral("Mpevnost"));
    Mpevnost->setCheckable(true);
    Mbrany = Mzobrazit->addAction(QString::fromUtf8("Brány nad prkny"));
    Mbrany->setObjectName(QStringLiteral("Mbrany"));
    Mbrany->setCheckable(true);
    Mbrany->setChecked(true);
    for (QAction* toggle : {Mpevnost, Mbrany})
        connect(toggle, &QAction::toggled, Level, [this] { Level->update(); });

    Mlevel = menuBar()->addMenu(QStringLiteral("Level"));
    Mlevel->setObjectName(QStringLiteral("Mlevel"));
    Mhrat = Mlevel->addAction(QString::fromUtf8("Hrát level"));
    Mhrat->setObjectName(QStringLiteral("Mhrat"));
    Mhrat->setShortcut(QKeySequence(Qt::Key_F5));
    connect(Mhrat, &QAction::triggered, this, [this] { Mhrat_Click(); });

    // Keys without a menu item: quick save, and Page Up / Down for the palette anywhere in
    // the window.
    QuickSave = new QAction(this);
    QuickSave->setObjectName(QStringLiteral("QuickSave"));
    QuickSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(QuickSave, &QAction::triggered, this, [this] { QuickSave_Click(); });
    auto* pageUp = new QAction(this);
    pageUp->setShortcut(QKeySequence(Qt::Key_PageUp));
    connect(pageUp, &QAction::triggered, this, [this] { Scroll(-1, 0); });
    auto* pageDown = new QAction(this);
    pageDown->setShortcut(QKeySequence(Qt::Key_PageDown));
    connect(pageDown, &QAction::triggered, this, [this] { Scroll(1, 0); });
    addActions({QuickSave, pageUp, pageDown});
    UpdateTitle();
}

// The sheet is design data of the form; without the file the editor draws a stand-in (and
// the constructor says so).
bool Form1::LoadTileSheet() {
    const files::ReadResult file = files::ReadRegularFile(
        QFile::encodeName(programDir_ + kTileSheetPath).toStdString(), files::kMaxPictureBytes);
    QImage sheet;
    if (file.ok()) sheet.loadFromData(QByteArray::fromStdString(file.bytes));
    if (sheet.isNull()) {
        Hiden->SetPicture(FallbackTileSheet());
        return false;
    }
    if (sheet.size() != QSize(kSheetWidth, kSheetHeight)) {
        sheet = sheet.scaled(kSheetWidth, kSheetHeight);
    }
    Hiden->SetPicture(sheet);
    return true;
}

void Form1::Form_Load() {
    Level->SetTextColor(QColor(255, 255, 255));
    if (const QScreen* display = screen()) {
        setGeometry(display->availableGeometry());
    }
    Level->SetGeometry(0, 0, 542, 542);
    Fialova->SetGeometry(0, 0, 542, 542);
    Vyber->SetGeometry(546, 0, 78, 374);
    Vlevo->move(446, 545);
    Vpravo->move(0, 545);
    Nahoru->move(624, 0);
    Dolu->move(624, 308);
    SELEC->SetGeometry(546, 450, 77, 77);
    Label1->move(559, 528);
    Hiden->SetGeometry(0, 0, 740, 400);
    Hiden->setVisible(false);
    Fialova->setVisible(false);
    show();
    update();
    InitEditor();
}

// ---- Map view and palette ----

void Form1::Level_MouseDown(int button, int, double x, double y) {
    MapEdit(button, x, y, true);
}

void Form1::Level_MouseMove(int button, int, double x, double y) {
    MapEdit(button, x, y, false);
}

// One edit of the cell under (x, y): link, speed or paint step with the left button (by the
// tool flags), erase with the right button.
void Form1::MapEdit(int button, double x, double y, bool press) {
    if (x < 0 || y < 0) return;
    const int viewCol = static_cast<int>(std::floor(x / kViewPitch));
    const int viewRow = static_cast<int>(std::floor(y / kViewPitch));
    if (viewCol > kViewCells - 1 || viewRow > kViewCells - 1) return;
    const int col = viewCol + 1 + viewScroll;
    const int row = viewRow + 1;
    // A press starts a new undo step; the moves of its drag and its release add to it.
    if (press && (button == kLeftButton || button == kRightButton)) document_.BeginStep();

    if (button == kLeftButton) {
        if (linkMode != 0) {
            if (mapTiles[col][row] == 14 || mapTiles[col][row] == 18) {
                document_.SetCell(mapItems, col, row, Clamp16(TypedNumber(*Text1)));
            }
        }
        if (speedMode != 0) {
            // A press clamps the typed number and rounds only the final code; a drag rounds
            // the number first. The two differ for halves (2.5 gives 48 on a press on 46,
            // 47 on a drag).
            const double typed = TypedNumber(*Text2);
            const double speed = press ? std::clamp(typed, 1.0, 5.0)
                                       : std::clamp(static_cast<double>(Clamp16(typed)), 1.0, 5.0);
            const int item = mapItems[col][row];
            if (item >= 46 && item <= 50) {
                document_.SetCell(mapItems, col, row, Clamp16(45 + speed));
            } else if (item >= 41 && item <= 45) {
                document_.SetCell(mapItems, col, row, Clamp16(40 + speed));
            }
        }
        if (linkMode == 0 && speedMode == 0) {
            const PaletteEntry& entry = paletteTable[static_cast<size_t>(selectedEntry)];
            // The stone marks the object only, keeping the ground it rests on.
            if (entry.item != 20) {
                document_.SetCell(mapTiles, col, row, entry.tile);
                document_.SetCell(mapSolid, col, row, entry.solid);
            }
            document_.SetCell(mapItems, col, row, entry.item);
        }
        MapChangedCells();
    } else if (button == kRightButton) {
        document_.SetCell(mapTiles, col, row, 0);
        document_.SetCell(mapSolid, col, row, 0);
        document_.SetCell(mapItems, col, row, 0);
        MapChangedCells();
    }
}

void Form1::Level_MouseUp(int, int, double, double) {
    document_.EndStep();
    UpdateTitle();
}

void Form1::Vyber_MouseDown(int, int, double, double y) {
    // Only the five slots count: the drawing area is 74 x 370 pixels.
    if (y < 0 || y >= kSlotPitch * kPaletteSlots) return;
    const int cell = static_cast<int>(std::floor(y / kSlotPitch)) + paletteTop;
    selectedEntry = static_cast<int16_t>(cell + 1);
    SELEC->BitBlt(1, 1, kSheetCell, kSheetCell, Hiden, kSheetCell * (cell % kSheetCols),
                  kSheetCell * (cell / kSheetCols), kSrcCopy);
    linkMode = kFalse;
    speedMode = kFalse;
}

void Form1::Nahoru_Click() {
    --paletteTop;
    if (paletteTop < 0) {
        paletteTop = 0;
        host_->Beep();
    }
    DrawPalette();
}

void Form1::Dolu_Click() {
    ++paletteTop;
    if (paletteTop + 4 > paletteLast) {
        paletteTop = static_cast<int16_t>(paletteLast - 4);
        host_->Beep();
    }
    DrawPalette();
}

void Form1::Vlevo_Click() {
    ++viewScroll;
    if (viewScroll + 17 > 49) {
        viewScroll = 32;
        host_->Beep();
    }
    DrawMap();
}

void Form1::Vpravo_Click() {
    --viewScroll;
    if (viewScroll < 0) {
        viewScroll = 0;
        host_->Beep();
    }
    DrawMap();
}

// ---- File menu ----

void Form1::PrepareDialog() {
    Dialog.CancelError = true;
    Dialog.InitDir = DefaultLevelFolder(programDir_);
    if (!lastFolder_.isEmpty()) Dialog.InitDir = lastFolder_;
    Dialog.Filter = QStringLiteral("Zorvik MAP file|*.map");
}

// Clear map starts a new, unnamed map; it is one undo step, so Zpět brings the old map back.
void Form1::Mclear_Click() {
    static const MapLayer empty{};
    document_.ReplaceAll(empty, empty, empty, QString());
    viewScroll = 0;
    DrawMap();
    document_.TakeChangedCells();
    document_.MarkSaved();
    UpdateTitle();
    RefreshStatus();
}

void Form1::Mopen_Click() {
    PrepareDialog();
    const bool chosen = Dialog.ShowOpen();
    if (chosen) RememberFolder(Dialog.FileName);
    if (!chosen || !OpenMapSet(Dialog.FileName)) {
        host_->MsgBox(QString::fromLatin1(kOpenFailedText));
        return;
    }
}

bool Form1::OpenMapSet(const QString& path) {
    return OpenMapSet(QFile::encodeName(path));
}

bool Form1::OpenMapSet(const QByteArray& path) {
    if (!ReadMapSet(path)) return false;
    update();
    viewScroll = 0;
    DrawMap();
    document_.TakeChangedCells();
    document_.MarkSaved();
    UpdateTitle();
    RefreshStatus();
    return true;
}

void Form1::Msave_Click() {
    PrepareDialog();
    const bool chosen = Dialog.ShowSave();
    if (chosen) RememberFolder(Dialog.FileName);
    if (!chosen || !WriteMapSet(Dialog.FileName)) {
        host_->MsgBox(QString::fromLatin1(kSaveFailedText));
        return;
    }
    update();
    viewScroll = 0;
    DrawMap();
    document_.MarkSaved();
    document_.SetName(Dialog.FileName);
    UpdateTitle();
}

void Form1::QuickSave_Click() {
    if (document_.Name().isEmpty()) {
        Msave_Click();
        return;
    }
    if (!WriteMapSet(document_.Name())) {
        host_->MsgBox(QString::fromLatin1(kSaveFailedText));
        return;
    }
    document_.MarkSaved();
    UpdateTitle();
}

void Form1::RememberFolder(const QString& path) {
    lastFolder_ = QFileInfo(path).absolutePath();
}

// ---- Undo, redo and test-play ----

void Form1::Mzpet_Click() {
    if (document_.Undo()) MapChangedCells();
}

void Form1::Mznovu_Click() {
    if (document_.Redo()) MapChangedCells();
}

void Form1::MapChangedCells() {
    const std::vector<MapCell> cells = document_.TakeChangedCells();
    DrawMapCells(cells);
    // Overlays that depend on a changed cell: its own tint, the gate above a housing, the
    // highlight of every cell sharing a link number.
    bool linkCell = false;
    for (const MapCell& cell : cells) {
        const int k = cell.col - viewScroll;
        if (k < 1 || k > kViewCells) continue;
        Level->update(QRect(kViewPitch * (k - 1) - 1, kViewPitch * (cell.row - 4) - 1,
                            kViewPitch + 3, 4 * kViewPitch + 3));
        linkCell = linkCell || cell == hovered_;
    }
    if (linkCell || (hovered_.col != 0 && (mapTiles[hovered_.col][hovered_.row] == 14 ||
                                           mapTiles[hovered_.col][hovered_.row] == 18))) {
        Level->update();
    }
    UpdateTitle();
    RefreshStatus();
}

void Form1::UpdateTitle() {
    const bool modified = document_.Modified();
    QString title = QStringLiteral("Form1");
    if (!document_.Name().isEmpty())
        title = QFileInfo(document_.Name()).fileName() + QStringLiteral(" - ") + title;
    if (modified) title.prepend(QLatin1Char('*'));
    if (windowTitle() != title) setWindowTitle(title);
    if (Mzpet != nullptr) {
        Mzpet->setEnabled(document_.CanUndo());
        Mznovu->setEnabled(document_.CanRedo());
    }
}

void Form1::Mhrat_Click() {
    document_.EndStep();
    const QFileInfo game(gameProgram_);
    if (!game.isFile() || !game.isExecutable()) {
        host_->MsgBox(QString::fromLatin1(kGameMissingText) +
                      QDir::toNativeSeparators(gameProgram_));
        return;
    }
    // A fresh folder each time: a game still running keeps its own set.
    auto folder =
        std::make_unique<QTemporaryDir>(TemporaryFolder() + QStringLiteral("/zorvik-level-XXXXXX"));
    const QString set = folder->filePath(QStringLiteral("level.map"));
    if (!folder->isValid() || !WriteMapSet(set)) {
        host_->MsgBox(QString::fromLatin1(kPlayWriteFailedText));
        return;
    }
    if (!host_->StartDetached(gameProgram_, {QStringLiteral("--level"), set})) {
        host_->MsgBox(QString::fromLatin1(kGameStartFailedText) +
                      QDir::toNativeSeparators(gameProgram_));
        return;
    }
    lastPlaySet_ = set;
    playDirs_.push_back(std::move(folder));
}

// ---- Pointer, overlays and scrolling ----

void Form1::Scroll(int paletteSteps, int viewSteps) {
    for (; paletteSteps < 0; ++paletteSteps)
        Nahoru_Click();
    for (; paletteSteps > 0; --paletteSteps)
        Dolu_Click();
    for (; viewSteps < 0; ++viewSteps)
        Vpravo_Click();
    for (; viewSteps > 0; --viewSteps)
        Vlevo_Click();
    // Another cell is now under the pointer.
    if (pointer_.x() >= 0) Hover(pointer_.x(), pointer_.y());
}

namespace {

bool IsLinkTile(int tile) {
    return tile == 14 || tile == 18;
}

}  // namespace

void Form1::Hover(double x, double y) {
    pointer_ = QPointF(x, y);
    MapCell cell;
    if (x >= 0 && y >= 0 && x < kViewCells * kViewPitch && y < kViewCells * kViewPitch) {
        cell = MapCell{static_cast<int>(x) / kViewPitch + 1 + viewScroll,
                       static_cast<int>(y) / kViewPitch + 1};
    }
    if (cell != hovered_) {
        const bool wasLink = hovered_.col != 0 && IsLinkTile(mapTiles[hovered_.col][hovered_.row]);
        hovered_ = cell;
        const bool isLink = cell.col != 0 && IsLinkTile(mapTiles[cell.col][cell.row]);
        if (wasLink || isLink) Level->update();
    }
    RefreshStatus();
}

void Form1::RefreshStatus() {
    QString text;
    if (hovered_.col != 0) {
        const MapCell& c = hovered_;
        text = QStringLiteral("Sloupec %1  Radek %2   Dlazdice %3  Pevnost %4  Objekt %5")
                   .arg(c.col)
                   .arg(c.row)
                   .arg(mapTiles[c.col][c.row])
                   .arg(mapSolid[c.col][c.row])
                   .arg(mapItems[c.col][c.row]);
    }
    if (status_->text() != text) status_->setText(text);
}

void Form1::PaintOverlay(QPainter& painter) {
    const bool solidity = Mpevnost != nullptr && Mpevnost->isChecked();
    const bool gates = Mbrany != nullptr && Mbrany->isChecked();
    const bool link = hovered_.col != 0 && IsLinkTile(mapTiles[hovered_.col][hovered_.row]);
    if (!solidity && !gates && !link) return;
    const int linkNumber = link ? mapItems[hovered_.col][hovered_.row] : 0;
    for (int row = 1; row <= kViewCells; ++row) {
        for (int k = 1; k <= kViewCells; ++k) {
            const int col = k + viewScroll;
            const QRect cell(kViewPitch * (k - 1) + 1, kViewPitch * (row - 1) + 1, kViewPitch - 1,
                             kViewPitch - 1);
            if (solidity && mapSolid[col][row] != 0) painter.fillRect(cell, kSolidTint);
            if (link && IsLinkTile(mapTiles[col][row]) && mapItems[col][row] == linkNumber) {
                // A frame three pixels wide inside the cell.
                constexpr int kFrame = 3;
                painter.fillRect(cell.left(), cell.top(), cell.width(), kFrame, kLinkColour);
                painter.fillRect(cell.left(), cell.bottom() - kFrame + 1, cell.width(), kFrame,
                                 kLinkColour);
                painter.fillRect(cell.left(), cell.top(), kFrame, cell.height(), kLinkColour);
                painter.fillRect(cell.right() - kFrame + 1, cell.top(), kFrame, cell.height(),
                                 kLinkColour);
            }
            if (gates && mapTiles[col][row] == 18) {
                // The three cells above the housing, on their grid lines.
                const QRect gate(kViewPitch * (k - 1), kViewPitch * (row - 4), kViewPitch,
                                 3 * kViewPitch);
                painter.setPen(QPen(kGateColour, 1));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(gate);
            }
        }
    }
}

// Reads the three files into a scratch map and takes it over only when all three read
// completely, so a failed open never leaves a mix of two maps. The path is taken as the bytes
// the system gives, which need not be UTF-8; a name that Qt cannot hold unchanged is not kept,
// so a later save asks where to go instead of writing to another name.
bool Form1::ReadMapSet(const QByteArray& path) {
    std::array<std::string, 3> texts;
    const std::array<std::string, 3> paths{path.toStdString(), path.toStdString() + ".1",
                                           path.toStdString() + ".2"};
    for (size_t i = 0; i < paths.size(); ++i) {
        files::ReadResult file = maptext::ReadLayerFile(paths[i]);
        if (!file.ok()) return false;
        texts[i] = std::move(file.bytes);
    }
    MapLayer tiles{};
    MapLayer solid{};
    MapLayer items{};
    if (!ParseMapSet({texts[0], texts[1], texts[2]}, tiles, solid, items)) return false;
    // Column 0 and row 0 are not in the files: they keep what they hold.
    for (int col = 0; col <= kLastCol; ++col) {
        tiles[col][0] = mapTiles[col][0];
        solid[col][0] = mapSolid[col][0];
        items[col][0] = mapItems[col][0];
    }
    for (int row = 0; row <= kLastRow; ++row) {
        tiles[0][row] = mapTiles[0][row];
        solid[0][row] = mapSolid[0][row];
        items[0][row] = mapItems[0][row];
    }
    const QString name = QFile::decodeName(path);
    document_.ReplaceAll(tiles, solid, items, QFile::encodeName(name) == path ? name : QString());
    return true;
}

// Writes the three files so that either all are replaced or none: every value is checked
// first, each layer goes to a temporary file beside its target, and the temporaries are
// renamed over the targets only when all three are written. A read-only target fails the
// save (the shipped levels are laid out read-only to protect them).
bool Form1::WriteMapSet(const QString& path) {
    const std::array<const MapLayer*, 3> layers{&mapTiles, &mapSolid, &mapItems};
    std::array<QByteArray, 3> texts;
    for (size_t i = 0; i < layers.size(); ++i) {
        std::optional<QByteArray> text = LayerText(*layers[i]);
        if (!text) return false;
        texts[i] = *text;
    }

    std::array<QString, 3> targets{path, path + QStringLiteral(".1"), path + QStringLiteral(".2")};
    std::array<QFileDevice::Permissions, 3> permissions{};
    for (size_t i = 0; i < targets.size(); ++i) {
        QFileInfo info(targets[i]);
        // Replace the file a link points to, not the link.
        if (info.isSymLink()) info = QFileInfo(info.symLinkTarget());
        targets[i] = info.absoluteFilePath();
        permissions[i] = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                         QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;
        if (info.exists()) {
            // Read-only by its permission bits too, so the protection holds even for root.
            const bool writeBits =
                info.permissions() &
                (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther);
            if (!info.isFile() || !info.isWritable() || !writeBits) return false;
            permissions[i] = info.permissions();
        }
        // The temporaries are made in the target's folder: a folder without write bits is
        // read-only to the save too, even for root.
        const QFileInfo folder(info.absolutePath());
        const bool folderWriteBits =
            folder.permissions() &
            (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther);
        if (!folder.isDir() || !folder.isWritable() || !folderWriteBits) return false;
    }

    std::array<std::unique_ptr<QTemporaryFile>, 3> temps;
    for (size_t i = 0; i < targets.size(); ++i) {
        temps[i] = std::make_unique<QTemporaryFile>(targets[i] + QStringLiteral(".XXXXXX"));
        QTemporaryFile& temp = *temps[i];
        if (!temp.open()) return false;
        if (temp.write(texts[i]) != texts[i].size() || !temp.flush() ||
            ::fsync(temp.handle()) != 0) {
            return false;
        }
        temp.close();
        if (!temp.setPermissions(permissions[i])) return false;
    }
    for (size_t i = 0; i < targets.size(); ++i) {
        const QByteArray from = QFile::encodeName(temps[i]->fileName());
        const QByteArray to = QFile::encodeName(targets[i]);
        if (std::rename(from.constData(), to.constData()) != 0) return false;
        temps[i]->setAutoRemove(false);
    }
    return true;
}

// ---- Tools and level check ----

void Form1::Command1_Click() {
    linkMode = kTrue;
    SELEC->BitBlt(1, 1, kSheetCell, kSheetCell, nullptr, 0, 0, kBlackness);
}

void Form1::Command3_Click() {
    speedMode = kTrue;
    SELEC->BitBlt(1, 1, kSheetCell, kSheetCell, nullptr, 0, 0, kBlackness);
}

void Form1::Command2_Click() {
    speedMode = kTrue;
    CheckLevel();
}

void Form1::CheckLevel() {
    int redSignposts = 0;
    int stones = 0;
    int flexEnemies = 0;
    int figureEnemies = 0;
    int boards = 0;
    int platforms = 0;
    int starts = 0;
    for (int row = 1; row <= kLastRow; ++row) {
        for (int col = 1; col <= kLastCol; ++col) {
            const int item = mapItems[col][row];
            const int tile = mapTiles[col][row];
            if (item == 55) ++redSignposts;
            if (item >= 20 && item <= 39) ++stones;
            if (item >= 41 && item <= 50) ++flexEnemies;
            if (item == 56 || item == 57) ++figureEnemies;
            if (tile == 18) ++boards;
            if (tile == 14) ++platforms;
            if (item == 998 || item == 999) ++starts;
        }
    }

    bool passed = true;
    auto rule = [this, &passed](bool fails, const char* message) {
        if (!fails) return;
        host_->MsgBox(QString::fromLatin1(message));
        passed = false;
    };
    rule(redSignposts > 1, "V Levelu smi byt jen jeden cerveny rozcestnik !!");
    rule(stones > 10, "V levelu smi byt nejvice deset kamenu");
    rule(flexEnemies > 10, "V levelu smi byt nejvice deset ohebnych nepratel");
    rule(figureEnemies > 10, "V levelu smi byt nejvice deset nepratel typu panak");
    rule(boards > 10, "V levelu smi byt nejvice deset prken");
    rule(platforms > 10, "V levelu smi byt nejvice deset plosinek");
    rule(starts == 0, "Level postrada startovni pozici Zorvik flasky");
    rule(starts > 1, "V levelu smi byt jen jedna strtovni pozice Zorvik flasky");

    // Then what the game itself would trip over, all in one message.
    levelrules::Layer tiles(levelrules::kCells);
    levelrules::Layer solid(levelrules::kCells);
    levelrules::Layer items(levelrules::kCells);
    for (int row = 1; row <= kLastRow; ++row) {
        for (int col = 1; col <= kLastCol; ++col) {
            const auto i = static_cast<size_t>(levelrules::CellIndex(col, row));
            tiles[i] = mapTiles[col][row];
            solid[i] = mapSolid[col][row];
            items[i] = mapItems[col][row];
        }
    }
    const std::vector<levelrules::Finding> findings = levelrules::CheckLevel(tiles, solid, items);
    if (!findings.empty()) {
        QString text = QString::fromLatin1(kFurtherFindingsText);
        for (const levelrules::Finding& finding : findings)
            text += QLatin1Char('\n') + QString::fromStdString(levelrules::FindingText(finding));
        host_->MsgBox(text);
        passed = false;
    }
    if (!passed) return;

    int32_t points = 0;
    for (int row = 1; row <= kLastRow; ++row) {
        for (int col = 1; col <= kLastCol; ++col) {
            const int item = mapItems[col][row];
            if (item == 40) points += 100;
            if (item == 51) points += 500;
            if (item == 52) points += 2500;
        }
    }
    // The total is shown with a sign position: a blank in front of a non-negative number.
    const QString total = (points >= 0 ? QStringLiteral(" ") : QString()) + QString::number(points);
    host_->MsgBox(QStringLiteral("Vse v poradku  V levelu je hvezdicek za ") + total +
                  QStringLiteral(" bodu score"));
}

void Form1::closeEvent(QCloseEvent* event) {
    document_.EndStep();
    if (MapChanged() && !host_->AskYesNo(QString::fromLatin1(kDiscardChangesText))) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace zorvik::editor
