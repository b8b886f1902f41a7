// The duplicates group, the map list and the count pass on their own.

#include <vector>

#include "tree/category_tree_builder.h"
#include "tree_fixture.h"

namespace {

using ExtraGroups = TreeTest;

TEST_F(ExtraGroups, DuplicatesAreGroupedByFolderAfterAllOtherNodes) {
    Add({.id = 1, .name = "a.jpg", .dateTime = LocalTime(2016, 3, 5)});
    Add({.id = 1, .folder = "/copies", .name = "a.jpg", .dateTime = 10, .duplicate = true});
    Add({.id = 2, .folder = "/backup", .name = "b.jpg", .dateTime = 10, .duplicate = true});
    auto tree = BuildCategoryTree(library(), SortMode::ShotTime, nullptr);
    ASSERT_TRUE(tree);
    AppendDuplicatesGroup(library(), *tree);
    ApplyGroupCounts(*tree);
    EXPECT_EQ(Describe(*tree),
              "2016年[1]\n  3月[1]\n    a.jpg\n"
              "*重复照片列表*[2]\n  /copies[1]\n    -a.jpg\n  /backup[1]\n    -b.jpg\n");
    std::vector<PhotoRef> refs;
    tree->AppendPhotosBeneath(tree->TopLevel().back(), refs);
    EXPECT_EQ(refs, (std::vector<PhotoRef>{{1, true}, {2, true}}));
}

TEST_F(ExtraGroups, WithoutDuplicatesNoGroupIsAppended) {
    Add({.id = 1, .name = "a.jpg", .dateTime = LocalTime(2016, 3, 5)});
    auto tree = BuildCategoryTree(library(), SortMode::CameraModel, nullptr);
    ASSERT_TRUE(tree);
    AppendDuplicatesGroup(library(), *tree);
    EXPECT_EQ(tree->TopLevel().size(), 1u);
}

TEST_F(ExtraGroups, TheMapListKeepsTheGivenOrderAndLeavesOutUnknownIds) {
    Add({.id = 10, .name = "ten.jpg"});
    Add({.id = 20, .name = "twenty.jpg"});
    std::vector<std::int64_t> ids{20, 99, 10};
    auto tree = BuildFromMapTree(library(), ids);
    ApplyGroupCounts(*tree);
    EXPECT_EQ(Describe(*tree), "来自Zidevu地图[2]\n  twenty.jpg\n  ten.jpg\n");
}

TEST_F(ExtraGroups, AMapListWithoutKnownIdsStaysAsTheOnlyNodeCountedZero) {
    std::vector<std::int64_t> ids{5, 6};
    auto tree = BuildFromMapTree(library(), ids);
    ApplyGroupCounts(*tree);
    EXPECT_EQ(Describe(*tree), "来自Zidevu地图[0]\n");
}

TEST(GroupCounts, RemovesEmptyGroupsKeepsEmptiedParentsAtZeroAndCountsPhotos) {
    CategoryTree tree;
    NodeIndex first = tree.AddGroup(kRootNode, "first");
    NodeIndex emptied = tree.AddGroup(first, "emptied");
    tree.AddGroup(emptied, "empty leaf group");
    NodeIndex full = tree.AddGroup(first, "full");
    tree.AddPhoto(full, {1, false}, "p1");
    tree.AddPhoto(full, {2, false}, "p2");
    tree.AddPhoto(first, {3, false}, "p3");
    tree.AddGroup(kRootNode, "empty top");
    NodeIndex last = tree.AddGroup(kRootNode, "last");
    tree.AddPhoto(last, {4, false}, "p4");
    ApplyGroupCounts(tree);
    EXPECT_EQ(Describe(tree),
              "first[3]\n  emptied[0]\n  full[2]\n    p1\n    p2\n  p3\n"
              "last[1]\n  p4\n");
}

}  // namespace
