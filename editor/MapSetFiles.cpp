// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing the three files of a map set.
#include "MapSetFiles.h"

#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "A_deklare.h"
#include "MapFile.h"
#include "MapText.h"

namespace zorvik::editor {

namespace {

// The text of one layer file, or nothing when a value does not fit in three characters.
std::optional<QByteArray> LayerText(const MapLayer& layer) {
    QByteArray text;
    std::vector<long> values(static_cast<size_t>(kLastCol));
    for (int row = 1; row <= kLastRow; ++row) {
        for (int col = 1; col <= kLastCol; ++col) {
            values[static_cast<size_t>(col - 1)] = layer[col][row];
        }
        const std::optional<std::string> line = maptext::FormatLine(values);
        if (!line) return std::nullopt;
        text.append(line->data(), static_cast<qsizetype>(line->size()));
        text.append("\r\n");
    }
    return text;
}

std::array<QString, 3> SetPaths(const QString& path) {
    return {path, path + QStringLiteral(".1"), path + QStringLiteral(".2")};
}

// Whether the permission bits allow some writing: a file or folder without any write bit is
// read-only to the save, even for root.
bool HasWriteBits(const QFileInfo& info) {
    return (info.permissions() &
            (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther)) != 0;
}

}  // namespace

// Reads the three files into a scratch map and takes it over only when all three read
// completely, so a failed open never leaves a mix of two maps.
bool ReadMapSet(const QString& path, MapDocument& document) {
    std::array<std::string, 3> texts;
    const std::array<QString, 3> paths = SetPaths(path);
    for (size_t i = 0; i < paths.size(); ++i) {
        std::optional<std::string> text =
            maptext::ReadFileText(QFile::encodeName(paths[i]).toStdString());
        if (!text) return false;
        texts[i] = std::move(*text);
    }
    MapLayer tiles{};
    MapLayer solid{};
    MapLayer items{};
    if (!ParseMapSet({texts[0], texts[1], texts[2]}, tiles, solid, items)) return false;
    // Column 0 and row 0 are not in the files: they keep what they hold.
    for (int col = 0; col <= kLastCol; ++col) {
        tiles[col][0] = mapTiles[col][0];
        solid[col][0] = mapSolid[col][0];
        items[col][0] = mapItems[col][0];
    }
    for (int row = 0; row <= kLastRow; ++row) {
        tiles[0][row] = mapTiles[0][row];
        solid[0][row] = mapSolid[0][row];
        items[0][row] = mapItems[0][row];
    }
    document.ReplaceAll(tiles, solid, items, path);
    return true;
}

// Every value is checked first, each layer goes to a temporary file beside its target, and
// the temporaries are renamed over the targets only when all three are written. A read-only
// target fails the save (the shipped levels are laid out read-only to protect them).
bool WriteMapSet(const QString& path) {
    const std::array<const MapLayer*, 3> layers{&mapTiles, &mapSolid, &mapItems};
    std::array<QByteArray, 3> texts;
    for (size_t i = 0; i < layers.size(); ++i) {
        std::optional<QByteArray> text = LayerText(*layers[i]);
        if (!text) return false;
        texts[i] = *text;
    }

    std::array<QString, 3> targets = SetPaths(path);
    std::array<QFileDevice::Permissions, 3> permissions{};
    for (size_t i = 0; i < targets.size(); ++i) {
        QFileInfo info(targets[i]);
        // Replace the file a link points to, not the link.
        if (info.isSymLink()) info = QFileInfo(info.symLinkTarget());
        targets[i] = info.absoluteFilePath();
        permissions[i] = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                         QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;
        if (info.exists()) {
            if (!info.isFile() || !info.isWritable() || !HasWriteBits(info)) return false;
            permissions[i] = info.permissions();
        }
        // The temporaries are made in the target's folder.
        const QFileInfo folder(info.absolutePath());
        if (!folder.isDir() || !folder.isWritable() || !HasWriteBits(folder)) return false;
    }

    std::array<std::unique_ptr<QTemporaryFile>, 3> temps;
    for (size_t i = 0; i < targets.size(); ++i) {
        temps[i] = std::make_unique<QTemporaryFile>(targets[i] + QStringLiteral(".XXXXXX"));
        QTemporaryFile& temp = *temps[i];
        if (!temp.open()) return false;
        if (temp.write(texts[i]) != texts[i].size() || !temp.flush() ||
            ::fsync(temp.handle()) != 0) {
            return false;
        }
        temp.close();
        if (!temp.setPermissions(permissions[i])) return false;
    }
    for (size_t i = 0; i < targets.size(); ++i) {
        const QByteArray from = QFile::encodeName(temps[i]->fileName());
        const QByteArray to = QFile::encodeName(targets[i]);
        if (std::rename(from.constData(), to.constData()) != 0) return false;
        temps[i]->setAutoRemove(false);
    }
    return true;
}

}  // namespace zorvik::editor
