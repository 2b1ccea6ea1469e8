// SPDX-License-Identifier: GPL-3.0-or-later
// The map tools and which one is current: the views forward their pointer events here, and
// each tool has a checkable menu action (with its shortcut) that makes it current.
#pragma once

#include <QObject>
#include <memory>
#include <vector>

#include "AbstractTool.h"

class QAction;
class QActionGroup;

namespace zorvik::editor {

class ToolManager : public QObject {
    Q_OBJECT
  public:
    explicit ToolManager(QObject* parent = nullptr);
    ~ToolManager() override;

    // Adds a tool with its action; the first tool added becomes current.
    void Add(std::unique_ptr<AbstractTool> tool);
    AbstractTool& Current() { return *tools_[current_]; }
    // Makes `tool` (one of those added) current: the old one is deactivated first.
    void Select(AbstractTool& tool);
    // Makes the default tool (the first added, painting) current.
    void SelectDefault() { Select(*tools_.front()); }
    // The tools' actions in the order added, for the Tools menu.
    const std::vector<QAction*>& Actions() const { return actions_; }
    // The tools' commands as actions, for the Edit menu.
    const std::vector<QAction*>& CommandActions() const { return commands_; }
    // Every tool draws its preview (a selection, a rectangle being dragged) over a map view.
    void PaintPreviews(QPainter& painter, const ViewColumns& view) const;

    // Forwarded to the tool holding the pointer, else to the tool whose gesture a press
    // started, else to the current tool.
    void MousePressed(const MapPointer& pointer);
    void MouseMoved(const MapPointer& pointer);
    void MouseReleased(const MapPointer& pointer);
    void MouseLeft();
    void ModifiersChanged(int modifiers);

  signals:
    // Another tool became current.
    void CurrentChanged();
    // A tool was added; its action belongs in the Tools menu.
    void ToolAdded(QAction* action);
    // A tool's command was added; it belongs in the Edit menu.
    void CommandAdded(QAction* command);

  private:
    // Where a pointer event goes; `press` for a press, which may start a gesture.
    AbstractTool& Target(const MapPointer* press);

    std::vector<std::unique_ptr<AbstractTool>> tools_;
    std::vector<QAction*> actions_;
    std::vector<QAction*> commands_;
    AbstractTool* gesture_ = nullptr;  // the tool that got the press being dragged
    QActionGroup* group_;
    size_t current_ = 0;
    int modifiers_ = 0;
};

// Adds every map tool to `tools`, the default one first. Defined in Tools.cpp: a new tool is
// one file and one line there.
void RegisterTools(ToolManager& tools, ToolContext& context);

}  // namespace zorvik::editor
