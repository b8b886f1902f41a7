#include "import/add_photo_file.h"

#include <vector>

#include "catalogue/deleted_paths.h"
#include "catalogue/keyword_rows.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/photo_id.h"
#include "catalogue/photo_rows.h"
#include "import/import_state.h"
#include "import/photo_region.h"
#include "platform/file_status.h"
#include "platform/text_codec.h"

namespace {

constexpr std::size_t kMaxPathBytes = 356;

// What reading one file gives the insert.
struct ReadPhoto {
    PhotoRecord record;
    std::int64_t id = 0;
    std::vector<std::uint8_t> thumbnail;
    RegionNames regions;
};

template <std::size_t N>
void ConvertField(char (&field)[N]) {
    std::string utf8 = CodePageToUtf8(field);
    SetField(field, utf8);
}

bool ReadIntoSharedReader(const std::string& path) {
    std::lock_guard lock(MetadataReaderLock());
    MetadataReader& reader = SharedMetadataReader();
    reader.Discard();
    return ReadPhotoFile(reader, path, true);
}

// Takes what the insert needs out of the shared reader and asks for the
// photo's region (or queues it) while the reader is held.
ReadPhoto TakeFromSharedReader(int regionSends) {
    std::lock_guard lock(MetadataReaderLock());
    MetadataReader& reader = SharedMetadataReader();
    ReadPhoto photo;
    photo.record = reader.Record();
    auto thumbnail = reader.Thumbnail();
    photo.thumbnail.assign(thumbnail.begin(), thumbnail.end());
    photo.id = ComputePhotoId(photo.thumbnail.data(), photo.thumbnail.size());
    photo.regions = ResolveRegionOrQueue(photo.id, photo.record, regionSends);
    reader.Discard();
    return photo;
}

bool InsertAsMain(const ReadPhoto& photo) {
    if (InsertPhotoRow(photo.id, photo.record, photo.thumbnail, false, photo.regions) !=
        InsertResult::Done)
        return false;
    WriteKeywordRows(photo.id, photo.record);
    return true;
}

// The photo's duplicate row holds another file than this one: with this
// copy the photo has three, and the catalogue keeps two.
bool DuplicateRowIsAnotherFile(const ReadPhoto& photo) {
    auto path = PhotoFullPath(photo.id, true);
    return path && *path != photo.record.strFullPath;
}

// The id is already catalogued: the same thumbnail, hence the same photo.
// Decides which copy keeps the main row.
StoreOutcome ResolveDuplicate(const ReadPhoto& photo) {
    const PhotoRecord& n = photo.record;
    auto existing = FindCataloguedCopy(photo.id);
    if (!existing) {
        WriteKeywordRows(photo.id, n);
        return StoreOutcome::Imported;
    }
    const bool sameFolder = existing->strPath == n.strPath;
    const auto existingTime = static_cast<std::uint32_t>(existing->dwMTime);
    const auto newTime = static_cast<std::uint32_t>(n.dwMTime);
    const bool newerFolder =
        existingTime == newTime && !sameFolder &&
        FolderLastWriteTime(n.strPath) > FolderLastWriteTime(existing->strPath);

    if (sameFolder) {
        if (existingTime >= newTime) return StoreOutcome::Duplicate;  // already catalogued
        DeletePhotoRows(std::nullopt, photo.id, false);               // the file changed
        return InsertAsMain(photo) ? StoreOutcome::Imported : StoreOutcome::Failed;
    }
    if (existingTime < newTime || newerFolder) {
        // The new copy wins; the old one becomes the duplicate, in place of
        // any duplicate row before it.
        const bool displaces = DuplicateRowIsAnotherFile(photo);
        const bool copied = CopyPhotoToDuplicates(photo.id);
        DeletePhotoRows(std::nullopt, photo.id, false);
        if (!InsertAsMain(photo)) return StoreOutcome::Failed;
        return copied && displaces ? StoreOutcome::ThirdCopy : StoreOutcome::Duplicate;
    }
    switch (InsertPhotoRow(photo.id, n, photo.thumbnail, true, photo.regions)) {
        case InsertResult::Done:
            return StoreOutcome::Duplicate;
        case InsertResult::NotDone:
            return DuplicateRowIsAnotherFile(photo) ? StoreOutcome::ThirdCopy
                                                    : StoreOutcome::Duplicate;
        case InsertResult::Failed:
            break;
    }
    return StoreOutcome::Failed;
}

}  // namespace

bool ConvertRecordToUtf8(PhotoRecord& r) {
    if (CodePageToUtf8(r.strFullPath).size() >= sizeof r.strFullPath) return false;
    ConvertField(r.strFullPath);
    ConvertField(r.strMake);
    ConvertField(r.strModel);
    ConvertField(r.strName);
    ConvertField(r.strPath);
    ConvertField(r.strXpAuthor);
    r.strXpComent = CodePageToUtf8(r.strXpComent);
    ConvertField(r.strXpKeyword);
    ConvertField(r.strXpSubject);
    ConvertField(r.strXpTitle);
    ConvertField(r.strOrientation);
    return true;
}

StoreOutcome StorePhotoFile(const std::string& path, bool force) {
    if (path.size() > kMaxPathBytes) return StoreOutcome::Unreadable;
    if (!OpenCatalogue()) return StoreOutcome::Failed;
    if (!PassDeletedPathCheck(path, force)) return StoreOutcome::Skipped;
    if (!ReadIntoSharedReader(path)) return StoreOutcome::Unreadable;
    {
        std::lock_guard lock(MetadataReaderLock());
        if (!ConvertRecordToUtf8(SharedMetadataReader().Record())) {
            SharedMetadataReader().Discard();
            return StoreOutcome::Unreadable;
        }
    }
    ReadPhoto photo = TakeFromSharedReader(kImportRegionSends);
    switch (InsertPhotoRow(photo.id, photo.record, photo.thumbnail, false, photo.regions)) {
        case InsertResult::Failed:
            return StoreOutcome::Failed;
        case InsertResult::Done:
            WriteKeywordRows(photo.id, photo.record);
            return StoreOutcome::Imported;
        case InsertResult::NotDone:
            break;
    }
    return ResolveDuplicate(photo);
}

bool AddPhotoFile(const std::string& path, bool force) {
    return StorePhotoFile(path, force) == StoreOutcome::Imported;
}
