#include "metadata/thumbnail_maker.h"

#include "image/raster_image.h"
#include "metadata/exif_document.h"
#include "metadata/jpeg_file_reader.h"
#include "metadata/metadata_reader.h"
#include "platform/text_codec.h"

ThumbnailSize ThumbnailTarget(int width, int height) {
    if (width <= 0 || height <= 0) return {};
    // 64-bit products: a hostile header may claim sides near INT_MAX.
    auto scaled = [](int side, int longer) {
        return static_cast<int>(static_cast<std::int64_t>(side) * kThumbnailSide / longer);
    };
    if (height < width) return {kThumbnailSide, scaled(height, width)};
    return {scaled(width, height), kThumbnailSide};
}

std::optional<std::vector<std::uint8_t>> GenerateThumbnail(const std::string& utf8Path,
                                                           PhotoRecord& record) {
    std::vector<std::uint8_t> file;
    if (!ReadFileBytes(utf8Path, file)) return std::nullopt;
    // libjpeg's DCT scaling decodes straight to at least 160 x 160, which
    // covers the target of either orientation, without a full-size buffer.
    RasterImage decoded;
    int width = 0, height = 0;
    if (!decoded.DecodeJpegScaled(file.data(), file.size(), kThumbnailSide, kThumbnailSide, &width,
                                  &height))
        return std::nullopt;
    record.nWidth = width;
    record.nHeight = height;
    if (width == 0 || height == 0) return std::nullopt;

    ThumbnailSize target = ThumbnailTarget(width, height);
    std::vector<std::uint8_t> bytes;
    if (target.width == 0 || target.height == 0) return bytes;
    RasterImage thumbnail;
    if (!decoded.Resample(target.width, target.height, thumbnail) || !thumbnail.EncodeJpeg(bytes))
        return std::nullopt;
    return bytes;
}

bool DecodesAsJpeg(std::span<const std::uint8_t> bytes) {
    return JpegDecodes(bytes.data(), bytes.size());
}

std::optional<std::span<const std::uint8_t>> MakeThumbnail(MetadataReader& reader) {
    ExifDocument* exif = reader.Exif();
    if (!exif) return std::nullopt;
    // Some cameras store a few placeholder bytes as the thumbnail: as the
    // photo's id they would make distinct photos one, and they show nothing.
    if (exif->HasThumbnail() && DecodesAsJpeg(exif->Thumbnail())) return exif->Thumbnail();
    auto generated = GenerateThumbnail(CodePageToUtf8(reader.Path()), reader.Record());
    if (!generated || !exif->SetThumbnail(*generated)) return std::nullopt;
    return exif->Thumbnail();
}
