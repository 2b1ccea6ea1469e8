// SPDX-License-Identifier: GPL-3.0-or-later
// The layout findings of the level check, through the rules the level compiler uses too.
#include "LevelCheck.h"

#include <vector>

#include "A_deklare.h"
#include "LevelRules.h"

namespace zorvik::editor {

namespace {

// The layout findings of the map as it is now.
std::vector<levelrules::Finding> CurrentFindings() {
    levelrules::Layer tiles(levelrules::kCells);
    levelrules::Layer solid(levelrules::kCells);
    levelrules::Layer items(levelrules::kCells);
    for (int row = 1; row <= kLastRow; ++row) {
        for (int col = 1; col <= kLastCol; ++col) {
            const auto i = static_cast<size_t>(levelrules::CellIndex(col, row));
            tiles[i] = mapTiles[col][row];
            solid[i] = mapSolid[col][row];
            items[i] = mapItems[col][row];
        }
    }
    return levelrules::CheckLevel(tiles, solid, items);
}

}  // namespace

std::vector<MapFinding> LayoutFindings() {
    std::vector<MapFinding> marks;
    for (const levelrules::Finding& finding : CurrentFindings()) {
        marks.push_back({MapFinding::Kind::Check, MapCell{finding.column, finding.row},
                         QString::fromStdString(levelrules::FindingText(finding))});
    }
    return marks;
}

QString LayoutFindingsText() {
    const std::vector<levelrules::Finding> findings = CurrentFindings();
    if (findings.empty()) return {};
    QString text = QString::fromLatin1(kFurtherFindingsText);
    for (const levelrules::Finding& finding : findings)
        text += QLatin1Char('\n') + QString::fromStdString(levelrules::FindingText(finding));
    return text;
}

QStringList MissingForPlay() {
    bool start = false;
    bool end = false;
    for (int row = 1; row <= kLastRow; ++row) {
        for (int col = 1; col <= kLastCol; ++col) {
            const int item = mapItems[col][row];
            start = start || item == 998 || item == 999;
            end = end || item == 997 || item == 900;
        }
    }
    QStringList missing;
    if (!start) missing << QString::fromUtf8("startovní pozice Zorvik flašky (998 nebo 999)");
    if (!end) missing << QString::fromUtf8("východ (997) nebo cíl hry (900)");
    return missing;
}

}  // namespace zorvik::editor
