#include "catalogue/found_photos.h"

#include <sqlite3.h>

#include <unordered_set>

#include "catalogue/photo_catalogue.h"
#include "catalogue/sql_query.h"

namespace {

// The id is bound: one prepared statement serves every row of a large result.
constexpr const char* kSelectFullPath = "select strFullPath from tJpgMsg where idPic = ?";

// Owns a prepared statement for the length of one call.
class PreparedStatement {
  public:
    PreparedStatement(sqlite3* db, const char* text) {
        if (sqlite3_prepare_v2(db, text, -1, &statement_, nullptr) != SQLITE_OK) {
            sqlite3_finalize(statement_);
            statement_ = nullptr;
        }
    }
    ~PreparedStatement() { sqlite3_finalize(statement_); }
    PreparedStatement(const PreparedStatement&) = delete;
    PreparedStatement& operator=(const PreparedStatement&) = delete;
    sqlite3_stmt* get() const { return statement_; }

  private:
    sqlite3_stmt* statement_ = nullptr;
};

std::optional<std::string> FullPathOf(sqlite3_stmt* lookup, std::int64_t idPic) {
    sqlite3_reset(lookup);
    sqlite3_bind_int64(lookup, 1, idPic);
    if (sqlite3_step(lookup) != SQLITE_ROW) return std::nullopt;
    return ColumnText(lookup, 0);
}

std::optional<std::vector<FoundPhoto>> FoundIn(sqlite3* db, const std::string& statement) {
    std::vector<FoundPhoto> rows;
    std::unordered_set<std::int64_t> seen;
    const bool ran = ForEachRow(db, statement, [&](sqlite3_stmt* row) {
        const std::int64_t id = sqlite3_column_int64(row, 2);
        if (seen.insert(id).second)
            rows.push_back({id, static_cast<std::int32_t>(sqlite3_column_int64(row, 0)), {}});
    });
    if (!ran) return std::nullopt;
    PreparedStatement lookup(db, kSelectFullPath);
    if (lookup.get() == nullptr) return std::nullopt;
    std::vector<FoundPhoto> found;
    found.reserve(rows.size());
    for (FoundPhoto& photo : rows) {
        if (auto path = FullPathOf(lookup.get(), photo.idPic)) {
            photo.fullPath = std::move(*path);
            found.push_back(std::move(photo));
        }
    }
    return found;
}

}  // namespace

std::optional<std::vector<FoundPhoto>> ReadFoundPhotos(const std::string& statement) {
    CatalogueSession session;
    if (!session.ok()) return std::nullopt;
    return FoundIn(session.db(), statement);
}

std::optional<std::vector<FoundPhoto>> ReadFoundPhotosInFile(const std::string& file,
                                                             const std::string& statement) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return std::nullopt;
    }
    auto found = FoundIn(db, statement);
    sqlite3_close(db);
    return found;
}
