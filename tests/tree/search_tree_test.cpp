// The search statement and the trees built while the search is on.

#include "tree/category_tree_builder.h"
#include "tree/search_query.h"
#include "tree_fixture.h"

namespace {

SearchFilter WithKeywords(const char* a, const char* b) {
    SearchFilter f;
    SetField(f.keywordA, a);
    SetField(f.keywordB, b);
    return f;
}

TEST(SearchStatementText, WithoutCriteriaSelectsAllPhotosNewestFirst) {
    EXPECT_EQ(SearchStatement({}),
              "select dwDateTime,strName,idPic from tJpgMsg order by dwDateTime DESC");
}

TEST(SearchStatementText, OneKeywordSelectsItsKeywordRows) {
    EXPECT_EQ(SearchStatement(WithKeywords("", "家人")),
              "select dwDateTime,strName,idPic from tKeyWord where strKeyword = '家人' order by "
              "dwDateTime DESC;");
}

TEST(SearchStatementText, PositionBoundsAreOrderedAndJoinedLongitudeFirst) {
    SearchFilter f;
    f.longitude1 = 117;
    f.longitude2 = 116;
    f.latitude1 = 39;
    f.latitude2 = 41;
    EXPECT_EQ(
        SearchStatement(f),
        "select dwDateTime, strName, idPic from tJpgMsg where "
        "fGPSLongitude > 116.000000 and fGPSLongitude < 117.000000 "
        "and fGPSLatitude > 39.000000 and fGPSLatitude < 41.000000 order by dwDateTime DESC;");
}

TEST(SearchStatementText, BothKeywordsWithADateRangeKeepQuotesInsideTheLiteral) {
    SearchFilter f = WithKeywords("Tom's", "x");
    f.start = 100;
    f.end = 200;
    EXPECT_EQ(SearchStatement(f),
              "select dwDateTime,strName,idPic from tKeyWord where (strKeyword = 'Tom''s' or "
              "strKeyword = 'x') "
              "and dwDateTime > 100 and dwDateTime < 200 order by dwDateTime DESC;");
}

using SearchTrees = TreeTest;

TEST_F(SearchTrees, KeywordSubjectAndRegionGroupingsShowTheFilteredShotTimeTree) {
    Add({.id = 1, .name = "fam.jpg", .dateTime = LocalTime(2016, 3, 5), .keywords = "家人"});
    Add({.id = 2, .name = "other.jpg", .dateTime = LocalTime(2016, 4, 5), .keywords = "旅行"});
    Add({.id = 3, .folder = "/c", .name = "dup.jpg", .dateTime = 5, .duplicate = true});
    SearchFilter filter = WithKeywords("家人", "");
    for (SortMode mode : {SortMode::ShotTime, SortMode::KeywordGroups, SortMode::SubjectGroups,
                          SortMode::RegionGroups}) {
        auto tree = BuildCategoryTree(mode, &filter);
        ASSERT_TRUE(tree) << static_cast<int>(mode);
        AppendDuplicatesGroup(*tree);  // never on a filtered tree
        ApplyGroupCounts(*tree);
        EXPECT_EQ(Describe(*tree), "2016年[1]\n  3月[1]\n    fam.jpg\n") << static_cast<int>(mode);
    }
}

TEST_F(SearchTrees, CameraAndFolderGroupingsHaveNoTreeWhileSearching) {
    Add({.id = 1, .name = "a.jpg", .dateTime = LocalTime(2016, 3, 5), .model = "M"});
    SearchFilter filter = WithKeywords("a", "");
    EXPECT_FALSE(BuildCategoryTree(SortMode::CameraModel, &filter));
    EXPECT_FALSE(BuildCategoryTree(SortMode::FolderTree, &filter));
}

TEST_F(SearchTrees, APhotoCarryingBothKeywordsIsListedOnce) {
    Add({.id = 1, .name = "both.jpg", .dateTime = LocalTime(2016, 3, 5), .keywords = "a;b"});
    SearchFilter filter = WithKeywords("a", "b");
    auto tree = BuildCategoryTree(SortMode::ShotTime, &filter);
    ASSERT_TRUE(tree);
    EXPECT_EQ(tree->PhotoCountBeneath(kRootNode), 1u);
}

}  // namespace
