// The folder tree over a fixed mount table, and the mount table itself.

#include <map>
#include <random>

#include "catalogue/folder_stamps.h"
#include "catalogue/library_internals.h"
#include "catalogue/sql_query.h"
#include "tree/category_tree_builder.h"
#include "tree/mount_table.h"
#include "tree_fixture.h"

namespace {

using FolderTree = TreeTest;

MountTable TestMounts() {
    return MountTable({{"/", ""}, {"/d", "Data"}, {"/media/usb", ""}});
}

std::string BuiltWith(Library& library, const MountTable& mounts) {
    auto tree = BuildFolderTree(library, mounts);
    if (!tree) return "<no tree>";
    ApplyGroupCounts(*tree);
    return Describe(*tree);
}

TEST_F(FolderTree, NestsFoldersOnlyBelowRealAncestorsAndSkipsPhotosOfUnlistedFolders) {
    for (const char* folder :
         {"/d/Photo", "/d/Photos2", "/d/Photo/sub", "/home/x", "/media/usb/pics"})
        PutFolderStamp(library(), folder, 1000);
    Add({.id = 1, .folder = "/d/Photo", .name = "p.jpg"});
    Add({.id = 2, .folder = "/d/Photos2", .name = "p2.jpg"});
    Add({.id = 3, .folder = "/d/Photo/sub", .name = "s.jpg"});
    Add({.id = 4, .folder = "/home/x", .name = "h.jpg"});
    Add({.id = 5, .folder = "/media/usb/pics", .name = "u.jpg"});
    // Sorts first by folder (descending) and has no node.
    Add({.id = 6, .folder = "/unlisted", .name = "lost.jpg"});
    EXPECT_EQ(BuiltWith(library(), TestMounts()),
              "本地磁盘(/)[1]\n"
              "  x[1]\n"
              "    h.jpg\n"
              "Data(/d)[3]\n"
              "  Photo[2]\n"
              "    sub[1]\n"
              "      s.jpg\n"
              "    p.jpg\n"
              "  Photos2[1]\n"
              "    p2.jpg\n"
              "本地磁盘(/media/usb)[1]\n"
              "  pics[1]\n"
              "    u.jpg\n");
}

TEST_F(FolderTree, EachFolderListsItsPhotosInTheOrderTheCatalogueSortsThem) {
    const std::vector<std::string> folders = {"/d/a", "/d/a/b", "/d/c", "/d/B"};
    for (const std::string& folder : folders) PutFolderStamp(library(), folder, 1000);
    std::mt19937 random(20261209);
    for (int i = 1; i <= 200; ++i)
        Add({.id = i * 7919LL % 100003 - 50000,  // distinct, scrambled, some negative
             .folder = folders[random() % folders.size()],
             .name = "p" + std::to_string(i) + ".jpg",
             .dateTime = static_cast<std::int64_t>(random() % 5) * 86400});  // many ties
    std::map<std::string, std::string> expected;
    {
        CatalogueSession session(library());
        ForEachRow(
            SessionDb(session),
            "select strPath,strName from tJpgMsg order by strPath DESC,dwDateTime DESC",
            [&](sqlite3_stmt* row) { expected[ColumnText(row, 0)] += ColumnText(row, 1) + " "; });
    }
    auto tree = BuildFolderTree(library(), TestMounts());
    ASSERT_TRUE(tree);
    std::map<std::string, std::string> listed;
    std::vector<NodeIndex> pending(tree->TopLevel().begin(), tree->TopLevel().end());
    while (!pending.empty()) {
        const CategoryNode& node = tree->Node(pending.back());
        pending.pop_back();
        pending.insert(pending.end(), node.groups.begin(), node.groups.end());
        for (const PhotoLeaf& leaf : node.photos)
            listed[*node.folderPath] += std::string(tree->PhotoName(leaf)) + " ";
    }
    EXPECT_EQ(listed, expected);
}

TEST_F(FolderTree, NodesCarryTheirFolderPaths) {
    PutFolderStamp(library(), "/d/a", 1000);
    Add({.id = 1, .folder = "/d/a", .name = "p.jpg"});
    auto tree = BuildFolderTree(library(), TestMounts());
    ASSERT_TRUE(tree);
    const CategoryNode& drive = tree->Node(tree->TopLevel().at(0));
    EXPECT_EQ(drive.folderPath, "/d");
    EXPECT_EQ(tree->Node(drive.groups.at(0)).folderPath, "/d/a");
}

TEST_F(FolderTree, PhotosDirectlyInAMountPointGoIntoTheDriveNode) {
    PutFolderStamp(library(), "/media/usb", 1000);
    Add({.id = 1, .folder = "/media/usb", .name = "top.jpg"});
    EXPECT_EQ(BuiltWith(library(), TestMounts()), "本地磁盘(/media/usb)[1]\n  top.jpg\n");
}

TEST_F(FolderTree, AFolderBelongsToItsOwnMountEvenWhenAListedFolderAboveItLiesOnAnother) {
    PutFolderStamp(library(), "/media", 1000);
    PutFolderStamp(library(), "/media/usb/pics", 1000);
    Add({.id = 1, .folder = "/media", .name = "m.jpg"});
    Add({.id = 2, .folder = "/media/usb/pics", .name = "u.jpg"});
    EXPECT_EQ(BuiltWith(library(), TestMounts()),
              "本地磁盘(/)[1]\n  media[1]\n    m.jpg\n"
              "本地磁盘(/media/usb)[1]\n  pics[1]\n    u.jpg\n");
}

TEST_F(FolderTree, FoldersOnNoKnownMountHaveNoNodeAndEmptyDrivesAfterTheFirstDisappear) {
    PutFolderStamp(library(), "/d/empty", 1000);
    PutFolderStamp(library(), "/media/usb/pics", 1000);
    Add({.id = 1, .folder = "/media/usb/pics", .name = "u.jpg"});
    EXPECT_EQ(BuiltWith(library(), MountTable(std::vector<MountPoint>{{"/media/usb", "STICK"}})),
              "STICK(/media/usb)[1]\n  pics[1]\n    u.jpg\n");
    // The first drive stays even when all its folders are empty.
    EXPECT_EQ(BuiltWith(library(), MountTable(std::vector<MountPoint>{{"/d", ""}})),
              "本地磁盘(/d)[0]\n");
}

TEST(MountTableTest, ReadsMountPointsWithEscapesAndLabelsFromMountInfo) {
    const char* info =
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "30 22 0:5 / /proc rw - proc proc rw\n"
        "41 22 8:17 / /media/My\\040Stick rw,nosuid shared:9 - vfat /dev/sdb1 rw\n"
        "42 22 8:18 / /d rw - ext4 /dev/sdc1 rw\n"
        "43 22 8:19 / /d rw - ext4 /dev/sdc2 rw\n";
    MountTable table =
        MountTable::FromMountInfo(info, {{"/dev/sdb1", "相册盘"}, {"/dev/sdc2", "Top"}});
    ASSERT_EQ(table.Mounts().size(), 4u);
    const MountPoint* stick = table.Holding("/media/My Stick/2016");
    ASSERT_TRUE(stick);
    EXPECT_EQ(DriveLabel(*stick), "相册盘(/media/My Stick)");
    // The later mount over /d hides the earlier one.
    EXPECT_EQ(DriveLabel(*table.Holding("/d")), "Top(/d)");
    EXPECT_EQ(DriveLabel(*table.Holding("/dx/y")), "本地磁盘(/)");
    EXPECT_EQ(table.Holding("")->path, "/");
    MountTable other(std::vector<MountPoint>{{"/e", ""}});
    EXPECT_EQ(other.Holding("/d"), nullptr);
}

TEST(MountTableTest, TheSystemTableHoldsTheRootFolder) {
    MountTable system = MountTable::FromSystem();
    const MountPoint* root = system.Holding("/");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->path, "/");
}

}  // namespace
