#include "catalogue/catalogue_rows.h"

#include <sqlite3.h>

#include "catalogue/library_internals.h"
#include "catalogue/sql_query.h"

bool CatalogueRow::IsNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

std::int64_t CatalogueRow::Int64(int column) const {
    return sqlite3_column_int64(statement_, column);
}

int CatalogueRow::Int(int column) const {
    return sqlite3_column_int(statement_, column);
}

double CatalogueRow::Double(int column) const {
    return sqlite3_column_double(statement_, column);
}

std::string CatalogueRow::Text(int column) const {
    return std::string(TextView(column));
}

std::string_view CatalogueRow::TextView(int column) const {
    const unsigned char* text = sqlite3_column_text(statement_, column);
    if (!text) return {};
    return {reinterpret_cast<const char*>(text),
            static_cast<std::size_t>(sqlite3_column_bytes(statement_, column))};
}

std::span<const std::uint8_t> CatalogueRow::Blob(int column) const {
    const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(statement_, column));
    const int length = sqlite3_column_bytes(statement_, column);
    if (!bytes || length <= 0) return {};
    return {bytes, static_cast<std::size_t>(length)};
}

bool ForEachRow(const CatalogueSession& session, const std::string& statement,
                const std::function<void(const CatalogueRow&)>& onRow) {
    return ForEachRow(SessionDb(session), statement,
                      [&](sqlite3_stmt* row) { onRow(CatalogueRow(row)); });
}

std::optional<std::int64_t> QueryInt64(const CatalogueSession& session,
                                       const std::string& statement) {
    return QueryInt64(SessionDb(session), statement);
}

std::optional<std::string> QueryText(const CatalogueSession& session,
                                     const std::string& statement) {
    return QueryText(SessionDb(session), statement);
}
