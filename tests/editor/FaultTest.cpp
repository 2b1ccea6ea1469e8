// SPDX-License-Identifier: GPL-3.0-or-later
// Damaged map sets and hostile disks for File > Open and File > Save: binary garbage, very long
// lines, FIFOs, devices and huge files, codes the editor has no picture for, a read-only folder
// and a full disk. A failed open or save shows its message and leaves the map in memory and
// every file on disk as it was.
#include <gtest/gtest.h>

#include <sys/mount.h>

#include <QDir>
#include <QFileInfo>
#include <cstring>
#include <fstream>
#include <memory>
#include <vector>

#include "EditorFixture.h"
#include "HostileFiles.h"

namespace zorvik::editor::test {
namespace {

const QString kOpenMessage = QString::fromLatin1(kOpenFailedText);

QByteArray Layer(const char* cell) {
    QByteArray text;
    for (int row = 1; row <= 18; ++row)
        text += QByteArray(cell).repeated(50) + "\r\n";
    return text;
}

class EditorFaultTest : public EditorTest {
  protected:
    void FillMap() {
        for (int col = 1; col <= 50; ++col) {
            for (int row = 1; row <= 18; ++row) {
                mapTiles[col][row] = static_cast<int16_t>((col + 2 * row) % 19);
                mapSolid[col][row] = static_cast<int16_t>(row % 2);
                mapItems[col][row] = static_cast<int16_t>((col * row) % 57);
            }
        }
        std::memcpy(tiles_, mapTiles, sizeof tiles_);
        std::memcpy(solid_, mapSolid, sizeof solid_);
        std::memcpy(items_, mapItems, sizeof items_);
    }
    bool MapUnchanged() const {
        return std::memcmp(tiles_, mapTiles, sizeof tiles_) == 0 &&
               std::memcmp(solid_, mapSolid, sizeof solid_) == 0 &&
               std::memcmp(items_, mapItems, sizeof items_) == 0;
    }
    void WriteSet(const QString& base, const QByteArray& a, const QByteArray& b,
                  const QByteArray& c) {
        WriteAll(base, a);
        WriteAll(base + ".1", b);
        WriteAll(base + ".2", c);
    }
    void Open(const QString& path) {
        host.messages.clear();
        host.dialogAnswers = {path};
        form->Mopen_Click();
    }
    void Save(const QString& path) {
        host.messages.clear();
        host.dialogAnswers = {path};
        form->Msave_Click();
    }

    MapLayer tiles_{};
    MapLayer solid_{};
    MapLayer items_{};
};

TEST_F(EditorFaultTest, BinaryGarbageWithoutEighteenLinesIsRefused) {
    FillMap();
    QByteArray garbage;
    for (int i = 0; i < 5000; ++i)
        garbage += static_cast<char>((i * 131 + 7) % 256 == '\n' ? 0 : (i * 131 + 7) % 256);
    WriteSet(Path("g.map"), garbage, garbage, garbage);
    Open(Path("g.map"));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], kOpenMessage);
    EXPECT_TRUE(MapUnchanged());
}

TEST_F(EditorFaultTest, BinaryGarbageInEighteenLinesReadsAsEmptyCellsLikeTheGame) {
    FillMap();
    // Bytes that spell no number, NUL included, in 18 lines of 150.
    QByteArray garbage;
    for (int row = 0; row < 18; ++row) {
        for (int i = 0; i < 150; ++i) {
            const int pick = (row * 151 + i * 37) % 136;
            garbage += static_cast<char>(pick < 8 ? pick : 0x80 + (pick - 8));
        }
        garbage += "\r\n";
    }
    WriteSet(Path("g.map"), garbage, garbage, garbage);
    Open(Path("g.map"));
    EXPECT_TRUE(host.messages.empty());
    for (int col = 1; col <= 50; ++col) {
        for (int row = 1; row <= 18; ++row) {
            ASSERT_EQ(mapTiles[col][row], 0) << col << ", " << row;
            ASSERT_EQ(mapSolid[col][row], 0);
            ASSERT_EQ(mapItems[col][row], 0);
        }
    }
}

TEST_F(EditorFaultTest, VeryLongLinesKeepTheirFirstFiftyCells) {
    FillMap();
    // Every line sixteen kilobytes long: only its first 150 characters are cells.
    QByteArray line = QByteArray("017").repeated(50) + QByteArray("5").repeated(1 << 14) + "\r\n";
    const QByteArray longLines = line.repeated(18);
    WriteSet(Path("l.map"), longLines, Layer("001"), Layer("041"));
    Open(Path("l.map"));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(mapTiles[1][1], 17);
    EXPECT_EQ(mapTiles[50][18], 17);
    EXPECT_EQ(mapItems[25][9], 41);

    // One endless line without a line end is not a layer of 18 lines.
    FillMap();
    WriteSet(Path("m.map"), QByteArray("001").repeated(200'000), Layer("001"), Layer("000"));
    Open(Path("m.map"));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], kOpenMessage);
    EXPECT_TRUE(MapUnchanged());
}

TEST_F(EditorFaultTest, SpecialOrHugeFilesAreRefusedWithoutWaiting) {
    FillMap();
    Open(QStringLiteral("/dev/zero"));
    EXPECT_EQ(host.messages, std::vector<QString>{kOpenMessage});
    EXPECT_TRUE(MapUnchanged());

    const QByteArray layer = Layer("001");
    WriteSet(Path("f.map"), layer, layer, layer);
    const std::string fifo = QFile::encodeName(Path("f.map.1")).toStdString();
    zorvik::test::MakeFifo(fifo);
    EXPECT_TRUE(zorvik::test::FinishesWithin(5, fifo, [&] { Open(Path("f.map")); }));
    EXPECT_EQ(host.messages, std::vector<QString>{kOpenMessage});
    EXPECT_TRUE(MapUnchanged());

    // A layer followed by a hundred megabytes that take no room on the disk.
    WriteSet(Path("h.map"), layer, layer, layer);
    zorvik::test::MakeSparseFile(QFile::encodeName(Path("h.map.2")).toStdString(), off_t{100} << 20,
                                 layer.toStdString());
    Open(Path("h.map"));
    EXPECT_EQ(host.messages, std::vector<QString>{kOpenMessage});
    EXPECT_TRUE(MapUnchanged());

    // Up to a megabyte a layer is read.
    zorvik::test::MakeSparseFile(QFile::encodeName(Path("h.map.2")).toStdString(), 1 << 20,
                                 layer.toStdString());
    Open(Path("h.map"));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(mapItems[50][18], 1);
}

TEST(EditorFiles, AFifoAsTheTileSheetGivesTheStandInAtOnce) {
    QTemporaryDir program;
    ASSERT_TRUE(QDir().mkpath(program.path() + "/data"));
    const std::string sheet =
        QFile::encodeName(program.path() + "/data/editor-tiles.bmp").toStdString();
    zorvik::test::MakeFifo(sheet);
    RecordingHost host;
    std::unique_ptr<Form1> window;
    EXPECT_TRUE(zorvik::test::FinishesWithin(
        5, sheet, [&] { window = std::make_unique<Form1>(&host, program.path()); }));
    ASSERT_EQ(host.messages.size(), 1u);  // the stand-in's note
    EXPECT_TRUE(host.messages[0].contains("editor-tiles.bmp"));
    host.saveAnswers.assign(4, SaveChoice::Discard);
}

TEST_F(EditorFaultTest, NumbersBeyondSixteenBitsAreRefusedInEveryLayer) {
    for (const char* bad : {"1e5", "9e9"}) {
        for (int layer = 0; layer < 3; ++layer) {
            FillMap();
            QByteArray files[3] = {Layer("001"), Layer("000"), Layer("000")};
            files[layer].replace(152 * 5 + 30, 3, bad);
            WriteSet(Path("r.map"), files[0], files[1], files[2]);
            Open(Path("r.map"));
            const bool refused = host.messages.size() == 1 && host.messages[0] == kOpenMessage;
            EXPECT_TRUE(refused) << bad << " in layer " << layer;
            EXPECT_TRUE(MapUnchanged()) << bad << " in layer " << layer;
        }
    }
}

TEST_F(EditorFaultTest, CodesWithoutAPictureOpenDrawCheckAndSaveBack) {
    // Values that fit but mean nothing to the editor: they are kept, drawn without a crash,
    // counted by the level check and written back unchanged.
    WriteSet(Path("o.map"), Layer("999"), Layer("-99"), Layer("-99"));
    QByteArray items = Layer("000");
    items.replace(0, 9, "998-05077");  // 998, -5, 77
    WriteAll(Path("o.map.2"), items);
    Open(Path("o.map"));
    ASSERT_TRUE(host.messages.empty());
    EXPECT_EQ(mapTiles[7][7], 999);
    EXPECT_EQ(mapSolid[7][7], -99);
    EXPECT_EQ(mapItems[1][1], 998);
    EXPECT_EQ(mapItems[2][1], -5);
    for (int step = 0; step < 40; ++step)
        form->Vlevo_Click();  // scroll across the whole map
    DrawMap();
    form->Command2_Click();
    EXPECT_FALSE(host.messages.empty());  // the check reports what it found
    Save(Path("o2.map"));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(ReadAll(Path("o2.map")), Layer("999"));
    EXPECT_EQ(ReadAll(Path("o2.map.1")), Layer("-99"));
    EXPECT_EQ(ReadAll(Path("o2.map.2")).left(9), "9980-5077");
}

TEST_F(EditorFaultTest, SaveIntoAReadOnlyFolderWritesNothing) {
    const QString folder = Path("ro");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QByteArray old = Layer("004");
    WriteSet(folder + "/x.map", old, old, old);
    ASSERT_TRUE(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                                  QFileDevice::ReadGroup | QFileDevice::ExeGroup));
    FillMap();
    for (const QString& target : {folder + "/x.map", folder + "/new.map"}) {
        Save(target);
        ASSERT_EQ(host.messages.size(), 1u) << target.toStdString();
        EXPECT_EQ(SaveCause(host.messages[0]),
                  QString::fromUtf8("Do složky %1 nelze zapisovat, je jen pro čtení.").arg(folder));
        EXPECT_TRUE(MapUnchanged());
        const QStringList files = QDir(folder).entryList(QDir::Files);
        EXPECT_EQ(files, QStringList({"x.map", "x.map.1", "x.map.2"}));
        for (const char* name : {"/x.map", "/x.map.1", "/x.map.2"})
            EXPECT_EQ(ReadAll(folder + name), old);
    }
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// A folder on a disk that fills up: a 64 KiB tmpfs where the machine allows mounting one,
// otherwise a file-size limit (RLIMIT_FSIZE) on the process, which fails writes the same way.
class FullDisk {
  public:
    explicit FullDisk(const QString& folder) : folder_(folder) {
        QDir().mkpath(folder);
        const QByteArray path = QFile::encodeName(folder);
        mounted_ = ::mount("tmpfs", path.constData(), "tmpfs", 0, "size=64k") == 0;
    }
    ~FullDisk() {
        Unlimit();
        if (mounted_) ::umount(QFile::encodeName(folder_).constData());
    }
    bool Mounted() const { return mounted_; }
    // Leaves room for at most one layer file: one 4 KiB page on the tmpfs, or a limit of 1000
    // bytes a file.
    void Fill() {
        if (mounted_) {
            const std::string filler = QFile::encodeName(folder_ + "/filler").toStdString();
            {
                std::ofstream out(filler, std::ios::binary);
                const std::string block(4096, 'f');
                while (out.write(block.data(), static_cast<std::streamsize>(block.size())))
                    out.flush();
            }
            QFile file(QString::fromStdString(filler));
            file.resize(file.size() - 4096);
            return;
        }
        limit_ = std::make_unique<zorvik::test::FileSizeLimit>(1000);
    }
    void Unlimit() { limit_.reset(); }

  private:
    QString folder_;
    bool mounted_ = false;
    std::unique_ptr<zorvik::test::FileSizeLimit> limit_;
};

TEST_F(EditorFaultTest, SaveOntoAFullDiskLeavesTheOldSetAndNoTemporaries) {
    const QString folder = Path("disk");
    FullDisk disk(folder);
    const QByteArray old = Layer("004");
    WriteSet(folder + "/x.map", old, old, old);
    FillMap();
    mapTiles[3][3] = 12;  // three layers of 2736 bytes each do not fit in what is left
    std::memcpy(tiles_, mapTiles, sizeof tiles_);
    disk.Fill();
    Save(folder + "/x.map");
    disk.Unlimit();
    ASSERT_EQ(host.messages.size(), 1u) << (disk.Mounted() ? "tmpfs" : "file-size limit");
    // The message names the real cause: the full disk, or the file-size limit standing in.
    EXPECT_TRUE(SaveCause(host.messages[0])
                    .contains(disk.Mounted() ? QString::fromUtf8("Na disku není dost místa")
                                             : QString::fromUtf8("by byl větší, než systém")))
        << host.messages[0].toStdString();
    EXPECT_TRUE(MapUnchanged());
    for (const char* name : {"/x.map", "/x.map.1", "/x.map.2"})
        EXPECT_EQ(ReadAll(folder + name), old) << name;
    QStringList left = QDir(folder).entryList(QDir::Files);
    left.removeAll(QStringLiteral("filler"));
    EXPECT_EQ(left, QStringList({"x.map", "x.map.1", "x.map.2"}));
}

}  // namespace
}  // namespace zorvik::editor::test
