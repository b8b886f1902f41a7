#include "catalogue/sql_query.h"

int ExecuteStatement(sqlite3* db, const std::string& statement) {
    return sqlite3_exec(db, statement.c_str(), nullptr, nullptr, nullptr);
}

bool ForEachRow(sqlite3* db, const std::string& statement,
                const std::function<void(sqlite3_stmt*)>& onRow) {
    sqlite3_stmt* query = nullptr;
    if (sqlite3_prepare_v2(db, statement.c_str(), -1, &query, nullptr) != SQLITE_OK) {
        sqlite3_finalize(query);
        return false;
    }
    int rc;
    while ((rc = sqlite3_step(query)) == SQLITE_ROW) onRow(query);
    sqlite3_finalize(query);
    return rc == SQLITE_DONE;
}

std::optional<std::int64_t> QueryInt64(sqlite3* db, const std::string& statement) {
    std::optional<std::int64_t> value;
    ForEachRow(db, statement, [&](sqlite3_stmt* row) {
        if (!value) value = sqlite3_column_int64(row, 0);
    });
    return value;
}

std::optional<std::string> QueryText(sqlite3* db, const std::string& statement) {
    std::optional<std::string> value;
    ForEachRow(db, statement, [&](sqlite3_stmt* row) {
        if (!value) value = ColumnText(row, 0);
    });
    return value;
}

std::string ColumnText(sqlite3_stmt* row, int column) {
    const unsigned char* text = sqlite3_column_text(row, column);
    if (!text) return {};
    return std::string(reinterpret_cast<const char*>(text),
                       static_cast<std::size_t>(sqlite3_column_bytes(row, column)));
}
