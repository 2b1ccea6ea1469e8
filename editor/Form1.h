// The editor's window: the controls of the form by name, the File menu, and the event
// handlers named after control and event, with the level check.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <memory>

#include "EditorHost.h"
#include "PictureBox.h"

class QAction;
class QMenu;

namespace zorvik::editor {

// A push button whose caption wraps onto several lines, as the narrow tool buttons need.
class WrapButton : public QPushButton {
    Q_OBJECT
  public:
    WrapButton(const QString& caption, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

class Form1 : public QMainWindow {
    Q_OBJECT
  public:
    // Builds the controls and runs Form_Load. host null: real dialogs and message boxes.
    // programDir: where data/editor-tiles.bmp lives and where the file dialog starts
    // (empty: the program's own directory).
    explicit Form1(EditorHost* host = nullptr, const QString& programDir = QString());
    ~Form1() override;

    // Controls, named as in the form's design.
    PictureBox* Level = nullptr;    // map view, 18 x 18 cells
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
    // Counts the level's objects against the game's limits and reports each finding, or the
    // star total, in a message box. Run only by Command2_Click.
    void CheckLevel();

    // Whether the map changed since the last open, save or clear.
    bool MapChanged() const { return mapChanged_; }
    // The directory the editor was started from.
    const QString& ProgramDir() const { return programDir_; }
    EditorHost& Host() { return *host_; }

  protected:
    // Asks before discarding changes made since the last open, save or clear.
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildControls();
    void BuildMenu();
    bool LoadTileSheet();
    void MapEdit(int button, double x, double y, bool press);
    void PrepareDialog();
    bool ReadMapSet(const QString& path);
    bool WriteMapSet(const QString& path);

    std::unique_ptr<EditorHost> ownHost_;
    EditorHost* host_;
    QString programDir_;
    bool mapChanged_ = false;
};

// The editor's one window, for the drawing routines; valid while a Form1 exists.
Form1& TheForm();

// The fixed texts of the File commands.
inline const char* const kOpenFailedText = "Chyba nahravani mapy";
inline const char* const kSaveFailedText =
    "Pokud se snazite prepsat puvodni mapy, tak jsou oznacene pouze pro cteni. Jinak chyba pri "
    "ukladani";
// Asked when the window is closed with unsaved changes.
inline const char* const kDiscardChangesText =
    "Mapa byla zmenena a neni ulozena. Zavrit editor a zmeny zahodit?";

}  // namespace zorvik::editor
