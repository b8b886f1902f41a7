#include "catalogue/photo_catalogue.h"

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "catalogue/cached_statement.h"
#include "catalogue/catalogue_file_check.h"
#include "catalogue/catalogue_save.h"
#include "catalogue/catalogue_schema.h"
#include "catalogue/library_internals.h"
#include "catalogue/sql_query.h"
#include "catalogue/sql_statement.h"
#include "platform/data_folder.h"
#include "platform/mount_table.h"
#include "platform/native_path.h"
#include "platform/private_file_image.h"

namespace {

constexpr const char* kLargePages = "pragma page_size=65536";
// Room for the working database to grow into before the next start: address
// space only, so it costs nothing until imports fill it.
constexpr std::int64_t kGrowthRoom = std::int64_t{64} << 30;
// Lets reads use the image's pages in place instead of copying each into a
// page cache.
constexpr const char* kReadInPlace = "pragma mmap_size=2147418112";
// Pages written in a transaction stay in the page cache until it commits: a
// cache smaller than one import batch (100 photos with their thumbnails)
// spills pages into the image and copies them back, over and over.
constexpr const char* kWriteCache = "pragma cache_size=-65536";

void ReportError(const char* label) {
    std::printf("%s error!\n", label);
}

bool OpenFile(const std::string& path, sqlite3** connection) {
    int rc = sqlite3_open_v2(path.c_str(), connection, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close(*connection);
        *connection = nullptr;
        return false;
    }
    return true;
}

bool TableExists(sqlite3* connection, const char* table) {
    std::string statement = FormatStatement(
        "select count(*) from sqlite_master where type='table' and name='%s';", table);
    sqlite3_stmt* query = nullptr;
    bool exists = false;
    if (sqlite3_prepare_v2(connection, statement.c_str(), -1, &query, nullptr) == SQLITE_OK &&
        sqlite3_step(query) == SQLITE_ROW) {
        exists = sqlite3_column_int(query, 0) > 0;
    }
    sqlite3_finalize(query);
    return exists;
}

// Every write that commits in the working database leaves the file behind.
int MarkModifiedOnCommit(void* library) {
    LibraryInternals::MarkModified(*static_cast<Library*>(library));
    return 0;  // let the commit go on
}

}  // namespace

Library::Library(Access access) : access_(access), mountTables_(MountTable::FromSystem) {}

Library::~Library() {
    LibraryInternals::CloseWorking(*this);
}

void Library::WaitUntilPrivate() {
    // Without the lock: the image moves its pages while it holds it. The
    // callers (benchmarks) run no operation meanwhile.
    if (workingImage_) workingImage_->WaitUntilPrivate();
}

StatementCache& LibraryInternals::Statements(const CatalogueSession& session) {
    Library& library = *session.library_;
    if (!library.statements_) library.statements_ = std::make_unique<StatementCache>(session.db_);
    return *library.statements_;
}

void LibraryInternals::CloseWorking(Library& library) {
    // A connection with statements left unfinalized would not close.
    library.statements_.reset();
    sqlite3_close(library.working_);
    library.working_ = nullptr;
    library.workingImage_.reset();
}

std::string CatalogueFilePath() {
    return JoinPath(DataFolder(), "myJpgdb.db");
}
std::string SaveFilePath() {
    return JoinPath(DataFolder(), "tmp.db");
}

bool EnsureTable(sqlite3* connection, const char* table) {
    if (TableExists(connection, table)) return true;
    for (const TableSchema& schema : CatalogueTables()) {
        if (std::string_view(schema.name) != table) continue;
        for (const SchemaStatement& statement : schema.statements) {
            if (sqlite3_exec(connection, statement.text, nullptr, nullptr, nullptr) != SQLITE_OK) {
                ReportError(statement.label);
                return false;
            }
        }
        return true;
    }
    return false;
}

namespace {

// Makes the checked file the working database as a private image in
// memory: the pages are shared with the system's file cache until the image
// moves onto memory of its own in the background, so even a 1 GB catalogue
// is usable at once.
bool MapWorkingDatabase(std::recursive_mutex& mutex, sqlite3** working,
                        std::unique_ptr<PrivateFileImage>* image) {
    // Every user of the working database holds the library's mutex, so
    // holding it keeps writes out while a slice of the image moves.
    const auto exclusive = [&mutex](const std::function<void()>& step) {
        std::unique_lock lock(mutex, std::try_to_lock);
        if (lock) step();
        return lock.owns_lock();
    };
    std::unique_ptr<PrivateFileImage> mapped =
        PrivateFileImage::Map(CatalogueFilePath(), kGrowthRoom, exclusive);
    sqlite3* memory = nullptr;
    if (!mapped || !OpenFile(":memory:", &memory)) return false;
    if (sqlite3_deserialize(memory, "main", mapped->data(), mapped->size(), mapped->capacity(),
                            0) != SQLITE_OK) {
        sqlite3_close(memory);
        return false;
    }
    ExecuteStatement(memory, kReadInPlace);
    ExecuteStatement(memory, kWriteCache);
    *working = memory;
    *image = std::move(mapped);
    return true;
}

// Copies the checked file into a new in-memory working database, where it
// cannot be mapped.
CatalogueFileState CopyWorkingDatabase(sqlite3** working) {
    sqlite3* memory = nullptr;
    sqlite3* file = nullptr;
    if (!OpenFile(":memory:", &memory)) return CatalogueFileState::Unreadable;
    if (!OpenFile(CatalogueFilePath(), &file)) {
        sqlite3_close(memory);
        return CatalogueFileState::Unreadable;
    }
    // An in-memory destination only takes a backup of its own page size.
    if (auto pageSize = QueryInt64(file, "pragma page_size"))
        ExecuteStatement(memory, "pragma page_size=" + std::to_string(*pageSize));
    int rc = SQLITE_NOMEM;
    if (sqlite3_backup* backup = sqlite3_backup_init(memory, "main", file, "main")) {
        rc = sqlite3_backup_step(backup, -1);
        sqlite3_backup_finish(backup);
    }
    sqlite3_close(file);
    if (rc != SQLITE_DONE) {
        sqlite3_close(memory);
        return (rc & 0xFF) == SQLITE_CORRUPT || (rc & 0xFF) == SQLITE_NOTADB
                   ? CatalogueFileState::Damaged
                   : CatalogueFileState::Unreadable;
    }
    *working = memory;
    return CatalogueFileState::Usable;
}

// Adds the missing tables to a checked file.
CatalogueFileState AddMissingTables() {
    sqlite3* file = nullptr;
    if (!OpenFile(CatalogueFilePath(), &file)) return CatalogueFileState::NotWritable;
    // A new file gets pages large enough to hold a row with its thumbnail, so
    // that reading the columns after the thumbnail never walks an overflow
    // chain: with 4 KiB pages the groupings take half as long again or more.
    // Imports pay for it (rows land at random places, as ids are digests, and
    // pages of a few rows are rebalanced whole), but a photo is imported once
    // and grouped at every start. Takes effect only on an empty file;
    // existing files keep theirs.
    sqlite3_exec(file, kLargePages, nullptr, nullptr, nullptr);
    // One transaction, so that a new file is synced once rather than per statement.
    sqlite3_exec(file, "begin transaction", nullptr, nullptr, nullptr);
    bool tablesOk = true;
    for (const TableSchema& schema : CatalogueTables()) {
        if (!EnsureTable(file, schema.name)) {
            tablesOk = false;
            break;
        }
    }
    const int committed = sqlite3_exec(
        file, tablesOk ? "commit transaction" : "rollback transaction", nullptr, nullptr, nullptr);
    sqlite3_close(file);
    return tablesOk && committed == SQLITE_OK ? CatalogueFileState::Usable
                                              : CatalogueFileState::NotWritable;
}

}  // namespace

bool OpenCatalogue(Library& library) {
    return LibraryInternals::Open(library);
}

bool LibraryInternals::Open(Library& library) {
    std::lock_guard lock(library.mutex_);
    if (library.working_) return true;
    const bool readOnly = library.ReadOnly();
    if (!readOnly) EnsureFolder(DataFolder());
    // A save file belongs to the process that holds the data folder.
    if (!readOnly) RemoveInterruptedSave();

    // Takes effect only before SQLite's first use; later calls fail harmlessly.
    sqlite3_config(SQLITE_CONFIG_MULTITHREAD);

    // A file this catalogue cannot use is reported and left exactly as it is.
    std::error_code error;
    CatalogueFileState state = readOnly && !std::filesystem::exists(CatalogueFilePath(), error)
                                   ? CatalogueFileState::Unreadable
                                   : CheckCatalogueFile(CatalogueFilePath());
    if (state == CatalogueFileState::Usable && !readOnly) state = AddMissingTables();
    if (state == CatalogueFileState::Usable &&
        !MapWorkingDatabase(library.mutex_, &library.working_, &library.workingImage_))
        state = CopyWorkingDatabase(&library.working_);
    library.openState_ = state;
    if (state != CatalogueFileState::Usable) {
        ReportError("open database");
        return false;
    }
    sqlite3_commit_hook(library.working_, MarkModifiedOnCommit, &library);
    return true;
}

CatalogueFileState CatalogueOpenState(Library& library) {
    std::lock_guard lock(LibraryInternals::Mutex(library));
    return LibraryInternals::OpenState(library);
}

void CloseCatalogue(Library& library) {
    std::lock_guard lock(LibraryInternals::Mutex(library));
    LibraryInternals::CloseWorking(library);
    LibraryInternals::FolderStamps(library).clear();
    LibraryInternals::PhotoCountCache(library) = 0;
    LibraryInternals::OpenState(library) = CatalogueFileState::Usable;
}

void Library::SetMountTableSource(MountTableSource source) {
    std::lock_guard lock(mutex_);
    mountTables_ = std::move(source);
}

CatalogueSession::CatalogueSession(Library& library)
    : lock_(LibraryInternals::Mutex(library)), library_(&library) {
    if (LibraryInternals::Open(library)) db_ = LibraryInternals::Working(library);
}

std::int64_t CatalogueMemoryUsed(Library& library) {
    CatalogueSession session(library);
    std::int64_t image = 0;
    // The image's pages are the process's memory, not SQLite's allocations.
    if (session.ok() && LibraryInternals::HasImage(LibraryInternals::Owner(session)))
        image = QueryInt64(SessionDb(session), "pragma page_count").value_or(0) *
                QueryInt64(SessionDb(session), "pragma page_size").value_or(0);
    return sqlite3_memory_used() + image;
}
