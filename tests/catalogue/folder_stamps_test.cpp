#include <filesystem>
#include <fstream>

#include "catalogue/catalogue_save.h"
#include "catalogue/deleted_paths.h"
#include "catalogue/folder_stamps.h"
#include "catalogue/library_internals.h"
#include "catalogue/photo_rows.h"
#include "catalogue/sql_query.h"
#include "catalogue_fixture.h"
#include "platform/file_status.h"

namespace {

std::int64_t StoredTime(const std::string& folder) {
    CatalogueSession session;
    return QueryInt64(SessionDb(session),
                      "select ModifyTime from tFolder where strFolderPath = '" + folder + "'")
        .value_or(-1);
}

// Exact to the second (a time computed from the clock's now() can land on
// the neighbouring second).
void SetFolderTime(const std::string& folder, std::int64_t seconds) {
    EXPECT_TRUE(SetFileLastWriteTime(folder, seconds));
}

}  // namespace

TEST_F(CatalogueTest, WritingAnEmptyFolderListLeavesTheTableUntouched) {
    std::filesystem::create_directories(Root() + "/gone");
    InsertPhotoRow(PhotoRef{1, false}, MakeRecord(Root() + "/gone", "a.jpg"), {}, {});
    RebuildFolderList();
    WriteFolderTable();
    ASSERT_GT(StoredTime(Root() + "/gone"), 0);
    ForgetFolderList();
    WriteFolderTable();
    EXPECT_GT(StoredTime(Root() + "/gone"), 0);
}

TEST_F(CatalogueTest, AFolderDeletedOnDiskIsMarkedChangedAndDroppedByTheRebuild) {
    std::string kept = Root() + "/kept", gone = Root() + "/gone";
    std::filesystem::create_directories(kept);
    std::filesystem::create_directories(gone);
    InsertPhotoRow(PhotoRef{1, false}, MakeRecord(kept, "a.jpg"), {}, {});
    InsertPhotoRow(PhotoRef{2, false}, MakeRecord(gone, "b.jpg"), {}, {});
    RebuildFolderList();
    WriteFolderTable();
    ForgetFolderList();
    EXPECT_FALSE(AnyFolderChanged()) << "loaded from tFolder, nothing changed";

    std::filesystem::remove_all(gone);
    EXPECT_TRUE(AnyFolderChanged());
    const FolderStampList stamps = FolderStamps();
    ASSERT_EQ(stamps.size(), 2u);
    for (const FolderStamp& stamp : stamps)
        EXPECT_EQ(stamp.changed, stamp.path == gone) << stamp.path;

    RebuildFolderList();
    EXPECT_EQ(ListedFolders(), std::vector<std::string>{kept});
}

TEST_F(CatalogueTest, ATouchedFolderIsMarkedAndOwnRewritesAreTakenIn) {
    std::string folder = Root() + "/f";
    std::filesystem::create_directories(folder);
    SetFolderTime(folder, 1500000000);
    InsertPhotoRow(PhotoRef{1, false}, MakeRecord(folder, "a.jpg"), {}, {});
    RebuildFolderList();
    WriteFolderTable();
    EXPECT_FALSE(AnyFolderChanged());

    SetFolderTime(folder, 1600000000);
    EXPECT_TRUE(AnyFolderChanged());
    RefreshFolderStamp(folder);
    EXPECT_EQ(StoredTime(folder), 1600000000);
    EXPECT_TRUE(AnyFolderChanged()) << "the mark stays until the folder is re-read";
}

TEST_F(CatalogueTest, PhotosInTheRootFolderKeepItMarkedAtEveryCheck) {
    InsertPhotoRow(PhotoRef{1, false}, MakeRecord("", "root.jpg"), {}, {});
    RebuildFolderList();
    const FolderStampList stamps = FolderStamps();
    ASSERT_EQ(stamps.size(), 1u) << "the root takes the current time";
    PutFolderStamp("", stamps[0].lastWriteTime - 10);
    EXPECT_TRUE(AnyFolderChanged());
}

TEST_F(CatalogueTest, DeletedPathsAreSkippedUnlessForced) {
    const std::string path = "/p/it's.jpg";
    EXPECT_TRUE(PassDeletedPathCheck(path, false));
    AddDeletedPath(path);
    EXPECT_TRUE(IsDeletedPath(path));
    EXPECT_FALSE(PassDeletedPathCheck(path, false));
    EXPECT_TRUE(PassDeletedPathCheck(path, true));
    EXPECT_FALSE(IsDeletedPath(path)) << "a forced import takes the path off the list";
}
