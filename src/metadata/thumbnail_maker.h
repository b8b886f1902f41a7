#pragma once
// Thumbnails: the one embedded in a file's EXIF data, or one generated from
// the image and stored as the EXIF data's thumbnail.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "record/photo_record.h"

class MetadataReader;
class ExifDocument;

inline constexpr int kThumbnailSide = 160;

struct ThumbnailSize {
    int width = 0;
    int height = 0;
};

// The generated thumbnail's size for a width x height image: the longer
// side becomes 160, the other scales with integer division (and may come out
// 0 for an image more than 160 times longer than wide).
ThumbnailSize ThumbnailTarget(int width, int height);

// Decodes the JPEG file, sets record.nWidth/nHeight from its header and
// encodes a thumbnail of ThumbnailTarget size. nullopt when the file cannot
// be read or decoded or a side is 0; empty bytes for a degenerate target.
std::optional<std::vector<std::uint8_t>> GenerateThumbnail(const std::string& utf8Path,
                                                           PhotoRecord& record);

// True when bytes decode as a JPEG image (data cut short inside the image
// still decodes, as it does for display).
bool DecodesAsJpeg(std::span<const std::uint8_t> bytes);

// The reader's thumbnail: the EXIF data's own when it has one that decodes,
// otherwise a generated one that is stored into the EXIF data (in place of
// any undecodable one). nullopt when none can be obtained. The span is valid
// until the reader changes.
std::optional<std::span<const std::uint8_t>> MakeThumbnail(MetadataReader& reader);
