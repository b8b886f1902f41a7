// The region tree: levels below provinces and below other top-level names.

#include "tree/category_tree_builder.h"
#include "tree_fixture.h"

namespace {

using RegionTree = TreeTest;

std::string BuiltRegions() {
    auto tree = BuildCategoryTree(SortMode::RegionGroups, nullptr);
    if (!tree) return "<no tree>";
    ApplyGroupCounts(*tree);
    return Describe(*tree);
}

TEST_F(RegionTree, ProvincesGetDistrictsWhileOtherTopLevelNamesHoldPhotosBelowTheCity) {
    Add({.id = 1, .name = "xihu.jpg", .dateTime = 200, .regions = {"浙江省", "杭州市", "西湖区"}});
    Add({.id = 2, .name = "city.jpg", .dateTime = 100, .regions = {"浙江省", "杭州市", ""}});
    Add({.id = 3, .name = "bj.jpg", .dateTime = 300, .regions = {"北京市", "海淀区", "中关村"}});
    Add({.id = 4, .name = "none.jpg"});
    // A province without a city is listed nowhere.
    Add({.id = 5, .name = "lost.jpg", .regions = {"浙江省", "", ""}});
    auto tree = BuildCategoryTree(SortMode::RegionGroups, nullptr);
    ASSERT_TRUE(tree);
    ApplyGroupCounts(*tree);
    std::string text = Describe(*tree);
    // Provinces come in the catalogue's order; look at each one's block.
    // A city with photos lacking a district lists all its photos directly
    // below it, those already shown under a district too.
    EXPECT_NE(text.find("浙江省[3]\n  杭州市[3]\n    西湖区[1]\n      xihu.jpg\n    xihu.jpg\n    city.jpg\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("北京市[1]\n  海淀区[1]\n    bj.jpg\n"), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with("无区域信息[1]\n  none.jpg\n")) << text;
    EXPECT_EQ(text.find("lost.jpg"), std::string::npos);
}

TEST_F(RegionTree, NamesWithApostrophesStillFindTheirPhotos) {
    Add({.id = 1, .name = "a.jpg", .regions = {"O'Brien省", "King's", "St John's"}});
    EXPECT_EQ(BuiltRegions(), "O'Brien省[1]\n  King's[1]\n    St John's[1]\n      a.jpg\n");
}

}  // namespace
