#include "catalogue/photo_rows.h"

#include <vector>

#include "catalogue/cached_statement.h"
#include "catalogue/library_internals.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/photo_table.h"
#include "catalogue/sql_query.h"
#include "catalogue/sql_statement.h"
#include "catalogue/tag_row_ids.h"
#include "platform/c_locale_numbers.h"
#include "platform/file_status.h"
#include "platform/text_codec.h"

namespace {

#define PHOTO_INSERT(table)                                                                     \
    "insert into " table                                                                        \
    "(idPic,bJpgThumbData,nbKeyword,strFullPath,strXpTitle,strXpComent,szOfComent,strXpAuthor," \
    "strXpKeyword,strXpSubject,strName,strPath,fSize,dwCTime,dwMTime,dwDateTime,fGPSLatitude,"  \
    "fGPSLongitude,nGPSAlititude,strMake,strModel,nWidth,nHeight,nFocalLength,fExposureTime,"   \
    "fApertureFNumber,nISOequivalent,nFocalplaneXRes,nFocalplaneYRes,szofthumb,strOrientation," \
    "nArea,strArea0,strArea1,strArea2) "                                                        \
    "values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"

constexpr PerPhotoTable kInsert{PHOTO_INSERT("tJpgMsg"), PHOTO_INSERT("tReJpgMsg")};

constexpr const char* kSelectMainRow =
    "select szofthumb,idPic,bJpgThumbData, nbKeyword,strFullPath, strXpTitle, \t\t\t\tstrXpComent,"
    "szOfComent,strXpAuthor,strXpKeyword,\t\t\t\tstrXpSubject,strName, strPath,fSize,\t\t\t\t"
    "dwCTime,dwMTime,dwDateTime,fGPSLatitude, fGPSLongitude, \t\t\t\tnGPSAlititude,strMake,"
    "strModel,nWidth,nHeight,\t\t\t\tnFocalLength,fExposureTime,fApertureFNumber,nISOequivalent,"
    "\t\t\t\tnFocalplaneXRes,nFocalplaneYRes,strOrientation,nArea,strArea0,strArea1,strArea2 "
    "from tJpgMsg where idPic=?";

constexpr PerPhotoTable kPathById{"select strFullPath from tJpgMsg where idPic = ?",
                                  "select strFullPath from tReJpgMsg where idPic = ?"};
constexpr PerPhotoTable kShotTimeById{"select dwDateTime from tJpgMsg where idPic = %lld",
                                      "select dwDateTime from tReJpgMsg where idPic = %lld"};
constexpr PerPhotoTable kPositionById{
    "select fGPSLatitude,fGPSLongitude from tJpgMsg where idPic = %lld",
    "select fGPSLatitude,fGPSLongitude from tReJpgMsg where idPic = %lld"};
constexpr PerPhotoTable kRegionNamesById{
    "select strArea0,strArea1,strArea2 from tJpgMsg where idPic = %lld",
    "select strArea0,strArea1,strArea2 from tReJpgMsg where idPic = %lld"};
constexpr const char* kCataloguedCopy =
    "select dwMTime,strXpKeyword ,strXpSubject,strPath from tJpgMsg where idPic=?";

constexpr PerPhotoTable kLoadRecord{
    "select strName,strXpSubject,strXpKeyword,strFullPath,strXpComent,strXpAuthor,\t\t\t\t\t\t"
    "strPath,fSize,dwCTime,dwMTime,nWidth,nHeight,nFocalplaneXRes,nFocalplaneYRes,\t\t\t\t\t\t"
    "fGPSLongitude,fGPSLatitude,nGPSAlititude,dwDateTime,strMake,strModel,fExposureTime,"
    "\t\t\t\t\t\t"
    "fApertureFNumber,nISOequivalent,nFocalLength from tJpgMsg where idPic = %lld",
    "select strName,strXpSubject,strXpKeyword,strFullPath,strXpComent,\t\t\t\t\t\t"
    "strXpAuthor,strPath,fSize,dwCTime,dwMTime,nWidth,nHeight,nFocalplaneXRes,\t\t\t\t\t\t"
    "nFocalplaneYRes,fGPSLongitude,fGPSLatitude,nGPSAlititude,dwDateTime,strMake,\t\t\t\t\t\t"
    "strModel,fExposureTime,fApertureFNumber,nISOequivalent,nFocalLength from tReJpgMsg where "
    "idPic = %lld"};

// Binds and steps a photo insert; blob is bound as it is (null: NULL).
InsertResult StepPhotoInsert(const CatalogueSession& session, const char* text, std::int64_t id,
                             const PhotoRecord& r, const std::uint8_t* blob, int blobLength,
                             int szofthumb, int nArea, const RegionNames& regions) {
    CachedStatement insert(session, text);
    insert.Bind(id);
    if (blob) {
        insert.BindBlob({blob, static_cast<std::size_t>(blobLength)});
    } else {
        insert.BindNull();
    }
    insert.Bind(r.nbKeyword, r.strFullPath, r.strXpTitle, r.strXpComent, r.szOfComent,
                r.strXpAuthor, r.strXpKeyword, r.strXpSubject, r.strName, r.strPath, r.fSize,
                r.dwCTime, r.dwMTime, r.dwDateTime, r.fGPSLatitude, r.fGPSLongitude,
                r.nGPSAlititude, r.strMake, r.strModel, r.nWidth, r.nHeight, r.nFocalLength,
                r.fExposureTime, r.fApertureFNumber, r.nISOequivalent, r.nFocalplaneXRes,
                r.nFocalplaneYRes, szofthumb, r.strOrientation, nArea, regions[0], regions[1],
                regions[2]);
    if (!insert.ok()) return InsertResult::Failed;
    return insert.Step() == SQLITE_DONE ? InsertResult::Done : InsertResult::NotDone;
}

float ColumnFloat(sqlite3_stmt* row, int column) {
    return static_cast<float>(LeadingDouble(ColumnText(row, column)));
}

}  // namespace

void BeginTransaction(Library& library) {
    CatalogueSession session(library);
    if (session.ok()) ExecuteStatement(SessionDb(session), "begin transaction");
}

void CommitTransaction(Library& library) {
    CatalogueSession session(library);
    if (session.ok()) ExecuteStatement(SessionDb(session), "commit transaction");
}

InsertResult InsertPhotoRow(Library& library, const PhotoRef& photo, const PhotoRecord& record,
                            std::span<const std::uint8_t> thumbnail, const RegionNames& regions) {
    CatalogueSession session(library);
    if (!session.ok()) return InsertResult::Failed;
    int nArea = 0;
    for (const std::string& name : regions) nArea += name.empty() ? 0 : 1;
    const int blobLength = static_cast<int>(thumbnail.size()) + 1;
    const char* text = kInsert.For(photo);
    if (thumbnail.empty())
        return StepPhotoInsert(session, text, photo.idPic, record, nullptr, 0, blobLength, nArea,
                               regions);
    std::vector<std::uint8_t> blob(thumbnail.begin(), thumbnail.end());
    blob.push_back(0);
    return StepPhotoInsert(session, text, photo.idPic, record, blob.data(), blobLength, blobLength,
                           nArea, regions);
}

bool CopyPhotoToDuplicates(Library& library, std::int64_t id) {
    CatalogueSession session(library);
    if (!session.ok()) return false;
    CachedStatement row(session, kSelectMainRow);
    row.Bind(id);
    if (row.Step() != SQLITE_ROW) return false;
    sqlite3_stmt* select = row.get();
    PhotoRecord r;
    SetField(r.strFullPath, ColumnText(select, 4));
    if (FileSizeOfUtf8Path(r.strFullPath) < 0) return false;
    const int szofthumb = sqlite3_column_int(select, 0);
    std::vector<std::uint8_t> blob;
    if (const void* data = sqlite3_column_blob(select, 2)) {
        auto bytes = static_cast<const std::uint8_t*>(data);
        blob.assign(bytes, bytes + sqlite3_column_bytes(select, 2));
    }
    r.nbKeyword = sqlite3_column_int(select, 3);
    SetField(r.strXpTitle, ColumnText(select, 5));
    r.szOfComent = sqlite3_column_int(select, 7);
    r.strXpComent = r.szOfComent > 0 ? ColumnText(select, 6) : std::string();
    SetField(r.strXpAuthor, ColumnText(select, 8));
    SetField(r.strXpKeyword, ColumnText(select, 9));
    SetField(r.strXpSubject, ColumnText(select, 10));
    SetField(r.strName, ColumnText(select, 11));
    SetField(r.strPath, ColumnText(select, 12));
    r.fSize = static_cast<float>(sqlite3_column_double(select, 13));
    r.dwCTime = sqlite3_column_int(select, 14);
    r.dwMTime = sqlite3_column_int(select, 15);
    r.dwDateTime = sqlite3_column_int(select, 16);
    r.fGPSLatitude = static_cast<float>(sqlite3_column_double(select, 17));
    r.fGPSLongitude = static_cast<float>(sqlite3_column_double(select, 18));
    r.nGPSAlititude = sqlite3_column_int(select, 19);
    SetField(r.strMake, ColumnText(select, 20));
    SetField(r.strModel, ColumnText(select, 21));
    r.nWidth = sqlite3_column_int(select, 22);
    r.nHeight = sqlite3_column_int(select, 23);
    r.nFocalLength = sqlite3_column_int(select, 24);
    r.fExposureTime = static_cast<float>(sqlite3_column_double(select, 25));
    r.fApertureFNumber = static_cast<float>(sqlite3_column_double(select, 26));
    r.nISOequivalent = sqlite3_column_int(select, 27);
    r.nFocalplaneXRes = sqlite3_column_int(select, 28);
    r.nFocalplaneYRes = sqlite3_column_int(select, 29);
    SetField(r.strOrientation, ColumnText(select, 30));
    const int nArea = sqlite3_column_int(select, 31);
    RegionNames regions{ColumnText(select, 32), ColumnText(select, 33), ColumnText(select, 34)};

    const PhotoRef duplicate{id, true};
    DeletePhotoRow(session, duplicate);
    // The blob is bound with the row's own szofthumb, never past the bytes read.
    int length = std::min<int>(szofthumb, static_cast<int>(blob.size()));
    return StepPhotoInsert(session, kInsert.For(duplicate), id, r,
                           blob.empty() ? nullptr : blob.data(), length, szofthumb, nArea,
                           regions) == InsertResult::Done;
}

int DeletePhotoRows(Library& library, const std::optional<std::string>& folder,
                    const PhotoRef& photo) {
    CatalogueSession session(library);
    if (!session.ok()) return SQLITE_CANTOPEN;
    int rc = SQLITE_OK;
    auto run = [&](const char* format, const auto& value) {
        rc = ExecuteStatement(SessionDb(session), FormatStatement(format, value));
    };
    if (photo.idPic != 0) {
        if (!photo.fromDuplicates) DeleteTagRows(session, photo.idPic);
        rc = DeletePhotoRow(session, photo);
    }
    if (folder) {
        if (photo.fromDuplicates) {
            run("delete from tReJpgMsg where strPath='%s'", *folder);
        } else {
            run("delete from tJpgMsg where strPath='%s'", *folder);
            run("delete from tReJpgMsg where strPath='%s'", *folder);
            run("delete from tKeyWord where strPath='%s'", *folder);
            run("delete from tFolder where strFolderPath='%s'", *folder);
            run("delete from tSubject where strPath='%s'", *folder);
        }
    }
    return rc;
}

bool PhotoIdExists(Library& library, std::int64_t id) {
    CatalogueSession session(library);
    if (!session.ok()) return false;
    return QueryInt64(SessionDb(session),
                      FormatStatement("select count(*) from tJpgMsg where idPic = %lld", id))
               .value_or(0) > 0;
}

int CountPhotosNow(Library& library) {
    CatalogueSession session(library);
    if (!session.ok()) return 0;
    return static_cast<int>(
        QueryInt64(SessionDb(session), "select count(*) from  tJpgMsg").value_or(0));
}

int PhotoCount(Library& library) {
    CatalogueSession session(library);
    if (!session.ok()) return 0;
    int& cache = LibraryInternals::PhotoCountCache(LibraryInternals::Owner(session));
    if (cache == 0) cache = CountPhotosNow(library);
    return cache;
}

std::int32_t PhotoShotTime(Library& library, const PhotoRef& photo) {
    CatalogueSession session(library);
    if (!session.ok()) return 0;
    return static_cast<std::int32_t>(
        QueryInt64(SessionDb(session), FormatStatement(kShotTimeById.For(photo), photo.idPic))
            .value_or(0));
}

std::optional<std::string> PhotoFullPath(Library& library, const PhotoRef& photo) {
    CatalogueSession session(library);
    if (!session.ok()) return std::nullopt;
    CachedStatement query(session, kPathById.For(photo));
    if (query.Bind(photo.idPic).Step() != SQLITE_ROW) return std::nullopt;
    return CodePageToUtf8(ColumnText(query.get(), 0));  // the code page is UTF-8 here
}

bool PhotoPosition(Library& library, const PhotoRef& photo, double& latitude, double& longitude) {
    CatalogueSession session(library);
    latitude = longitude = 0;
    if (!session.ok()) return false;
    const std::string query = FormatStatement(kPositionById.For(photo), photo.idPic);
    ForEachRow(SessionDb(session), query, [&](sqlite3_stmt* row) {
        latitude = sqlite3_column_double(row, 0);
        longitude = sqlite3_column_double(row, 1);
    });
    return latitude != 0 || longitude != 0;
}

std::optional<std::string> PhotoName(Library& library, std::int64_t id) {
    CatalogueSession session(library);
    if (!session.ok()) return std::nullopt;
    return QueryText(SessionDb(session),
                     FormatStatement("select strName from tJpgMsg where idPic=%lld", id));
}

std::int32_t NewestFileTimeInFolder(Library& library, const std::string& folder) {
    CatalogueSession session(library);
    if (!session.ok()) return 0;
    return static_cast<std::int32_t>(
        QueryInt64(
            SessionDb(session),
            FormatStatement("select max(dwMTime) from tJpgMsg where strPath = '%s';", folder))
            .value_or(0));
}

std::optional<CataloguedCopy> FindCataloguedCopy(Library& library, std::int64_t id) {
    CatalogueSession session(library);
    if (!session.ok()) return std::nullopt;
    CachedStatement query(session, kCataloguedCopy);
    query.Bind(id);
    if (query.Step() != SQLITE_ROW) return std::nullopt;
    CataloguedCopy copy{static_cast<std::int32_t>(ParseInt64Text(ColumnText(query.get(), 0))),
                        ColumnText(query.get(), 3)};
    // Exactly one row: a second one means the id is not a key here.
    if (query.Step() != SQLITE_DONE) return std::nullopt;
    return copy;
}

std::optional<RegionNames> PhotoRegionNames(Library& library, const PhotoRef& photo) {
    CatalogueSession session(library);
    if (!session.ok()) return std::nullopt;
    std::optional<RegionNames> names;
    const std::string query = FormatStatement(kRegionNamesById.For(photo), photo.idPic);
    ForEachRow(SessionDb(session), query, [&](sqlite3_stmt* row) {
        if (!names) names = RegionNames{ColumnText(row, 0), ColumnText(row, 1), ColumnText(row, 2)};
    });
    return names;
}

bool LoadPhotoRecord(Library& library, const PhotoRef& photo, PhotoRecord& record) {
    CatalogueSession session(library);
    if (!session.ok()) return false;
    bool found = false;
    const std::string query = FormatStatement(kLoadRecord.For(photo), photo.idPic);
    ForEachRow(SessionDb(session), query, [&](sqlite3_stmt* row) {
        if (found) return;
        found = true;
        PhotoRecord& r = record;
        auto text = [&](auto& field, int column) {
            Utf8ToCodePage(ColumnText(row, column), field, sizeof field);
        };
        text(r.strName, 0);
        text(r.strXpSubject, 1);
        text(r.strXpKeyword, 2);
        text(r.strFullPath, 3);
        std::string comment = ColumnText(row, 4);
        if (!comment.empty()) r.strXpComent = CodePageToUtf8(comment);
        text(r.strXpAuthor, 5);
        text(r.strPath, 6);
        r.fSize = ColumnFloat(row, 7);
        r.dwCTime = sqlite3_column_int(row, 8);
        r.dwMTime = sqlite3_column_int(row, 9);
        r.nWidth = sqlite3_column_int(row, 10);
        r.nHeight = sqlite3_column_int(row, 11);
        r.nFocalplaneXRes = sqlite3_column_int(row, 12);
        r.nFocalplaneYRes = sqlite3_column_int(row, 13);
        r.fGPSLongitude = ColumnFloat(row, 14);
        r.fGPSLatitude = ColumnFloat(row, 15);
        r.nGPSAlititude = sqlite3_column_int(row, 16);
        r.dwDateTime = sqlite3_column_int(row, 17);
        text(r.strMake, 18);
        text(r.strModel, 19);
        r.fExposureTime = ColumnFloat(row, 20);
        r.fApertureFNumber = ColumnFloat(row, 21);
        r.nISOequivalent = sqlite3_column_int(row, 22);
        r.nFocalLength = sqlite3_column_int(row, 23);
    });
    return found;
}

bool UpdatePhotoRegion(Library& library, std::int64_t id, const RegionNames& regions) {
    CatalogueSession session(library);
    if (!session.ok()) return false;
    return ExecuteStatement(SessionDb(session),
                            FormatStatement("Update tJpgMsg set strArea0 = '%s',strArea1 = "
                                            "'%s',strArea2 = '%s',nArea=%d where idPic = %lld",
                                            regions[0], regions[1], regions[2], 3, id)) ==
           SQLITE_OK;
}

bool UpdatePhotoPosition(Library& library, std::int64_t id, float latitude, float longitude) {
    CatalogueSession session(library);
    if (!session.ok()) return false;
    if (ExecuteStatement(SessionDb(session),
                         FormatStatement("Update tJpgMsg set fGPSLatitude =%f, fGPSLongitude=%f "
                                         "where idPic=%lld",
                                         latitude, longitude, id)) != SQLITE_OK)
        return false;
    return true;
}
