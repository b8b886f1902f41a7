#pragma once
// What an APP1 or APP13 segment carries, told from the signature at the
// start of its payload. The reader and the rewrite walk the segments each
// in their own way (file reads, memory) and classify them here alike.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

enum class AppSegmentKind {
    Other,
    Exif,         // APP1 "Exif\0\0" + TIFF data
    Xmp,          // APP1, the main XMP packet
    ExtendedXmp,  // APP1, one piece of an XMP packet too large for one segment
    Photoshop,    // APP13 "Photoshop 3.0\0" + image resources (IPTC among them)
};

inline constexpr std::string_view kXmpSignature("http://ns.adobe.com/xap/1.0/\0", 29);
inline constexpr std::string_view kExtendedXmpSignature("http://ns.adobe.com/xmp/extension/\0", 35);
inline constexpr std::string_view kPhotoshopSignature("Photoshop 3.0\0", 14);

// payload: the bytes after the segment's length field.
AppSegmentKind ClassifyAppSegment(std::uint8_t marker, std::span<const std::uint8_t> payload);
