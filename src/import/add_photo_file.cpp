#include "import/add_photo_file.h"

#include <optional>

#include "catalogue/deleted_paths.h"
#include "catalogue/keyword_rows.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/photo_rows.h"
#include "import/catalogue_photo_read.h"
#include "import/photo_region.h"
#include "platform/file_status.h"

namespace {

constexpr std::size_t kMaxPathBytes = 356;

// What reading one file gives the insert.
struct ReadPhoto : CataloguePhoto {
    RegionNames regions;
};

bool InsertAsMain(Library& library, const ReadPhoto& photo) {
    if (InsertPhotoRow(library, PhotoRef{photo.id, false}, photo.record, photo.thumbnail,
                       photo.regions) != InsertResult::Done)
        return false;
    WriteKeywordRows(library, photo.id, photo.record);
    return true;
}

// The photo's duplicate row holds another file than this one: with this
// copy the photo has three, and the catalogue keeps two.
bool DuplicateRowIsAnotherFile(Library& library, const ReadPhoto& photo) {
    auto path = PhotoFullPath(library, PhotoRef{photo.id, true});
    return path && *path != photo.record.strFullPath;
}

// The id is already catalogued: the same thumbnail, hence the same photo.
// Decides which copy keeps the main row.
StoreOutcome ResolveDuplicate(Library& library, const ReadPhoto& photo) {
    const PhotoRecord& n = photo.record;
    auto existing = FindCataloguedCopy(library, photo.id);
    if (!existing) {
        WriteKeywordRows(library, photo.id, n);
        return StoreOutcome::Imported;
    }
    const bool sameFolder = existing->strPath == n.strPath;
    const auto existingTime = static_cast<std::uint32_t>(existing->dwMTime);
    const auto newTime = static_cast<std::uint32_t>(n.dwMTime);
    const bool newerFolder =
        existingTime == newTime && !sameFolder &&
        FolderLastWriteTime(n.strPath) > FolderLastWriteTime(existing->strPath);

    if (sameFolder) {
        if (existingTime >= newTime) return StoreOutcome::Duplicate;        // already catalogued
        DeletePhotoRows(library, std::nullopt, PhotoRef{photo.id, false});  // the file changed
        return InsertAsMain(library, photo) ? StoreOutcome::Imported : StoreOutcome::Failed;
    }
    if (existingTime < newTime || newerFolder) {
        // The new copy wins; the old one becomes the duplicate, in place of
        // any duplicate row before it.
        const bool displaces = DuplicateRowIsAnotherFile(library, photo);
        const bool copied = CopyPhotoToDuplicates(library, photo.id);
        DeletePhotoRows(library, std::nullopt, PhotoRef{photo.id, false});
        if (!InsertAsMain(library, photo)) return StoreOutcome::Failed;
        return copied && displaces ? StoreOutcome::ThirdCopy : StoreOutcome::Duplicate;
    }
    switch (InsertPhotoRow(library, PhotoRef{photo.id, true}, n, photo.thumbnail, photo.regions)) {
        case InsertResult::Done:
            return StoreOutcome::Duplicate;
        case InsertResult::NotDone:
            return DuplicateRowIsAnotherFile(library, photo) ? StoreOutcome::ThirdCopy
                                                             : StoreOutcome::Duplicate;
        case InsertResult::Failed:
            break;
    }
    return StoreOutcome::Failed;
}

// read gives the file's ReadCataloguePhoto; it is called only once the
// path has passed the checks before it.
template <typename Read>
StoreOutcome Store(Library& library, const std::string& path, bool force,
                   const RegionRoute& regions, Read&& read) {
    if (path.size() > kMaxPathBytes) return StoreOutcome::Unreadable;
    if (!OpenCatalogue(library)) return StoreOutcome::Failed;
    if (!PassDeletedPathCheck(library, path, force)) return StoreOutcome::Skipped;
    std::optional<CataloguePhoto> readPhoto = read();
    if (!readPhoto) return StoreOutcome::Unreadable;
    // The companion is asked only once the file is read, with nothing held.
    ReadPhoto photo{std::move(*readPhoto), {}};
    photo.regions = ResolveRegionOrQueue(photo.id, photo.record, kImportRegionSends, regions);
    switch (InsertPhotoRow(library, PhotoRef{photo.id, false}, photo.record, photo.thumbnail,
                           photo.regions)) {
        case InsertResult::Failed:
            return StoreOutcome::Failed;
        case InsertResult::Done:
            WriteKeywordRows(library, photo.id, photo.record);
            return StoreOutcome::Imported;
        case InsertResult::NotDone:
            break;
    }
    return ResolveDuplicate(library, photo);
}

}  // namespace

StoreOutcome StorePhotoFile(Library& library, const std::string& path, bool force,
                            const RegionRoute& regions) {
    return Store(library, path, force, regions, [&path] { return ReadCataloguePhoto(path); });
}

StoreOutcome StoreReadPhotoFile(Library& library, const std::string& path, bool force,
                                const RegionRoute& regions, std::optional<CataloguePhoto> read) {
    return Store(library, path, force, regions, [&read] { return std::move(read); });
}

bool AddPhotoFile(Library& library, const std::string& path, bool force,
                  const RegionRoute& regions) {
    return StorePhotoFile(library, path, force, regions) == StoreOutcome::Imported;
}
