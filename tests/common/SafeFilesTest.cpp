// SPDX-License-Identifier: GPL-3.0-or-later
// Reading only regular files within a limit, and the folder lock that read-change-write cycles
// take. (Replacing a file through a synced temporary is tested with the high-score table.)
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "HostileFiles.h"
#include "RegularFile.h"
#include "SafeWrite.h"

namespace zorvik::test {
namespace {

namespace fs = std::filesystem;
using files::ReadError;

class SafeFilesTest : public ::testing::Test {
  protected:
    SafeFilesTest() {
        std::string pattern = (fs::temp_directory_path() / "zorvik-files-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
        dir_ = pattern;
    }
    ~SafeFilesTest() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }

    fs::path dir_;
};

TEST_F(SafeFilesTest, ARegularFileIsReadWholeUpToItsLimitAlsoThroughALink) {
    Write("table", "abc\n");
    const files::ReadResult read = files::ReadRegularFile(Path("table"), 4);
    EXPECT_TRUE(read.ok());
    EXPECT_EQ(read.bytes, "abc\n");
    fs::create_symlink(Path("table"), Path("link"));
    EXPECT_EQ(files::ReadRegularFile(Path("link"), 100).bytes, "abc\n");
    Write("empty", "");
    EXPECT_TRUE(files::ReadRegularFile(Path("empty"), 0).ok());

    EXPECT_EQ(files::ReadRegularFile(Path("table"), 3).error, ReadError::kTooLarge);
    EXPECT_EQ(files::ReadRegularFile(Path("none"), 100).error, ReadError::kMissing);
    fs::create_symlink(Path("none"), Path("dangling"));
    EXPECT_EQ(files::ReadRegularFile(Path("dangling"), 100).error, ReadError::kMissing);
    // A file the kernel makes up as it is read: its size says 0, its text is longer.
    EXPECT_EQ(files::ReadRegularFile("/proc/self/status", 10).error, ReadError::kTooLarge);
    EXPECT_TRUE(files::ReadRegularFile("/proc/self/status", 1 << 20).ok());
}

TEST_F(SafeFilesTest, SpecialAndHugeFilesAreRefusedBeforeAByteIsRead) {
    MakeFifo(Path("fifo"));
    files::ReadResult read;
    EXPECT_TRUE(
        FinishesWithin(5, Path("fifo"), [&] { read = files::ReadRegularFile(Path("fifo"), 100); }));
    EXPECT_EQ(read.error, ReadError::kNotRegular);

    fs::create_symlink("/dev/zero", Path("zero"));
    EXPECT_EQ(files::ReadRegularFile(Path("zero"), 100).error, ReadError::kNotRegular);
    EXPECT_EQ(files::ReadRegularFile(dir_.string(), 100).error, ReadError::kNotRegular);

    // Four gigabytes that take no room: refused by their size, at once.
    MakeSparseFile(Path("huge"), off_t{4} << 30, "BM");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(files::ReadRegularFile(Path("huge"), 1 << 20).error, ReadError::kTooLarge);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_STREQ(files::ReadErrorText(ReadError::kNotRegular), "not a regular file");
}

TEST_F(SafeFilesTest, AFolderLockWaitsForItsHolderAtMostItsPatience) {
    {
        const files::FolderLock first(dir_.string());
        ASSERT_TRUE(first.Held());
        // A second holder in another process, as a second game would be.
        ChildProcess other([this] {
            const files::FolderLock second(dir_.string(), 200);
            return second.Held() ? 1 : 0;
        });
        EXPECT_EQ(other.Wait(10), 0);
    }
    ChildProcess after([this] {
        const files::FolderLock second(dir_.string(), 200);
        return second.Held() ? 0 : 1;
    });
    EXPECT_EQ(after.Wait(10), 0);
    EXPECT_FALSE(files::FolderLock(Path("none"), 0).Held());
}

}  // namespace
}  // namespace zorvik::test
