#include "metadata/jpeg_segments.h"

#include "metadata/app_segment_kind.h"
#include "metadata/tiff_patch.h"

namespace {

constexpr std::uint8_t kMarkerSoi = 0xD8;
constexpr std::uint8_t kMarkerEoi = 0xD9;
constexpr std::uint8_t kMarkerSos = 0xDA;
constexpr std::uint8_t kMarkerApp0 = 0xE0;
constexpr int kMaxSegments = 4096;

bool StartsWithTiffHeader(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 4 &&
           ((bytes[0] == 'I' && bytes[1] == 'I' && bytes[2] == 42 && bytes[3] == 0) ||
            (bytes[0] == 'M' && bytes[1] == 'M' && bytes[2] == 0 && bytes[3] == 42));
}

bool HasNoLength(std::uint8_t marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

}  // namespace

std::optional<JpegExifPlace> FindExifPlace(std::span<const std::uint8_t> file) {
    if (file.size() < 2 || file[0] != 0xFF || file[1] != kMarkerSoi) return std::nullopt;
    JpegExifPlace place;
    std::vector<std::uint8_t> tiff;  // the EXIF data found so far, continuations joined
    std::size_t pos = 2;
    for (int segment = 0; segment < kMaxSegments; ++segment) {
        const std::size_t markerStart = pos;
        if (pos >= file.size() || file[pos] != 0xFF) break;
        while (pos < file.size() && file[pos] == 0xFF) ++pos;  // fill bytes
        if (pos >= file.size()) break;
        const std::uint8_t marker = file[pos++];
        if (marker == kMarkerSos || marker == kMarkerEoi) {
            place.walkedToScan = true;
            break;
        }
        if (marker == kMarkerSoi || HasNoLength(marker)) continue;
        if (file.size() - pos < 2) break;
        const std::size_t length = std::size_t{file[pos]} << 8 | file[pos + 1];
        if (length < 2 || file.size() - pos < length) break;
        const std::size_t payload = pos + 2;
        const std::size_t end = pos + length;
        if (segment == 0 && marker == kMarkerApp0) place.insertAt = end;
        const AppSegmentKind kind =
            ClassifyAppSegment(marker, file.subspan(payload, end - payload));
        pos = end;
        if (kind == AppSegmentKind::Xmp && !place.hasXmp()) {
            place.xmpStart = markerStart;
            place.xmpEnd = end;
        } else if (kind == AppSegmentKind::Photoshop) {
            place.photoshop.emplace_back(markerStart, end);
        }
        if (kind != AppSegmentKind::Exif) continue;
        const auto body = file.subspan(payload + kExifHeaderSize, end - payload - kExifHeaderSize);
        if (!place.hasExif()) {
            place.segmentStart = markerStart;
            place.segmentEnd = place.firstSegmentEnd = end;
            tiff.assign(body.begin(), body.end());
        } else if (place.segmentEnd == markerStart && !StartsWithTiffHeader(body) &&
                   TiffReachesPastItsEnd(tiff)) {
            // The EXIF data so far is cut short and goes on here; a segment
            // it does not need is a separate one and stays as it is.
            place.continuations.emplace_back(payload + kExifHeaderSize, end);
            place.segmentEnd = end;
            tiff.insert(tiff.end(), body.begin(), body.end());
        }
    }
    return place;
}
