// RewriteJpegExif: puts the reader's changed EXIF entries into the file,
// and its caption changes into the file's XMP and IPTC.
//
// The file's own EXIF data is patched (tiff_patch.h), so that every entry
// not edited keeps its bytes, maker notes included; a file without usable
// EXIF data gets all of the reader's entries, and an edit that changes no
// EXIF entry keeps the EXIF segment as it is. Every segment other than the
// EXIF APP1, the main XMP APP1 and the Photoshop APP13 is copied byte for
// byte, in order (extended XMP among them).

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "metadata/afcp_trailer.h"
#include "metadata/caption_segments.h"
#include "metadata/exif_document.h"
#include "metadata/exif_rewrite.h"
#include "metadata/jpeg_file_reader.h"
#include "metadata/jpeg_segments.h"
#include "metadata/metadata_reader.h"
#include "metadata/tiff_patch.h"
#include "platform/file_ops.h"
#include "platform/text_codec.h"

namespace {

constexpr std::array<std::uint8_t, kExifHeaderSize> kExifSignature = {'E', 'x', 'i', 'f', 0, 0};

// Entries the patch keeps itself: the IFD pointers and the thumbnail's place.
bool IsStructuralTag(ExifTag tag) {
    return tag == EXIF_TAG_EXIF_IFD_POINTER || tag == EXIF_TAG_GPS_INFO_IFD_POINTER ||
           tag == EXIF_TAG_INTEROPERABILITY_IFD_POINTER ||
           tag == EXIF_TAG_JPEG_INTERCHANGE_FORMAT ||
           tag == EXIF_TAG_JPEG_INTERCHANGE_FORMAT_LENGTH;
}

TiffEntryValue LongValue(int ifd, std::uint16_t tag, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    return {static_cast<TiffIfd>(ifd),
            tag,
            EXIF_FORMAT_LONG,
            1,
            {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
             static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)}};
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
        // New EXIF data states the decoded size rather than libexif's
        // placeholder 0.
        const PhotoRecord& record = reader.Record();
        for (TiffEntryValue& value : values) {
            const std::int32_t side = value.tag == EXIF_TAG_PIXEL_X_DIMENSION   ? record.nWidth
                                      : value.tag == EXIF_TAG_PIXEL_Y_DIMENSION ? record.nHeight
                                                                                : 0;
            if (side > 0) value = LongValue(static_cast<int>(value.ifd), value.tag, side);
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

// The EXIF segment is near the start of the file: only this much is read
// into memory, and the rest is copied file to file.
constexpr std::size_t kHeadBytes = 256 * 1024;

// The first length bytes of the file.
bool ReadHead(int fd, std::uint64_t length, std::vector<std::uint8_t>& bytes) {
    bytes.resize(length);
    return ReadAt(fd, 0, bytes);
}

// The new EXIF segment: the file's own TIFF data patched with the edited
// entries, or all of the reader's entries when the file has no usable EXIF.
bool BuildTiff(const MetadataReader& reader, const std::vector<std::uint8_t>& head,
               const JpegExifPlace& place, std::vector<std::uint8_t>& tiff) {
    bool keepOwn = false;
    if (place.hasExif()) {
        // The payload with its continuations joined, as one block.
        std::vector<std::uint8_t> payload(head.begin() + place.segmentStart + 4,
                                          head.begin() + place.firstSegmentEnd);
        for (auto [start, end] : place.continuations)
            payload.insert(payload.end(), head.begin() + start, head.begin() + end);
        keepOwn = ExifDocument::Load(payload.data(), payload.size()) != nullptr;
        if (keepOwn) tiff.assign(payload.begin() + kExifHeaderSize, payload.end());
    }
    if (!keepOwn) tiff = EmptyTiff();
    return PatchTiff(tiff, ValuesToWrite(reader, !keepOwn), reader.Thumbnail());
}

// A file whose EXIF data the edit does not change keeps its EXIF segment
// byte for byte, when that segment is one libexif can read.
bool KeepsItsExif(const MetadataReader& reader, const std::vector<std::uint8_t>& head,
                  const JpegExifPlace& place) {
    if (!reader.EditedTags().empty() || !place.hasExif() || !place.continuations.empty())
        return false;
    const std::size_t payload = place.segmentStart + 4;
    return ExifDocument::Load(head.data() + payload, place.firstSegmentEnd - payload) != nullptr;
}

// Whether the new TIFF data, read as the reader would read it, holds every
// edited entry as the reader has it. Damaged IFDs (repeated tags, entries in
// no order) can hide a patched entry behind another; such an edit is
// refused rather than written wrong.
bool ReadsBackAsEdited(const MetadataReader& reader, const std::vector<std::uint8_t>& tiff) {
    std::vector<std::uint8_t> payload(kExifSignature.begin(), kExifSignature.end());
    payload.insert(payload.end(), tiff.begin(), tiff.end());
    const std::unique_ptr<ExifDocument> written =
        ExifDocument::Load(payload.data(), payload.size());
    if (!written) return false;
    written->SetIntelByteOrder();  // as the reader's own data
    ExifData* edited = reader.Exif()->Data();
    for (const MetadataReader::EditedTag& tag : reader.EditedTags()) {
        if (tag.ifd < 0 || tag.ifd >= EXIF_IFD_COUNT) continue;
        const auto id = static_cast<ExifTag>(tag.tag);
        const ExifEntry* wanted = exif_content_get_entry(edited->ifd[tag.ifd], id);
        if (wanted == nullptr) continue;
        const ExifEntry* got = exif_content_get_entry(written->Data()->ifd[tag.ifd], id);
        if (got == nullptr || got->format != wanted->format ||
            got->components != wanted->components || got->size != wanted->size ||
            (wanted->size > 0 && std::memcmp(got->data, wanted->data, wanted->size) != 0))
            return false;
    }
    return true;
}

}  // namespace

bool PrepareRewriteWith(MetadataReader& reader, const std::string& destination, bool flush,
                        PreparedRewrite& prepared, RewriteFailure* why, const FileOperations& ops) {
    if (why) *why = RewriteFailure::None;
    if (!reader.IsLoaded() || !reader.Exif()) return Fail(why, RewriteFailure::NotLoaded);
    prepared = {};
    prepared.source = CodePageToUtf8(reader.Path());
    const std::string target = destination.empty() ? prepared.source : CodePageToUtf8(destination);
    prepared.moving = target != prepared.source;
    if (prepared.moving && PathEntryExists(target))
        return Fail(why, RewriteFailure::DestinationOccupied);

    const ReadOnlyFile file(prepared.source);
    const std::optional<OpenFileFacts> facts =
        file.IsOpen() ? RegularFileFacts(file.Descriptor()) : std::nullopt;
    if (!facts) return Fail(why, RewriteFailure::Unreadable);
    if (!IsWritableFile(prepared.source)) return Fail(why, RewriteFailure::WriteFailed);
    const std::uint64_t size = facts->size;
    std::vector<std::uint8_t> head;
    if (!ReadHead(file.Descriptor(), std::min<std::uint64_t>(size, kHeadBytes), head))
        return Fail(why, RewriteFailure::Unreadable);
    std::optional<JpegExifPlace> place = FindExifPlace(head);
    if (place && !place->walkedToScan && head.size() < size) {
        // Segments before the image data larger than the head: read it all,
        // within the limit the reader also keeps.
        if (size > kMaxDecodedFileBytes || !ReadHead(file.Descriptor(), size, head))
            return Fail(why, RewriteFailure::Unreadable);
        place = FindExifPlace(head);
    }
    if (!place) return Fail(why, RewriteFailure::Unreadable);

    // The new segments, in file order: EXIF first, then XMP and IPTC.
    std::vector<SegmentSplice> splices;
    if (!KeepsItsExif(reader, head, *place)) {
        SegmentSplice exif{place->hasExif() ? place->segmentStart : place->insertAt,
                           place->hasExif() ? place->segmentEnd : place->insertAt,
                           {}};
        std::vector<std::uint8_t> tiff;
        if (!BuildTiff(reader, head, *place, tiff)) return Fail(why, RewriteFailure::Unreadable);
        if (tiff.size() + kExifHeaderSize > kMaxSegmentPayload)
            return Fail(why, RewriteFailure::SegmentTooLarge);
        if (!ReadsBackAsEdited(reader, tiff)) return Fail(why, RewriteFailure::WouldNotReadBack);
        AppendSegment(exif.bytes, 0xE1, kExifSignature, tiff);
        splices.push_back(std::move(exif));
    }
    CaptionSplices captions =
        BuildCaptionSplices(head, *place, reader.CaptionChanges(),
                            place->hasExif() ? place->segmentEnd : place->insertAt);
    reader.SetCaptionsInExifOnly(captions.exifOnly);
    for (SegmentSplice& splice : captions.splices) splices.push_back(std::move(splice));
    std::stable_sort(
        splices.begin(), splices.end(),
        [](const SegmentSplice& a, const SegmentSplice& b) { return a.start < b.start; });

    // The head with each splice in place, up to the end of the last one;
    // the rest of the file follows as it is.
    std::vector<std::span<const std::uint8_t>> pieces;
    std::size_t tailStart = 0;
    std::int64_t delta = 0;
    for (const SegmentSplice& splice : splices) {
        pieces.push_back(std::span(head).subspan(tailStart, splice.start - tailStart));
        pieces.push_back(splice.bytes);
        tailStart = splice.end;
        delta += static_cast<std::int64_t>(splice.bytes.size()) -
                 static_cast<std::int64_t>(splice.end - splice.start);
    }
    const std::size_t keptEnd = splices.empty() ? 0 : splices.front().start;

    // An AFCP trailer after the image points at its entries by absolute
    // offsets, which move with the new segments' lengths: it is written
    // anew with them shifted, and a trailer whose offsets cannot be trusted
    // makes the rewrite fail rather than leave it pointing at the wrong bytes.
    AfcpTrailer trailer;
    const AfcpCheck afcp =
        delta == 0 ? AfcpCheck::None : ReadAfcpTrailer(file.Descriptor(), size, tailStart, trailer);
    if (afcp == AfcpCheck::Unusable ||
        (afcp == AfcpCheck::Found && !ShiftAfcpOffsets(trailer, keptEnd, tailStart, delta)))
        return Fail(why, RewriteFailure::TrailerOffsets);
    const std::uint64_t tailEnd = afcp == AfcpCheck::Found ? trailer.start : size;
    const std::span<const std::uint8_t> after[] = {trailer.bytes};
    const NewContent content{pieces, file.Descriptor(), tailStart, tailEnd - tailStart,
                             std::span(after).first(afcp == AfcpCheck::Found ? 1 : 0)};
    const ReplaceResult written = WriteTemporary(target, content, facts->permissions,
                                                 prepared.moving, flush, prepared.replace, ops);
    if (written != ReplaceResult::Done) return Fail(why, FailureOf(written));
    return true;
}

bool CompleteRewriteWith(PreparedRewrite& prepared, bool flushFolder, RewriteFailure* why,
                         const FileOperations& ops) {
    if (why) *why = RewriteFailure::None;
    const ReplaceResult result = PutInPlace(prepared.replace, flushFolder, ops);
    if (result != ReplaceResult::Done) return Fail(why, FailureOf(result));
    if (prepared.moving && !RemoveFile(prepared.source)) {
        // Both names would hold the photo; undo the new one.
        RemoveFile(prepared.replace.target);
        return Fail(why, RewriteFailure::ReplaceFailed);
    }
    return true;
}

bool RewriteJpegExifWith(MetadataReader& reader, const std::string& destination,
                         RewriteFailure* why, const FileOperations& ops) {
    PreparedRewrite prepared;
    return PrepareRewriteWith(reader, destination, true, prepared, why, ops) &&
           CompleteRewriteWith(prepared, true, why, ops);
}

bool RewriteJpegExif(MetadataReader& reader, const std::string& destination, RewriteFailure* why) {
    return RewriteJpegExifWith(reader, destination, why, SystemFileOperations());
}

bool PrepareRewrite(MetadataReader& reader, const std::string& destination,
                    PreparedRewrite& prepared, RewriteFailure* why) {
    return PrepareRewriteWith(reader, destination, false, prepared, why, SystemFileOperations());
}

bool FlushPreparedRewrites(std::span<PreparedRewrite* const> group) {
    std::vector<PendingReplace*> pending;
    for (PreparedRewrite* rewrite : group) pending.push_back(&rewrite->replace);
    return FlushTemporaries(pending);
}

bool CompleteRewrite(PreparedRewrite& prepared, RewriteFailure* why) {
    return CompleteRewriteWith(prepared, false, why, SystemFileOperations());
}

void AbandonRewrite(PreparedRewrite& prepared) {
    DiscardTemporary(prepared.replace);
}

void FlushRewrittenFolders(std::span<PreparedRewrite* const> group) {
    std::set<std::string> folders;
    for (PreparedRewrite* rewrite : group)
        folders.insert(FolderForReplace(rewrite->replace.target));
    for (const std::string& folder : folders) SystemFileOperations().FlushFolder(folder);
}
