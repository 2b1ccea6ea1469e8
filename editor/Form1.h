// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's window: the controls of the form by name, the File menu, and the event
// handlers named after control and event, with the level check. The map views forward their
// pointer to the current tool; the window wires the views, the tools and the menus together.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <memory>
#include <utility>
#include <vector>

#include "AbstractTool.h"
#include "EditorHost.h"
#include "FormWidgets.h"
#include "LevelCheck.h"
#include "MapDocument.h"
#include "MapView.h"
#include "PictureBox.h"
#include "RecentFiles.h"
#include "TestPlay.h"

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QProgressBar;
class QTimer;

namespace zorvik::editor {

class LevelProver;
class Minimap;
class PalettePanel;
class ToolManager;
class WholeMapView;

class Form1 : public QMainWindow, public ToolContext {
    Q_OBJECT
  public:
    // Builds the controls and runs Form_Load. host null: real dialogs and message boxes.
    // programDir: where data/editor-tiles.bmp lives and where the file dialog starts
    // (empty: the program's own directory).
    explicit Form1(EditorHost* host = nullptr, const QString& programDir = QString());
    ~Form1() override;

    // Controls, named as in the form's design.
    MapView* Level = nullptr;       // map view, 18 x 18 cells
    PictureBox* Vyber = nullptr;    // palette, five slots
    PictureBox* SELEC = nullptr;    // preview of the selected entry
    PictureBox* Hiden = nullptr;    // tile sheet, hidden
    PictureBox* Fialova = nullptr;  // grid colour, hidden
    QPushButton* Nahoru = nullptr;
    QPushButton* Dolu = nullptr;
    QPushButton* Vpravo = nullptr;  // caption "Posun Vlevo": scrolls the view left
    QPushButton* Vlevo = nullptr;   // caption "Posun Vpravo": scrolls the view right
    QPushButton* Command1 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command2 = nullptr;
    QLineEdit* Text1 = nullptr;  // link number
    QLineEdit* Text2 = nullptr;  // enemy speed
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QMenu* Mfile = nullptr;
    QAction* Mclear = nullptr;
    QAction* mcara = nullptr;
    QAction* Mopen = nullptr;
    QAction* mcara2 = nullptr;
    QAction* Msave = nullptr;
    // Recent menu: the map sets opened or saved last, across runs.
    QMenu* Mnedavne = nullptr;
    // Edit menu: undo and redo.
    QMenu* Mupravy = nullptr;
    QAction* Mzpet = nullptr;
    QAction* Mznovu = nullptr;
    // Tools menu: the map tools (ToolManager).
    QMenu* Mnastroje = nullptr;
    // View menu: overlays drawn over the map view only (never into the files).
    QMenu* Mzobrazit = nullptr;
    QAction* Mpevnost = nullptr;  // solid cells tinted; off at start
    QAction* Mbrany = nullptr;    // board gate cells outlined; on at start
    // The views added to the form's own: all 50 columns at once instead of the normal view,
    // the minimap strip under the normal view (both off at start).
    QAction* Mcela = nullptr;
    QAction* Mminimapa = nullptr;
    // The palette panel with all 32 entries (off at start); keys 1..9 pick the entries used
    // last, with it shown or not.
    QAction* Mpaleta = nullptr;
    // Level menu: play the map in the game.
    QMenu* Mlevel = nullptr;
    QAction* Mhrat = nullptr;
    // Shift+F5: test-play from the cell under the pointer, without the level's intro card.
    QAction* MhratOdsud = nullptr;
    // F6: the prover in the background; its cancel; the route it found played in the game;
    // the list of findings (level check and prover).
    QAction* Moverit = nullptr;
    QAction* MzrusitOvereni = nullptr;
    QAction* MhratCestu = nullptr;
    QAction* Mnalezy = nullptr;
    // Ctrl+S: saves to the map's file set without the dialog once the map has a name.
    QAction* QuickSave = nullptr;
    CommonDialog Dialog;

    // Event handlers, run by Qt for the control and event they are named after. Mouse
    // buttons: 1 left, 2 right (sums when several); coordinates in pixels relative to the
    // control; the shift argument is not used.

    // Start-up: white label text, full-screen window, control geometry, hidden Hiden and
    // Fialova, then InitEditor. Run once by the constructor.
    void Form_Load();
    // One map edit at the pressed cell / at the cell under the pointer while a button is held.
    void Level_MouseDown(int button, int shift, double x, double y);
    void Level_MouseMove(int button, int shift, double x, double y);
    // Selects the palette entry in the pressed slot and switches both tools off.
    void Vyber_MouseDown(int button, int shift, double x, double y);
    // Makes palette entry 1..32 the one painted with and switches both tools off, as a press
    // on the palette does (the palette panel and the keys 1..9 pick through it too); the paint
    // tool becomes current.
    void SelectEntry(int entry) override;
    // Palette one entry up / down; map view one column right / left; beep at the limits.
    void Nahoru_Click();
    void Dolu_Click();
    void Vlevo_Click();
    void Vpravo_Click();
    // File menu: empty the map; replace it by a file set; write it to a file set.
    void Mclear_Click();
    void Mopen_Click();
    void Msave_Click();
    // Link tool on; speed tool on; speed tool on and the level check.
    void Command1_Click();
    void Command3_Click();
    void Command2_Click();
    // Counts the level's objects against the game's limits and reports each finding, then
    // one message with every layout finding the game would trip over; or, with neither, the
    // star total. Run only by Command2_Click.
    void CheckLevel();
    // End of a press-drag-release on the map: the edits since the press become one undo step.
    void Level_MouseUp(int button, int shift, double x, double y);
    // Undo and redo of whole steps (the menu items are disabled when there is none).
    void Mzpet_Click();
    void Mznovu_Click();
    // Writes the map to a temporary file set and starts the game on it beside the editor.
    void Mhrat_Click();
    // The same, with the player starting at the hovered cell (zorvik --start COL,ROW
    // --no-card); without a hovered cell it says where to point.
    void MhratOdsud_Click();
    // Writes the map to a temporary set and runs the prover on it in the background; its
    // answer is shown on the map (route, dead ends, unreachable pickups) and in the status bar.
    void MoveritPruchodnost_Click();
    // Ctrl+S: save to the current name without the dialog; with no name yet, as Msave.
    void QuickSave_Click();

    // Opens a map set as the Open command does, without the dialog (for the command line).
    bool OpenMapSet(const QString& path);
    // The same for a path given as the system's bytes, which need not be valid UTF-8.
    bool OpenMapSet(const QByteArray& path);
    // The tile file of the map set last opened or saved; empty for a new map.
    const QString& FileName() const { return document_.Name(); }
    // The game started by test-play; defaults to "zorvik" beside the editor's executable.
    void SetGameProgram(const QString& program);
    const QString& GameProgram() const { return testPlay_.Program(); }
    // The tile file of the last test-play set, for tests; empty before the first.
    const QString& LastPlaySet() const { return testPlay_.LastSet(); }
    // The map cell under the pointer (column 0 when the pointer is off the map).
    MapCell Hovered() const override { return hovered_; }
    MapDocument& Document() override { return document_; }
    // The map tools and the current one (Tools.cpp registers them).
    ToolManager& Tools() { return *tools_; }

    // The findings marked on the map now (level check and prover) and the prover's route.
    const std::vector<MapFinding>& Findings() const { return findings_; }
    const std::vector<MapCell>& Route() const { return route_; }
    // The prover's summary line; empty without an answer.
    QString ProveSummaryText() const;
    bool Proving() const;

    // Whether the map changed since the last open, save or clear.
    bool MapChanged() const { return document_.Modified(); }
    // The directory the editor was started from.
    const QString& ProgramDir() const { return programDir_; }
    EditorHost& Host() { return *host_; }

  protected:
    // Asks before closing over changes made since the last open, save or clear.
    void closeEvent(QCloseEvent* event) override;

  private:
    // The form's design (Form1Design.cpp): controls, menus, the tile sheet.
    void BuildControls();
    void AddToolTips();
    void ConnectControls();
    void BuildMenu();
    bool LoadTileSheet();
    void BuildExtraMenus();

    // ToolContext: what the tools use (and Document and SelectEntry above).
    void MapEdited() override { MapChangedCells(); }
    QString LinkText() const override { return Text1->text(); }
    QString SpeedText() const override { return Text2->text(); }
    void RepaintViews() override;
    void Tell(const QString& text) override;
    QImage CellsPicture(MapCell a, MapCell b) const override;
    // A pointer event of the normal view, in map cells, for the current tool.
    MapPointer PointerAt(int buttons, int shift, double x, double y) const;

    void PrepareDialog();
    // Save MAP with the dialog / to the map's name (with the dialog while it has none) / to
    // `path`; each reports its failure and returns whether the map was written. A cancelled
    // dialog is a failure too, reported unless `quietCancel`.
    bool SaveAs(bool quietCancel = false);
    bool SaveToName();
    bool Save(const QString& path);
    // Before the map is replaced (Clear map, Open, closing): true when nothing unsaved would
    // be lost, or the designer saved it or chose to discard it; false to keep the map.
    bool MaySetMapAside();
    // Redraws the cells the document changed and refreshes the title and the menu.
    void MapChangedCells();
    void UpdateTitle();
    // A set was opened or saved: its folder and the set itself are remembered across runs.
    void Remember(const QString& path);
    // The Recent menu: one entry a remembered set, the most recent first.
    void FillRecentMenu();
    void OpenRecent(const QString& path);
    // Tells why a number box refused what was typed: in the status bar and beside the box.
    void ShowRefusal(QLineEdit& box, const QString& text);
    // The extra views (Form1Views.cpp): built after Form_Load, wired to the tools and the
    // pointer, placed for the chosen view.
    void BuildViews();
    void ArrangeViews();
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The normal view now shows columns first + 1 .. first + 18 (clamped): the minimap's
    // click.
    void ScrollTo(int first);
    // DrawMap after viewScroll changed, and the minimap's frame with it.
    void ShowView();
    // Pointer over the normal view (pixels) or any view (cell): status bar, link highlight.
    void Hover(double x, double y);
    void SetHovered(MapCell cell);
    void RefreshStatus();
    OverlaySettings Overlays() const;
    void Scroll(int paletteSteps, int viewSteps);

    // The prover (Form1Prove.cpp): its menu entries and status-bar controls, its answer on
    // the map, and the findings list.
    void BuildProver();
    void StartProving();
    void ShowProof(const ProveReport& report);
    // The first route, drawn while the whole search goes on.
    void ShowFirstRoute(const ProveReport& report);
    // The search ended without its answer: a first route shown stays, without "hledám".
    void StopProving();
    void ProofFailed(const QString& message);
    void SetCheckFindings(std::vector<MapFinding> findings);
    // The map changed: the findings and the route are no longer true and go.
    void DropFindings();
    void ShowFindings();
    void FillFindingsList();

    std::unique_ptr<EditorHost> ownHost_;
    EditorHost* host_;
    QString programDir_;
    MapDocument document_;
    ToolManager* tools_ = nullptr;
    TestPlay testPlay_;
    RecentFiles recent_;
    MapCell hovered_;
    QPointF pointer_{-1, -1};  // last pointer position over the map view
    QLabel* status_ = nullptr;
    QLabel* toolState_ = nullptr;
    LevelProver* prover_ = nullptr;
    QWidget* proveBusy_ = nullptr;  // the progress bar and the cancel button, while running
    QProgressBar* proveBar_ = nullptr;
    QLabel* proveTime_ = nullptr;  // "Ověřuji… 12 s" beside the bar
    QLabel* proveSummary_ = nullptr;
    QPushButton* findingsButton_ = nullptr;
    QListWidget* findingsList_ = nullptr;
    QTimer* proveClock_ = nullptr;
    std::vector<MapFinding> checkFindings_;
    std::vector<MapFinding> proveFindings_;
    std::vector<MapFinding> findings_;  // both, for the views
    std::vector<MapCell> route_;
    int edits_ = 0;             // map edits so far, to tell a stale answer
    int editsProved_ = 0;       // edits when the running search started
    int firstRouteFrames_ = 0;  // the running search's first route shown; 0 for none
    WholeMapView* wholeView_ = nullptr;
    Minimap* minimap_ = nullptr;
    PalettePanel* palette_ = nullptr;
    // The controls beside the map view with their designed places, moved for the whole map.
    std::vector<std::pair<QWidget*, QPoint>> designed_;
};

// The editor's one window, for the drawing routines; valid while a Form1 exists.
Form1& TheForm();

// The fixed texts of the File commands.
inline const char* const kOpenFailedText = "Chyba nahravani mapy";
inline const char* const kSaveFailedText =
    "Pokud se snazite prepsat puvodni mapy, tak jsou oznacene pouze pro cteni. Jinak chyba pri "
    "ukladani";
// What the number boxes take, and why they refuse the rest (UTF-8). Link numbers are those of
// the game's board table (0: no board); speeds are those of the flexible enemies.
constexpr int kLowestLink = 0;
constexpr int kHighestLink = 19;
constexpr int kFastestSpeed = 1;
constexpr int kSlowestSpeed = 5;
inline const char* const kLinkRefusedText =
    "Číslo propojení musí být od 0 do 19: hra zná prkna 1 až 19, 0 je bez propojení.";
inline const char* const kSpeedRefusedText =
    "Rychlost musí být od 1 (nejrychlejší) do 5 (nejpomalejší).";
// Asked before Clear map, Open or closing would drop unsaved changes (UTF-8).
inline const char* const kUnsavedChangesText =
    "Mapa byla změněna a není uložena. Chcete změny uložit?";

}  // namespace zorvik::editor
