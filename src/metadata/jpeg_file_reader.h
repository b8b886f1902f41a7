#pragma once
// Reading the parts of a JPEG file the metadata reader needs, without
// loading the whole file when the segment headers are enough.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Largest file the reader loads whole for decoding; bigger files are treated
// as undecodable rather than exhausting memory.
inline constexpr std::int64_t kMaxDecodedFileBytes = std::int64_t{1} << 30;

// The image size stated by the frame header (SOFn), in pixels.
struct JpegFrameSize {
    int width = 0;
    int height = 0;
};

// Photoshop resources beyond this many bytes are not read: captions take a
// few kilobytes, and a hostile file must not make the reader hold megabytes.
inline constexpr std::size_t kMaxPhotoshopBytes = 1 << 20;

// What the segments before the first scan say about a file.
struct JpegHead {
    // The payload of the first APP1 segment that starts with "Exif\0\0" (at
    // most 65533 bytes, the segment limit; less when the file ends inside
    // it). Empty when there is none.
    std::vector<std::uint8_t> exifPayload;
    // The main XMP packet: the first XMP APP1 without its signature. Empty
    // when there is none.
    std::string xmpPacket;
    // Whether pieces of an extended XMP packet follow (phones keep depth
    // maps and gain maps there); they hold no captions and are not read.
    bool hasExtendedXmp = false;
    // The image resources of the Photoshop APP13 segments (IPTC among them),
    // each segment's signature left out and the rest joined in order, at
    // most kMaxPhotoshopBytes. Empty when there are none.
    std::vector<std::uint8_t> photoshopResources;
    // The first frame header's size; unset when there is none before the
    // scan, it is cut short, or it states a side of 0.
    std::optional<JpegFrameSize> frame;
};

// Walks the JPEG segments from the start of the file, reading only segment
// headers and the segments above (at most 4096 segments, each read within
// its stated length). False when the file cannot be read or does not
// start with SOI; a walk that ends early keeps what it found until then.
bool ReadJpegHead(const std::string& utf8Path, JpegHead& head);

// The EXIF payload of ReadJpegHead alone. False when there is none.
bool ReadExifSegment(const std::string& utf8Path, std::vector<std::uint8_t>& payload);

// The whole file, for decoding. False when it cannot be read or is larger
// than kMaxDecodedFileBytes.
bool ReadFileBytes(const std::string& utf8Path, std::vector<std::uint8_t>& bytes);
