// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's window: the event handlers of the map view, the palette, the scroll and tool
// buttons and the File menu, the level check, saving and the questions before work is lost.
#include "Form1.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QToolTip>
#include <cmath>

#include "A_deklare.h"
#include "B_do.h"
#include "GameLocation.h"
#include "LevelFolder.h"
#include "MapSetFiles.h"
#include "PalettePanel.h"
#include "ToolManager.h"
#include "WholeMapView.h"

namespace zorvik::editor {

namespace {

Form1* theForm = nullptr;

}  // namespace

Form1& TheForm() {
    return *theForm;
}

Form1::Form1(EditorHost* host, const QString& programDir)
    : Dialog(nullptr),
      ownHost_(host == nullptr ? std::make_unique<QtEditorHost>(this) : nullptr),
      host_(host == nullptr ? ownHost_.get() : host),
      programDir_(programDir.isEmpty() ? ProgramDataFolder() : programDir),
      testPlay_(*host_),
      recent_(host_->Settings()) {
    theForm = this;
    Dialog = CommonDialog(host_);
    ResetEditorState();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    tools_ = new ToolManager(this);
    RegisterTools(*tools_, *this);
    BuildControls();
    AddToolTips();
    ConnectControls();
    BuildMenu();
    BuildExtraMenus();
    const bool sheetLoaded = LoadTileSheet();
    Form_Load();
    BuildViews();
    BuildProver();
    RefreshStatus();
    if (!sheetLoaded) {
        host_->MsgBox(QStringLiteral("Chybi obrazek dlazdic ") +
                      QDir::toNativeSeparators(programDir_ + QLatin1String(kTileSheetFile)) +
                      QStringLiteral(" - editor kresli nahradni obrazky."));
    }
}

Form1::~Form1() {
    if (theForm == this) theForm = nullptr;
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

void Form1::Level_MouseDown(int button, int shift, double x, double y) {
    tools_->MousePressed(PointerAt(button, shift, x, y));
}

void Form1::Level_MouseMove(int button, int shift, double x, double y) {
    tools_->MouseMoved(PointerAt(button, shift, x, y));
}

void Form1::Level_MouseUp(int button, int shift, double x, double y) {
    tools_->MouseReleased(PointerAt(button, shift, x, y));
    UpdateTitle();
}

MapPointer Form1::PointerAt(int buttons, int shift, double x, double y) const {
    return MapPointer{MapView::CellAt(x, y), buttons, shift};
}

void Form1::Vyber_MouseDown(int, int, double, double y) {
    // Only the five slots count: the drawing area is 74 x 370 pixels.
    if (y < 0 || y >= kSlotPitch * kPaletteSlots) return;
    const int cell = static_cast<int>(std::floor(y / kSlotPitch)) + paletteTop;
    SelectEntry(cell + 1);
}

void Form1::SelectEntry(int entry) {
    const int cell = entry - 1;
    selectedEntry = static_cast<int16_t>(entry);
    SELEC->BitBlt(1, 1, kSheetCell, kSheetCell, Hiden, kSheetCell * (cell % kSheetCols),
                  kSheetCell * (cell / kSheetCols), kSrcCopy);
    linkMode = kFalse;
    speedMode = kFalse;
    if (palette_ != nullptr) palette_->Used(entry);
    // A picked entry is for painting: the paint tool becomes current.
    tools_->SelectDefault();
    RefreshStatus();
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
    ShowView();
}

void Form1::Vpravo_Click() {
    --viewScroll;
    if (viewScroll < 0) {
        viewScroll = 0;
        host_->Beep();
    }
    ShowView();
}

// ---- File menu ----

void Form1::PrepareDialog() {
    Dialog.CancelError = true;
    Dialog.InitDir = DefaultLevelFolder(programDir_);
    const QString lastFolder = recent_.LastFolder();
    if (!lastFolder.isEmpty()) Dialog.InitDir = lastFolder;
    Dialog.Filter = QStringLiteral("Zorvik MAP file|*.map");
}

// Clear map starts a new, unnamed map; it is one undo step, so Zpět brings the old map back.
void Form1::Mclear_Click() {
    if (!MaySetMapAside()) return;
    static const MapLayer empty{};
    document_.ReplaceAll(empty, empty, empty, QString());
    DropFindings();
    viewScroll = 0;
    ShowView();
    document_.TakeChangedCells();
    wholeView_->Redraw();
    document_.MarkSaved();
    UpdateTitle();
    RefreshStatus();
}

void Form1::Mopen_Click() {
    if (!MaySetMapAside()) return;
    PrepareDialog();
    if (!Dialog.ShowOpen() || !OpenMapSet(Dialog.FileName)) {
        host_->MsgBox(QString::fromLatin1(kOpenFailedText));
    }
}

void Form1::OpenRecent(const QString& path) {
    if (!MaySetMapAside()) return;
    if (!OpenMapSet(path)) {
        host_->MsgBox(QString::fromLatin1(kOpenFailedText));
        recent_.Remove(path);
        FillRecentMenu();
    }
}

bool Form1::OpenMapSet(const QString& path) {
    return OpenMapSet(QFile::encodeName(path));
}

bool Form1::OpenMapSet(const QByteArray& path) {
    if (!ReadMapSet(path, document_)) return false;
    if (!document_.Name().isEmpty()) Remember(document_.Name());
    DropFindings();
    update();
    viewScroll = 0;
    ShowView();
    document_.TakeChangedCells();
    wholeView_->Redraw();
    document_.MarkSaved();
    UpdateTitle();
    RefreshStatus();
    return true;
}

void Form1::Msave_Click() {
    SaveAs();
}

void Form1::QuickSave_Click() {
    SaveToName();
}

bool Form1::SaveAs(bool quietCancel) {
    PrepareDialog();
    if (!Dialog.ShowSave()) {
        if (!quietCancel) host_->MsgBox(QString::fromLatin1(kSaveFailedText));
        return false;
    }
    if (!Save(Dialog.FileName)) return false;
    update();
    viewScroll = 0;
    ShowView();
    return true;
}

bool Form1::SaveToName() {
    if (document_.Name().isEmpty()) return SaveAs();
    return Save(document_.Name());
}

bool Form1::Save(const QString& path) {
    const WriteResult result = WriteMapSet(path);
    if (!result.written) {
        host_->MsgBox(QString::fromLatin1(kSaveFailedText) + QString::fromUtf8("\n\nPříčina: ") +
                      result.cause);
        return false;
    }
    // Only a folder that took the files is offered again.
    Remember(path);
    document_.SetName(path);
    document_.MarkSaved();
    UpdateTitle();
    return true;
}

bool Form1::MaySetMapAside() {
    document_.EndStep();
    if (!MapChanged()) return true;
    switch (host_->AskSaveChanges(QString::fromUtf8(kUnsavedChangesText))) {
        case SaveChoice::Save:
            // A cancelled dialog here only keeps the map: no failure to report.
            return document_.Name().isEmpty() ? SaveAs(true) : Save(document_.Name());
        case SaveChoice::Discard:
            return true;
        case SaveChoice::Cancel:
            break;
    }
    return false;
}

void Form1::Remember(const QString& path) {
    const QFileInfo file(path);
    recent_.SetLastFolder(file.absolutePath());
    recent_.Add(file.absoluteFilePath());
    FillRecentMenu();
}

void Form1::FillRecentMenu() {
    Mnedavne->clear();
    const QStringList files = recent_.Files();
    if (files.isEmpty()) Mnedavne->addAction(QString::fromUtf8("(zatím žádné)"))->setEnabled(false);
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QFileInfo file(files[i]);
        QAction* item = Mnedavne->addAction(
            QStringLiteral("&%1 %2   %3")
                .arg(i + 1)
                .arg(file.fileName(), QDir::toNativeSeparators(file.absolutePath())));
        item->setToolTip(QDir::toNativeSeparators(files[i]));
        connect(item, &QAction::triggered, this, [this, path = files[i]] { OpenRecent(path); });
    }
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
    if (!cells.empty()) DropFindings();
    Level->ShowChangedCells(cells);
    wholeView_->ShowChangedCells(cells);
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
    testPlay_.Start();
}

void Form1::MoveritPruchodnost_Click() {
    document_.EndStep();
    StartProving();
}

void Form1::MhratOdsud_Click() {
    document_.EndStep();
    if (hovered_.col == 0) {
        host_->MsgBox(QString::fromUtf8(kPlayFromWhereText));
        return;
    }
    testPlay_.Start({QStringLiteral("--start"),
                     QStringLiteral("%1,%2").arg(hovered_.col).arg(hovered_.row),
                     QStringLiteral("--no-card")});
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

void Form1::ShowRefusal(QLineEdit& box, const QString& text) {
    constexpr int kShownMs = 6000;
    statusBar()->showMessage(text, kShownMs);
    QToolTip::showText(box.mapToGlobal(QPoint(0, box.height())), text, &box, QRect(), kShownMs);
}

void Form1::Hover(double x, double y) {
    pointer_ = QPointF(x, y);
    SetHovered(MapView::CellAt(x, y));
}

void Form1::SetHovered(MapCell cell) {
    if (cell != hovered_) {
        Level->HoverMoved(hovered_, cell);
        wholeView_->HoverMoved(hovered_, cell);
        hovered_ = cell;
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
        for (const MapFinding& finding : findings_)
            if (finding.cell == c) text += QStringLiteral("   ") + finding.text;
    }
    if (status_->text() != text) status_->setText(text);
    const QString tool = tools_->Current().StateText();
    if (toolState_ != nullptr && toolState_->text() != tool) toolState_->setText(tool);
}

void Form1::Tell(const QString& text) {
    constexpr int kShownMs = 6000;
    statusBar()->showMessage(text, kShownMs);
}

OverlaySettings Form1::Overlays() const {
    return OverlaySettings{Mpevnost != nullptr && Mpevnost->isChecked(),
                           Mbrany != nullptr && Mbrany->isChecked(), hovered_, &findings_, &route_};
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

    // Then what the game itself would trip over, all in one message, and each on its cell.
    SetCheckFindings(LayoutFindings());
    const QString findings = LayoutFindingsText();
    if (!findings.isEmpty()) {
        host_->MsgBox(findings);
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
    if (!MaySetMapAside()) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace zorvik::editor
