#include "import/photo_refresh.h"

#include <ctime>
#include <optional>

#include "catalogue/catalogue_savepoint.h"
#include "catalogue/deleted_paths.h"
#include "catalogue/keyword_rows.h"
#include "catalogue/photo_rows.h"
#include "catalogue/process_flags.h"
#include "import/add_photo_file.h"
#include "import/catalogue_photo_read.h"
#include "import/photo_region.h"
#include "platform/file_status.h"

std::int64_t RefreshPhotoFromFile(Library& library, const std::string& path, const PhotoRef& old,
                                  bool askMap, const RegionRoute& route) {
    PassDeletedPathCheck(library, path, true);
    // The file is read before any row changes, so that an unreadable file
    // leaves the photo's rows as they were.
    std::optional<CataloguePhoto> read = ReadCataloguePhoto(path);
    if (!read) return 0;
    const auto& [record, thumbnail, id] = *read;
    RegionNames regions;
    if (askMap) {
        regions = ResolveRegionOrQueue(id, record, kRefreshRegionSends, route);
    } else if (std::optional<RegionNames> oldRegions = PhotoRegionNames(library, old)) {
        regions = *oldRegions;
    }

    // Old rows out and new rows in as one change: a failed insert keeps the
    // old rows.
    CatalogueSavepoint change(library);
    if (!change.ok()) return 0;
    DeletePhotoRows(library, std::nullopt, old);
    // The same thumbnail keeps the id, and the row goes back to the table it
    // came from (a duplicate stays beside its main row). Under a new id it
    // goes where an import puts a new photo: the main table, or the
    // duplicates when that id already has a main row.
    const PhotoRef refreshed{id, id == old.idPic ? old.fromDuplicates : PhotoIdExists(library, id)};
    if (InsertPhotoRow(library, refreshed, record, thumbnail, regions) != InsertResult::Done)
        return 0;
    // Keyword and subject rows belong to the main rows only.
    if (!refreshed.fromDuplicates) WriteKeywordRows(library, id, record);
    if (!change.Commit()) return 0;
    return id;
}

bool PromoteDuplicate(Library& library, std::int64_t id, const RegionRoute& regions) {
    std::optional<std::string> path = PhotoFullPath(library, PhotoRef{id, true});
    if (!path) return false;
    if (!CopyPhotoToDuplicates(library, id)) return false;
    // Marked as written now, so the duplicate rules let this copy win. A
    // missing file is left missing (the import then fails for it).
    SetFileLastWriteTime(*path, std::time(nullptr));
    return AddPhotoFile(library, *path, true, regions);
}
