// Fuzz target: the editor's File > Open on a set of three layer files. An open either takes
// the whole new map or shows its message and leaves the map in memory as it was.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>

#include "FuzzSupport.h"
#include "editor/A_deklare.h"
#include "editor/EditorHost.h"
#include "editor/Form1.h"

namespace {

using zorvik::editor::CommonDialog;
using zorvik::editor::EditorHost;

// Answers every open dialog with the scratch map set and counts the messages shown.
class FuzzHost : public EditorHost {
  public:
    QString path;
    int messages = 0;
    std::optional<QString> ChooseFile(bool, const CommonDialog&) override { return path; }
    void MsgBox(const QString&) override { ++messages; }
    bool AskYesNo(const QString&) override { return true; }
    void Beep() override {}
};

struct Editor {
    int argc = 1;
    char name[7] = "editor";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> app;
    FuzzHost host;
    std::unique_ptr<zorvik::editor::Form1> form;

    Editor() {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
        form = std::make_unique<zorvik::editor::Form1>(
            &host, QString::fromStdString(zorvik::fuzz::ScratchDir()));
        host.path = QString::fromStdString(zorvik::fuzz::ScratchDir() + "/set.map");
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zorvik::editor;
    static Editor* editor = new Editor();

    const std::string base = zorvik::fuzz::ScratchDir() + "/set.map";
    const std::string paths[3] = {base, base + ".1", base + ".2"};
    const auto parts = zorvik::fuzz::SplitLayers(data, size);
    for (size_t i = 0; i < 3; ++i) {
        std::filesystem::remove(paths[i]);
        if (i < parts.size()) zorvik::fuzz::WriteBytes(paths[i], parts[i]);
    }

    // A recognisable map before the open, to see that a failed open keeps it.
    for (int col = 1; col <= kLastCol; ++col) {
        for (int row = 1; row <= kLastRow; ++row) {
            mapTiles[col][row] = static_cast<int16_t>(col);
            mapSolid[col][row] = static_cast<int16_t>(row);
            mapItems[col][row] = static_cast<int16_t>(col * row);
        }
    }
    static MapLayer tiles;
    static MapLayer solid;
    static MapLayer items;
    std::memcpy(tiles, mapTiles, sizeof tiles);
    std::memcpy(solid, mapSolid, sizeof solid);
    std::memcpy(items, mapItems, sizeof items);

    const int before = editor->host.messages;
    editor->form->Mopen_Click();
    const bool failed = editor->host.messages != before;
    if (failed && (std::memcmp(tiles, mapTiles, sizeof tiles) != 0 ||
                   std::memcmp(solid, mapSolid, sizeof solid) != 0 ||
                   std::memcmp(items, mapItems, sizeof items) != 0)) {
        std::fprintf(stderr, "a failed open changed the map in memory\n");
        std::abort();
    }
    if (!failed && parts.size() < 3) {
        std::fprintf(stderr, "an open without all three files succeeded\n");
        std::abort();
    }
    return 0;
}
