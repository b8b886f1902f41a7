#include "catalogue/catalogue_rebuild.h"

#include <sqlite3.h>

#include <string>
#include <vector>

#include "catalogue/compact_write.h"
#include "catalogue/folder_stamps.h"
#include "catalogue/folder_volumes.h"
#include "catalogue/library_internals.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/photo_table.h"
#include "catalogue/sql_query.h"
#include "platform/file_status.h"

namespace {

constexpr const char* kMainFiles = "select idPic, strFullPath, strPath from tJpgMsg";
constexpr const char* kDuplicateFiles = "select idPic, strFullPath, strPath from tReJpgMsg";
// Keyword and subject rows go with their photo.
constexpr const char* kDeleteOrphanKeywords =
    "delete from tKeyWord where idPic not in (select idPic from tJpgMsg)";
constexpr const char* kDeleteOrphanSubjects =
    "delete from tSubject where idPic not in (select idPic from tJpgMsg)";

// Drops the rows of one photo table whose files are gone (and are not on an
// unplugged volume); counts the rows kept. False when a statement fails.
bool DropVanishedRows(const CatalogueSession& session, bool duplicates, const VolumeCheck& volumes,
                      std::atomic<int>* kept) {
    std::vector<std::int64_t> gone;
    bool ok = ForEachRow(SessionDb(session), duplicates ? kDuplicateFiles : kMainFiles,
                         [&](sqlite3_stmt* row) {
                             if (FileSizeOfUtf8Path(ColumnText(row, 1)) >= 0 ||
                                 volumes.IsOffline(ColumnText(row, 2))) {
                                 if (kept) ++*kept;
                                 return;
                             }
                             gone.push_back(sqlite3_column_int64(row, 0));
                         });
    for (std::int64_t id : gone)
        ok = ok && DeletePhotoRow(session, PhotoRef{id, duplicates}) == SQLITE_OK;
    return ok;
}

}  // namespace

RebuildResult RebuildCatalogue(Library& library, const StopToken& stop, std::atomic<int>* copied) {
    CatalogueSession session(library);
    if (!session.ok()) return RebuildResult::Failed;
    sqlite3* db = SessionDb(session);
    // All or nothing: a failed step leaves the working database as it was.
    if (ExecuteStatement(db, "begin transaction") != SQLITE_OK) return RebuildResult::Failed;
    const VolumeCheck volumes(LibraryInternals::MountTables(session));
    if (!DropVanishedRows(session, false, volumes, copied) ||
        !DropVanishedRows(session, true, volumes, copied) ||
        ExecuteStatement(db, kDeleteOrphanKeywords) != SQLITE_OK ||
        ExecuteStatement(db, kDeleteOrphanSubjects) != SQLITE_OK || stop.StopRequested()) {
        ExecuteStatement(db, "rollback transaction");
        return RebuildResult::Failed;
    }
    if (ExecuteStatement(db, "commit transaction") != SQLITE_OK) {
        ExecuteStatement(db, "rollback transaction");
        return RebuildResult::Failed;
    }
    RebuildFolderList(library);
    WriteFolderTable(library);
    // Written compactly to the save file, which then replaces the catalogue
    // file in one rename: the old file stays until the new one is complete.
    // The deletions committed, which marked the catalogue modified; only a
    // complete write clears that.
    if (WriteCompactCatalogueFile(db) != SQLITE_OK) return RebuildResult::SaveFailed;
    LibraryInternals::MarkSaved(LibraryInternals::Owner(session));
    return RebuildResult::Done;
}
