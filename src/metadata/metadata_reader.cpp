#include "metadata/metadata_reader.h"

#include <vector>

#include "image/raster_image.h"
#include "metadata/caption_reading.h"
#include "metadata/exif_document.h"
#include "metadata/exif_tag_reader.h"
#include "metadata/jpeg_file_reader.h"
#include "metadata/thumbnail_maker.h"
#include "platform/file_status.h"
#include "platform/native_path.h"
#include "platform/text_codec.h"

namespace {

constexpr std::size_t kMaxNameLength = 99;
constexpr std::size_t kMaxFolderStart = 255;

std::int32_t Low32Bits(std::int64_t seconds) {
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(static_cast<std::uint64_t>(seconds)));
}

void SetFileStatus(const FileStatus& status, PhotoRecord& record) {
    record.fSize = static_cast<float>(status.size) * (1.0f / 1024) * (1.0f / 1024);
    record.dwCTime = Low32Bits(status.creationTime);
    record.dwMTime = Low32Bits(status.lastWriteTime);
}

// Image size from a decode when neither the frame header (as the segment
// walk found it) nor the EXIF data gives one; the 1/8 DCT scale keeps the
// decode cheap while still proving the file decodes.
bool ReadDecodedSize(const std::string& utf8Path, PhotoRecord& record) {
    std::vector<std::uint8_t> file;
    if (!ReadFileBytes(utf8Path, file)) return false;
    RasterImage image;
    int width = 0, height = 0;
    if (!image.DecodeJpegScaled(file.data(), file.size(), 1, 1, &width, &height)) return false;
    record.nWidth = width;
    record.nHeight = height;
    return width > 0 && height > 0;
}

std::unique_ptr<ExifDocument> LoadExif(const JpegHead& head) {
    if (head.exifPayload.empty()) return nullptr;
    return ExifDocument::Load(head.exifPayload.data(), head.exifPayload.size());
}

}  // namespace

MetadataReader::MetadataReader() = default;
MetadataReader::~MetadataReader() = default;
MetadataReader::MetadataReader(MetadataReader&&) noexcept = default;
MetadataReader& MetadataReader::operator=(MetadataReader&&) noexcept = default;

std::span<const std::uint8_t> MetadataReader::Thumbnail() const {
    return exif_ ? exif_->Thumbnail() : std::span<const std::uint8_t>{};
}

void MetadataReader::ReplaceExif(std::unique_ptr<ExifDocument> exif) {
    exif_ = std::move(exif);
}

void MetadataReader::MarkEdited(int ifd, std::uint16_t tag) {
    for (const EditedTag& edited : edited_)
        if (edited.ifd == ifd && edited.tag == tag) return;
    edited_.push_back({ifd, tag});
}

void MetadataReader::Discard() {
    path_.clear();
    record_ = PhotoRecord{};
    exif_.reset();
    edited_.clear();
    captionChanges_ = {};
    captionsInExifOnly_ = false;
    loaded_ = false;
}

bool ReadPhotoFile(MetadataReader& reader, const std::string& path, bool decodeWhenNoSize) {
    reader.Discard();
    if (path.empty()) return false;
    const std::string utf8Path = CodePageToUtf8(path);
    const std::optional<FileStatus> status = StatFile(utf8Path);
    if (!status) return false;
    // The full path must fit its field with the terminator; a cut path would
    // name another file.
    if (path.size() >= sizeof reader.record_.strFullPath) return false;
    const std::size_t nameStart = NameStart(path);
    if (path.size() - nameStart > kMaxNameLength || nameStart > kMaxFolderStart) return false;

    reader.path_ = path;
    PhotoRecord& record = reader.record_;
    SetFileStatus(*status, record);
    SetField(record.strName, std::string_view(path).substr(nameStart));
    // As a std::string: an empty folder view has no data pointer at all.
    SetField(record.strPath, std::string(FolderOfPath(path)));
    SetField(record.strFullPath, path);

    JpegHead head;
    ReadJpegHead(utf8Path, head);
    reader.exif_ = LoadExif(head);
    const bool hadExif = reader.exif_ != nullptr;
    if (!hadExif) reader.exif_ = ExifDocument::CreateEmpty();
    if (!reader.exif_ || !MakeThumbnail(reader)) {
        reader.Discard();
        return false;
    }
    if (hadExif) {
        reader.exif_->SetIntelByteOrder();
        ReadExifTags(reader.exif_->Data(), record);
    }
    ApplyCaptionForms(CollectCaptionForms(hadExif ? reader.exif_->Data() : nullptr, head), record);
    // The frame header gives the size of the image as it is; size tags are
    // left stale by editors that scale an image without updating them.
    if (head.frame) {
        record.nWidth = head.frame->width;
        record.nHeight = head.frame->height;
    } else if (hadExif && (record.nWidth == 0 || record.nHeight == 0) && decodeWhenNoSize &&
               !ReadDecodedSize(utf8Path, record)) {
        reader.Discard();
        return false;
    }
    reader.loaded_ = true;
    return true;
}

std::optional<std::string> ReadWholeKeywords(const std::string& path) {
    JpegHead head;
    ReadJpegHead(CodePageToUtf8(path), head);
    const std::unique_ptr<ExifDocument> exif = LoadExif(head);
    ExifData* data = exif ? exif->Data() : nullptr;
    return WholeKeywordText(data, CollectCaptionForms(data, head));
}
