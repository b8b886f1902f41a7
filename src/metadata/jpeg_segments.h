#pragma once
// The marker segments at the head of a JPEG file held in memory, as the EXIF
// rewrite needs them: where the EXIF APP1 segment is, and where a new one
// goes when there is none.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

struct JpegExifPlace {
    // The first APP1 segment whose payload starts with "Exif\0\0": from its
    // FF E1 marker to the end of its payload. Empty when there is none.
    // segmentEnd includes continuation segments (below).
    std::size_t segmentStart = 0;
    std::size_t segmentEnd = 0;
    std::size_t firstSegmentEnd = 0;  // end of the first segment alone
    // EXIF data too long for one segment is continued in the APP1 segments
    // right after it, each "Exif\0\0" and then the next bytes of the same
    // TIFF data (no TIFF header of its own), as long as the data so far
    // points past its end: [start, end) of those bytes. Any other EXIF APP1
    // is a separate segment.
    std::vector<std::pair<std::size_t, std::size_t>> continuations;
    bool hasExif() const { return segmentEnd > segmentStart; }
    // Where a new EXIF segment is inserted: after SOI, or after an APP0
    // segment (JFIF header) that directly follows it.
    std::size_t insertAt = 2;
    // False when the data ended before the first scan (or EOI): a file read
    // only in part must then be read further.
    bool walkedToScan = false;
    // The first APP1 segment holding the main XMP packet, marker to end;
    // empty when there is none. Extended XMP segments are not counted: they
    // stay as they are.
    std::size_t xmpStart = 0;
    std::size_t xmpEnd = 0;
    bool hasXmp() const { return xmpEnd > xmpStart; }
    // Every Photoshop APP13 segment, marker to end, in order: together they
    // carry one stream of image resources.
    std::vector<std::pair<std::size_t, std::size_t>> photoshop;
};

// Size of "Exif\0\0" at the start of an EXIF APP1 payload.
inline constexpr std::size_t kExifHeaderSize = 6;
// Most payload bytes one segment can carry (its length field counts itself).
inline constexpr std::size_t kMaxSegmentPayload = 65533;

// Walks the segments before the first scan (at most 4096, each checked
// against the data's end). nullopt when the data does not start with SOI.
std::optional<JpegExifPlace> FindExifPlace(std::span<const std::uint8_t> file);
