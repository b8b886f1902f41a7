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

std::int64_t StoredTime(Library& library, const std::string& folder) {
    CatalogueSession session(library);
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
    InsertPhotoRow(library(), PhotoRef{1, false}, MakeRecord(Root() + "/gone", "a.jpg"), {}, {});
    RebuildFolderList(library());
    WriteFolderTable(library());
    ASSERT_GT(StoredTime(library(), Root() + "/gone"), 0);
    ForgetFolderList(library());
    WriteFolderTable(library());
    EXPECT_GT(StoredTime(library(), Root() + "/gone"), 0);
}

TEST_F(CatalogueTest, AFolderDeletedOnDiskIsMarkedChangedAndDroppedByTheRebuild) {
    std::string kept = Root() + "/kept", gone = Root() + "/gone";
    std::filesystem::create_directories(kept);
    std::filesystem::create_directories(gone);
    InsertPhotoRow(library(), PhotoRef{1, false}, MakeRecord(kept, "a.jpg"), {}, {});
    InsertPhotoRow(library(), PhotoRef{2, false}, MakeRecord(gone, "b.jpg"), {}, {});
    RebuildFolderList(library());
    WriteFolderTable(library());
    ForgetFolderList(library());
    EXPECT_FALSE(AnyFolderChanged(library())) << "loaded from tFolder, nothing changed";

    std::filesystem::remove_all(gone);
    EXPECT_TRUE(AnyFolderChanged(library()));
    const FolderStampList stamps = FolderStamps(library());
    ASSERT_EQ(stamps.size(), 2u);
    for (const FolderStamp& stamp : stamps)
        EXPECT_EQ(stamp.changed, stamp.path == gone) << stamp.path;

    RebuildFolderList(library());
    EXPECT_EQ(ListedFolders(library()), std::vector<std::string>{kept});
}

TEST_F(CatalogueTest, ATouchedFolderIsMarkedAndOwnRewritesAreTakenIn) {
    std::string folder = Root() + "/f";
    std::filesystem::create_directories(folder);
    SetFolderTime(folder, 1500000000);
    InsertPhotoRow(library(), PhotoRef{1, false}, MakeRecord(folder, "a.jpg"), {}, {});
    RebuildFolderList(library());
    WriteFolderTable(library());
    EXPECT_FALSE(AnyFolderChanged(library()));

    SetFolderTime(folder, 1600000000);
    EXPECT_TRUE(AnyFolderChanged(library()));
    RefreshFolderStamp(library(), folder);
    EXPECT_EQ(StoredTime(library(), folder), 1600000000);
    EXPECT_TRUE(AnyFolderChanged(library())) << "the mark stays until the folder is re-read";
}

TEST_F(CatalogueTest, PhotosInTheRootFolderKeepItMarkedAtEveryCheck) {
    InsertPhotoRow(library(), PhotoRef{1, false}, MakeRecord("", "root.jpg"), {}, {});
    RebuildFolderList(library());
    const FolderStampList stamps = FolderStamps(library());
    ASSERT_EQ(stamps.size(), 1u) << "the root takes the current time";
    PutFolderStamp(library(), "", stamps[0].lastWriteTime - 10);
    EXPECT_TRUE(AnyFolderChanged(library()));
}

TEST_F(CatalogueTest, DeletedPathsAreSkippedUnlessForced) {
    const std::string path = "/p/it's.jpg";
    EXPECT_TRUE(PassDeletedPathCheck(library(), path, false));
    AddDeletedPath(library(), path);
    EXPECT_TRUE(IsDeletedPath(library(), path));
    EXPECT_FALSE(PassDeletedPathCheck(library(), path, false));
    EXPECT_TRUE(PassDeletedPathCheck(library(), path, true));
    EXPECT_FALSE(IsDeletedPath(library(), path)) << "a forced import takes the path off the list";
}
