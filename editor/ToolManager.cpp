// SPDX-License-Identifier: GPL-3.0-or-later
// The tool list, the current tool and the forwarding of view events to it.
#include "ToolManager.h"

#include <QAction>
#include <QActionGroup>

namespace zorvik::editor {

ToolManager::ToolManager(QObject* parent) : QObject(parent), group_(new QActionGroup(this)) {
    group_->setExclusive(true);
}

ToolManager::~ToolManager() = default;

void ToolManager::Add(std::unique_ptr<AbstractTool> tool) {
    auto* action = new QAction(tool->Name(), group_);
    action->setCheckable(true);
    action->setShortcut(tool->Shortcut());
    action->setStatusTip(tool->StatusText());
    action->setChecked(tools_.empty());
    AbstractTool* added = tool.get();
    connect(action, &QAction::triggered, this, [this, added] { Select(*added); });
    tools_.push_back(std::move(tool));
    actions_.push_back(action);
    if (tools_.size() == 1) tools_.front()->Activate();
    emit ToolAdded(action);
}

void ToolManager::Select(AbstractTool& tool) {
    for (size_t i = 0; i < tools_.size(); ++i) {
        if (tools_[i].get() != &tool) continue;
        actions_[i]->setChecked(true);
        if (i == current_) return;
        tools_[current_]->Deactivate();
        current_ = i;
        tool.Activate();
        emit CurrentChanged();
        return;
    }
}

void ToolManager::MousePressed(const MapPointer& pointer) {
    Current().MousePressed(pointer);
}

void ToolManager::MouseMoved(const MapPointer& pointer) {
    Current().MouseMoved(pointer);
}

void ToolManager::MouseReleased(const MapPointer& pointer) {
    Current().MouseReleased(pointer);
}

void ToolManager::MouseLeft() {
    Current().MouseLeft();
}

void ToolManager::ModifiersChanged(int modifiers) {
    if (modifiers == modifiers_) return;
    modifiers_ = modifiers;
    Current().ModifiersChanged(modifiers);
}

}  // namespace zorvik::editor
