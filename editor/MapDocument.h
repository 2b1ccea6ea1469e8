// SPDX-License-Identifier: GPL-3.0-or-later
// The one place where the map layers change: every edit is recorded as a step on an undo
// stack, and the stack remembers which step was last saved and which file the map belongs to.
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "A_deklare.h"

namespace zorvik::editor {

// A map cell, column 0..50 and row 0..18.
struct MapCell {
    int col = 0;
    int row = 0;
    bool operator==(const MapCell&) const = default;
};

class MapDocument {
  public:
    // Starts a step: every SetCell until EndStep belongs to it (a press, its drag and its
    // release). An open step is closed first.
    void BeginStep();
    // Closes the open step; a step that changed nothing is dropped.
    void EndStep();
    // Writes one cell of one of the three layers, recording its old value in the open step
    // (a step is opened when none is). Writing the value a cell already holds records nothing.
    void SetCell(MapLayer& layer, int col, int row, int16_t value);
    // Replaces every cell of the three layers (columns 0..50, rows 0..18) as one step, as
    // Clear map and Open do; the map then belongs to `name` (empty: a new map). Undoing the
    // step gives the map back its earlier name, so a later save goes where that map came from.
    void ReplaceAll(const MapLayer& tiles, const MapLayer& solid, const MapLayer& items,
                    const QString& name);

    // The tile file the map belongs to; empty for a new map.
    const QString& Name() const { return name_; }
    // After a save under a new name.
    void SetName(const QString& name) { name_ = name; }

    bool CanUndo() const;
    bool CanRedo() const;
    // Take back / apply again the last step; false when there is none.
    bool Undo();
    bool Redo();

    // The map as it is now is the one in its file (after an open or a save), or a new empty
    // map with nothing to lose (after Clear map, unnamed). A save replaces the file, so the
    // other states that held what the file held no longer do.
    void MarkSaved();
    // Whether the map differs from what its file holds: false in every state marked saved
    // under the map's current name, also when undo or redo lead back to one.
    bool Modified() const;

    // Cells written since the last call (by edits, undo or redo), each once, for redrawing.
    std::vector<MapCell> TakeChangedCells();

  private:
    struct Change {
        MapLayer* layer;
        int16_t col;
        int16_t row;
        int16_t before;
        int16_t after;
    };
    struct Step {
        std::vector<Change> changes;
        bool renames = false;  // Clear map and Open: the map changes its file
        QString nameBefore;
        QString nameAfter;
    };

    void Push(Step step);
    void Apply(const Step& step, bool forward);
    void Touch(int col, int row);

    // A state (a value of done_) that equals the file it is named after.
    struct SavedState {
        size_t done;
        QString name;
    };

    std::vector<Step> steps_;
    size_t done_ = 0;  // steps_[0..done_) are applied
    std::vector<SavedState> saved_{SavedState{0, QString()}};
    Step open_;
    bool stepOpen_ = false;
    QString name_;
    std::vector<MapCell> changed_;
    std::vector<uint8_t> changedMark_ = std::vector<uint8_t>(kMapCols * kMapRows, 0);
};

}  // namespace zorvik::editor
