// SPDX-License-Identifier: GPL-3.0-or-later
// The undo stack of the map: steps of cell changes with their old and new values.
#include "MapDocument.h"

#include <algorithm>
#include <array>
#include <utility>

namespace zorvik::editor {

void MapDocument::BeginStep() {
    EndStep();
    stepOpen_ = true;
}

void MapDocument::EndStep() {
    stepOpen_ = false;
    if (!open_.changes.empty()) Push(std::move(open_));
    open_ = Step{};
}

void MapDocument::SetCell(MapLayer& layer, int col, int row, int16_t value) {
    const int16_t before = layer[col][row];
    if (before == value) return;
    if (!stepOpen_) BeginStep();
    // A drag over the same cell again keeps the first old value and the last new one.
    bool merged = false;
    for (Change& change : open_.changes) {
        if (change.layer == &layer && change.col == col && change.row == row) {
            change.after = value;
            merged = true;
            break;
        }
    }
    if (!merged) {
        open_.changes.push_back(
            Change{&layer, static_cast<int16_t>(col), static_cast<int16_t>(row), before, value});
    }
    layer[col][row] = value;
    Touch(col, row);
}

void MapDocument::ReplaceAll(const MapLayer& tiles, const MapLayer& solid, const MapLayer& items,
                             const QString& name) {
    EndStep();
    const std::array<std::pair<MapLayer*, const MapLayer*>, 3> layers{
        {{&mapTiles, &tiles}, {&mapSolid, &solid}, {&mapItems, &items}}};
    Step step;
    step.renames = true;
    step.nameBefore = name_;
    step.nameAfter = name;
    name_ = name;
    for (int col = 0; col < kMapCols; ++col) {
        for (int row = 0; row < kMapRows; ++row) {
            for (const auto& [layer, from] : layers) {
                const int16_t value = (*from)[col][row];
                if ((*layer)[col][row] == value) continue;
                step.changes.push_back(Change{layer, static_cast<int16_t>(col),
                                              static_cast<int16_t>(row), (*layer)[col][row],
                                              value});
                (*layer)[col][row] = value;
                Touch(col, row);
            }
        }
    }
    if (!step.changes.empty() || step.nameBefore != step.nameAfter) Push(std::move(step));
}

bool MapDocument::CanUndo() const {
    return done_ > 0 || !open_.changes.empty();
}

bool MapDocument::CanRedo() const {
    return done_ < steps_.size() && open_.changes.empty();
}

bool MapDocument::Undo() {
    EndStep();
    if (done_ == 0) return false;
    --done_;
    Apply(steps_[done_], false);
    return true;
}

bool MapDocument::Redo() {
    EndStep();
    if (done_ >= steps_.size()) return false;
    Apply(steps_[done_], true);
    ++done_;
    return true;
}

void MapDocument::MarkSaved() {
    EndStep();
    // An unnamed map has no file to be overwritten: every cleared state stays one.
    if (!name_.isEmpty()) {
        std::erase_if(saved_, [this](const SavedState& state) { return state.name == name_; });
    }
    saved_.push_back(SavedState{done_, name_});
}

bool MapDocument::Modified() const {
    if (!open_.changes.empty()) return true;
    return std::none_of(saved_.begin(), saved_.end(), [this](const SavedState& state) {
        return state.done == done_ && state.name == name_;
    });
}

std::vector<MapCell> MapDocument::TakeChangedCells() {
    for (const MapCell& cell : changed_)
        changedMark_[static_cast<size_t>(cell.col * kMapRows + cell.row)] = 0;
    return std::exchange(changed_, {});
}

void MapDocument::Push(Step step) {
    // A new step after undoing drops the steps that were undone, and with them the saved
    // states they led to.
    steps_.resize(done_);
    std::erase_if(saved_, [this](const SavedState& state) { return state.done > done_; });
    steps_.push_back(std::move(step));
    ++done_;
}

void MapDocument::Apply(const Step& step, bool forward) {
    if (step.renames) name_ = forward ? step.nameAfter : step.nameBefore;
    if (forward) {
        for (const Change& change : step.changes) {
            (*change.layer)[change.col][change.row] = change.after;
            Touch(change.col, change.row);
        }
    } else {
        for (auto it = step.changes.rbegin(); it != step.changes.rend(); ++it) {
            (*it->layer)[it->col][it->row] = it->before;
            Touch(it->col, it->row);
        }
    }
}

void MapDocument::Touch(int col, int row) {
    uint8_t& mark = changedMark_[static_cast<size_t>(col * kMapRows + row)];
    if (mark != 0) return;
    mark = 1;
    changed_.push_back(MapCell{col, row});
}

}  // namespace zorvik::editor
