#include "catalogue/catalogue_save.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <span>
#include <string>

#include "catalogue/compact_write.h"
#include "catalogue/library_internals.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/sql_query.h"
#include "catalogue/sql_statement.h"
#include "platform/data_folder.h"
#include "platform/file_ops.h"

namespace {

// Writes a compact copy of a database: only its live pages, rows in order.
constexpr const char* kVacuumInto = "vacuum into '%s'";

void RemoveSaveFile(const std::string& path) {
    std::remove(path.c_str());
    std::remove((path + "-journal").c_str());
}

// The data folder may have been removed since the catalogue was opened, and a
// leftover from an interrupted save may not even be a database.
void ClearWayForSaveFile(const std::string& saveFile) {
    EnsureFolder(DataFolder());
    RemoveSaveFile(saveFile);
}

// The working database's bytes as they stand, without a copy, when it is an
// image in memory with no transaction open; empty otherwise.
std::span<const std::uint8_t> WorkingImageBytes(sqlite3* db) {
    if (!sqlite3_get_autocommit(db)) return {};
    sqlite3_int64 size = 0;
    const unsigned char* bytes = sqlite3_serialize(db, "main", &size, SQLITE_SERIALIZE_NOCOPY);
    if (!bytes || size <= 0) return {};
    return {bytes, static_cast<std::size_t>(size)};
}

// The image is the database file's bytes: written in one go, it needs no
// journal and no page-by-page copy.
int WriteSaveFile(const std::string& saveFile, std::span<const std::uint8_t> image) {
    if (WriteNewFile(saveFile, image)) return SQLITE_OK;
    return errno == ENOSPC || errno == EFBIG ? SQLITE_FULL : SQLITE_IOERR;
}

// A working database copied into memory has no image: SQLite copies it
// into the save file page by page.
int BackUpInto(const std::string& saveFile, sqlite3* db) {
    sqlite3* file = nullptr;
    int rc = sqlite3_open_v2(saveFile.c_str(), &file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             nullptr);
    if (rc == SQLITE_OK) {
        // A full disk or a failing write shows in the step's result.
        sqlite3_backup* backup = sqlite3_backup_init(file, "main", db, "main");
        if (!backup) {
            rc = sqlite3_errcode(file);
        } else {
            const int step = sqlite3_backup_step(backup, -1);
            rc = sqlite3_backup_finish(backup);
            if (rc == SQLITE_OK && step != SQLITE_DONE) rc = step;
        }
    }
    if (sqlite3_close(file) != SQLITE_OK && rc == SQLITE_OK) rc = SQLITE_IOERR;
    return rc;
}

}  // namespace

void RemoveInterruptedSave() {
    RemoveSaveFile(SaveFilePath());
}

int SaveCatalogue(Library& library) {
    // Refused before the session would open the catalogue.
    if (library.ReadOnly()) return SQLITE_READONLY;
    CatalogueSession session(library);
    if (!session.ok()) return SQLITE_CANTOPEN;
    const std::string target = CatalogueFilePath();
    const std::string saveFile = SaveFilePath();
    ClearWayForSaveFile(saveFile);

    sqlite3* db = SessionDb(session);
    const std::span<const std::uint8_t> image = WorkingImageBytes(db);
    const int rc = image.empty() ? BackUpInto(saveFile, db) : WriteSaveFile(saveFile, image);
    if (rc != SQLITE_OK) {
        RemoveSaveFile(saveFile);
        return rc;
    }
    if (!FlushFileToDisk(saveFile) || std::rename(saveFile.c_str(), target.c_str()) != 0) {
        // The old catalogue file stays; the next save overwrites the save file.
        return SQLITE_IOERR;
    }
    FlushFolderToDisk(DataFolder());
    // The session held the lock throughout, so no write came in between.
    LibraryInternals::MarkSaved(library);
    return SQLITE_OK;
}

int SaveCatalogueIfModified(Library& library) {
    if (!library.Modified()) return SQLITE_OK;
    return SaveCatalogue(library);
}

int WriteCompactCatalogueFile(sqlite3* db) {
    const std::string target = CatalogueFilePath();
    const std::string saveFile = SaveFilePath();
    ClearWayForSaveFile(saveFile);
    int rc = ExecuteStatement(db, FormatStatement(kVacuumInto, saveFile));
    if (rc != SQLITE_OK) {
        RemoveSaveFile(saveFile);
        return rc;
    }
    if (!FlushFileToDisk(saveFile) || std::rename(saveFile.c_str(), target.c_str()) != 0)
        return SQLITE_IOERR;
    FlushFolderToDisk(DataFolder());
    return SQLITE_OK;
}

bool ClearCatalogue(Library& library) {
    std::lock_guard lock(LibraryInternals::Mutex(library));
    LibraryInternals::CloseWorking(library);
    std::remove(CatalogueFilePath().c_str());
    const bool opened = OpenCatalogue(library);
    // The emptied catalogue is offered for saving like any change, even
    // though nothing committed in it.
    LibraryInternals::MarkModified(library);
    return opened;
}
