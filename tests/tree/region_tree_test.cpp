// The region tree: levels below provinces and below other top-level names.

#include <random>
#include <vector>

#include "catalogue/library_internals.h"
#include "catalogue/sql_query.h"
#include "catalogue/sql_statement.h"
#include "tree/category_tree_builder.h"
#include "tree_fixture.h"

namespace {

using RegionTree = TreeTest;

std::string BuiltRegions(Library& library) {
    auto tree = BuildCategoryTree(library, SortMode::RegionGroups, nullptr);
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
    auto tree = BuildCategoryTree(library(), SortMode::RegionGroups, nullptr);
    ASSERT_TRUE(tree);
    ApplyGroupCounts(*tree);
    std::string text = Describe(*tree);
    // Provinces come in the catalogue's order; look at each one's block.
    // A city with photos lacking a district lists all its photos directly
    // below it, those already shown under a district too.
    EXPECT_NE(
        text.find(
            "浙江省[3]\n  杭州市[3]\n    西湖区[1]\n      xihu.jpg\n    xihu.jpg\n    city.jpg\n"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("北京市[1]\n  海淀区[1]\n    bj.jpg\n"), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with("无区域信息[1]\n  none.jpg\n")) << text;
    EXPECT_EQ(text.find("lost.jpg"), std::string::npos);
}

TEST_F(RegionTree, APhotoCountedWithoutRegionsListsNoProvinceOfItsOwn) {
    Add({.id = 1, .name = "hz.jpg", .regions = {"浙江省", "杭州市", "西湖区"}});
    Add({.id = 2, .name = "nj.jpg", .regions = {"江苏省", "南京市", "玄武区"}});
    {
        CatalogueSession session(library());
        ASSERT_EQ(ExecuteStatement(SessionDb(session), "update tJpgMsg set nArea=0 where idPic=2"),
                  SQLITE_OK);
    }
    const std::string text = BuiltRegions(library());
    EXPECT_EQ(text.find("江苏省"), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with("无区域信息[1]\n  nj.jpg\n")) << text;
}

TEST_F(RegionTree, NamesWithApostrophesStillFindTheirPhotos) {
    Add({.id = 1, .name = "a.jpg", .regions = {"O'Brien省", "King's", "St John's"}});
    EXPECT_EQ(BuiltRegions(library()),
              "O'Brien省[1]\n  King's[1]\n    St John's[1]\n      a.jpg\n");
}

// The tree as the catalogue answers per level: the provinces with a region,
// the cities of each, the districts of each city and the photos of each.
std::string RegionsAskedPerLevel(Library& library) {
    CatalogueSession session(library);
    sqlite3* db = SessionDb(session);
    auto column = [&](const std::string& statement) {
        std::vector<std::string> values;
        ForEachRow(db, statement, [&](sqlite3_stmt* row) { values.push_back(ColumnText(row, 0)); });
        return values;
    };
    std::string out;
    auto photos = [&](const std::string& statement, int depth) {
        ForEachRow(db, statement, [&](sqlite3_stmt* row) {
            out += std::string(2 * depth, ' ') + ColumnText(row, 0) + "\n";
        });
    };
    for (const std::string& p : column("select distinct strArea0 from tJpgMsg where nArea > 0")) {
        if (p.empty()) continue;
        out += p + "\n";
        for (const std::string& c : column(
                 FormatStatement("select distinct strArea1 from tJpgMsg where strArea0='%s'", p))) {
            if (c.empty()) continue;
            out += "  " + c + "\n";
            const std::string cityPhotos = FormatStatement(
                "select strName,idPic from tJpgMsg where strArea0='%s' and strArea1='%s' order by "
                "dwDateTime DESC",
                p, c);
            if (!p.ends_with("省")) {
                photos(cityPhotos, 2);
                continue;
            }
            for (const std::string& d : column(FormatStatement(
                     "select distinct strArea2 from tJpgMsg where strArea0='%s' and strArea1='%s'",
                     p, c))) {
                if (d.empty()) {
                    photos(cityPhotos, 2);
                    break;
                }
                out += "    " + d + "\n";
                photos(
                    FormatStatement(
                        "select strName,idPic from tJpgMsg where strArea1='%s' and strArea2='%s' "
                        "order by dwDateTime DESC",
                        c, d),
                    3);
            }
        }
    }
    std::string none;
    std::swap(out, none);
    photos("select strName,idPic from tJpgMsg where nArea = 0 order by dwDateTime DESC", 1);
    if (!out.empty()) none += std::string("无区域信息\n") + out;
    return none;
}

TEST_F(RegionTree, OnePassGivesTheTreeThePerLevelQuestionsGive) {
    // Few names, so that cities and districts repeat across provinces, some
    // districts are empty, shot times tie and some rows lost their count.
    const std::vector<std::string> provinces = {"浙江省", "北京市", "四川省", "Ab省", "aB", ""};
    const std::vector<std::string> cities = {"杭州市", "成都市", "海淀区", "朝阳区", ""};
    const std::vector<std::string> districts = {"西湖区", "中关村", "", "锦江区"};
    std::mt19937 random(20261209);
    auto pick = [&](const std::vector<std::string>& names) {
        return names[random() % names.size()];
    };
    for (int i = 1; i <= 400; ++i) {
        // Distinct ids in scrambled order, some negative, as MD5-derived ids are.
        std::int64_t id = i * 7919LL % 100003 - 50000;
        Add({.id = id,
             .name = "p" + std::to_string(i) + ".jpg",
             .dateTime = static_cast<std::int64_t>(random() % 20),
             .regions = {pick(provinces), pick(cities), pick(districts)}});
        if (i % 37 == 0) {
            CatalogueSession session(library());
            ExecuteStatement(SessionDb(session),
                             FormatStatement("update tJpgMsg set nArea=%d where idPic=%lld",
                                             i % 2 ? 0 : 1, static_cast<long long>(id)));
        }
    }
    auto tree = BuildCategoryTree(library(), SortMode::RegionGroups, nullptr);
    ASSERT_TRUE(tree);
    EXPECT_EQ(Describe(*tree), RegionsAskedPerLevel(library()));
}

}  // namespace
