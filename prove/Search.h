// SPDX-License-Identifier: GPL-3.0-or-later
// The prover's search: every way a level can be played, found by running the game's own frame
// code from the level's start over the key combinations a player can hold, changed at the
// player's steps. It answers whether the level can be finished (and by which route), where it
// can become unwinnable, and which pickups nobody can reach.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Replay.h"

namespace zorvik {

struct ProveOptions {
    double seconds = 60.0;        // time budget
    long maxStates = 20'000'000;  // state budget (about 1 GB of search)
    // Stop at the first route (for the benchmark's "first route" figure).
    bool stopAtFirstRoute = false;
    // With stopAtFirstRoute: search over StateKeys::RouteKey, much coarser than the states.
    bool coarseRoute = false;
    // While an animation runs, a jump may start on every n-th frame of it (1: on every step).
    int jumpEvery = 0;
    // Key enemies near the player by their exact position and phase (see StateKeys).
    bool exactEnemies = false;
    // Key every board by its exact height, even where nobody can tell it (see StateKeys).
    bool exactBoards = false;
    // Search from where these keys lead from the level's start instead of from the start itself.
    const Replay* startFrom = nullptr;
};

// A map cell, 1-based as the editor shows it.
struct Cell {
    int col = 0;
    int row = 0;
    bool operator==(const Cell&) const = default;
};

struct DeadEnd {
    Cell where;            // the cell of the push, shot or fall that made it
    bool trapped = false;  // the player cannot even die there
    std::string what;      // what made it so
    long frames = 0;       // frames from the start to the moment it was sealed
    Replay replay;         // keys that lead into it from the level's start
};

struct Pickup {
    Cell where;
    int code = 0;  // 40, 51, 52 or 53
};

struct ProveResult {
    bool finishable = false;
    long routeFrames = 0;          // frames from the start to the exit or goal
    Replay route;                  // the shortest route found, without a death
    std::vector<Cell> routeCells;  // the cells the route passes, in order
    bool routeVerified = false;    // the route reached the exit when played from a fresh start
    Cell furthest;                 // when it cannot be finished: the cell nearest the exit
    std::vector<DeadEnd> deadEnds;
    std::vector<Pickup> unreachable;
    long states = 0;
    long framesPlayed = 0;  // frames the search ran, checks included
    double seconds = 0.0;
    bool budgetStopped = false;
    std::string merged;                     // what the states merge, "" when nothing
    std::vector<std::string> gameMessages;  // message boxes the game showed while searched

    // Proven clean: finishable, the search ran to its end, no dead end, every pickup reachable.
    bool Clean() const {
        return finishable && routeVerified && !budgetStopped && deadEnds.empty() &&
               unreachable.empty();
    }
};

// Called with the quick search's route, proven from a fresh start, before the whole search
// begins: the editor shows it while the rest of the answer is still being searched.
using FirstRouteFound = std::function<void(const ProveResult&)>;

// Searches the map set whose tile file is tilePath. Throws std::runtime_error when the set
// cannot be read. `firstRoute`, when given, hears of the first route as soon as it is proven.
ProveResult ProveLevel(const std::string& tilePath, const ProveOptions& options,
                       const FirstRouteFound& firstRoute = {});

}  // namespace zorvik
