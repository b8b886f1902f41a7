// The shot-time, camera, keyword and subject trees, with the count pass as
// the pane applies it.

#include <random>
#include <vector>

#include "catalogue/catalogue_rows.h"
#include "catalogue/sql_query.h"
#include "tree/category_tree_builder.h"
#include "tree/dated_grouping.h"
#include "tree/tree_builders.h"
#include "tree_fixture.h"

namespace {

std::string Built(Library& library, SortMode mode) {
    auto tree = BuildCategoryTree(library, mode, nullptr);
    if (!tree) return "<no tree>";
    ApplyGroupCounts(*tree);
    return Describe(*tree);
}

using DatedTrees = TreeTest;

TEST_F(DatedTrees, AnEmptyCatalogueShowsNoPhotosYetInEveryDatedGroupingAndAnEmptyRegionTree) {
    for (SortMode mode : {SortMode::ShotTime, SortMode::CameraModel, SortMode::FolderTree,
                          SortMode::KeywordGroups, SortMode::SubjectGroups})
        EXPECT_EQ(Built(library(), mode), "暂无照片\n") << static_cast<int>(mode);
    EXPECT_EQ(Built(library(), SortMode::RegionGroups), "");
}

TEST_F(DatedTrees, ShotTimeGroupsNewestFirstAndPutsUndatedPhotosLast) {
    Add({.id = 1, .name = "old.jpg", .dateTime = LocalTime(2015, 12, 24)});
    Add({.id = 2, .name = "undated.jpg", .dateTime = 0});
    Add({.id = 3, .name = "march.jpg", .dateTime = LocalTime(2016, 3, 5)});
    Add({.id = 4, .name = "march2.jpg", .dateTime = LocalTime(2016, 3, 1)});
    Add({.id = 5, .name = "jan.jpg", .dateTime = LocalTime(2016, 1, 9)});
    EXPECT_EQ(Built(library(), SortMode::ShotTime),
              "2016年[3]\n"
              "  3月[2]\n"
              "    march.jpg\n"
              "    march2.jpg\n"
              "  1月[1]\n"
              "    jan.jpg\n"
              "2015年[1]\n"
              "  12月[1]\n"
              "    old.jpg\n"
              "无日期标志[1]\n"
              "  undated.jpg\n");
}

TEST_F(DatedTrees, PhotosASecondApartAcrossLocalMidnightOfAMonthChangeFallIntoTwoMonths) {
    std::int64_t march = LocalTime(2016, 3, 1, 0);
    Add({.id = 1, .name = "march.jpg", .dateTime = march});
    Add({.id = 2, .name = "feb.jpg", .dateTime = march - 1});
    Add({.id = 3, .name = "dec.jpg", .dateTime = LocalTime(2016, 1, 1, 0) - 1});
    EXPECT_EQ(Built(library(), SortMode::ShotTime),
              "2016年[2]\n  3月[1]\n    march.jpg\n  2月[1]\n    feb.jpg\n"
              "2015年[1]\n  12月[1]\n    dec.jpg\n");
}

TEST_F(DatedTrees, ShotTimeStartsWithTheUndatedNodeWhenTheNewestPhotoIsFrom1970) {
    Add({.id = 1, .name = "zero.jpg", .dateTime = 0});
    Add({.id = 2, .name = "feb70.jpg", .dateTime = LocalTime(1970, 2, 1)});
    EXPECT_EQ(Built(library(), SortMode::ShotTime), "无日期标志[2]\n  feb70.jpg\n  zero.jpg\n");
}

TEST_F(DatedTrees, AMonthOpenedByAChangeOfYearCarriesTheMonthOfItsPhoto) {
    Add({.id = 1, .name = "mar.jpg", .dateTime = LocalTime(2016, 3, 5), .model = "EOS"});
    Add({.id = 2, .name = "dec.jpg", .dateTime = LocalTime(2015, 12, 24), .model = "EOS"});
    Add({.id = 3, .name = "jan.jpg", .dateTime = LocalTime(2015, 1, 2), .model = "EOS"});
    EXPECT_EQ(Built(library(), SortMode::CameraModel),
              "EOS[3]\n"
              "  2016年[1]\n"
              "    3月[1]\n"
              "      mar.jpg\n"
              "  2015年[2]\n"
              "    12月[1]\n"
              "      dec.jpg\n"
              "    1月[1]\n"
              "      jan.jpg\n");
}

TEST_F(DatedTrees, PhotosWithoutCameraComeLastWithTheirOwnUndatedNode) {
    Add({.id = 1, .name = "a.jpg", .dateTime = LocalTime(2014, 6, 1), .model = "Alpha"});
    Add({.id = 2, .name = "b.jpg", .dateTime = LocalTime(2014, 6, 2)});
    Add({.id = 3, .name = "c.jpg", .dateTime = 0});
    Add({.id = 4, .name = "d.jpg", .dateTime = LocalTime(2013, 6, 2), .model = "Zeta"});
    EXPECT_EQ(
        Built(library(), SortMode::CameraModel),
        "Zeta[1]\n  2013年[1]\n    6月[1]\n      d.jpg\n"
        "Alpha[1]\n  2014年[1]\n    6月[1]\n      a.jpg\n"
        "暂无相机信息[2]\n  2014年[1]\n    6月[1]\n      b.jpg\n  无日期标志[1]\n    c.jpg\n");
}

TEST_F(DatedTrees, AnyPhotoOf1970CountsAsUndatedBelowAKey) {
    Add({.id = 1, .name = "march70.jpg", .dateTime = LocalTime(1970, 3, 1), .model = "M"});
    Add({.id = 2, .name = "zero.jpg", .dateTime = 0, .model = "M"});
    EXPECT_EQ(Built(library(), SortMode::CameraModel),
              "M[2]\n  无日期标志[2]\n    march70.jpg\n    zero.jpg\n");
}

TEST_F(DatedTrees, APhotoWithSeveralKeywordsIsListedAndCountedUnderEachKeyword) {
    Add({.id = 1, .name = "both.jpg", .dateTime = LocalTime(2016, 3, 5), .keywords = "家人;旅行"});
    Add({.id = 2, .name = "trip.jpg", .dateTime = LocalTime(2016, 4, 5), .keywords = "旅行"});
    Add({.id = 3, .name = "plain.jpg", .dateTime = LocalTime(2016, 5, 5)});
    EXPECT_EQ(Built(library(), SortMode::KeywordGroups),
              "旅行[2]\n  2016年[2]\n    4月[1]\n      trip.jpg\n    3月[1]\n      both.jpg\n"
              "家人[1]\n  2016年[1]\n    3月[1]\n      both.jpg\n"
              "无关键词[1]\n  2016年[1]\n    5月[1]\n      plain.jpg\n");
}

TEST_F(DatedTrees, WithoutAnyKeywordTheTreeIsTheNoKeywordsGroupAlone) {
    Add({.id = 1, .name = "a.jpg", .dateTime = 0});
    EXPECT_EQ(Built(library(), SortMode::KeywordGroups),
              "无关键词[1]\n  无日期标志[1]\n    a.jpg\n");
}

TEST_F(DatedTrees, SubjectGroupsEndWithThePhotosWithoutSubject) {
    Add({.id = 1, .name = "a.jpg", .dateTime = LocalTime(2012, 2, 2), .subject = "Tom's party"});
    Add({.id = 2, .name = "b.jpg", .dateTime = LocalTime(2012, 2, 3)});
    EXPECT_EQ(Built(library(), SortMode::SubjectGroups),
              "Tom's party[1]\n  2012年[1]\n    2月[1]\n      a.jpg\n"
              "无主题词[1]\n  2012年[1]\n    2月[1]\n      b.jpg\n");
}

TEST_F(DatedTrees, LeavesCarryThePhotoIdsInTreeOrder) {
    Add({.id = 7, .name = "a.jpg", .dateTime = LocalTime(2016, 3, 5)});
    Add({.id = 9, .name = "b.jpg", .dateTime = LocalTime(2015, 3, 5)});
    auto tree = BuildCategoryTree(library(), SortMode::ShotTime, nullptr);
    ASSERT_TRUE(tree);
    std::vector<PhotoRef> refs;
    tree->AppendPhotosBeneath(kRootNode, refs);
    EXPECT_EQ(refs, (std::vector<PhotoRef>{{7, false}, {9, false}}));
    auto found = tree->FindPhoto({9, false});
    ASSERT_TRUE(found);
    EXPECT_EQ(tree->Node(tree->TopLevelAncestor(found->parent)).label, "2015年");
    EXPECT_FALSE(tree->FindPhoto({9, true}));
}

// A keyed tree as the catalogue sorts it: the key groups from rows ordered by
// key and shot time, then the group of photos without a key.
std::string KeyedTreeSortedBySql(Library& library, const char* orderedRows,
                                 const char* untaggedRows, bool skipRepeatedIds,
                                 DatedGrouping::KeyLabel keyLabel,
                                 DatedGrouping::KeyLabel untaggedLabel) {
    CategoryTree tree;
    {
        CatalogueSession session(library);
        auto feed = [&](const char* statement, DatedGrouping grouping) {
            ForEachRow(session, statement, [&](const CatalogueRow& row) {
                grouping.Add(
                    DatedRow{row.Int64(0), row.TextView(1), row.Int64(2), row.TextView(3)});
            });
        };
        feed(orderedRows, DatedGrouping::Keyed(tree, skipRepeatedIds, keyLabel));
        if (untaggedRows) feed(untaggedRows, DatedGrouping::Keyed(tree, false, untaggedLabel));
    }
    ApplyGroupCounts(tree);
    return Describe(tree);
}

TEST_F(DatedTrees, KeyedTreesSortedInMemoryMatchTheOrderTheCatalogueGives) {
    // Few models, keywords, subjects and shot times, so that keys repeat,
    // some are empty and shot times tie.
    const std::vector<std::string> models = {"NIKON D750", "Canon EOS 5D", "", "nikon d750"};
    const std::vector<std::string> keywords = {"花;山", "山", "", "海;花;猫", "Sky"};
    const std::vector<std::string> subjects = {"旅行", "", "家庭", "work"};
    const std::vector<std::int64_t> times = {0, LocalTime(2016, 3, 5), LocalTime(2016, 3, 5, 13),
                                             LocalTime(2015, 12, 24), LocalTime(1970, 1, 1, 9)};
    std::mt19937 random(20261209);
    auto pick = [&](const auto& values) { return values[random() % values.size()]; };
    for (int i = 1; i <= 300; ++i) {
        const std::string tags = pick(keywords);
        Add({.id = i * 7919LL % 100003 - 50000,  // distinct, scrambled, some negative
             .name = "p" + std::to_string(i) + ".jpg",
             .dateTime = pick(times),
             .model = pick(models),
             .keywords = tags,
             .subject = pick(subjects)});
    }
    auto label = [](std::string_view key) { return std::string(key); };
    EXPECT_EQ(Built(library(), SortMode::CameraModel),
              KeyedTreeSortedBySql(
                  library(),
                  "select dwDateTime,strName,idPic,strModel from tJpgMsg order by strModel "
                  "DESC,dwDateTime DESC",
                  nullptr, true,
                  [](std::string_view model) {
                      return model.empty() ? std::string("暂无相机信息") : std::string(model);
                  },
                  nullptr));
    EXPECT_EQ(Built(library(), SortMode::KeywordGroups),
              KeyedTreeSortedBySql(library(),
                                   "select dwDateTime,strName,idPic,strKeyword from tKeyWord order "
                                   "by strKeyword DESC,dwDateTime DESC",
                                   "select dwDateTime, strName, idPic, '' from tJpgMsg where "
                                   "nbKeyword = 0 order by dwDateTime DESC",
                                   false, label,
                                   [](std::string_view) { return std::string("无关键词"); }));
    EXPECT_EQ(Built(library(), SortMode::SubjectGroups),
              KeyedTreeSortedBySql(library(),
                                   "select dwDateTime,strName,idPic,strSubject from tSubject order "
                                   "by strSubject DESC,dwDateTime DESC",
                                   "select dwDateTime,strName,idPic,'' from tJpgMsg where "
                                   "strXpSubject = '' order by dwDateTime DESC",
                                   false, label,
                                   [](std::string_view) { return std::string("无主题词"); }));
}

}  // namespace
