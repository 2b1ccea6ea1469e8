// SPDX-License-Identifier: GPL-3.0-or-later
// The prover's report and command.
#include "ProveCommand.h"

#include <charconv>
#include <exception>
#include <fstream>
#include <vector>

namespace zorvik {

namespace {

std::string CellText(const Cell& c) {
    return "col " + std::to_string(c.col) + " row " + std::to_string(c.row);
}

std::string PickupName(int code) {
    switch (code) {
        case 40:
            return "star";
        case 51:
            return "bonus";
        case 52:
            return "big-bonus";
        default:
            return "refill";
    }
}

// Seconds with one decimal, a point whatever the locale.
std::string Seconds(double s) {
    char text[32];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, s, std::chars_format::fixed, 1);
    return ec == std::errc() ? std::string(text, end) : "?";
}

bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

// The cells a route passes, as "C,R C,R ...", each after a space.
std::string CellsText(const std::vector<Cell>& cells) {
    std::string text;
    for (const Cell& c : cells)
        text += ' ' + std::to_string(c.col) + ',' + std::to_string(c.row);
    return text;
}

bool WriteRoute(const std::string& path, const ProveResult& r) {
    return WriteText(path, FormatReplay(r.route, "# route found by zorvik --prove: " +
                                                     std::to_string(r.routeFrames) + " frames\n"));
}

}  // namespace

std::string FormatProveReport(const ProveResult& r) {
    std::string text;
    if (r.finishable && r.routeVerified) {
        text += "finish: yes " + std::to_string(r.routeFrames) + " frames\n";
        text += "route:" + CellsText(r.routeCells) + '\n';
    } else {
        text += "finish: no\n";
        text += "furthest: " + CellText(r.furthest) + '\n';
    }
    if (r.finishable && !r.routeVerified) {
        text +=
            "fault: the route the search found missed the exit when played from a fresh "
            "start\n";
    }
    for (const std::string& m : r.gameMessages)
        text += "fault: the game stopped: " + m + '\n';
    for (const DeadEnd& d : r.deadEnds) {
        text += "dead-end: " + CellText(d.where) + (d.trapped ? " trapped " : " doomed ") + d.what +
                '\n';
    }
    for (const Pickup& p : r.unreachable)
        text += "unreachable: " + PickupName(p.code) + ' ' + CellText(p.where) + '\n';
    text += "search: " + std::to_string(r.states) + " states, " + Seconds(r.seconds) + " s, ";
    if (r.budgetStopped) {
        text += "budget";
    } else if (r.merged.empty()) {
        text += "complete";
    } else {
        text += "merged " + r.merged;
    }
    text += '\n';
    return text;
}

std::string FormatFirstRoute(const ProveResult& first) {
    return "first-route: " + std::to_string(first.routeFrames) +
           " frames\nfirst-route-cells:" + CellsText(first.routeCells) + '\n';
}

int ProveStatus(const ProveResult& result) {
    return result.Clean() && result.gameMessages.empty() ? 0 : 1;
}

int RunProveCommand(const std::string& tilePath, const std::string& routePath, int seconds,
                    bool firstRoute, std::FILE* out, std::FILE* err) {
    ProveOptions options;
    if (seconds > 0) options.seconds = seconds;
    // The first route goes out at once; a route file that cannot be written is told at the end.
    bool firstWritten = true;
    FirstRouteFound tellFirst;
    if (firstRoute) {
        tellFirst = [&](const ProveResult& first) {
            if (!routePath.empty()) firstWritten = WriteRoute(routePath + ".first", first);
            std::fputs(FormatFirstRoute(first).c_str(), out);
            std::fflush(out);
        };
    }
    ProveResult result;
    try {
        result = ProveLevel(tilePath, options, tellFirst);
    } catch (const std::exception& e) {
        std::fprintf(err, "zorvik: %s\n", e.what());
        return 2;
    }
    std::fputs(FormatProveReport(result).c_str(), out);
    std::fflush(out);
    if (!routePath.empty()) {
        bool written = firstWritten;
        if (result.finishable) written = WriteRoute(routePath, result) && written;
        for (size_t k = 0; k < result.deadEnds.size(); ++k) {
            const DeadEnd& d = result.deadEnds[k];
            written = written && WriteText(routePath + ".dead-end-" + std::to_string(k + 1),
                                           FormatReplay(d.replay, "# into the dead end at " +
                                                                      CellText(d.where) + ": " +
                                                                      d.what + "\n"));
        }
        if (!written) {
            std::fprintf(err, "zorvik: cestu nelze zapsat do %s\n", routePath.c_str());
            return 2;
        }
    }
    return ProveStatus(result);
}

}  // namespace zorvik
