#include "platform/file_ops.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

class FileOpsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::ofstream(folder_.File("ten.bin"), std::ios::binary) << "0123456789";
        fs::create_directory(folder_.File("sub"));
        fs::create_symlink(folder_.File("gone"), folder_.File("dangling"));
    }
    TempFolder folder_;
};

TEST_F(FileOpsTest, ReadsAtAnOffsetOnlyWhatTheFileHolds) {
    const ReadOnlyFile file(folder_.File("ten.bin"));
    ASSERT_TRUE(file.IsOpen());
    const std::optional<OpenFileFacts> facts = RegularFileFacts(file.Descriptor());
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->size, 10u);
    std::array<std::uint8_t, 4> bytes{};
    ASSERT_TRUE(ReadAt(file.Descriptor(), 6, bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "6789");
    EXPECT_FALSE(ReadAt(file.Descriptor(), 7, bytes)) << "the file ends one byte short";
    EXPECT_TRUE(ReadAt(file.Descriptor(), 10, std::span<std::uint8_t>()));
}

TEST_F(FileOpsTest, TellsEntriesApartAndRemovesOnlyFiles) {
    EXPECT_FALSE(ReadOnlyFile(folder_.File("gone")).IsOpen());
    EXPECT_FALSE(RegularFileFacts(ReadOnlyFile(folder_.File("sub")).Descriptor()));
    EXPECT_TRUE(PathEntryExists(folder_.File("dangling"))) << "the link itself exists";
    EXPECT_FALSE(PathEntryExists(folder_.File("gone")));
    EXPECT_TRUE(IsWritableFile(folder_.File("ten.bin")));
    EXPECT_FALSE(IsWritableFile(folder_.File("gone")));
    EXPECT_FALSE(RemoveFile(folder_.File("sub")));
    EXPECT_TRUE(fs::is_directory(folder_.File("sub")));
    EXPECT_TRUE(RemoveFile(folder_.File("dangling")));
    EXPECT_FALSE(PathEntryExists(folder_.File("dangling")));
    EXPECT_TRUE(FlushFileToDisk(folder_.File("ten.bin")));
    EXPECT_TRUE(FlushFolderToDisk(folder_.Path()));
    EXPECT_FALSE(FlushFolderToDisk(folder_.File("ten.bin"))) << "not a folder";
}

}  // namespace
