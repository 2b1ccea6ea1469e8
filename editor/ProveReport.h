// SPDX-License-Identifier: GPL-3.0-or-later
// What `zorvik --prove` said about a map, read from its output lines, and the findings it
// gives for the map views and the findings list.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "MapDocument.h"

namespace zorvik::editor {

// One finding with its cell, from the level check or the prover.
struct MapFinding {
    enum class Kind { Check, DeadEnd, Unreachable, Furthest, Fault };
    Kind kind = Kind::Check;
    MapCell cell;  // column 0: about the whole level
    QString text;  // Czech, one line
};

struct ProveReport {
    bool finishable = false;
    int routeFrames = 0;
    std::vector<MapCell> route;  // the cells the route passes, in order
    MapCell furthest;            // without a route: the furthest cell reached
    struct DeadEnd {
        MapCell cell;
        bool trapped = false;  // cannot even die; otherwise doomed
        QString reason;        // as the prover says it
    };
    std::vector<DeadEnd> deadEnds;
    struct Pickup {
        QString kind;  // star, bonus, big-bonus, refill
        MapCell cell;
    };
    std::vector<Pickup> unreachable;
    QStringList faults;
    // The first route, told before the whole search (--first-route); empty when not told.
    int firstRouteFrames = 0;
    std::vector<MapCell> firstRoute;
    QString seconds;  // the search's time, as printed
    bool budgetStopped = false;
    bool searched = false;  // the search line was there
};

// Reads the prover's standard output; lines it does not know are skipped.
ProveReport ParseProveOutput(const QString& output);

// The one-line summary: "Level je průchozí: 41 s" (the route's length in game time) or
// "Level nelze dokončit", with the dead ends, unreachable pickups and a stopped search.
QString ProveSummary(const ProveReport& report);

// The first route's summary: while the whole search goes on, "Cesta nalezena: 29 s, hledám
// slepé uličky…"; after it was cancelled or failed, "Cesta nalezena: 29 s (slepé uličky
// nehledány)".
QString FirstRouteSummary(int frames, bool searching);

// The report's findings, for the map and the findings list: dead ends, unreachable pickups,
// the furthest cell of a level that cannot be finished, faults.
std::vector<MapFinding> ProveFindings(const ProveReport& report);

// A dead end's reason in Czech (the prover's own words when it is not a known one).
QString DeadEndReason(const QString& reason);

}  // namespace zorvik::editor
