// The search statement and the trees built while the search is on.

#include <fstream>

#include "catalogue/found_photos.h"
#include "catalogue/search_statement.h"
#include "tree/category_tree_builder.h"
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
        auto tree = BuildCategoryTree(library(), mode, &filter);
        ASSERT_TRUE(tree) << static_cast<int>(mode);
        AppendDuplicatesGroup(library(), *tree);  // never on a filtered tree
        ApplyGroupCounts(*tree);
        EXPECT_EQ(Describe(*tree), "2016年[1]\n  3月[1]\n    fam.jpg\n") << static_cast<int>(mode);
    }
}

TEST_F(SearchTrees, CameraAndFolderGroupingsHaveNoTreeWhileSearching) {
    Add({.id = 1, .name = "a.jpg", .dateTime = LocalTime(2016, 3, 5), .model = "M"});
    SearchFilter filter = WithKeywords("a", "");
    EXPECT_FALSE(BuildCategoryTree(library(), SortMode::CameraModel, &filter));
    EXPECT_FALSE(BuildCategoryTree(library(), SortMode::FolderTree, &filter));
}

TEST_F(SearchTrees, APhotoCarryingBothKeywordsIsListedOnce) {
    Add({.id = 1, .name = "both.jpg", .dateTime = LocalTime(2016, 3, 5), .keywords = "a;b"});
    SearchFilter filter = WithKeywords("a", "b");
    auto tree = BuildCategoryTree(library(), SortMode::ShotTime, &filter);
    ASSERT_TRUE(tree);
    EXPECT_EQ(tree->PhotoCountBeneath(kRootNode), 1u);
}

}  // namespace

// What a search finds in a catalogue, as the command-line tool lists it.
class FoundPhotos : public TreeTest {
  protected:
    std::vector<std::string> Names(const SearchFilter& filter) {
        std::vector<std::string> names;
        const auto found = ReadFoundPhotos(library(), filter);
        EXPECT_TRUE(found);
        for (const FoundPhoto& photo : found.value_or(std::vector<FoundPhoto>{}))
            names.push_back(photo.fullPath.substr(photo.fullPath.rfind('/') + 1));
        return names;
    }
    using Names_t = std::vector<std::string>;
};

TEST_F(FoundPhotos, EitherKeywordMatchesExactlyAndEachPhotoIsListedOnceNewestFirst) {
    Add({.id = 1, .name = "old.jpg", .dateTime = LocalTime(2014, 1, 1), .keywords = "家人"});
    Add({.id = 2, .name = "both.jpg", .dateTime = LocalTime(2015, 1, 1), .keywords = "家人;Tom's"});
    Add({.id = 3, .name = "quote.jpg", .dateTime = LocalTime(2016, 1, 1), .keywords = "Tom's"});
    Add({.id = 4, .name = "near.jpg", .dateTime = LocalTime(2017, 1, 1), .keywords = "家人们"});
    EXPECT_EQ(Names(WithKeywords("家人", "Tom's")), (Names_t{"quote.jpg", "both.jpg", "old.jpg"}));
    EXPECT_EQ(Names(WithKeywords("Tom's", "")), (Names_t{"quote.jpg", "both.jpg"}));
    // A quote cannot widen the statement into matching everything.
    EXPECT_EQ(Names(WithKeywords("x' or '1'='1", "")), Names_t{});
}

TEST_F(FoundPhotos, BoundsAreExclusiveAndUnknownTimesOrPositionsStayOut) {
    const std::int64_t start = LocalTime(2014, 1, 1, 0);
    Add({.id = 1, .name = "at-start.jpg", .dateTime = start});
    Add({.id = 2,
         .name = "inside.jpg",
         .dateTime = start + 1,
         .longitude = 116.5f,
         .latitude = 40});
    Add({.id = 3, .name = "undated.jpg", .dateTime = 0});
    Add({.id = 4, .name = "on-bound.jpg", .dateTime = start + 5, .longitude = 116, .latitude = 40});
    SearchFilter dates;
    dates.start = static_cast<std::int32_t>(start);
    dates.end = static_cast<std::int32_t>(start + 5);
    EXPECT_EQ(Names(dates), Names_t{"inside.jpg"});

    SearchFilter place;
    place.longitude1 = 117;
    place.longitude2 = 116;  // bounds in either order
    EXPECT_EQ(Names(place), Names_t{"inside.jpg"});
    place.latitude1 = 41;
    place.latitude2 = 39;
    EXPECT_EQ(Names(place), Names_t{"inside.jpg"});
}

TEST_F(FoundPhotos, AFileWithoutTheTablesIsReportedNotTakenForNoPhotos) {
    const std::string empty = fresh_.Root() + "/empty.db";
    std::ofstream{empty};  // an empty file is an empty database to SQLite
    EXPECT_FALSE(ReadFoundPhotosInFile(empty, SearchFilter{}));
}
