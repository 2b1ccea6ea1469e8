// SPDX-License-Identifier: GPL-3.0-or-later
// Level > Ověřit průchodnost (F6) with a stand-in game that prints the prover's lines, and once
// with the real game on a tiny level: the route, dead ends and unreachable pickups on both map
// views until the next edit, the summary, the findings list, cancelling, a refused set, an
// answer for a map changed meanwhile, and "Hrát cestu".
#include <signal.h>

#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include "EditorFixture.h"
#include "editor/LevelProver.h"
#include "editor/ProveReport.h"
#include "editor/WholeMapView.h"

namespace zorvik::editor::test {
namespace {

const QColor kRoute(0, 230, 64);
const QColor kDeadEnd(255, 32, 32);
const QColor kUnreachable(255, 0, 255);

// What the stand-in prints: a route along row 17, a dead end and an unreachable star.
const char* const kFoundLines =
    "finish: yes 2431 frames\n"
    "route: 2,17 3,17 4,17 5,17 6,16 7,16\n"
    "dead-end: col 10 row 17 doomed stone against a shut gate\n"
    "unreachable: star col 12 row 5\n"
    "search: 1834 states, 0.4 s, complete\n";

class ProveTest : public ActiveEditorTest {
  protected:
    void SetUp() override {
        ActiveEditorTest::SetUp();
        mapItems[2][17] = 999;
        mapItems[9][17] = 997;
        PressSlot(0);
        host.runPrograms = true;
    }
    // A stand-in game: notes its arguments and its process number (moved into place whole, so
    // the test never reads a half-written one), writes a route file where --route says (and,
    // with `first` lines, the first route's beside it, then prints them), prints `lines`, and
    // ends with `status` after `wait` seconds.
    void StandIn(const QByteArray& lines, int status, double wait = 0,
                 const QByteArray& first = {}) {
        const QString game = Path("zorvik");
        const QByteArray tellFirst =
            first.isEmpty() ? QByteArray()
                            : "echo '2 -' > \"$4.first\"\nprintf '%s' '" + first + "'\n";
        WriteAll(game, "#!/bin/sh\necho \"$@\" > \"" + Path("args").toUtf8() + "\"\necho $$ > \"" +
                           Path("pid.new").toUtf8() + "\"\nmv \"" + Path("pid.new").toUtf8() +
                           "\" \"" + Path("pid").toUtf8() + "\"\necho '1 -' > \"$4\"\n" +
                           tellFirst + "sleep " + QByteArray::number(wait) + "\nprintf '%s' '" +
                           lines + "'\nexit " + QByteArray::number(status) + "\n");
        QFile::setPermissions(game, QFile::ReadOwner | QFile::ExeOwner);
        form->SetGameProgram(game);
    }
    void F6() { QTest::keyClick(form.get(), Qt::Key_F6); }
    bool WaitForAnswer() {
        return QTest::qWaitFor([this] { return !form->Proving(); }, 10000);
    }
    QColor Shown(QPoint at) { return form->Level->grab().toImage().pixelColor(at); }
    QString Summary() { return form->findChild<QLabel*>("proveSummary")->text(); }
    QString CellStatus() { return form->findChild<QLabel*>("status")->text(); }
};

TEST_F(ProveTest, TheAnswerIsDrawnOnBothViewsAndGoesAtTheNextEdit) {
    StandIn(kFoundLines, 1);
    F6();
    ASSERT_TRUE(WaitForAnswer());
    ASSERT_TRUE(host.messages.empty());
    const QStringList args = QString::fromUtf8(ReadAll(Path("args"))).trimmed().split(' ');
    ASSERT_EQ(args.size(), 7);
    EXPECT_EQ(args[0], "--prove");
    EXPECT_EQ(args[2], "--route");
    EXPECT_EQ(args.mid(4), (QStringList{"--first-route", "--seconds", "300"}));
    EXPECT_EQ(QFileInfo(args[1]).path(), QFileInfo(args[3]).path());
    EXPECT_TRUE(ReadAll(args[1] + ".2").contains("999"));  // the map as it is now

    EXPECT_EQ(
        Summary(),
        QString::fromUtf8("Level je průchozí: 41 s, slepé uličky: 1, nedosažitelné předměty: 1"));
    // The route through the cells' centres, the dead end framed, the star crossed out.
    EXPECT_EQ(Shown(CellCentre(3, 17) + QPoint(7, 0)), kRoute);
    EXPECT_EQ(Shown(CellCentre(10, 17) - QPoint(12, 0)), kDeadEnd);
    EXPECT_EQ(Shown(CellCentre(12, 5)), kUnreachable);
    EXPECT_NE(Shown(CellCentre(10, 10)), kRoute);
    // Pointing at the dead end names its reason.
    SendMove(form->Level, CellCentre(10, 17), Qt::NoButton);
    EXPECT_TRUE(CellStatus().contains(QString::fromUtf8("kámen u zavřené brány")))
        << CellStatus().toStdString();
    // The whole map shows the same, also beyond the normal view's columns.
    QTest::keyClick(form.get(), Qt::Key_M, Qt::ControlModifier);
    auto* whole = form->findChild<WholeMapView*>("WholeMap");
    const double size = whole->CellSize();
    EXPECT_EQ(whole->grab().toImage().pixelColor(
                  QPoint(static_cast<int>(size * 11.5), static_cast<int>(size * 4.5))),
              kUnreachable);
    QTest::keyClick(form.get(), Qt::Key_M, Qt::ControlModifier);

    // Hrát cestu plays the route on the prover's set.
    ASSERT_TRUE(form->MhratCestu->isEnabled());
    const size_t started = host.started.size();
    form->MhratCestu->trigger();
    ASSERT_EQ(host.started.size(), started + 1);
    EXPECT_EQ(host.started.back().mid(1), (QStringList{"--level", args[1], "--replay", args[3]}));

    // The next edit takes the answer away.
    QTest::mouseClick(form->Level, Qt::LeftButton, {}, CellCentre(15, 3));
    EXPECT_TRUE(Summary().isEmpty());
    EXPECT_TRUE(form->Findings().empty());
    EXPECT_NE(Shown(CellCentre(3, 17) + QPoint(7, 0)), kRoute);
    EXPECT_NE(Shown(CellCentre(12, 5)), kUnreachable);
    EXPECT_FALSE(form->MhratCestu->isEnabled());
}

TEST_F(ProveTest, ASearchRunsInTheBackgroundAndCanBeCancelled) {
    StandIn(kFoundLines, 1, 60);
    F6();
    ASSERT_TRUE(form->Proving());
    auto* bar = form->findChild<QProgressBar*>("proveBar");
    EXPECT_TRUE(bar->isVisible());
    // The seconds run beside the bar (a busy bar draws no text of its own).
    auto* seconds = form->findChild<QLabel*>("proveTime");
    EXPECT_TRUE(seconds->isVisible());
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return seconds->text() == QString::fromUtf8("Ověřuji… 1 s"); }, 3000))
        << seconds->text().toStdString();
    // The editor stays usable meanwhile.
    QTest::mouseClick(form->Level, Qt::LeftButton, {}, CellCentre(15, 3));
    EXPECT_EQ(mapTiles[15][3], 1);
    ASSERT_TRUE(QTest::qWaitFor([this] { return QFile::exists(Path("pid")); }, 5000));
    const pid_t pid = static_cast<pid_t>(ReadAll(Path("pid")).trimmed().toInt());
    ASSERT_GT(pid, 0);
    QTest::mouseClick(form->findChild<QPushButton*>("proveCancel"), Qt::LeftButton);
    EXPECT_FALSE(form->Proving());
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([pid] { return ::kill(pid, 0) != 0; }, 5000));
    EXPECT_TRUE(Summary().isEmpty());
    EXPECT_TRUE(host.messages.empty());

    // F6 again on a map the game cannot play: the running search ends, nothing new starts.
    QFile::remove(Path("pid"));
    F6();
    ASSERT_TRUE(QTest::qWaitFor([this] { return QFile::exists(Path("pid")); }, 5000));
    const pid_t second = static_cast<pid_t>(ReadAll(Path("pid")).trimmed().toInt());
    ASSERT_GT(second, 0);
    mapItems[9][17] = 0;  // no exit
    F6();
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_FALSE(form->Proving());
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([second] { return ::kill(second, 0) != 0; }, 5000));
}

// The first route is drawn, summed up and playable while the search goes on; a cancel keeps it
// without "hledám"; a whole answer replaces it.
TEST_F(ProveTest, TheFirstRouteIsShownWhileTheSearchGoesOn) {
    const QByteArray first = "first-route: 3000 frames\nfirst-route-cells: 2,17 3,17 4,16\n";
    StandIn(kFoundLines, 1, 60, first);
    F6();
    const QString searching = QString::fromUtf8("Cesta nalezena: 50 s, hledám slepé uličky…");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Summary() == searching; }, 5000))
        << Summary().toStdString();
    EXPECT_TRUE(form->Proving());
    EXPECT_EQ(form->Route(), (std::vector<MapCell>{{2, 17}, {3, 17}, {4, 16}}));
    EXPECT_EQ(Shown(CellCentre(3, 17) - QPoint(7, 0)), kRoute);
    const QStringList args = QString::fromUtf8(ReadAll(Path("args"))).trimmed().split(' ');
    ASSERT_EQ(args.size(), 7);
    ASSERT_TRUE(form->MhratCestu->isEnabled());
    host.runPrograms = false;  // the play is noted, not run
    form->MhratCestu->trigger();
    EXPECT_EQ(host.started.back().mid(1),
              (QStringList{"--level", args[1], "--replay", args[3] + ".first"}));
    host.runPrograms = true;

    QTest::mouseClick(form->findChild<QPushButton*>("proveCancel"), Qt::LeftButton);
    EXPECT_EQ(Summary(), QString::fromUtf8("Cesta nalezena: 50 s (slepé uličky nehledány)"));
    EXPECT_EQ(Shown(CellCentre(3, 17) - QPoint(7, 0)), kRoute);
    EXPECT_TRUE(form->MhratCestu->isEnabled());

    StandIn(kFoundLines, 1, 0.2, first);
    F6();
    ASSERT_TRUE(WaitForAnswer());
    EXPECT_EQ(
        Summary(),
        QString::fromUtf8("Level je průchozí: 41 s, slepé uličky: 1, nedosažitelné předměty: 1"));
    EXPECT_EQ(form->Route().back(), (MapCell{7, 16}));
    const QString route = QString::fromUtf8(ReadAll(Path("args"))).trimmed().split(' ').value(3);
    host.runPrograms = false;
    form->MhratCestu->trigger();
    EXPECT_EQ(host.started.back().last(), route);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(ProveTest, AnAnswerForAMapChangedMeanwhileIsNotShown) {
    StandIn(kFoundLines, 1, 0.5);
    F6();
    QTest::mouseClick(form->Level, Qt::LeftButton, {}, CellCentre(15, 3));
    ASSERT_TRUE(WaitForAnswer());
    EXPECT_TRUE(Summary().isEmpty());
    EXPECT_TRUE(form->Findings().empty());
    EXPECT_TRUE(form->statusBar()->currentMessage().contains("F6"));
}

TEST_F(ProveTest, AnUnfinishableLevelAndARefusedSetAreSaid) {
    StandIn("finish: no\nfurthest: col 7 row 16\nsearch: 90 states, 0.1 s, budget\n", 1);
    F6();
    ASSERT_TRUE(WaitForAnswer());
    EXPECT_TRUE(Summary().startsWith(QString::fromUtf8("Level nelze dokončit")));
    EXPECT_TRUE(Summary().contains(QString::fromUtf8("limit")));
    ASSERT_EQ(form->Findings().size(), 1u);
    EXPECT_EQ(form->Findings()[0].cell, (MapCell{7, 16}));
    EXPECT_FALSE(form->MhratCestu->isEnabled());

    StandIn("zorvik: soubor mapy x.map.1 je kratsi nez 18 radku (ma 1)\n", 2);
    F6();
    ASSERT_TRUE(WaitForAnswer());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], QString::fromUtf8(kProveFailedText) +
                                    "zorvik: soubor mapy x.map.1 je kratsi nez 18 radku (ma 1)");
}

TEST_F(ProveTest, TheFindingsListHoldsTheCheckAndTheProverAndAClickScrollsThere) {
    mapTiles[40][10] = 14;  // a platform without a housing, beyond the normal view
    mapItems[40][10] = 3;
    form->Command2->click();  // Kontrola Levelu
    host.messages.clear();
    ASSERT_EQ(form->Findings().size(), 1u);
    EXPECT_EQ(form->Findings()[0].cell, (MapCell{40, 10}));
    StandIn(kFoundLines, 1);
    F6();
    ASSERT_TRUE(WaitForAnswer());
    ASSERT_EQ(form->Findings().size(), 3u);

    auto* button = form->findChild<QPushButton*>("findingsButton");
    ASSERT_TRUE(button->isVisible());
    EXPECT_EQ(button->text(), QString::fromUtf8("Nálezy: 3"));
    QTest::mouseClick(button, Qt::LeftButton);
    auto* list = form->findChild<QListWidget*>("findingsList");
    ASSERT_TRUE(list->isVisible());
    ASSERT_EQ(list->count(), 3);
    EXPECT_TRUE(list->item(0)->text().startsWith(QString::fromUtf8("Sloupec 40, řádek 10: ")));
    EXPECT_EQ(viewScroll, 0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    // Column 40 is now in the middle of the normal view, marked.
    EXPECT_EQ(viewScroll, 30);
    const QColor check = Shown(CellCentre(10, 10) - QPoint(12, 0));
    EXPECT_EQ(check, QColor(255, 160, 0));
}

TEST(ProveOutput, LinesAreReadAndOddOnesSkipped) {
    const ProveReport report = ParseProveOutput(
        "finish: yes 60 frames\nroute: 1,1 51,3 2,x 50,18\nnonsense\n"
        "dead-end: col 3 row 4 trapped pit with no way out\n"
        "dead-end: col 99 row 4 doomed a beam shot wasted\n"
        "unreachable: refill col 5 row 6\nfault: the game stopped: x\n"
        "first-route: 90 frames\nfirst-route-cells: 2,17 3,17\n"
        "search: 5 states, 0.0 s, merged enemy phases\n");
    EXPECT_TRUE(report.finishable);
    EXPECT_EQ(report.routeFrames, 60);
    EXPECT_EQ(report.route, (std::vector<MapCell>{{1, 1}, {50, 18}}));
    EXPECT_EQ(report.firstRouteFrames, 90);
    EXPECT_EQ(report.firstRoute, (std::vector<MapCell>{{2, 17}, {3, 17}}));
    ASSERT_EQ(report.deadEnds.size(), 1u);
    EXPECT_TRUE(report.deadEnds[0].trapped);
    EXPECT_EQ(DeadEndReason(report.deadEnds[0].reason), QString::fromUtf8("jáma bez východu"));
    ASSERT_EQ(report.unreachable.size(), 1u);
    EXPECT_EQ(report.unreachable[0].cell, (MapCell{5, 6}));
    EXPECT_EQ(report.faults.size(), 1);
    EXPECT_FALSE(report.budgetStopped);
    EXPECT_EQ(ProveSummary(report),
              QString::fromUtf8("Level je průchozí: 1 s, slepé uličky: 1, nedosažitelné "
                                "předměty: 1, chyby: 1"));
}

// The real game proves a tiny level: a floor, the start, the exit and a star up in the air.
TEST_F(ProveTest, TheRealGameProvesATinyLevel) {
    for (int col = 1; col <= 10; ++col) {
        mapTiles[col][18] = 1;
        mapSolid[col][18] = 1;
    }
    mapItems[9][17] = 0;
    mapItems[6][17] = 997;
    mapItems[4][10] = 40;
    form->SetGameProgram(QString::fromStdString(zorvik::test::DistDir()) + "/zorvik");
    F6();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !form->Proving(); }, 30000));
    ASSERT_TRUE(host.messages.empty()) << host.messages[0].toStdString();
    EXPECT_TRUE(Summary().startsWith(QString::fromUtf8("Level je průchozí: ")))
        << Summary().toStdString();
    EXPECT_TRUE(Summary().contains(QString::fromUtf8("nedosažitelné předměty: 1")));
    ASSERT_GE(form->Route().size(), 2u);
    EXPECT_EQ(form->Route().front(), (MapCell{2, 17}));
    EXPECT_EQ(form->Route().back(), (MapCell{6, 17}));
}

}  // namespace
}  // namespace zorvik::editor::test
