#include "catalogue/catalogue_rebuild.h"

#include <sqlite3.h>

#include <string>

#include "catalogue/catalogue_save.h"
#include "catalogue/catalogue_schema.h"
#include "catalogue/folder_stamps.h"
#include "catalogue/folder_volumes.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/process_flags.h"
#include "catalogue/sql_query.h"
#include "catalogue/sql_statement.h"
#include "catalogue/stored_photo_row.h"
#include "platform/file_status.h"

namespace {

constexpr const char* kSelectDuplicateRows =
    "select szofthumb,idPic,bJpgThumbData, nbKeyword,strFullPath, strXpTitle, strXpComent,"
    "szOfComent,strXpAuthor,strXpKeyword,strXpSubject,strName, strPath,fSize,dwCTime,dwMTime,"
    "dwDateTime,fGPSLatitude, fGPSLongitude, nGPSAlititude,strMake,strModel,nWidth,nHeight,"
    "nFocalLength,fExposureTime,fApertureFNumber,nISOequivalent,nFocalplaneXRes,nFocalplaneYRes,"
    "strOrientation,nArea,strArea0,strArea1,strArea2 from tReJpgMsg";

constexpr const char* kInsertMainCopy =
    "insert into tJpgMsg(szofthumb,idPic,bJpgThumbData,nbKeyword,strFullPath,strXpTitle,"
    "strXpComent,szOfComent,strXpAuthor,strXpKeyword,strXpSubject,strName,strPath,fSize,dwCTime,"
    "dwMTime,dwDateTime,fGPSLatitude,fGPSLongitude,nGPSAlititude,strMake,strModel,nWidth,nHeight,"
    "nFocalLength,fExposureTime,fApertureFNumber,nISOequivalent,nFocalplaneXRes,nFocalplaneYRes,"
    "strOrientation,nArea,strArea0,strArea1,strArea2) values(%d,%lld,?,%d,'%s','%s','%s',%d,'%s',"
    "'%s','%s','%s','%s',%f,%d,%d,%d,%f,%f,%d,'%s','%s',%d,%d,%d,%f,%f,%d,%d,%d,'%s',%d,'%s','%s',"
    "'%s')";

constexpr const char* kSelectDeletedPaths = "select strfullPath from tDelTable";
constexpr const char* kInsertDeletedPath = "insert into tDelTable(strfullPath) values('%s')";
// The folder stamps travel too, so that the file written by the rebuild
// still knows which folders changed since the last update.
constexpr const char* kSelectFolderRows = "select strFolderPath,ModifyTime from tFolder";
constexpr const char* kInsertFolderRow =
    "insert into tFolder(strFolderPath ,ModifyTime) values('%s',%lld)";

constexpr int kBatchSize = 100;

std::string FormatMainCopy(const StoredPhotoRow& row) {
    const PhotoRecord& r = row.record;
    return FormatStatement(
        kInsertMainCopy, row.szofthumb, row.id, r.nbKeyword, r.strFullPath, r.strXpTitle,
        r.strXpComent, r.szOfComent, r.strXpAuthor, r.strXpKeyword, r.strXpSubject, r.strName,
        r.strPath, r.fSize, r.dwCTime, r.dwMTime, r.dwDateTime, r.fGPSLatitude, r.fGPSLongitude,
        r.nGPSAlititude, r.strMake, r.strModel, r.nWidth, r.nHeight, r.nFocalLength,
        r.fExposureTime, r.fApertureFNumber, r.nISOequivalent, r.nFocalplaneXRes, r.nFocalplaneYRes,
        r.strOrientation, row.nArea, row.regions[0], row.regions[1], row.regions[2]);
}

// The staging connection of PhotoCatalogue while a rebuild fills it; closed
// again unless the rebuild hands it over as the working database.
class StagingDatabase {
  public:
    explicit StagingDatabase(sqlite3* working) : catalogue_(PhotoCatalogue::Instance()) {
        sqlite3_close(catalogue_.staging);
        catalogue_.staging = nullptr;
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
            SQLITE_OK) {
            sqlite3_close(db);
            return;
        }
        catalogue_.staging = db;
        if (auto pageSize = QueryInt64(working, "pragma page_size"))
            ExecuteStatement(db, "pragma page_size=" + std::to_string(*pageSize));
        for (const TableSchema& schema : CatalogueTables()) {
            if (!EnsureTable(db, schema.name)) {
                Discard();
                return;
            }
        }
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
        if (!catalogue_.staging) return;
        ExecuteStatement(catalogue_.staging, "rollback transaction");
        sqlite3_close(catalogue_.staging);
        catalogue_.staging = nullptr;
    }
    PhotoCatalogue& catalogue_;
};

// Copies the photo rows whose files exist (or whose volume is unplugged).
// False when an insert fails or the program closes.
bool CopyPhotos(sqlite3* from, sqlite3* to, bool duplicates, const VolumeCheck& volumes,
                std::atomic<int>* copied) {
    bool ok = true;
    int count = 0;
    ExecuteStatement(to, "begin transaction");
    bool read = ForEachRow(
        from, duplicates ? kSelectDuplicateRows : kSelectWholeMainRows, [&](sqlite3_stmt* select) {
            if (!ok) return;
            if (FileSizeOfUtf8Path(ColumnText(select, 4)) < 0 &&
                !volumes.IsOffline(ColumnText(select, 12)))
                return;
            StoredPhotoRow row = ReadStoredPhotoRow(select);
            std::string insert =
                duplicates ? FormatStoredPhotoInsert(kCopyToDuplicates, row) : FormatMainCopy(row);
            if (InsertStoredPhotoRow(to, insert, row) != InsertResult::Done) {
                ok = false;
                return;
            }
            if (!duplicates) InsertKeywordRows(to, row.id, row.record);
            if (copied) ++*copied;
            if (++count % kBatchSize == 0) {
                ok = !ExitRequested && ExecuteStatement(to, "commit transaction") == SQLITE_OK;
                ExecuteStatement(to, "begin transaction");
            }
        });
    return ok && read && ExecuteStatement(to, "commit transaction") == SQLITE_OK;
}

// Copies the deleted-path list and the folder stamps.
bool CopyPathLists(sqlite3* from, sqlite3* to) {
    bool ok = ExecuteStatement(to, "begin transaction") == SQLITE_OK;
    ok = ForEachRow(from, kSelectDeletedPaths,
                    [&](sqlite3_stmt* row) {
                        ok = ok &&
                             ExecuteStatement(to, FormatStatement(kInsertDeletedPath,
                                                                  ColumnText(row, 0))) == SQLITE_OK;
                    }) &&
         ok;
    ok = ForEachRow(from, kSelectFolderRows,
                    [&](sqlite3_stmt* row) {
                        ok = ok &&
                             ExecuteStatement(
                                 to, FormatStatement(kInsertFolderRow, ColumnText(row, 0),
                                                     sqlite3_column_int64(row, 1))) == SQLITE_OK;
                    }) &&
         ok;
    return ExecuteStatement(to, "commit transaction") == SQLITE_OK && ok;
}

}  // namespace

RebuildResult RebuildCatalogue(std::atomic<int>* copied) {
    CatalogueSession session;
    if (!session.ok()) return RebuildResult::Failed;
    StagingDatabase staging(session.db());
    if (!staging.db()) return RebuildResult::Failed;
    const VolumeCheck volumes;
    if (!CopyPhotos(session.db(), staging.db(), false, volumes, copied) ||
        !CopyPhotos(session.db(), staging.db(), true, volumes, copied) ||
        !CopyPathLists(session.db(), staging.db()) || ExitRequested)
        return RebuildResult::Failed;

    // The catalogue file is replaced only by SaveCatalogue, which writes the
    // new database completely before it renames it over the old file.
    staging.Promote();
    RebuildFolderList();
    WriteFolderTable();
    if (SaveCatalogue() != 0) {
        CatalogueModified = true;
        return RebuildResult::SaveFailed;
    }
    return RebuildResult::Done;
}
