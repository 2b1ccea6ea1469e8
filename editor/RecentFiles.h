// SPDX-License-Identifier: GPL-3.0-or-later
// What the editor remembers across runs: the map sets opened or saved last and the folder the
// file dialog last worked in, kept in the host's settings.
#pragma once

#include <QString>
#include <QStringList>

class QSettings;

namespace zorvik::editor {

class RecentFiles {
  public:
    // How many map sets the list keeps.
    static constexpr int kMaxFiles = 8;

    explicit RecentFiles(QSettings& settings);

    // Tile files of the sets, the most recent first.
    QStringList Files() const;
    // A set was opened or saved: it moves to the top of the list.
    void Add(const QString& path);
    // A set that could not be opened leaves the list.
    void Remove(const QString& path);

    // The folder of the last successful open or save; empty when none or no longer there.
    QString LastFolder() const;
    void SetLastFolder(const QString& folder);

  private:
    void Store(const QStringList& files);

    QSettings& settings_;
};

}  // namespace zorvik::editor
