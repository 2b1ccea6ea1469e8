// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing the three files of a map set.
#include "MapSetFiles.h"

#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <array>
#include <cerrno>
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

// What a layer file may hold: three characters.
constexpr int kLowestValue = -99;
constexpr int kHighestValue = 999;

const char* const kLayerNames[3] = {"vrstva dlaždic", "vrstva pevnosti (.1)",
                                    "vrstva objektů (.2)"};

QString Czech(const char* text) {
    return QString::fromUtf8(text);
}

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// Why writing a file failed, from the system's error number (in words that do not depend on
// the desktop's language).
QString WriteErrorText(int error, const QString& path) {
    switch (error) {
        case ENOSPC:
            return Czech("Na disku není dost místa pro soubor %1.").arg(Native(path));
        case EDQUOT:
            return Czech("Diskový limit uživatele nestačí pro soubor %1.").arg(Native(path));
        case EFBIG:
            return Czech("Soubor %1 by byl větší, než systém dovoluje.").arg(Native(path));
        case EROFS:
            return Czech("Disk se souborem %1 je jen pro čtení.").arg(Native(path));
        case EACCES:
        case EPERM:
            return Czech("Soubor %1 nelze zapsat: chybí oprávnění.").arg(Native(path));
        case EIO:
            return Czech("Chyba disku při zápisu souboru %1.").arg(Native(path));
        default:
            return Czech("Soubor %1 se nepodařilo zapsat (chyba systému %2).")
                .arg(Native(path))
                .arg(error);
    }
}

// The text of one layer file, or the cause when a value does not fit in three characters.
std::optional<QByteArray> LayerText(const MapLayer& layer, int layerIndex, QString& cause) {
    QByteArray text;
    std::vector<long> values(static_cast<size_t>(kLastCol));
    for (int row = 1; row <= kLastRow; ++row) {
        for (int col = 1; col <= kLastCol; ++col) {
            const int value = layer[col][row];
            if (value < kLowestValue || value > kHighestValue) {
                cause = Czech(
                            "Hodnota %1 (sloupec %2, řádek %3, %4) se do souboru mapy nevejde: "
                            "soubor unese jen %5 až %6.")
                            .arg(value)
                            .arg(col)
                            .arg(row)
                            .arg(Czech(kLayerNames[layerIndex]))
                            .arg(kLowestValue)
                            .arg(kHighestValue);
                return std::nullopt;
            }
            values[static_cast<size_t>(col - 1)] = value;
        }
        const std::optional<std::string> line = maptext::FormatLine(values);
        if (!line) {
            cause = Czech("Řádek %1 (%2) se nepodařilo zapsat.")
                        .arg(row)
                        .arg(Czech(kLayerNames[layerIndex]));
            return std::nullopt;
        }
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

// Why the file `info` cannot be replaced by a save, or empty when it can.
QString TargetProblem(const QFileInfo& info) {
    const QString path = Native(info.absoluteFilePath());
    if (info.exists()) {
        if (!info.isFile()) return Czech("%1 není soubor.").arg(path);
        if (!info.isWritable() || !HasWriteBits(info))
            return Czech("Soubor %1 je jen pro čtení.").arg(path);
    }
    // The temporaries are made in the target's folder.
    const QFileInfo folder(info.absolutePath());
    const QString folderPath = Native(folder.absoluteFilePath());
    if (!folder.exists()) return Czech("Složka %1 neexistuje.").arg(folderPath);
    if (!folder.isDir()) return Czech("%1 není složka.").arg(folderPath);
    if (!folder.isWritable() || !HasWriteBits(folder))
        return Czech("Do složky %1 nelze zapisovat, je jen pro čtení.").arg(folderPath);
    return {};
}

// Writes all of `bytes` to the open file and forces it to the disk; 0 or the error number.
int WriteAndSync(int handle, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote =
            ::write(handle, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (wrote < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        done += wrote;
    }
    return ::fsync(handle) == 0 ? 0 : errno;
}

}  // namespace

// Reads the three files into a scratch map and takes it over only when all three read
// completely, so a failed open never leaves a mix of two maps. The path is taken as the bytes
// the system gives, which need not be UTF-8; a name that Qt cannot hold unchanged is not kept,
// so a later save asks where to go instead of writing to another name.
bool ReadMapSet(const QByteArray& path, MapDocument& document) {
    std::array<std::string, 3> texts;
    const std::array<std::string, 3> paths{path.toStdString(), path.toStdString() + ".1",
                                           path.toStdString() + ".2"};
    for (size_t i = 0; i < paths.size(); ++i) {
        files::ReadResult file = maptext::ReadLayerFile(paths[i]);
        if (!file.ok()) return false;
        texts[i] = std::move(file.bytes);
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
    const QString name = QFile::decodeName(path);
    document.ReplaceAll(tiles, solid, items, QFile::encodeName(name) == path ? name : QString());
    return true;
}

// Every value is checked first, each layer goes to a temporary file beside its target, and
// the temporaries are renamed over the targets only when all three are written. A read-only
// target fails the save (the shipped levels are laid out read-only to protect them).
WriteResult WriteMapSet(const QString& path) {
    const std::array<const MapLayer*, 3> layers{&mapTiles, &mapSolid, &mapItems};
    std::array<QByteArray, 3> texts;
    WriteResult result;
    for (size_t i = 0; i < layers.size(); ++i) {
        std::optional<QByteArray> text = LayerText(*layers[i], static_cast<int>(i), result.cause);
        if (!text) return result;
        texts[i] = *text;
    }

    std::array<QString, 3> targets = SetPaths(path);
    std::array<QFileDevice::Permissions, 3> permissions{};
    for (size_t i = 0; i < targets.size(); ++i) {
        QFileInfo info(targets[i]);
        // Replace the file a link points to, not the link.
        if (info.isSymLink()) info = QFileInfo(info.symLinkTarget());
        targets[i] = info.absoluteFilePath();
        result.cause = TargetProblem(info);
        if (!result.cause.isEmpty()) return result;
        permissions[i] = info.exists() ? info.permissions()
                                       : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ReadUser | QFileDevice::WriteUser |
                                             QFileDevice::ReadGroup | QFileDevice::ReadOther;
    }

    std::array<std::unique_ptr<QTemporaryFile>, 3> temps;
    for (size_t i = 0; i < targets.size(); ++i) {
        temps[i] = std::make_unique<QTemporaryFile>(targets[i] + QStringLiteral(".XXXXXX"));
        QTemporaryFile& temp = *temps[i];
        if (!temp.open()) {
            result.cause = WriteErrorText(errno, targets[i]);
            return result;
        }
        const int error = WriteAndSync(temp.handle(), texts[i]);
        if (error != 0) {
            result.cause = WriteErrorText(error, targets[i]);
            return result;
        }
        temp.close();
        if (!temp.setPermissions(permissions[i])) {
            result.cause = WriteErrorText(errno, targets[i]);
            return result;
        }
    }
    for (size_t i = 0; i < targets.size(); ++i) {
        const QByteArray from = QFile::encodeName(temps[i]->fileName());
        const QByteArray to = QFile::encodeName(targets[i]);
        if (std::rename(from.constData(), to.constData()) != 0) {
            result.cause = WriteErrorText(errno, targets[i]);
            return result;
        }
        temps[i]->setAutoRemove(false);
    }
    result.written = true;
    return result;
}

}  // namespace zorvik::editor
