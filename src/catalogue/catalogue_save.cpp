#include "catalogue/catalogue_save.h"

#include <sqlite3.h>

#include <cstdio>
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
    // A leftover from an interrupted save may not even be a database.
    RemoveSaveFile(saveFile);

    sqlite3* file = nullptr;
    int rc = sqlite3_open_v2(saveFile.c_str(), &file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             nullptr);
    if (rc == SQLITE_OK) {
        // A full disk or a failing write shows in the step's result.
        sqlite3_backup* backup = sqlite3_backup_init(file, "main", SessionDb(session), "main");
        if (!backup) {
            rc = sqlite3_errcode(file);
        } else {
            const int step = sqlite3_backup_step(backup, -1);
            rc = sqlite3_backup_finish(backup);
            if (rc == SQLITE_OK && step != SQLITE_DONE) rc = step;
        }
    }
    if (sqlite3_close(file) != SQLITE_OK && rc == SQLITE_OK) rc = SQLITE_IOERR;
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
    RemoveSaveFile(saveFile);
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
