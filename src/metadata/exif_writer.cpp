// RewriteJpegExif: puts the reader's changed EXIF entries into the file.
//
// The file's own EXIF data is patched (tiff_patch.h), so that every entry
// not edited keeps its bytes, maker notes included; a file without usable
// EXIF data gets all of the reader's entries. Every segment other than the
// EXIF APP1 is copied byte for byte, in order.

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <vector>

#include "metadata/exif_document.h"
#include "metadata/exif_rewrite.h"
#include "metadata/jpeg_file_reader.h"
#include "metadata/jpeg_segments.h"
#include "metadata/metadata_reader.h"
#include "metadata/tiff_patch.h"
#include "platform/text_codec.h"

namespace {

// Entries the patch keeps itself: the IFD pointers and the thumbnail's place.
bool IsStructuralTag(ExifTag tag) {
    return tag == EXIF_TAG_EXIF_IFD_POINTER || tag == EXIF_TAG_GPS_INFO_IFD_POINTER ||
           tag == EXIF_TAG_INTEROPERABILITY_IFD_POINTER ||
           tag == EXIF_TAG_JPEG_INTERCHANGE_FORMAT ||
           tag == EXIF_TAG_JPEG_INTERCHANGE_FORMAT_LENGTH;
}

TiffEntryValue ValueOf(int ifd, const ExifEntry* entry) {
    TiffEntryValue value;
    value.ifd = static_cast<TiffIfd>(ifd);
    value.tag = static_cast<std::uint16_t>(entry->tag);
    value.type = static_cast<std::uint16_t>(entry->format);
    value.count = static_cast<std::uint32_t>(entry->components);
    if (entry->data) value.littleEndian.assign(entry->data, entry->data + entry->size);
    return value;
}

// The values to write: only the edited entries when the file's own EXIF
// data is kept, every entry when the EXIF data is new.
std::vector<TiffEntryValue> ValuesToWrite(const MetadataReader& reader, bool allEntries) {
    ExifData* data = reader.Exif()->Data();
    std::vector<TiffEntryValue> values;
    if (allEntries) {
        for (int ifd = 0; ifd < EXIF_IFD_COUNT; ++ifd)
            for (unsigned int i = 0; i < data->ifd[ifd]->count; ++i) {
                const ExifEntry* entry = data->ifd[ifd]->entries[i];
                if (!IsStructuralTag(entry->tag)) values.push_back(ValueOf(ifd, entry));
            }
        return values;
    }
    for (const MetadataReader::EditedTag& edited : reader.EditedTags()) {
        if (edited.ifd < 0 || edited.ifd >= EXIF_IFD_COUNT) continue;
        const ExifEntry* entry =
            exif_content_get_entry(data->ifd[edited.ifd], static_cast<ExifTag>(edited.tag));
        if (entry) values.push_back(ValueOf(edited.ifd, entry));
    }
    return values;
}

bool Fail(RewriteFailure* why, RewriteFailure reason) {
    if (why) *why = reason;
    return false;
}

RewriteFailure FailureOf(ReplaceResult result) {
    switch (result) {
        case ReplaceResult::Done:
            return RewriteFailure::None;
        case ReplaceResult::Occupied:
            return RewriteFailure::DestinationOccupied;
        case ReplaceResult::WriteFailed:
            return RewriteFailure::WriteFailed;
        case ReplaceResult::ReplaceFailed:
            return RewriteFailure::ReplaceFailed;
    }
    return RewriteFailure::WriteFailed;
}

}  // namespace

bool RewriteJpegExifWith(MetadataReader& reader, const std::string& destination,
                         RewriteFailure* why, const FileOperations& ops) {
    if (why) *why = RewriteFailure::None;
    if (!reader.IsLoaded() || !reader.Exif()) return Fail(why, RewriteFailure::NotLoaded);
    const std::string source = CodePageToUtf8(reader.Path());
    const std::string target = destination.empty() ? source : CodePageToUtf8(destination);
    const bool moving = target != source;
    struct stat status;
    if (moving && lstat(target.c_str(), &status) == 0)
        return Fail(why, RewriteFailure::DestinationOccupied);

    std::vector<std::uint8_t> file;
    if (stat(source.c_str(), &status) != 0 || !ReadFileBytes(source, file))
        return Fail(why, RewriteFailure::Unreadable);
    if (access(source.c_str(), W_OK) != 0) return Fail(why, RewriteFailure::WriteFailed);
    const std::optional<JpegExifPlace> place = FindExifPlace(file);
    if (!place) return Fail(why, RewriteFailure::Unreadable);

    // The file's EXIF data is kept when the reader could use it; a block
    // libexif finds nothing in is replaced by the reader's new data.
    std::vector<std::uint8_t> tiff;
    bool keepOwn = false;
    if (place->hasExif()) {
        const std::uint8_t* payload = &file[place->segmentStart + 4];
        const std::size_t length = place->firstSegmentEnd - place->segmentStart - 4;
        keepOwn = ExifDocument::Load(payload, length) != nullptr;
        if (keepOwn) {
            tiff.assign(payload + kExifHeaderSize, payload + length);
            for (auto [start, end] : place->continuations)
                tiff.insert(tiff.end(), file.begin() + start, file.begin() + end);
        }
    }
    if (!keepOwn) tiff = EmptyTiff();
    const std::vector<TiffEntryValue> values = ValuesToWrite(reader, !keepOwn);
    if (!PatchTiff(tiff, values, reader.Thumbnail())) return Fail(why, RewriteFailure::Unreadable);
    if (tiff.size() + kExifHeaderSize > kMaxSegmentPayload)
        return Fail(why, RewriteFailure::SegmentTooLarge);

    const std::size_t segmentLength = tiff.size() + kExifHeaderSize + 2;
    const std::array<std::uint8_t, 10> segmentHead = {0xFF,
                                                      0xE1,
                                                      static_cast<std::uint8_t>(segmentLength >> 8),
                                                      static_cast<std::uint8_t>(segmentLength),
                                                      'E',
                                                      'x',
                                                      'i',
                                                      'f',
                                                      0,
                                                      0};
    const std::size_t headEnd = place->hasExif() ? place->segmentStart : place->insertAt;
    const std::size_t tailStart = place->hasExif() ? place->segmentEnd : place->insertAt;
    const std::span<const std::uint8_t> whole(file);
    const std::span<const std::uint8_t> pieces[] = {whole.first(headEnd), segmentHead, tiff,
                                                    whole.subspan(tailStart)};
    ReplaceResult result = ReplaceFileContents(target, pieces, status.st_mode, moving, ops);
    if (result != ReplaceResult::Done) return Fail(why, FailureOf(result));
    if (moving && unlink(source.c_str()) != 0) {
        // Both names would hold the photo; undo the new one.
        unlink(target.c_str());
        return Fail(why, RewriteFailure::ReplaceFailed);
    }
    reader.ClearEdited();
    return true;
}

bool RewriteJpegExif(MetadataReader& reader, const std::string& destination, RewriteFailure* why) {
    return RewriteJpegExifWith(reader, destination, why, SystemFileOperations());
}
