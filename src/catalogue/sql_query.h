#pragma once
// Small runners for the catalogue's statements. Each prepares, steps and
// finalizes within the call; no statement stays open between calls. Callers
// hold a CatalogueSession.

#include <sqlite3.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// Executes a statement; returns the SQLite result code.
int ExecuteStatement(sqlite3* db, const std::string& statement);

// First column of the first row as a 64-bit integer, or nullopt when the
// statement fails or returns no row. A NULL cell reads as 0.
std::optional<std::int64_t> QueryInt64(sqlite3* db, const std::string& statement);

// First column of the first row as text, or nullopt when there is no row.
std::optional<std::string> QueryText(sqlite3* db, const std::string& statement);

// Calls onRow for each row; returns false when the statement cannot be
// prepared or a step fails.
bool ForEachRow(sqlite3* db, const std::string& statement,
                const std::function<void(sqlite3_stmt*)>& onRow);

// Column text as a string ("" for NULL).
std::string ColumnText(sqlite3_stmt* row, int column);
