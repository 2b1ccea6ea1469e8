// SPDX-License-Identifier: GPL-3.0-or-later
// Reading only regular files within a limit, and replacing a file through a synced temporary
// under a folder lock: special files, huge files, planted links, a full disk, a second holder.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "HostileFiles.h"
#include "RegularFile.h"
#include "SafeWrite.h"
#include "TestPaths.h"

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
    // The names in the folder, sorted.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
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

TEST_F(SafeFilesTest, ReplacingWritesTheModeGivenAndLeavesOnlyTheFile) {
    Write("table", "old");
    ASSERT_TRUE(files::ReplaceFile(Path("table"), "new", 0666));
    EXPECT_EQ(FileBytes(Path("table")), "new");
    EXPECT_EQ(fs::status(Path("table")).permissions(), fs::perms(0666));
    ASSERT_TRUE(files::ReplaceFile(Path("table"), "newer", 0640));
    EXPECT_EQ(fs::status(Path("table")).permissions(), fs::perms(0640));
    EXPECT_EQ(Names(), std::vector<std::string>{"table"});
    EXPECT_EQ(files::FolderOf(Path("table")), dir_.string());
    EXPECT_EQ(files::FolderOf("table"), ".");
    EXPECT_EQ(files::FolderOf("/table"), "/");

    const mode_t old = ::umask(027);
    EXPECT_EQ(files::NewFileMode(), mode_t{0640});
    ::umask(old);
}

TEST_F(SafeFilesTest, ALinkInTheFilesPlaceIsReplacedNotFollowed) {
    Write("victim", "someone else's");
    fs::create_symlink(Path("victim"), Path("table"));
    ASSERT_TRUE(files::ReplaceFile(Path("table"), "table", 0644));
    EXPECT_FALSE(fs::is_symlink(Path("table")));
    EXPECT_EQ(FileBytes(Path("table")), "table");
    EXPECT_EQ(FileBytes(Path("victim")), "someone else's");
}

TEST_F(SafeFilesTest, AFullDiskLeavesTheOldFileAndNoTemporary) {
    Write("table", "old");
    {
        FileSizeLimit full(100);
        ASSERT_TRUE(full.Active());
        EXPECT_FALSE(files::ReplaceFile(Path("table"), std::string(1000, 'x'), 0644));
    }
    EXPECT_EQ(FileBytes(Path("table")), "old");
    EXPECT_EQ(Names(), std::vector<std::string>{"table"});
    // Nor can a file replace a folder.
    fs::create_directory(Path("folder"));
    EXPECT_FALSE(files::ReplaceFile(Path("folder"), "x", 0644));
    EXPECT_EQ(Names(), (std::vector<std::string>{"folder", "table"}));
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
