// SPDX-License-Identifier: GPL-3.0-or-later
// Level > Ověřit průchodnost (F6) in the window: the prover runs in the background with a
// progress bar and a cancel button in the status bar while the editor stays usable; its first
// route is drawn as soon as it is found, its whole answer on both map views (on screen only)
// until the next edit, summed up in the status bar and listed with the level check's findings
// in Level > Nálezy, where a click scrolls to one.
#include <QAction>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>

#include "A_deklare.h"
#include "Form1.h"
#include "LevelProver.h"
#include "WholeMapView.h"

namespace zorvik::editor {

void Form1::BuildProver() {
    prover_ = new LevelProver(*host_, this);
    prover_->SetProgram(testPlay_.Program());
    connect(prover_, &LevelProver::Finished, this,
            [this](const ProveReport& report) { ShowProof(report); });
    connect(prover_, &LevelProver::FirstRoute, this,
            [this](const ProveReport& report) { ShowFirstRoute(report); });
    connect(prover_, &LevelProver::Failed, this,
            [this](const QString& message) { ProofFailed(message); });

    Mlevel->addSeparator();
    Moverit = Mlevel->addAction(QString::fromUtf8("Ověřit průchodnost"));
    Moverit->setObjectName(QStringLiteral("Moverit"));
    Moverit->setShortcut(QKeySequence(Qt::Key_F6));
    connect(Moverit, &QAction::triggered, this, [this] { MoveritPruchodnost_Click(); });
    MzrusitOvereni = Mlevel->addAction(QString::fromUtf8("Zrušit ověřování"));
    MzrusitOvereni->setObjectName(QStringLiteral("MzrusitOvereni"));
    MzrusitOvereni->setEnabled(false);
    MhratCestu = Mlevel->addAction(QString::fromUtf8("Hrát cestu"));
    MhratCestu->setObjectName(QStringLiteral("MhratCestu"));
    MhratCestu->setEnabled(false);
    connect(MhratCestu, &QAction::triggered, this, [this] {
        testPlay_.Play(prover_->Set(), {QStringLiteral("--replay"), prover_->RouteFile()});
    });
    Mnalezy = Mlevel->addAction(QString::fromUtf8("Nálezy…"));
    Mnalezy->setObjectName(QStringLiteral("Mnalezy"));
    connect(Mnalezy, &QAction::triggered, this, [this] { ShowFindings(); });

    // The status bar: a busy bar with the seconds and a cancel button while the search runs,
    // the summary of the answer, and a button that opens the findings list.
    proveBusy_ = new QWidget(this);
    auto* busyLayout = new QHBoxLayout(proveBusy_);
    busyLayout->setContentsMargins(0, 0, 0, 0);
    proveBar_ = new QProgressBar(proveBusy_);
    proveBar_->setObjectName(QStringLiteral("proveBar"));
    proveBar_->setRange(0, 0);
    proveBar_->setMaximumWidth(160);
    proveBar_->setTextVisible(false);
    // A busy bar draws no text, so the seconds stand beside it.
    proveTime_ = new QLabel(proveBusy_);
    proveTime_->setObjectName(QStringLiteral("proveTime"));
    auto* cancel = new QPushButton(QString::fromUtf8("Zrušit"), proveBusy_);
    cancel->setObjectName(QStringLiteral("proveCancel"));
    cancel->setToolTip(QString::fromUtf8("Zastaví ověřování průchodnosti"));
    busyLayout->addWidget(proveTime_);
    busyLayout->addWidget(proveBar_);
    busyLayout->addWidget(cancel);
    proveBusy_->hide();
    statusBar()->addPermanentWidget(proveBusy_);
    proveSummary_ = new QLabel(this);
    proveSummary_->setObjectName(QStringLiteral("proveSummary"));
    statusBar()->addPermanentWidget(proveSummary_);
    findingsButton_ = new QPushButton(this);
    findingsButton_->setObjectName(QStringLiteral("findingsButton"));
    findingsButton_->setFlat(true);
    findingsButton_->setFocusPolicy(Qt::NoFocus);
    findingsButton_->setToolTip(
        QString::fromUtf8("Seznam nálezů; klepnutí na nález ukáže jeho pole"));
    findingsButton_->hide();
    statusBar()->addPermanentWidget(findingsButton_);
    connect(findingsButton_, &QPushButton::clicked, this, [this] { ShowFindings(); });

    auto stop = [this] {
        prover_->Cancel();
        StopProving();
        Tell(QString::fromUtf8("Ověřování zrušeno"));
    };
    connect(cancel, &QPushButton::clicked, this, stop);
    connect(MzrusitOvereni, &QAction::triggered, this, stop);
    // The seconds run on the bar once a second; the editor does not poll the prover.
    proveClock_ = new QTimer(this);
    proveClock_->setInterval(1000);
    connect(proveClock_, &QTimer::timeout, this, [this] {
        proveTime_->setText(QString::fromUtf8("Ověřuji… %1 s").arg(prover_->SecondsRunning()));
    });

    findingsList_ = new QListWidget(this);
    findingsList_->setObjectName(QStringLiteral("findingsList"));
    findingsList_->setWindowFlag(Qt::Tool);
    findingsList_->setWindowTitle(QString::fromUtf8("Nálezy"));
    findingsList_->resize(520, 260);
    findingsList_->hide();
    connect(findingsList_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const MapCell cell{item->data(Qt::UserRole).toInt(), item->data(Qt::UserRole + 1).toInt()};
        if (cell.col != 0) ScrollTo(cell.col - 1 - kViewCells / 2);
        Tell(item->text());
    });
}

void Form1::SetGameProgram(const QString& program) {
    testPlay_.SetProgram(program);
    if (prover_ != nullptr) prover_->SetProgram(program);
}

bool Form1::Proving() const {
    return prover_ != nullptr && prover_->Running();
}

QString Form1::ProveSummaryText() const {
    return proveSummary_ != nullptr ? proveSummary_->text() : QString();
}

void Form1::StartProving() {
    // A run still going ends here, whether the new one starts or not.
    const bool started = prover_->Start();
    proveBusy_->setVisible(started);
    MzrusitOvereni->setEnabled(started);
    if (!started) {
        proveClock_->stop();
        return;
    }
    editsProved_ = edits_;
    firstRouteFrames_ = 0;
    proveSummary_->clear();
    proveTime_->setText(QString::fromUtf8("Ověřuji…"));
    proveClock_->start();
    MhratCestu->setEnabled(false);
}

void Form1::StopProving() {
    proveBusy_->hide();
    proveClock_->stop();
    MzrusitOvereni->setEnabled(false);
    if (firstRouteFrames_ > 0) proveSummary_->setText(FirstRouteSummary(firstRouteFrames_, false));
    firstRouteFrames_ = 0;
}

void Form1::ShowProof(const ProveReport& report) {
    StopProving();
    if (edits_ != editsProved_) {
        Tell(
            QString::fromUtf8("Mapa se během ověřování změnila, výsledek platí pro její starší "
                              "podobu: spusťte ověření znovu (F6)."));
        return;
    }
    proveFindings_ = ProveFindings(report);
    route_ = report.route;
    proveSummary_->setText(ProveSummary(report));
    MhratCestu->setEnabled(!prover_->RouteFile().isEmpty());
    SetCheckFindings(checkFindings_);
}

void Form1::ShowFirstRoute(const ProveReport& report) {
    if (edits_ != editsProved_) return;  // the whole answer will say so
    route_ = report.firstRoute;
    firstRouteFrames_ = report.firstRouteFrames;
    proveSummary_->setText(FirstRouteSummary(firstRouteFrames_, true));
    MhratCestu->setEnabled(!prover_->RouteFile().isEmpty());
    RepaintViews();
}

void Form1::ProofFailed(const QString& message) {
    StopProving();
    host_->MsgBox(message);
}

void Form1::SetCheckFindings(std::vector<MapFinding> findings) {
    checkFindings_ = std::move(findings);
    findings_ = checkFindings_;
    findings_.insert(findings_.end(), proveFindings_.begin(), proveFindings_.end());
    findingsButton_->setText(QString::fromUtf8("Nálezy: %1").arg(findings_.size()));
    findingsButton_->setVisible(!findings_.empty());
    FillFindingsList();
    RepaintViews();
    RefreshStatus();
}

void Form1::DropFindings() {
    ++edits_;
    firstRouteFrames_ = 0;
    if (findings_.empty() && route_.empty() && proveSummary_->text().isEmpty()) return;
    proveFindings_.clear();
    route_.clear();
    proveSummary_->clear();
    MhratCestu->setEnabled(false);
    SetCheckFindings({});
}

void Form1::FillFindingsList() {
    findingsList_->clear();
    for (const MapFinding& finding : findings_) {
        const QString where = finding.cell.col != 0 ? QString::fromUtf8("Sloupec %1, řádek %2: ")
                                                          .arg(finding.cell.col)
                                                          .arg(finding.cell.row)
                                                    : QString();
        auto* item = new QListWidgetItem(where + finding.text, findingsList_);
        item->setData(Qt::UserRole, finding.cell.col);
        item->setData(Qt::UserRole + 1, finding.cell.row);
    }
    if (findings_.empty()) findingsList_->hide();
}

void Form1::ShowFindings() {
    if (findings_.empty()) {
        Tell(QString::fromUtf8("Žádné nálezy: spusťte Kontrolu Levelu nebo ověření (F6)."));
        return;
    }
    findingsList_->show();
    findingsList_->raise();
}

}  // namespace zorvik::editor
