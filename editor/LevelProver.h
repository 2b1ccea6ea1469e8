// SPDX-License-Identifier: GPL-3.0-or-later
// Level > Ověřit průchodnost (F6): the map as it is now goes to a temporary set, and
// `zorvik --prove SET --route SET-folder/route.txt --first-route --seconds 300` runs beside the
// editor in the background. Its first route comes back as soon as it is proven, the whole report at
// the end; the set and the route stay for "Hrát cestu" until the next run or the editor's end.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "ProveReport.h"

namespace zorvik::editor {

class EditorHost;

// Messages of a run that gave no report (UTF-8).
inline const char* const kProveFailedText = "Ověření průchodnosti se nepodařilo: ";

class LevelProver : public QObject {
    Q_OBJECT
  public:
    explicit LevelProver(EditorHost& host, QObject* parent = nullptr);
    // Ends a run still going.
    ~LevelProver() override;

    void SetProgram(const QString& program) { program_ = program; }
    bool Running() const;
    // Seconds since the running search started.
    int SecondsRunning() const;
    // Writes the map and starts the prover; false, with the reason told to the designer, when
    // the map cannot be played or written or the game cannot be started. A run still going is
    // ended first.
    bool Start();
    // Ends the running search; nothing is reported.
    void Cancel();
    // The set and the route file of the last run with a route: the whole search's once it ended,
    // the first route's while it runs; empty without a route.
    const QString& Set() const { return set_; }
    QString RouteFile() const;

  signals:
    // The first route, proven, while the whole search goes on (firstRoute and its frames).
    void FirstRoute(const zorvik::editor::ProveReport& report);
    // The search ended with a report (exit status 0 or 1).
    void Finished(const zorvik::editor::ProveReport& report);
    // The prover refused the set (its line on standard error) or ended abnormally.
    void Failed(const QString& message);

  private:
    void Done(int exitCode, QProcess::ExitStatus status);
    // Reads what the prover printed so far and tells its first route once its lines are whole.
    void Read();
    // The route file the prover writes in the run's folder, or the first route's beside it.
    QString RoutePath(bool first = false) const;

    EditorHost& host_;
    QString program_;
    std::unique_ptr<QProcess> process_;
    std::unique_ptr<QTemporaryDir> folder_;
    QString set_;
    QByteArray output_;       // printed so far
    bool routeTold_ = false;  // the whole answer says the level can be finished
    bool firstTold_ = false;  // the first route came
    QElapsedTimer clock_;
};

}  // namespace zorvik::editor
