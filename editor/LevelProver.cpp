// SPDX-License-Identifier: GPL-3.0-or-later
// The background run of the prover.
#include "LevelProver.h"

#include <QDir>
#include <QFileInfo>

#include "EditorHost.h"
#include "TestPlay.h"

namespace zorvik::editor {

namespace {

constexpr int kStopWaitMs = 3000;
// The search's time budget: five minutes, not the prover's default minute, so that the largest
// shipped levels (up to two minutes) get their whole answer. The designer waits for none of it:
// the first route shows at once, the editor stays usable, and Zrušit ends the search.
constexpr int kBudgetSeconds = 300;

}  // namespace

LevelProver::LevelProver(EditorHost& host, QObject* parent)
    : QObject(parent), host_(host), program_(FindGame()) {}

LevelProver::~LevelProver() {
    Cancel();
}

bool LevelProver::Running() const {
    return process_ != nullptr && process_->state() != QProcess::NotRunning;
}

int LevelProver::SecondsRunning() const {
    return Running() ? static_cast<int>(clock_.elapsed() / 1000) : 0;
}

QString LevelProver::RoutePath(bool first) const {
    return folder_->filePath(first ? QStringLiteral("route.txt.first")
                                   : QStringLiteral("route.txt"));
}

QString LevelProver::RouteFile() const {
    if (folder_ == nullptr) return {};
    // The route files are looked for when asked: the report only says a route was found.
    if (routeTold_ && QFileInfo::exists(RoutePath())) return RoutePath();
    if (firstTold_ && QFileInfo::exists(RoutePath(true))) return RoutePath(true);
    return {};
}

void LevelProver::Cancel() {
    if (!Running()) return;
    process_->disconnect(this);
    process_->kill();
    process_->waitForFinished(kStopWaitMs);
}

bool LevelProver::Start() {
    Cancel();
    if (!ReadyToPlay(host_, program_)) return false;
    routeTold_ = firstTold_ = false;
    output_.clear();
    set_.clear();
    folder_ = WritePlaySet(host_);
    if (folder_ == nullptr) return false;
    const QString set = PlaySetIn(*folder_);
    process_ = std::make_unique<QProcess>();
    // Both channels are read: the findings on standard output, a refusal on standard error.
    process_->setProcessChannelMode(QProcess::MergedChannels);
    connect(process_.get(), &QProcess::finished, this, &LevelProver::Done);
    connect(process_.get(), &QProcess::readyReadStandardOutput, this, &LevelProver::Read);
    if (!host_.StartProcess(*process_, program_,
                            {QStringLiteral("--prove"), set, QStringLiteral("--route"), RoutePath(),
                             QStringLiteral("--first-route"), QStringLiteral("--seconds"),
                             QString::number(kBudgetSeconds)})) {
        process_->disconnect(this);
        host_.MsgBox(QString::fromLatin1(kGameStartFailedText) +
                     QDir::toNativeSeparators(program_));
        return false;
    }
    set_ = set;
    clock_.start();
    return true;
}

void LevelProver::Read() {
    output_ += process_->readAll();
    if (firstTold_) return;
    const qsizetype whole = output_.lastIndexOf('\n');
    if (whole < 0) return;
    ProveReport first = ParseProveOutput(QString::fromUtf8(output_.left(whole)));
    if (first.firstRoute.empty()) return;
    firstTold_ = true;
    emit FirstRoute(first);
}

void LevelProver::Done(int exitCode, QProcess::ExitStatus status) {
    output_ += process_->readAll();
    const QString output = QString::fromUtf8(output_);
    if (status != QProcess::NormalExit || exitCode > 1) {
        const QString line = output.trimmed().section(QLatin1Char('\n'), -1).trimmed();
        emit Failed(QString::fromUtf8(kProveFailedText) +
                    (line.isEmpty() ? QString::fromUtf8("program skončil s chybou") : line));
        return;
    }
    const ProveReport report = ParseProveOutput(output);
    routeTold_ = report.finishable;
    emit Finished(report);
}

}  // namespace zorvik::editor
