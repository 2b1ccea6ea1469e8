// SPDX-License-Identifier: GPL-3.0-or-later
// The prover's command line and its report: `zorvik --prove PATH [--route FILE] [--seconds N]
// [--first-route]` (and `mapc --prove`), one finding per line.
#pragma once

#include <cstdio>
#include <string>

#include "Search.h"

namespace zorvik {

// The report, one line a finding:
//   finish: yes N frames            (then "route: C,R C,R ..." with the cells the route passes)
//   finish: no                      (then "furthest: col C row R")
//   dead-end: col C row R trapped|doomed WHAT
//   unreachable: star|bonus|big-bonus|refill col C row R
//   fault: TEXT                     (the game stopped on an error, or the route did not replay)
//   search: N states, T s, complete|merged WHAT|budget
std::string FormatProveReport(const ProveResult& result);

// With --first-route, before the report, as soon as the quick search's route is proven:
//   first-route: N frames
//   first-route-cells: C,R C,R ...
std::string FormatFirstRoute(const ProveResult& first);

// Exit status of a report: 0 proven clean (finishable, searched to its end, no finding), 1
// otherwise.
int ProveStatus(const ProveResult& result);

// Called by main for --prove: searches the set, prints the report on `out`, writes the route
// (and each dead end's replay as ROUTE.dead-end-K) when routePath is given. With `firstRoute`,
// the first route found is printed (and written as ROUTE.first) before the whole search. A set
// that cannot be read gives one line on `err` and status 2.
int RunProveCommand(const std::string& tilePath, const std::string& routePath, int seconds,
                    bool firstRoute, std::FILE* out, std::FILE* err);

}  // namespace zorvik
