#include "database_file.h"

#include <sqlite3.h>

std::vector<std::string> QueryFileColumn(const std::string& databasePath,
                                         const std::string& statement) {
    std::vector<std::string> rows;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(databasePath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* query = nullptr;
        if (sqlite3_prepare_v2(db, statement.c_str(), -1, &query, nullptr) == SQLITE_OK) {
            while (sqlite3_step(query) == SQLITE_ROW) {
                const unsigned char* text = sqlite3_column_text(query, 0);
                rows.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
            }
        }
        sqlite3_finalize(query);
    }
    sqlite3_close(db);
    return rows;
}

int CountRowsInFile(const std::string& databasePath, const std::string& table) {
    auto rows = QueryFileColumn(databasePath, "select count(*) from " + table);
    return rows.empty() ? -1 : std::stoi(rows.front());
}
