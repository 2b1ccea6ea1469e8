// SPDX-License-Identifier: GPL-3.0-or-later
// What the editor benchmarks share: a host that asks nothing, and a full map.
#pragma once

#include <QSettings>
#include <QTemporaryDir>
#include <optional>

#include "editor/A_deklare.h"
#include "editor/EditorHost.h"

namespace zorvik::bench {

// Discards at every question and cancels every dialog.
class QuietHost : public editor::EditorHost {
  public:
    std::optional<QString> ChooseFile(bool, const editor::CommonDialog&) override {
        return std::nullopt;
    }
    void MsgBox(const QString&) override {}
    editor::SaveChoice AskSaveChanges(const QString&) override {
        return editor::SaveChoice::Discard;
    }
    void Beep() override {}
    QSettings& Settings() override { return settings_; }

  private:
    QTemporaryDir settingsDir_;
    QSettings settings_{settingsDir_.filePath("editor.conf"), QSettings::IniFormat};
};

// Every cell of the map holds a tile; stones, walking enemies with their speed labels and
// links are scattered over it.
inline void FillEditorMap() {
    using namespace editor;
    for (int c = 1; c <= 50; ++c) {
        for (int r = 1; r <= 18; ++r) {
            mapTiles[c][r] = static_cast<int16_t>(1 + (c * 7 + r * 3) % 17);
            mapSolid[c][r] = static_cast<int16_t>(r >= 12 ? 1 : 0);
            int16_t item = 0;
            if ((c + r) % 5 == 0) item = 40;
            if ((c * r) % 11 == 0) item = static_cast<int16_t>(41 + (c + r) % 10);
            if ((c + 2 * r) % 13 == 0) item = static_cast<int16_t>(20 + c % 20);
            mapItems[c][r] = item;
        }
    }
}

}  // namespace zorvik::bench
