// SPDX-License-Identifier: GPL-3.0-or-later
// The tool list, the current tool and the forwarding of view events to it.
#include "ToolManager.h"

#include <QAction>
#include <QActionGroup>
#include <utility>

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
    for (ToolCommand& command : added->Commands()) {
        auto* commandAction = new QAction(command.name, this);
        commandAction->setShortcut(command.key);
        connect(commandAction, &QAction::triggered, this, std::move(command.run));
        commands_.push_back(commandAction);
        emit CommandAdded(commandAction);
    }
}

void ToolManager::PaintPreviews(QPainter& painter, const ViewColumns& view) const {
    for (const auto& tool : tools_)
        tool->PaintPreview(painter, view);
}

AbstractTool& ToolManager::Target(const MapPointer* press) {
    if (gesture_ != nullptr) return *gesture_;
    for (const auto& tool : tools_)
        if (tool->HoldsPointer()) return *tool;
    if (press != nullptr && current_ == 0) {
        for (size_t i = 1; i < tools_.size(); ++i)
            if (tools_[i]->TakesGesture(*press)) return *tools_[i];
    }
    return Current();
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
    AbstractTool& target = Target(&pointer);
    gesture_ = &target;
    target.MousePressed(pointer);
}

void ToolManager::MouseMoved(const MapPointer& pointer) {
    Target(nullptr).MouseMoved(pointer);
}

void ToolManager::MouseReleased(const MapPointer& pointer) {
    AbstractTool& target = Target(nullptr);
    gesture_ = nullptr;
    target.MouseReleased(pointer);
}

void ToolManager::MouseLeft() {
    Target(nullptr).MouseLeft();
}

void ToolManager::ModifiersChanged(int modifiers) {
    if (modifiers == modifiers_) return;
    modifiers_ = modifiers;
    Current().ModifiersChanged(modifiers);
}

}  // namespace zorvik::editor
