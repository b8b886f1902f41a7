#pragma once
// The XMP and Photoshop (IPTC) segments a rewrite puts into a file for the
// reader's caption changes (this folder only). The segments are built here;
// the rewrite splices them in with the EXIF segment.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "metadata/caption_forms.h"
#include "metadata/jpeg_segments.h"

// Bytes [start, end) of the file's head replaced by bytes (start == end
// inserts them there).
struct SegmentSplice {
    std::size_t start = 0;
    std::size_t end = 0;
    std::vector<std::uint8_t> bytes;
};

struct CaptionSplices {
    std::vector<SegmentSplice> splices;
    // The file's XMP or IPTC cannot be parsed, or the edited packet would not
    // fit its segment: nothing of either is written.
    bool exifOnly = false;
};

// The edited XMP packet and IPTC record of the file whose head (every
// segment before the scan) and place are given, or a new XMP packet at
// newXmpAt when the file has neither and the edit changes captions.
CaptionSplices BuildCaptionSplices(std::span<const std::uint8_t> head, const JpegExifPlace& place,
                                   const CaptionEdit& edit, std::size_t newXmpAt);

// FF marker, length, signature and body as one segment.
void AppendSegment(std::vector<std::uint8_t>& out, std::uint8_t marker,
                   std::span<const std::uint8_t> signature, std::span<const std::uint8_t> body);
