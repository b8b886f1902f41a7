// The region grouping: province, city and, below provinces named "...省",
// district, with the photos at the lowest level.

#include <string>
#include <vector>

#include "catalogue/sql_query.h"
#include "catalogue/sql_statement.h"
#include "tree/tree_builders.h"
#include "tree/tree_labels.h"

namespace {

constexpr const char* kProvinces = "select distinct strArea0 from tJpgMsg where nArea > 0";
constexpr const char* kCities = "select distinct strArea1 from tJpgMsg where strArea0='%s'";
constexpr const char* kDistricts = "select distinct strArea2 from tJpgMsg where strArea0='%s' and strArea1='%s'";
constexpr const char* kCityPhotos =
    "select strName,idPic from tJpgMsg where strArea0='%s' and strArea1='%s' order by dwDateTime DESC";
constexpr const char* kDistrictPhotos =
    "select strName,idPic from tJpgMsg where strArea1='%s' and strArea2='%s' order by dwDateTime DESC";
constexpr const char* kPhotosWithoutRegion =
    "select strName,idPic from tJpgMsg where nArea = 0 order by dwDateTime DESC";

constexpr std::string_view kProvinceSuffix = "省";

// The first column of every row; a failing query keeps what it returned.
std::vector<std::string> Names(sqlite3* db, const std::string& statement) {
    std::vector<std::string> names;
    ForEachRow(db, statement, [&](sqlite3_stmt* row) { names.emplace_back(TextCell(row, 0)); });
    return names;
}

// Appends the photos of rows (strName, idPic).
void AppendPhotos(sqlite3* db, const std::string& statement, CategoryTree& tree, NodeIndex parent) {
    ForEachRow(db, statement, [&](sqlite3_stmt* row) {
        tree.AddPhoto(parent, PhotoRef{sqlite3_column_int64(row, 1), false}, TextCell(row, 0));
    });
}

void AddDistricts(sqlite3* db, CategoryTree& tree, NodeIndex cityNode, const std::string& province,
                  const std::string& city) {
    for (const std::string& district : Names(db, FormatStatement(kDistricts, province, city))) {
        // Photos without a district sit directly below the city; the
        // districts listed after them are not shown.
        if (district.empty()) {
            AppendPhotos(db, FormatStatement(kCityPhotos, province, city), tree, cityNode);
            return;
        }
        NodeIndex districtNode = tree.AddGroup(cityNode, district);
        AppendPhotos(db, FormatStatement(kDistrictPhotos, city, district), tree, districtNode);
    }
}

}  // namespace

std::unique_ptr<CategoryTree> BuildRegionTree(sqlite3* db) {
    std::vector<std::string> provinces;
    bool ok = ForEachRow(db, kProvinces, [&](sqlite3_stmt* row) { provinces.emplace_back(TextCell(row, 0)); });
    if (!ok) return nullptr;
    auto tree = std::make_unique<CategoryTree>();
    for (const std::string& province : provinces) {
        if (province.empty()) continue;
        NodeIndex provinceNode = tree->AddGroup(kRootNode, province);
        bool hasDistricts = province.ends_with(kProvinceSuffix);
        for (const std::string& city : Names(db, FormatStatement(kCities, province))) {
            if (city.empty()) continue;
            NodeIndex cityNode = tree->AddGroup(provinceNode, city);
            if (hasDistricts) {
                AddDistricts(db, *tree, cityNode, province, city);
            } else {
                AppendPhotos(db, FormatStatement(kCityPhotos, province, city), *tree, cityNode);
            }
        }
    }
    NodeIndex noRegion = kRootNode;
    ForEachRow(db, kPhotosWithoutRegion, [&](sqlite3_stmt* row) {
        if (noRegion == kRootNode) noRegion = tree->AddGroup(kRootNode, kNoRegionLabel);
        tree->AddPhoto(noRegion, PhotoRef{sqlite3_column_int64(row, 1), false}, TextCell(row, 0));
    });
    return tree;
}
