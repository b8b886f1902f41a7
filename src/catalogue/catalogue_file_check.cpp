#include "catalogue/catalogue_file_check.h"

#include <sqlite3.h>

#include <strings.h>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

#include "catalogue/catalogue_schema.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/sql_query.h"
#include "catalogue/sql_statement.h"
#include "platform/local_time.h"

namespace {

constexpr std::size_t kHeaderSize = 100;
constexpr char kMagic[] = "SQLite format 3";  // 16 bytes with its NUL
constexpr const char* kTableColumns = "pragma table_info('%s')";
constexpr const char* kObjectType = "select type from sqlite_master where name='%s' collate nocase";

struct Column {
    std::string name;
    std::string type;
};
using Columns = std::vector<Column>;

std::uint32_t BigEndian(const std::uint8_t* p, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value = value << 8 | p[i];
    return value;
}

// The header's own account of the file: the page size must divide the file,
// and a valid in-header page count must fit in it.
CatalogueFileState CheckHeader(const std::string& path, std::uintmax_t size) {
    std::array<std::uint8_t, kHeaderSize> header{};
    std::ifstream in(path, std::ios::binary);
    if (!in) return CatalogueFileState::Unreadable;
    const std::size_t wanted = std::min<std::uintmax_t>(size, kHeaderSize);
    if (!in.read(reinterpret_cast<char*>(header.data()), static_cast<std::streamsize>(wanted)))
        return CatalogueFileState::Unreadable;
    const std::size_t magicPart = std::min(wanted, sizeof kMagic);
    if (std::memcmp(header.data(), kMagic, magicPart) != 0) return CatalogueFileState::NotADatabase;
    if (wanted < kHeaderSize) return CatalogueFileState::Truncated;

    std::uint32_t pageSize = BigEndian(&header[16], 2);
    if (pageSize == 1) pageSize = 65536;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0) return CatalogueFileState::Damaged;
    if (size % pageSize != 0) return CatalogueFileState::Truncated;
    const std::uint32_t pages = BigEndian(&header[28], 4);
    const bool pagesValid = pages != 0 && BigEndian(&header[92], 4) == BigEndian(&header[24], 4);
    if (pagesValid && size < std::uintmax_t{pages} * pageSize) return CatalogueFileState::Truncated;
    return CatalogueFileState::Usable;
}

CatalogueFileState StateOfError(int rc) {
    switch (rc & 0xFF) {
        case SQLITE_NOTADB:
            return CatalogueFileState::NotADatabase;
        case SQLITE_CORRUPT:
        case SQLITE_FORMAT:
        case SQLITE_RANGE:
            return CatalogueFileState::Damaged;
        default:
            return CatalogueFileState::Unreadable;
    }
}

// Declared columns of a table; nothing when the statement fails.
std::optional<Columns> TableColumns(sqlite3* db, const char* table, int& rc) {
    Columns columns;
    sqlite3_stmt* query = nullptr;
    rc = sqlite3_prepare_v2(db, FormatStatement(kTableColumns, table).c_str(), -1, &query, nullptr);
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        rc = sqlite3_step(query);
        if (rc == SQLITE_ROW) columns.push_back({ColumnText(query, 1), ColumnText(query, 2)});
    }
    sqlite3_finalize(query);
    if (rc != SQLITE_DONE) return std::nullopt;
    rc = SQLITE_OK;
    return columns;
}

// The columns each catalogue table must have, read back from the schema
// statements themselves run in a scratch database.
const std::map<std::string, Columns>& ExpectedColumns() {
    static const std::map<std::string, Columns> expected = [] {
        std::map<std::string, Columns> tables;
        sqlite3* scratch = nullptr;
        sqlite3_open_v2(":memory:", &scratch, SQLITE_OPEN_READWRITE, nullptr);
        for (const TableSchema& schema : CatalogueTables()) {
            int rc = ExecuteStatement(scratch, schema.statements.front().text);
            if (auto columns = TableColumns(scratch, schema.name, rc))
                tables[schema.name] = *columns;
        }
        sqlite3_close(scratch);
        return tables;
    }();
    return expected;
}

bool SameColumns(const Columns& found, const Columns& wanted) {
    if (found.size() != wanted.size()) return false;
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (strcasecmp(found[i].name.c_str(), wanted[i].name.c_str()) != 0 ||
            strcasecmp(found[i].type.c_str(), wanted[i].type.c_str()) != 0)
            return false;
    }
    return true;
}

CatalogueFileState CheckTables(sqlite3* db) {
    for (const auto& [table, wanted] : ExpectedColumns()) {
        std::optional<std::string> type;
        const bool read = ForEachRow(db, FormatStatement(kObjectType, table.c_str()),
                                     [&](sqlite3_stmt* row) { type = ColumnText(row, 0); });
        if (!read) return StateOfError(sqlite3_errcode(db));
        if (!type) continue;  // missing tables are added when the file is opened
        if (*type != "table") return CatalogueFileState::WrongTables;
        int rc = SQLITE_OK;
        auto columns = TableColumns(db, table.c_str(), rc);
        if (!columns) return StateOfError(rc);
        if (!SameColumns(*columns, wanted)) return CatalogueFileState::WrongTables;
    }
    return CatalogueFileState::Usable;
}

// The part of the check that reads only the file's header against its size.
CatalogueFileState CheckCatalogueHeader(const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) return CatalogueFileState::Usable;
    if (error || status.type() != std::filesystem::file_type::regular)
        return CatalogueFileState::Unreadable;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) return CatalogueFileState::Unreadable;
    return size == 0 ? CatalogueFileState::Usable : CheckHeader(path, size);
}

}  // namespace

CatalogueFileState CheckCatalogueFile(const std::string& path) {
    if (auto state = CheckCatalogueHeader(path); state != CatalogueFileState::Usable) return state;
    std::error_code error;
    if (!std::filesystem::exists(path, error) || std::filesystem::file_size(path, error) == 0)
        return CatalogueFileState::Usable;

    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    CatalogueFileState state = rc == SQLITE_OK ? CheckTables(db) : StateOfError(rc);
    sqlite3_close(db);
    return state;
}

bool IsDamagedState(CatalogueFileState state) {
    return state == CatalogueFileState::NotADatabase || state == CatalogueFileState::Truncated ||
           state == CatalogueFileState::Damaged || state == CatalogueFileState::WrongTables;
}

std::string CatalogueAsidePath(std::time_t now) {
    // A clock the library cannot convert leaves the zeroed stamp it always gave.
    const LocalWallTime t = LocalWallTimeOf(now).value_or(LocalWallTime{1900, 1, 0});
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, ".damaged-%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return CatalogueFilePath() + stamp;
}

std::optional<std::string> SetCatalogueFileAside(std::time_t now) {
    const std::string file = CatalogueFilePath();
    const std::string aside = CatalogueAsidePath(now);
    if (std::rename(file.c_str(), aside.c_str()) != 0) return std::nullopt;
    // A journal left beside the name would otherwise be rolled back into
    // the new catalogue.
    const std::string journal = file + "-journal";
    std::error_code error;
    if (std::filesystem::exists(journal, error))
        std::rename(journal.c_str(), (aside + "-journal").c_str());
    return aside;
}
