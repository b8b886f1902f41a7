#include "catalogue/catalogue_rebuild.h"

#include <sqlite3.h>

#include <string>
#include <vector>

#include "catalogue/folder_stamps.h"
#include "catalogue/folder_volumes.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/process_flags.h"
#include "catalogue/sql_query.h"
#include "catalogue/sql_statement.h"
#include "catalogue/stored_photo_row.h"
#include "platform/file_status.h"

namespace {

constexpr const char* kMainFiles = "select idPic, strFullPath, strPath from tJpgMsg";
constexpr const char* kDuplicateFiles = "select idPic, strFullPath, strPath from tReJpgMsg";
constexpr const char* kDeleteMain = "delete from tJpgMsg where idPic = %lld";
constexpr const char* kDeleteDuplicate = "delete from tReJpgMsg where idPic = %lld";
// Keyword and subject rows go with their photo.
constexpr const char* kDeleteOrphanKeywords =
    "delete from tKeyWord where idPic not in (select idPic from tJpgMsg)";
constexpr const char* kDeleteOrphanSubjects =
    "delete from tSubject where idPic not in (select idPic from tJpgMsg)";

// The staging connection of PhotoCatalogue while a rebuild fills it: a page
// copy of the working database. Closed again unless the rebuild hands it
// over as the working database.
class StagingDatabase {
  public:
    explicit StagingDatabase(sqlite3* working) : catalogue_(PhotoCatalogue::Instance()) {
        Discard();
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
            SQLITE_OK) {
            sqlite3_close(db);
            return;
        }
        catalogue_.staging = db;
        // An in-memory destination only takes a backup of its own page size.
        if (auto pageSize = QueryInt64(working, "pragma page_size"))
            ExecuteStatement(db, "pragma page_size=" + std::to_string(*pageSize));
        sqlite3_backup* backup = sqlite3_backup_init(db, "main", working, "main");
        if (!backup) {
            Discard();
            return;
        }
        sqlite3_backup_step(backup, -1);
        if (sqlite3_backup_finish(backup) != SQLITE_OK) Discard();
    }
    ~StagingDatabase() { Discard(); }

    sqlite3* db() const { return catalogue_.staging; }

    // Makes the staging database the working one.
    void Promote() {
        sqlite3_close(catalogue_.working);
        catalogue_.working = catalogue_.staging;
        catalogue_.staging = nullptr;
    }

  private:
    void Discard() {
        sqlite3_close(catalogue_.staging);
        catalogue_.staging = nullptr;
    }
    PhotoCatalogue& catalogue_;
};

// Drops the rows of one photo table whose files are gone (and are not on an
// unplugged volume); counts the rows kept. False when a statement fails.
bool DropVanishedRows(sqlite3* db, bool duplicates, const VolumeCheck& volumes,
                      std::atomic<int>* kept) {
    std::vector<std::int64_t> gone;
    bool ok = ForEachRow(db, duplicates ? kDuplicateFiles : kMainFiles, [&](sqlite3_stmt* row) {
        if (FileSizeOfUtf8Path(ColumnText(row, 1)) >= 0 || volumes.IsOffline(ColumnText(row, 2))) {
            if (kept) ++*kept;
            return;
        }
        gone.push_back(sqlite3_column_int64(row, 0));
    });
    ExecuteStatement(db, "begin transaction");
    for (std::int64_t id : gone)
        ok = ok && ExecuteStatement(db, FormatStatement(duplicates ? kDeleteDuplicate : kDeleteMain,
                                                        id)) == SQLITE_OK;
    return ExecuteStatement(db, "commit transaction") == SQLITE_OK && ok;
}

}  // namespace

RebuildResult RebuildCatalogue(std::atomic<int>* copied) {
    CatalogueSession session;
    if (!session.ok()) return RebuildResult::Failed;
    StagingDatabase staging(session.db());
    if (!staging.db()) return RebuildResult::Failed;
    const VolumeCheck volumes;
    if (!DropVanishedRows(staging.db(), false, volumes, copied) ||
        !DropVanishedRows(staging.db(), true, volumes, copied) ||
        ExecuteStatement(staging.db(), kDeleteOrphanKeywords) != SQLITE_OK ||
        ExecuteStatement(staging.db(), kDeleteOrphanSubjects) != SQLITE_OK || ExitRequested)
        return RebuildResult::Failed;

    staging.Promote();  // session.db() is closed from here on
    RebuildFolderList();
    WriteFolderTable();
    // Written compactly to the save file, which then replaces the catalogue
    // file in one rename: the old file stays until the new one is complete.
    if (WriteCompactCatalogueFile(PhotoCatalogue::Instance().working) != SQLITE_OK) {
        CatalogueModified = true;
        return RebuildResult::SaveFailed;
    }
    return RebuildResult::Done;
}
