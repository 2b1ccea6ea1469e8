// SPDX-License-Identifier: GPL-3.0-or-later
// Prover test levels and the headless game run of a replay.
#include "ProverLevels.h"

#include <gtest/gtest.h>

#include "A_deklarace.h"
#include "C_mainloop.h"
#include "E_load.h"
#include "LevelPlay.h"
#include "LevelSource.h"

namespace zorvik::test {

ProverLevel::ProverLevel(const std::vector<std::string>& rows,
                         const std::vector<std::string>& extra) {
    const auto block = [](const std::vector<std::string>& bottom) {
        std::string text;
        for (size_t r = 0; r < 18; ++r) {
            const size_t from = 18 - bottom.size();
            std::string row = r < from ? "" : bottom[r - from];
            row.resize(50, '.');
            text += row + "\n";
        }
        return text;
    };
    std::string source = "name: test\n[map]\n" + block(rows);
    if (!extra.empty()) source += "[extra]\n" + block(extra);
    const levels::CompiledLevel level = levels::CompileLevelSource(source);
    for (const std::string& e : level.errors)
        ADD_FAILURE() << "test level: " << e;
    const auto texts = levels::MapFileTexts(level.layers);
    dir_.Write("play/test.map", texts[0]);
    dir_.Write("play/test.map.1", texts[1]);
    dir_.Write("play/test.map.2", texts[2]);
    path_ = dir_.File("play/test.map");
}

std::vector<std::string> Stack(const std::vector<std::pair<int, std::string>>& parts) {
    std::vector<std::string> rows;
    for (const auto& [count, row] : parts)
        rows.insert(rows.end(), static_cast<size_t>(count), row);
    return rows;
}

long GameRun::FirstSeen(int column, int mapRow) const {
    const size_t i = static_cast<size_t>(column + kMapCols * mapRow);
    return i < firstSeen.size() ? firstSeen[i] : -1;
}

long GameRun::FirstIn(int column, int mapRow) const {
    for (size_t f = 0; f < trail.size(); ++f)
        if (trail[f] == std::pair<int, int>(column, mapRow)) return static_cast<long>(f);
    return -1;
}

namespace {

// Notes the frame at which each cell's pickup picture (13..58 pixels into the cell) first shows:
// the canvas holds 12 x 10 cells from the camera's cell, and the screen is its window from
// pixel 72 to 712 across and 72 to 552 down.
void NoteCellsInView(std::vector<long>& firstSeen, long frame) {
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 12; ++j) {
            const int x = j * kCell - cameraFineX;
            const int y = i * kCell - cameraFineY;
            const size_t cell = static_cast<size_t>(cameraCol + j + kMapCols * (cameraRow + i));
            if (x + 58 > 72 && x + 13 < 712 && y + 58 > 72 && y + 13 < 552 &&
                cell < firstSeen.size() && firstSeen[cell] < 0)
                firstSeen[cell] = frame;
        }
}

}  // namespace

GameRun PlayInGame(const std::string& tilePath, const Replay& replay) {
    GameHarness game;
    GameRun run;
    if (!OpenTestLevelSet(tilePath).empty()) {
        ADD_FAILURE() << "cannot open " << tilePath;
        return run;
    }
    ReplaySchedule schedule(replay);
    game.onKeyboardRead = [&](dx::HeadlessHost& host) {
        uint8_t keys[256];
        WriteReplayKeys(schedule.OnRead(lastStepTime), keys);
        for (int dik = 0; dik < 256; ++dik)
            host.SetKey(dik, keys[dik] != 0);
    };
    StartTestLevelOnSteadyClock();
    schedule.Start(lastStepTime);
    const long start = game.Host().Frames();
    // Lives are held where they start, as the prover holds them: a doomed level is played on
    // after any number of deaths.
    const int16_t startLives = lives;
    long after = 0;
    run.firstSeen.assign(static_cast<size_t>(kMapCols * kMapRows), -1);
    while (levelLeft == 0 && levelWon == 0 && gameLost == 0 && after < 600) {
        RunLevelFrame();
        NoteCellsInView(run.firstSeen, static_cast<long>(run.trail.size()));
        run.trail.emplace_back(playerCol, playerRow);
        if (lives < startLives) run.deaths += startLives - lives;
        lives = startLives;
        if (schedule.Finished()) ++after;
    }
    run.left = levelLeft != 0;
    run.won = levelWon != 0;
    run.frames = game.Host().Frames() - start;
    run.col = playerCol;
    run.row = playerRow;
    run.beamCharges = beamCharges;
    for (int i = 1; i <= figureEnemyCount && i < static_cast<int>(figureEnemies.size()); ++i)
        run.figuresAlive += figureEnemies[static_cast<size_t>(i)].alive != 0 ? 1 : 0;
    if (stoneCount > 0) {
        run.stoneCol = stones[1].column;
        run.stoneRow = stones[1].row;
    }
    game.onKeyboardRead = nullptr;
    return run;
}

}  // namespace zorvik::test
