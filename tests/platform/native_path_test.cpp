#include "platform/native_path.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/data_folder.h"
#include "platform/data_folder_lock.h"
#include "platform/file_status.h"

TEST(NativePath, SplitsAtTheLastSeparator) {
    EXPECT_EQ(FolderOfPath("/a/b/c.jpg"), "/a/b");
    EXPECT_EQ(NameOfPath("/a/b/c.jpg"), "c.jpg");
    EXPECT_EQ(FolderOfPath("c.jpg"), "");
    EXPECT_EQ(NameOfPath("c.jpg"), "c.jpg");
    EXPECT_EQ(FolderOfPath("/c.jpg"), "") << "a file in the root has an empty folder";
    EXPECT_EQ(JoinPath("/a/", "b"), "/a/b");
    EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
}

TEST(NativePath, AFolderIsInsideAnotherOnlyAtASeparator) {
    EXPECT_TRUE(IsPathInside("/d/Photo/x", "/d/Photo"));
    EXPECT_FALSE(IsPathInside("/d/Photos2", "/d/Photo"));
    EXPECT_FALSE(IsPathInside("/d/Photo", "/d/Photo"));
    EXPECT_TRUE(IsPathInside("/d", "/"));
}

TEST(FileStatus, ReportsMissingFilesAsMinusOneAndZero) {
    EXPECT_EQ(FileSizeOfUtf8Path("/no/such/file"), -1);
    EXPECT_EQ(FolderLastWriteTime("/no/such/folder"), 0);
    EXPECT_FALSE(StatFile("/no/such/file").has_value());
    EXPECT_GT(FolderLastWriteTime("/"), 0);
}

TEST(DataFolder, TheOptionWinsOverTheEnvironment) {
    setenv("DARAZOZ_DATA_DIR", "/tmp/from-env", 1);
    std::vector<std::string> args{"stats", "--data-dir", "/tmp/from-option"};
    EXPECT_EQ(ConfigureDataFolder(args), "/tmp/from-option");
    EXPECT_EQ(args, std::vector<std::string>{"stats"});
    std::vector<std::string> none{"stats"};
    EXPECT_EQ(ConfigureDataFolder(none), "/tmp/from-env");
    unsetenv("DARAZOZ_DATA_DIR");
}

TEST(DataFolderLock, IsHeldByOneHolderAtATime) {
    auto folder = std::filesystem::temp_directory_path() / ("dz-lock-" + std::to_string(getpid()));
    {
        DataFolderLock first(folder.string());
        ASSERT_TRUE(first.held());
        DataFolderLock second(folder.string());
        EXPECT_FALSE(second.held());
        EXPECT_TRUE(second.busy());
    }
    // A data folder path that names a file cannot take a lock: not busy.
    const std::filesystem::path file = folder.string() + "-file";
    std::ofstream(file.string()) << "x";
    DataFolderLock none(file.string());
    EXPECT_FALSE(none.held());
    EXPECT_FALSE(none.busy());
    std::filesystem::remove(file);
    DataFolderLock again(folder.string());
    EXPECT_TRUE(again.held()) << "released when the holder goes";
    std::filesystem::remove_all(folder);
}
