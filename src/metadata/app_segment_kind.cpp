#include "metadata/app_segment_kind.h"

#include <cstring>

namespace {

constexpr std::uint8_t kMarkerApp1 = 0xE1;
constexpr std::uint8_t kMarkerApp13 = 0xED;

bool StartsWith(std::span<const std::uint8_t> payload, std::string_view signature) {
    return payload.size() >= signature.size() &&
           std::memcmp(payload.data(), signature.data(), signature.size()) == 0;
}

}  // namespace

AppSegmentKind ClassifyAppSegment(std::uint8_t marker, std::span<const std::uint8_t> payload) {
    if (marker == kMarkerApp13)
        return StartsWith(payload, kPhotoshopSignature) ? AppSegmentKind::Photoshop
                                                        : AppSegmentKind::Other;
    if (marker != kMarkerApp1) return AppSegmentKind::Other;
    if (StartsWith(payload, std::string_view("Exif\0\0", 6))) return AppSegmentKind::Exif;
    if (StartsWith(payload, kXmpSignature)) return AppSegmentKind::Xmp;
    if (StartsWith(payload, kExtendedXmpSignature)) return AppSegmentKind::ExtendedXmp;
    return AppSegmentKind::Other;
}
