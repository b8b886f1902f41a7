#pragma once
// Reading result rows of the catalogue's statements without SQLite types:
// the trees, the view and the command-line tool run their statements
// through these and read plain values.
//
// Threads: the caller holds a CatalogueSession for the whole call.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "catalogue/photo_catalogue.h"

struct sqlite3_stmt;

// One result row, valid only inside the ForEachRow callback that gets it.
class CatalogueRow {
  public:
    explicit CatalogueRow(sqlite3_stmt* statement) : statement_(statement) {}

    bool IsNull(int column) const;
    std::int64_t Int64(int column) const;  // NULL reads as 0
    int Int(int column) const;
    double Double(int column) const;
    std::string Text(int column) const;  // "" for NULL
    // The text without a copy; valid until the statement steps on.
    std::string_view TextView(int column) const;
    std::span<const std::uint8_t> Blob(int column) const;

  private:
    sqlite3_stmt* statement_;
};

// Calls onRow for each row of statement; false when the statement cannot be
// prepared or a step fails.
bool ForEachRow(const CatalogueSession& session, const std::string& statement,
                const std::function<void(const CatalogueRow&)>& onRow);

// First column of the first row, or nullopt when there is no row.
std::optional<std::int64_t> QueryInt64(const CatalogueSession& session,
                                       const std::string& statement);
std::optional<std::string> QueryText(const CatalogueSession& session, const std::string& statement);
