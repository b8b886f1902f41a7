#include "catalogue/found_photos.h"

#include <sqlite3.h>

#include <unordered_set>

#include "catalogue/library_internals.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/search_statement.h"
#include "catalogue/sql_query.h"

namespace {

// The search statement runs as a subquery whose rows are joined with their
// catalogued copy, so that each photo's row is read once with its path.
constexpr const char* kWithFullPathsHead = "select s.dwDateTime, s.idPic, p.strFullPath from (";
constexpr const char* kWithFullPathsTail =
    ") s join tJpgMsg p on p.idPic = s.idPic order by s.dwDateTime DESC";

std::string WithFullPaths(const SearchFilter& filter) {
    std::string statement = SearchStatement(filter);
    while (!statement.empty() && (statement.back() == ';' || statement.back() == ' '))
        statement.pop_back();
    return kWithFullPathsHead + statement + kWithFullPathsTail;
}

std::optional<std::vector<FoundPhoto>> FoundIn(sqlite3* db, const SearchFilter& filter) {
    std::vector<FoundPhoto> found;
    std::unordered_set<std::int64_t> seen;
    const bool ran = ForEachRow(db, WithFullPaths(filter), [&](sqlite3_stmt* row) {
        const std::int64_t id = sqlite3_column_int64(row, 1);
        if (seen.insert(id).second)
            found.push_back(
                {id, static_cast<std::int32_t>(sqlite3_column_int64(row, 0)), ColumnText(row, 2)});
    });
    if (!ran) return std::nullopt;
    return found;
}

}  // namespace

std::optional<std::vector<FoundPhoto>> ReadFoundPhotos(Library& library,
                                                       const SearchFilter& filter) {
    CatalogueSession session(library);
    if (!session.ok()) return std::nullopt;
    return FoundIn(SessionDb(session), filter);
}

std::optional<std::vector<FoundPhoto>> ReadFoundPhotosInFile(const std::string& file,
                                                             const SearchFilter& filter) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return std::nullopt;
    }
    auto found = FoundIn(db, filter);
    sqlite3_close(db);
    return found;
}
