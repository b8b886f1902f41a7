// The region grouping: province, city and, below provinces named "...省",
// district, with the photos at the lowest level.
//
// The grouping reads the catalogue in one pass over the table and groups the
// rows here. Asking per province, city and district instead costs an index
// lookup into the large table for every photo at each level, several times
// slower with 100,000 photos. The tree is the one those per-level questions
// give:
// - provinces: the names of rows with a region (a region count above 0), in
//   byte order;
// - cities of a province, districts of a province's city: every row with
//   those names counts, in the order the rows are stored (by photo id);
// - a city's photos: its province and city names match; a district's photos:
//   its city and district names match, whichever the province;
// - photos newest first, photos of one shot time in stored order.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "catalogue/grouping_rows.h"
#include "tree/tree_builders.h"
#include "tree/tree_labels.h"

namespace {

constexpr std::string_view kProvinceSuffix = "省";

struct RegionRow {
    std::int64_t id = 0;
    std::int64_t dateTime = 0;      // lowest for NULL, which sorts last
    std::int64_t regionCount = -1;  // -1 for NULL, which is neither 0 nor above
    std::string province;           // NULL reads as empty, as the tree never shows an empty name
    std::string city;
    std::string district;
    std::string name;
};

using RowList = std::vector<std::uint32_t>;
using NamePair = std::pair<std::string_view, std::string_view>;

// Distinct names in the order they were first seen.
class FirstSeenNames {
  public:
    void Add(std::string_view name) {
        if (seen_.insert(name).second) order_.push_back(name);
    }
    const std::vector<std::string_view>& Names() const { return order_; }

  private:
    std::unordered_set<std::string_view> seen_;
    std::vector<std::string_view> order_;
};

struct RegionIndex {
    std::set<std::string_view> provinces;
    std::map<std::string_view, FirstSeenNames> citiesOf;  // by province
    std::map<NamePair, FirstSeenNames> districtsOf;       // by (province, city)
    std::map<NamePair, RowList> cityPhotos;               // (province, city), newest first
    std::map<NamePair, RowList> districtPhotos;           // (city, district), newest first
    RowList withoutRegion;                                // region count 0, newest first
};

bool ReadRegionRows(const CatalogueSession& session, std::vector<RegionRow>& rows) {
    return ForEachRegionGroupingRow(session, [&](const RegionGroupingRow& row) {
        rows.push_back({row.id, row.dateTime.value_or(std::numeric_limits<std::int64_t>::min()),
                        row.regionCount.value_or(-1), std::string(row.province),
                        std::string(row.city), std::string(row.district), std::string(row.name)});
    });
}

RegionIndex IndexRows(const std::vector<RegionRow>& rows) {
    RegionIndex index;
    for (const RegionRow& r : rows) {
        if (r.regionCount > 0) index.provinces.insert(r.province);
        index.citiesOf[r.province].Add(r.city);
        index.districtsOf[{r.province, r.city}].Add(r.district);
    }
    RowList newestFirst(rows.size());
    for (std::uint32_t i = 0; i < newestFirst.size(); ++i) newestFirst[i] = i;
    std::stable_sort(newestFirst.begin(), newestFirst.end(), [&](std::uint32_t a, std::uint32_t b) {
        return rows[a].dateTime > rows[b].dateTime;
    });
    for (std::uint32_t i : newestFirst) {
        const RegionRow& r = rows[i];
        index.cityPhotos[{r.province, r.city}].push_back(i);
        index.districtPhotos[{r.city, r.district}].push_back(i);
        if (r.regionCount == 0) index.withoutRegion.push_back(i);
    }
    return index;
}

template <typename Key>
const RowList& PhotosOf(const std::map<Key, RowList>& photos, const Key& key) {
    static const RowList none;
    auto found = photos.find(key);
    return found == photos.end() ? none : found->second;
}

void AppendPhotos(const std::vector<RegionRow>& rows, const RowList& list, CategoryTree& tree,
                  NodeIndex parent) {
    for (std::uint32_t i : list) tree.AddPhoto(parent, PhotoRef{rows[i].id, false}, rows[i].name);
}

void AddDistricts(const std::vector<RegionRow>& rows, const RegionIndex& index, CategoryTree& tree,
                  NodeIndex cityNode, std::string_view province, std::string_view city) {
    for (std::string_view district : index.districtsOf.at({province, city}).Names()) {
        // Photos without a district sit directly below the city; the
        // districts seen after them are not shown.
        if (district.empty()) {
            AppendPhotos(rows, PhotosOf(index.cityPhotos, NamePair{province, city}), tree,
                         cityNode);
            return;
        }
        NodeIndex districtNode = tree.AddGroup(cityNode, std::string(district));
        AppendPhotos(rows, PhotosOf(index.districtPhotos, NamePair{city, district}), tree,
                     districtNode);
    }
}

}  // namespace

std::unique_ptr<CategoryTree> BuildRegionTree(const CatalogueSession& session) {
    std::vector<RegionRow> rows;
    if (!ReadRegionRows(session, rows)) return nullptr;
    const RegionIndex index = IndexRows(rows);
    auto tree = std::make_unique<CategoryTree>();
    for (std::string_view province : index.provinces) {
        if (province.empty()) continue;
        NodeIndex provinceNode = tree->AddGroup(kRootNode, std::string(province));
        bool hasDistricts = province.ends_with(kProvinceSuffix);
        for (std::string_view city : index.citiesOf.at(province).Names()) {
            if (city.empty()) continue;
            NodeIndex cityNode = tree->AddGroup(provinceNode, std::string(city));
            if (hasDistricts) {
                AddDistricts(rows, index, *tree, cityNode, province, city);
            } else {
                AppendPhotos(rows, PhotosOf(index.cityPhotos, NamePair{province, city}), *tree,
                             cityNode);
            }
        }
    }
    if (!index.withoutRegion.empty()) {
        NodeIndex noRegion = tree->AddGroup(kRootNode, kNoRegionLabel);
        AppendPhotos(rows, index.withoutRegion, *tree, noRegion);
    }
    return tree;
}
