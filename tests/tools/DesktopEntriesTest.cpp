// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop entries and AppStream metainfo that ship with the programs: each names the ids,
// window classes and icons the programs really use, speaks English with Czech translations, and
// lists both programs among the games.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "DesktopIds.h"
#include "TestPaths.h"

namespace {

using zorvik::test::FileBytes;
using zorvik::test::SourceDir;

struct Program {
    const char* id;
    const char* command;  // the installed program, whose name X11 takes as the window class
    const char* windowClass;
};

const Program kPrograms[] = {
    {zorvik::desktop::kGameId, "zorvik", zorvik::desktop::kGameWindowClass},
    {zorvik::desktop::kEditorId, "zorvik-editor", zorvik::desktop::kEditorWindowClass},
};

// The keys of a desktop entry's [Desktop Entry] group.
std::map<std::string, std::string> DesktopKeys(const std::string& text) {
    std::map<std::string, std::string> keys;
    std::istringstream lines(text);
    std::string line;
    bool inEntry = false;
    while (std::getline(lines, line)) {
        if (!line.empty() && line[0] == '[') inEntry = line == "[Desktop Entry]";
        const size_t equals = line.find('=');
        if (inEntry && equals != std::string::npos)
            keys[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return keys;
}

bool IsPlainAscii(const std::string& text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) > 127) return false;
    return true;
}

TEST(DesktopEntries, EachEntryNamesTheIdClassIconAndProgramItsWindowsUse) {
    for (const Program& program : kPrograms) {
        SCOPED_TRACE(program.id);
        const std::string text = FileBytes(SourceDir() + "/packaging/" + program.id + ".desktop");
        ASSERT_FALSE(text.empty());
        auto keys = DesktopKeys(text);
        EXPECT_EQ(keys["Icon"], program.id);
        EXPECT_EQ(keys["StartupWMClass"], program.windowClass);
        EXPECT_EQ(keys["Exec"].substr(0, keys["Exec"].find(' ')), program.command);
        EXPECT_EQ(keys["Categories"].rfind("Game;", 0), 0u) << "listed among the games";
    }
}

TEST(DesktopEntries, TextsAreEnglishWithCzechTranslations) {
    for (const Program& program : kPrograms) {
        SCOPED_TRACE(program.id);
        auto keys = DesktopKeys(FileBytes(SourceDir() + "/packaging/" + program.id + ".desktop"));
        for (const char* key : {"Name", "GenericName", "Comment", "Keywords"}) {
            SCOPED_TRACE(key);
            ASSERT_FALSE(keys[key].empty());
            EXPECT_TRUE(IsPlainAscii(keys[key])) << keys[key];
            if (keys[key] != "Zorvik") {  // a name is the same in every language
                EXPECT_FALSE(keys[std::string(key) + "[cs]"].empty());
            }
        }
    }
}

TEST(DesktopEntries, MetainfoNamesTheEntryTheProgramAndTheLicence) {
    for (const Program& program : kPrograms) {
        SCOPED_TRACE(program.id);
        const std::string xml =
            FileBytes(SourceDir() + "/packaging/" + program.id + ".metainfo.xml.in");
        ASSERT_FALSE(xml.empty());
        const std::string id = program.id;
        EXPECT_NE(xml.find("<id>" + id + "</id>"), std::string::npos);
        EXPECT_NE(xml.find("<launchable type=\"desktop-id\">" + id + ".desktop</launchable>"),
                  std::string::npos);
        EXPECT_NE(xml.find("<binary>" + std::string(program.command) + "</binary>"),
                  std::string::npos);
        EXPECT_NE(xml.find("<project_license>GPL-3.0-or-later</project_license>"),
                  std::string::npos);
        EXPECT_NE(xml.find("<summary xml:lang=\"cs\">"), std::string::npos);
        EXPECT_NE(xml.find("<screenshot type=\"default\">"), std::string::npos);
    }
    // The player fires a beam at enemies.
    const std::string game =
        FileBytes(SourceDir() + "/packaging/" + zorvik::desktop::kGameId + ".metainfo.xml.in");
    EXPECT_NE(game.find("<content_attribute id=\"violence-cartoon\">mild</content_attribute>"),
              std::string::npos);
}

}  // namespace
