// SPDX-License-Identifier: GPL-3.0-or-later
// The base of the map tools: what a view tells the current tool (the pointer over a map cell,
// its buttons and modifier keys) and what a tool may use (the document and a few settings of
// the window). A tool edits the map only through the document's undo gateway.
#pragma once

#include <QImage>
#include <QKeySequence>
#include <QString>
#include <functional>
#include <vector>

#include "MapDocument.h"
#include "MapOverlay.h"

class QPainter;

namespace zorvik::editor {

// The pointer over a map view, in map cells. `cell.col` is 0 when the point is off the map
// cells the view shows. Buttons and modifiers use the handlers' codes (PictureBox.h).
struct MapPointer {
    MapCell cell;
    int buttons = 0;    // pressed or released: that button; moved: the buttons held
    int modifiers = 0;  // 1 Shift, 2 Ctrl, 4 Alt
    bool OnMap() const { return cell.col != 0; }
};

// The cells of the straight line from `from` to `to`, both included, in order; each one
// column, one row or both away from the one before (Bresenham's line).
std::vector<MapCell> CellLine(MapCell from, MapCell to);

// What the window offers its tools.
class ToolContext {
  public:
    virtual ~ToolContext() = default;
    virtual MapDocument& Document() = 0;
    // Called after a tool changed cells through the document: redraws them in every view and
    // refreshes the title, the menu and the status bar.
    virtual void MapEdited() = 0;
    // The texts of the link-number box (Text1) and of the speed box (Text2).
    virtual QString LinkText() const = 0;
    virtual QString SpeedText() const = 0;
    // Picks palette entry 1..32 as a press on the palette does.
    virtual void SelectEntry(int entry) = 0;
    // The tool's preview changed: the map views paint again.
    virtual void RepaintViews() = 0;
    // The map cell under the pointer in either view (column 0: none).
    virtual MapCell Hovered() const = 0;
    // The picture of the cells from corner `a` to corner `b` as the views draw them, 30 pixels
    // a cell with the grid (for a paste's preview).
    virtual QImage CellsPicture(MapCell a, MapCell b) const = 0;
    // A short note in the status bar (a pick that found nothing, a link refused).
    virtual void Tell(const QString& text) = 0;
};

// A command a tool offers in the Edit menu, with its key (copy, paste, ...).
struct ToolCommand {
    QString name;
    QKeySequence key;
    std::function<void()> run;
};

class AbstractTool {
  public:
    AbstractTool(ToolContext& context, QString name, QString statusText,
                 QKeySequence shortcut = {});
    virtual ~AbstractTool() = default;
    AbstractTool(const AbstractTool&) = delete;
    AbstractTool& operator=(const AbstractTool&) = delete;

    // Czech name (menu entry), status-bar text while active, and the key that chooses it.
    const QString& Name() const { return name_; }
    virtual QString StatusText() const { return statusText_; }
    const QKeySequence& Shortcut() const { return shortcut_; }
    // What the status bar names while the tool is current (the name, or the tool's state).
    virtual QString StateText() const { return name_; }
    // The tool's commands for the Edit menu (none by default).
    virtual std::vector<ToolCommand> Commands() { return {}; }

    // While the default tool is current, a press this tool takes (e.g. Shift + drag for the
    // rectangle) goes to this tool with its drag and release: a gesture of its own.
    virtual bool TakesGesture(const MapPointer& /*press*/) const { return false; }
    // True while the tool holds the pointer whatever tool is current (a paste following the
    // pointer until a click): it then gets every pointer event.
    virtual bool HoldsPointer() const { return false; }

    // The tool becomes current / stops being current (the tool manager calls these).
    virtual void Activate() {}
    virtual void Deactivate() {}
    // The pointer entered / left a map view.
    virtual void MouseEntered() {}
    virtual void MouseLeft() {}
    // Events of a map view, forwarded while the tool is current.
    virtual void MousePressed(const MapPointer& pointer) = 0;
    virtual void MouseMoved(const MapPointer& pointer) = 0;
    virtual void MouseReleased(const MapPointer& pointer) = 0;
    // A key while a map view has the focus; true when the tool used it.
    virtual bool KeyPressed(int /*key*/, int /*modifiers*/) { return false; }
    // Shift, Ctrl or Alt went down or up while the tool is current.
    virtual void ModifiersChanged(int /*modifiers*/) {}
    // Draws the tool's preview over a map view, on screen only, after the overlays: `view`
    // says which columns it shows, in cells 30 pixels apart (CellInterior) in the painter's
    // coordinates, whatever the view's scale.
    virtual void PaintPreview(QPainter& /*painter*/, const ViewColumns& /*view*/) const {}

  protected:
    ToolContext& Context() { return context_; }
    MapDocument& Document() { return context_.Document(); }

  private:
    ToolContext& context_;
    QString name_;
    QString statusText_;
    QKeySequence shortcut_;
};

}  // namespace zorvik::editor
