#include "catalogue/search_statement.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "catalogue/sql_statement.h"

namespace {

constexpr const char* kAllPhotos =
    "select dwDateTime,strName,idPic from tJpgMsg order by dwDateTime DESC";
constexpr const char* kPhotosWhere = "select dwDateTime, strName, idPic from tJpgMsg where ";
constexpr const char* kEitherKeyword =
    "select dwDateTime,strName,idPic from tKeyWord where (strKeyword = '%s' or strKeyword = '%s') ";
constexpr const char* kOneKeyword =
    "select dwDateTime,strName,idPic from tKeyWord where strKeyword = '%s' ";
constexpr const char* kDateCondition = "dwDateTime > %d and dwDateTime < %d ";
constexpr const char* kLongitudeCondition = "fGPSLongitude > %f and fGPSLongitude < %f ";
constexpr const char* kLatitudeCondition = "fGPSLatitude > %f and fGPSLatitude < %f ";
constexpr const char* kNewestFirst = "order by dwDateTime DESC;";

// The date, longitude and latitude conditions in that order, each ending in
// a space, joined by "and ".
std::string Conditions(const SearchFilter& f) {
    std::string text;
    auto add = [&text](const std::string& condition) {
        if (!text.empty()) text += "and ";
        text += condition;
    };
    if (f.start != 0) add(FormatStatement(kDateCondition, f.start, f.end));
    if (f.longitude1 != 0)
        add(FormatStatement(kLongitudeCondition, std::min(f.longitude1, f.longitude2),
                            std::max(f.longitude1, f.longitude2)));
    if (f.latitude1 != 0)
        add(FormatStatement(kLatitudeCondition, std::min(f.latitude1, f.latitude2),
                            std::max(f.latitude1, f.latitude2)));
    return text;
}

}  // namespace

std::string SearchStatement(const SearchFilter& f) {
    std::string conditions = Conditions(f);
    std::string_view a(f.keywordA, strnlen(f.keywordA, sizeof f.keywordA));
    std::string_view b(f.keywordB, strnlen(f.keywordB, sizeof f.keywordB));
    if (a.empty() && b.empty()) {
        if (conditions.empty()) return kAllPhotos;
        return kPhotosWhere + conditions + kNewestFirst;
    }
    std::string statement = !a.empty() && !b.empty()
                                ? FormatStatement(kEitherKeyword, a, b)
                                : FormatStatement(kOneKeyword, a.empty() ? b : a);
    if (!conditions.empty()) statement += "and " + conditions;
    return statement + kNewestFirst;
}
