// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the prover's lines and saying them in Czech.
#include "ProveReport.h"

#include <QRegularExpression>
#include <cmath>

namespace zorvik::editor {

namespace {

// "col C row R" at the start of `text`, 1-based; column 0 when it is not there.
MapCell ReadCell(const QString& text, QString* rest = nullptr) {
    static const QRegularExpression cell(QStringLiteral("^col (\\d+) row (\\d+)\\s*(.*)$"));
    const QRegularExpressionMatch match = cell.match(text);
    if (!match.hasMatch()) return {};
    const int col = match.captured(1).toInt();
    const int row = match.captured(2).toInt();
    if (col < 1 || col > kLastCol || row < 1 || row > kLastRow) return {};
    if (rest != nullptr) *rest = match.captured(3);
    return {col, row};
}

QString PickupName(const QString& kind) {
    if (kind == QLatin1String("star")) return QString::fromUtf8("hvězda");
    if (kind == QLatin1String("bonus")) return QString::fromUtf8("bonus");
    if (kind == QLatin1String("big-bonus")) return QString::fromUtf8("velký bonus");
    if (kind == QLatin1String("refill")) return QString::fromUtf8("náboje paprsku");
    return kind;
}

// The map cells of "C,R C,R ...", those outside the map left out.
std::vector<MapCell> ReadRouteCells(const QString& text) {
    std::vector<MapCell> cells;
    for (const QString& pair : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList parts = pair.split(QLatin1Char(','));
        if (parts.size() != 2) continue;
        const MapCell cell{parts[0].toInt(), parts[1].toInt()};
        if (cell.col >= 1 && cell.col <= kLastCol && cell.row >= 1 && cell.row <= kLastRow)
            cells.push_back(cell);
    }
    return cells;
}

// Seconds of game time in `frames`, whole.
long GameSeconds(int frames) {
    return std::lround(frames / 60.0);
}

}  // namespace

ProveReport ParseProveOutput(const QString& output) {
    ProveReport report;
    static const QRegularExpression finishYes(QStringLiteral("^finish: yes (\\d+) frames"));
    static const QRegularExpression search(QStringLiteral("^search: .*, ([0-9.]+) s, (.*)$"));
    static const QRegularExpression firstRoute(QStringLiteral("^first-route: (\\d+) frames"));
    for (const QString& raw : output.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (const QRegularExpressionMatch yes = finishYes.match(line); yes.hasMatch()) {
            report.finishable = true;
            report.routeFrames = yes.captured(1).toInt();
        } else if (line.startsWith(QLatin1String("route:"))) {
            report.route = ReadRouteCells(line.mid(6));
        } else if (const QRegularExpressionMatch first = firstRoute.match(line); first.hasMatch()) {
            report.firstRouteFrames = first.captured(1).toInt();
        } else if (line.startsWith(QLatin1String("first-route-cells:"))) {
            report.firstRoute = ReadRouteCells(line.mid(18));
        } else if (line.startsWith(QLatin1String("furthest: "))) {
            report.furthest = ReadCell(line.mid(10));
        } else if (line.startsWith(QLatin1String("dead-end: "))) {
            QString rest;
            ProveReport::DeadEnd dead{ReadCell(line.mid(10), &rest), false, {}};
            if (dead.cell.col == 0) continue;
            dead.trapped = rest.startsWith(QLatin1String("trapped"));
            dead.reason = rest.section(QLatin1Char(' '), 1);
            report.deadEnds.push_back(dead);
        } else if (line.startsWith(QLatin1String("unreachable: "))) {
            const QString kind = line.mid(13).section(QLatin1Char(' '), 0, 0);
            const MapCell cell = ReadCell(line.mid(13).section(QLatin1Char(' '), 1));
            if (cell.col != 0) report.unreachable.push_back({kind, cell});
        } else if (line.startsWith(QLatin1String("fault: "))) {
            report.faults << line.mid(7);
        } else if (const QRegularExpressionMatch s = search.match(line); s.hasMatch()) {
            report.searched = true;
            report.seconds = s.captured(1);
            report.budgetStopped = s.captured(2).startsWith(QLatin1String("budget"));
        }
    }
    return report;
}

QString ProveSummary(const ProveReport& report) {
    QString text =
        report.finishable
            ? QString::fromUtf8("Level je průchozí: %1 s").arg(GameSeconds(report.routeFrames))
            : QString::fromUtf8("Level nelze dokončit");
    if (!report.deadEnds.empty())
        text += QString::fromUtf8(", slepé uličky: %1").arg(report.deadEnds.size());
    if (!report.unreachable.empty())
        text += QString::fromUtf8(", nedosažitelné předměty: %1").arg(report.unreachable.size());
    if (!report.faults.isEmpty())
        text += QString::fromUtf8(", chyby: %1").arg(report.faults.size());
    if (report.budgetStopped)
        text += QString::fromUtf8(" (hledání zastavil časový limit, výsledek není úplný)");
    return text;
}

QString FirstRouteSummary(int frames, bool searching) {
    return QString::fromUtf8(searching ? "Cesta nalezena: %1 s, hledám slepé uličky…"
                                       : "Cesta nalezena: %1 s (slepé uličky nehledány)")
        .arg(GameSeconds(frames));
}

QString DeadEndReason(const QString& reason) {
    static const struct {
        const char* english;
        const char* czech;
    } kReasons[] = {
        {"stone against a shut gate", "kámen u zavřené brány"},
        {"stone below a ledge it cannot cross", "kámen pod římsou, přes kterou nepřejde"},
        {"stone pushed out of reach", "kámen odstrčený, kam se nedá dostat"},
        {"pit with no way out", "jáma bez východu"},
        {"no refill left for a figure that must be shot",
         "nezbyly náboje na panáka, kterého je nutné zastřelit"},
        {"a beam shot wasted", "zbytečně vystřelený paprsek"},
        {"a signpost moved the restart point out of reach",
         "rozcestník přesunul návrat po smrti tam, odkud se nedá dojít"},
    };
    for (const auto& known : kReasons)
        if (reason == QLatin1String(known.english)) return QString::fromUtf8(known.czech);
    return reason;
}

std::vector<MapFinding> ProveFindings(const ProveReport& report) {
    std::vector<MapFinding> findings;
    for (const ProveReport::DeadEnd& dead : report.deadEnds) {
        findings.push_back({MapFinding::Kind::DeadEnd, dead.cell,
                            QString::fromUtf8("Slepá ulička (%1): %2")
                                .arg(dead.trapped ? QString::fromUtf8("hráč uvízne")
                                                  : QString::fromUtf8("každý další život marný"),
                                     DeadEndReason(dead.reason))});
    }
    for (const ProveReport::Pickup& pickup : report.unreachable) {
        findings.push_back({MapFinding::Kind::Unreachable, pickup.cell,
                            QString::fromUtf8("Nedosažitelné: %1").arg(PickupName(pickup.kind))});
    }
    if (!report.finishable && report.furthest.col != 0) {
        findings.push_back({MapFinding::Kind::Furthest, report.furthest,
                            QString::fromUtf8("Sem nejdál se hráč dostane")});
    }
    for (const QString& fault : report.faults)
        findings.push_back({MapFinding::Kind::Fault, {}, QString::fromUtf8("Chyba: ") + fault});
    return findings;
}

}  // namespace zorvik::editor
