// SPDX-License-Identifier: GPL-3.0-or-later
// The form's design: its controls with their geometry, captions, fonts and tooltips, the
// connections from their events to the handlers, the menus and the tile sheet.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "A_deklare.h"
#include "Form1.h"
#include "NumberBox.h"
#include "RegularFile.h"
#include "ToolManager.h"

namespace zorvik::editor {

namespace {

const QColor kGrey(128, 128, 128);

}  // namespace

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
    Level = new MapView(client);
    Level->setObjectName(QStringLiteral("Level"));
    Level->SetGeometry(0, 0, 542, 542);
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
    // The boxes take only what the map can use: link numbers of the game's board table, speeds
    // 1 to 5.
    MakeNumberBox(*Text1, kLowestLink, kHighestLink,
                  [this] { ShowRefusal(*Text1, QString::fromUtf8(kLinkRefusedText)); });
    MakeNumberBox(*Text2, kFastestSpeed, kSlowestSpeed,
                  [this] { ShowRefusal(*Text2, QString::fromUtf8(kSpeedRefusedText)); });
    // The scroll buttons repeat while held.
    for (QPushButton* scroll : {Nahoru, Dolu, Vlevo, Vpravo})
        scroll->setAutoRepeat(true);
    // The map view takes the focus on a click (for the arrow keys) and follows the pointer
    // without a button (for the status bar and the link highlight).
    Level->setFocusPolicy(Qt::ClickFocus);
    Level->setMouseTracking(true);
    Level->SetOverlaySettings([this] { return Overlays(); });
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    statusBar()->addWidget(status_, 1);
    // What a click on the map does now: the current tool, or the paint tool's state.
    toolState_ = new QLabel(this);
    toolState_->setObjectName(QStringLiteral("toolState"));
    statusBar()->addPermanentWidget(toolState_);
}

// The controls' events reach the handlers named after them.
void Form1::ConnectControls() {
    // The current tool learns of Shift, Ctrl and Alt with the pointer events.
    connect(Level, &PictureBox::MouseDown, this, [this](int b, int s, double x, double y) {
        tools_->ModifiersChanged(s);
        Level_MouseDown(b, s, x, y);
    });
    connect(Level, &PictureBox::MouseMove, this, [this](int b, int s, double x, double y) {
        tools_->ModifiersChanged(s);
        Level_MouseMove(b, s, x, y);
        Hover(x, y);
    });
    connect(Level, &PictureBox::MouseUp, this,
            [this](int b, int s, double x, double y) { Level_MouseUp(b, s, x, y); });
    connect(Level, &PictureBox::PointerLeft, this, [this] {
        tools_->MouseLeft();
        Hover(-1, -1);
    });
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
    connect(Command1, &QPushButton::clicked, this, [this] {
        Command1_Click();
        RefreshStatus();
    });
    connect(Command3, &QPushButton::clicked, this, [this] {
        Command3_Click();
        RefreshStatus();
    });
    connect(tools_, &ToolManager::CurrentChanged, this, [this] { RefreshStatus(); });
    connect(Command2, &QPushButton::clicked, this, [this] {
        Command2_Click();
        RefreshStatus();
    });
}

// Every button and box says what it does and which keys do the same.
void Form1::AddToolTips() {
    auto tip = [](QWidget* widget, const char* text) {
        widget->setToolTip(QString::fromUtf8(text));
    };
    tip(Vyber, "Paleta: klepnutím vyberete, čím se kreslí (vypne propojování i rychlost)");
    tip(SELEC, "Vybraná položka palety");
    tip(Nahoru, "Paleta o položku nahoru (Page Up, kolečko myši nad paletou)");
    tip(Dolu, "Paleta o položku dolů (Page Down, kolečko myši nad paletou)");
    tip(Vpravo, "Mapa o sloupec doleva (šipka vlevo, kolečko myši nad mapou)");
    tip(Vlevo, "Mapa o sloupec doprava (šipka vpravo, kolečko myši nad mapou)");
    tip(Command1,
        "Propojování: klepnutí na plošinku nebo prkno mu zapíše číslo z pole pod tlačítkem; "
        "plošinka ovládá prkno se stejným číslem");
    tip(Text1, "Číslo propojení 0 až 19 (0: bez propojení)");
    tip(Command3,
        "Rychlost: klepnutí na ohebného nepřítele mu nastaví rychlost z pole pod tlačítkem");
    tip(Text2, "Rychlost ohebných nepřátel: 1 nejrychlejší až 5 nejpomalejší");
    tip(Command2, "Spočítá objekty proti limitům hry a vypíše, co by hře v levelu vadilo");
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
    Mnedavne = menuBar()->addMenu(QString::fromUtf8("Nedávné"));
    Mnedavne->setObjectName(QStringLiteral("Mnedavne"));
    Mnedavne->setToolTipsVisible(true);
    FillRecentMenu();

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
    // The tools' commands (cut, copy, paste, ...) under undo and redo.
    Mupravy->addSeparator();
    for (QAction* command : tools_->CommandActions())
        Mupravy->addAction(command);
    connect(tools_, &ToolManager::CommandAdded, Mupravy,
            [this](QAction* command) { Mupravy->addAction(command); });

    // One entry a map tool, with its key.
    Mnastroje = menuBar()->addMenu(QString::fromUtf8("Nástroje"));
    Mnastroje->setObjectName(QStringLiteral("Mnastroje"));
    for (QAction* tool : tools_->Actions())
        Mnastroje->addAction(tool);
    connect(tools_, &ToolManager::ToolAdded, Mnastroje,
            [this](QAction* tool) { Mnastroje->addAction(tool); });

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
    MhratOdsud = Mlevel->addAction(QString::fromUtf8("Hrát odsud (pole pod ukazatelem)"));
    MhratOdsud->setObjectName(QStringLiteral("MhratOdsud"));
    MhratOdsud->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F5));
    connect(MhratOdsud, &QAction::triggered, this, [this] { MhratOdsud_Click(); });

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
        QFile::encodeName(programDir_ + QLatin1String(kTileSheetFile)).toStdString(),
        files::kMaxPictureBytes);
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

}  // namespace zorvik::editor
