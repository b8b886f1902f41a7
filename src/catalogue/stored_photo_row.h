#pragma once
// Inside the catalogue only: one whole photo row as the copy statements read
// it, and its insert into a given connection (the working database, or the
// staging database of a rebuild).

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/photo_rows.h"
#include "record/photo_record.h"

// Every column of the main table, in the order ReadStoredPhotoRow reads.
inline constexpr const char* kSelectWholeMainRows =
    "select szofthumb,idPic,bJpgThumbData, nbKeyword,strFullPath, strXpTitle, \t\t\t\tstrXpComent,"
    "szOfComent,strXpAuthor,strXpKeyword,\t\t\t\tstrXpSubject,strName, strPath,fSize,\t\t\t\t"
    "dwCTime,dwMTime,dwDateTime,fGPSLatitude, fGPSLongitude, \t\t\t\tnGPSAlititude,strMake,"
    "strModel,nWidth,nHeight,\t\t\t\tnFocalLength,fExposureTime,fApertureFNumber,nISOequivalent,"
    "\t\t\t\tnFocalplaneXRes,nFocalplaneYRes,strOrientation,nArea,strArea0,strArea1,strArea2 "
    "from tJpgMsg";

// The copy of a row into the duplicates keeps its own texts.
inline constexpr const char* kCopyToDuplicates =
    "insert into tReJpgMsg(idPic,bJpgThumbData,nbKeyword,strFullPath,strXpTitle,strXpComent,"
    "szOfComent,strXpAuthor,strXpKeyword,strXpSubject,strName,strPath,fSize,dwCTime,dwMTime,"
    "dwDateTime,fGPSLatitude,fGPSLongitude,nGPSAlititude,strMake,strModel,nWidth,nHeight,"
    "nFocalLength,fExposureTime,fApertureFNumber,nISOequivalent,nFocalplaneXRes,nFocalplaneYRes,"
    "szofthumb,strOrientation,nArea,strArea0,strArea1,strArea2) values(%lld,?,%d,'%s','%s','%s',"
    "%d,'%s','%s','%s','%s','%s',%f,%d,%d,%d,%f,%f,%d,'%s','%s',%d,%d,%d,%f,%f,%d,%d,%d,%d,'%s',%d,"
    "'%s','%s','%s')";

struct StoredPhotoRow {
    PhotoRecord record;  // text as stored (UTF-8)
    std::int64_t id = 0;
    int szofthumb = 0;
    std::vector<std::uint8_t> blob;
    int nArea = 0;
    RegionNames regions;
};

StoredPhotoRow ReadStoredPhotoRow(sqlite3_stmt* select);

// A photo insert with the values of the row (format takes them in the order
// of kCopyToDuplicates).
std::string FormatStoredPhotoInsert(const char* format, const StoredPhotoRow& row);

// Steps the insert with the row's thumbnail bound as parameter 1.
InsertResult InsertStoredPhotoRow(sqlite3* db, const std::string& statement,
                                  const StoredPhotoRow& row);

// Steps an insert with blob bound as parameter 1 (null: no binding).
InsertResult StepInsert(sqlite3* db, const std::string& statement, const void* blob, int length);

// The keyword and subject rows of a photo that has none in db yet (the
// deletes of WriteKeywordRows scan the tables: there is no index on idPic).
void InsertKeywordRows(sqlite3* db, std::int64_t id, const PhotoRecord& record);

// Writes db compactly (free pages dropped) into the save file, then renames
// it over the catalogue file, like SaveCatalogue. Returns the SQLite result.
int WriteCompactCatalogueFile(sqlite3* db);
