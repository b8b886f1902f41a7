#pragma once
// Photo rows of tJpgMsg (the catalogued photos) and tReJpgMsg (at most one
// duplicate per photo id), and the single-value lookups on them. Text in
// records passed to these functions is UTF-8.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "record/photo_record.h"
#include "record/photo_ref.h"

class Library;

// Province, city and district names stored with a photo (strArea0..2).
using RegionNames = std::array<std::string, 3>;

enum class InsertResult { Done, NotDone, Failed };

void BeginTransaction(Library& library);
void CommitTransaction(Library& library);

// Inserts a photo row into the photo's table. The stored blob is the thumbnail followed by one zero
// byte (szofthumb = length + 1); an empty thumbnail stores NULL with
// szofthumb 1. NotDone means a row with this id already exists.
InsertResult InsertPhotoRow(Library& library, const PhotoRef& photo, const PhotoRecord& record,
                            std::span<const std::uint8_t> thumbnail, const RegionNames& regions);

// Replaces the duplicate row of id by a copy of the main row. False when
// there is no main row or its file no longer exists; then nothing changes.
bool CopyPhotoToDuplicates(Library& library, std::int64_t id);

// Deletes the rows of one photo (its id != 0; a catalogued photo's keyword
// and subject rows with it) and/or of one folder (folder set: of the
// duplicates table alone when photo names a duplicate). Returns the SQLite
// result of the last statement.
int DeletePhotoRows(Library& library, const std::optional<std::string>& folder,
                    const PhotoRef& photo);

bool PhotoIdExists(Library& library, std::int64_t id);

// Number of catalogued photos. The first non-zero count is cached for the
// rest of the run; callers that need a fresh count use CountPhotosNow.
int PhotoCount(Library& library);
int CountPhotosNow(Library& library);

std::int32_t PhotoShotTime(Library& library, const PhotoRef& photo);
std::optional<std::string> PhotoFullPath(Library& library, const PhotoRef& photo);
// True when the photo has a latitude or longitude other than 0.
bool PhotoPosition(Library& library, const PhotoRef& photo, double& latitude, double& longitude);
std::optional<std::string> PhotoName(Library& library, std::int64_t id);
// Newest last-write time of the photos in a folder; 0 when none.
std::int32_t NewestFileTimeInFolder(Library& library, const std::string& folder);

// The catalogued copy of a photo as the duplicate rules need it.
struct CataloguedCopy {
    std::int32_t dwMTime;
    std::string strPath;  // UTF-8
};
// The tJpgMsg row of id; nullopt when the query fails or does not find
// exactly one row.
std::optional<CataloguedCopy> FindCataloguedCopy(Library& library, std::int64_t id);

// The region names stored with a photo; nullopt without a row.
std::optional<RegionNames> PhotoRegionNames(Library& library, const PhotoRef& photo);

// Loads the editable columns of a photo into record (text converted to the
// code page). No row: false and the record is unchanged.
bool LoadPhotoRecord(Library& library, const PhotoRef& photo, PhotoRecord& record);

// Stores the three region names of a photo (nArea becomes 3).
bool UpdatePhotoRegion(Library& library, std::int64_t id, const RegionNames& regions);

// Stores a new position (the file was written through the photo edit,
// which took the folder's new time).
bool UpdatePhotoPosition(Library& library, std::int64_t id, float latitude, float longitude);
