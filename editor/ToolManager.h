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
    // The tools' actions in the order added, for the Tools menu.
    const std::vector<QAction*>& Actions() const { return actions_; }

    // Forwarded to the current tool.
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

  private:
    std::vector<std::unique_ptr<AbstractTool>> tools_;
    std::vector<QAction*> actions_;
    QActionGroup* group_;
    size_t current_ = 0;
    int modifiers_ = 0;
};

// Adds every map tool to `tools`, the default one first. Defined in Tools.cpp: a new tool is
// one file and one line there.
void RegisterTools(ToolManager& tools, ToolContext& context);

}  // namespace zorvik::editor
