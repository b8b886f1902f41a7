#include "metadata/caption_segments.h"

#include <algorithm>
#include <optional>
#include <string>

#include "metadata/app_segment_kind.h"
#include "metadata/iptc_record.h"
#include "metadata/photoshop_resources.h"
#include "metadata/xmp_packet.h"

namespace {

constexpr std::uint8_t kMarkerApp1 = 0xE1;
constexpr std::uint8_t kMarkerApp13 = 0xED;

std::span<const std::uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// The resource stream the Photoshop segments carry together.
std::vector<std::uint8_t> PhotoshopStream(std::span<const std::uint8_t> head,
                                          const JpegExifPlace& place) {
    std::vector<std::uint8_t> stream;
    for (auto [start, end] : place.photoshop)
        stream.insert(stream.end(), head.begin() + start + 4 + kPhotoshopSignature.size(),
                      head.begin() + end);
    return stream;
}

bool HoldsIptc(const std::vector<std::uint8_t>& stream) {
    const auto resources = ParsePhotoshopResources(stream);
    return !resources || FindResource(*resources, kIptcResource) != nullptr;
}

// The stream again in as many segments as it needs; the first replaces the
// first old segment and the others go.
void SpliceStream(const JpegExifPlace& place, const std::vector<std::uint8_t>& stream,
                  std::vector<SegmentSplice>& splices) {
    constexpr std::size_t kRoom = kMaxSegmentPayload - kPhotoshopSignature.size();
    SegmentSplice first{place.photoshop.front().first, place.photoshop.front().second, {}};
    for (std::size_t at = 0; at < stream.size(); at += kRoom) {
        const auto piece = std::span(stream).subspan(at, std::min(kRoom, stream.size() - at));
        AppendSegment(first.bytes, kMarkerApp13, Bytes(kPhotoshopSignature), piece);
    }
    splices.push_back(std::move(first));
    for (std::size_t i = 1; i < place.photoshop.size(); ++i)
        splices.push_back({place.photoshop[i].first, place.photoshop[i].second, {}});
}

}  // namespace

void AppendSegment(std::vector<std::uint8_t>& out, std::uint8_t marker,
                   std::span<const std::uint8_t> signature, std::span<const std::uint8_t> body) {
    const std::size_t length = 2 + signature.size() + body.size();
    const std::uint8_t head[] = {0xFF, marker, static_cast<std::uint8_t>(length >> 8),
                                 static_cast<std::uint8_t>(length)};
    out.insert(out.end(), std::begin(head), std::end(head));
    out.insert(out.end(), signature.begin(), signature.end());
    out.insert(out.end(), body.begin(), body.end());
}

CaptionSplices BuildCaptionSplices(std::span<const std::uint8_t> head, const JpegExifPlace& place,
                                   const CaptionEdit& edit, std::size_t newXmpAt) {
    CaptionSplices result;
    if (edit.Empty()) return result;
    const std::vector<std::uint8_t> stream = PhotoshopStream(head, place);
    const bool hasIptc = !place.photoshop.empty() && HoldsIptc(stream);

    std::optional<std::string> packet;
    if (place.hasXmp()) {
        const std::size_t body = place.xmpStart + 4 + kXmpSignature.size();
        const std::string_view old(reinterpret_cast<const char*>(head.data()) + body,
                                   place.xmpEnd - body);
        packet = EditXmpPacket(old, edit);
        if (!packet) result.exifOnly = true;
        if (packet == old) packet.reset();  // nothing to write
    } else if (!hasIptc && edit.HasCaptions()) {
        packet = EditXmpPacket({}, edit);
    }
    std::optional<std::vector<std::uint8_t>> iptc;
    if (hasIptc && edit.HasCaptions()) {
        iptc = EditIptcStream(stream, edit);
        if (!iptc) result.exifOnly = true;
    }
    if (result.exifOnly) return result;

    if (packet) {
        SegmentSplice xmp = place.hasXmp() ? SegmentSplice{place.xmpStart, place.xmpEnd, {}}
                                           : SegmentSplice{newXmpAt, newXmpAt, {}};
        AppendSegment(xmp.bytes, kMarkerApp1, Bytes(kXmpSignature), Bytes(*packet));
        result.splices.push_back(std::move(xmp));
    }
    if (iptc) SpliceStream(place, *iptc, result.splices);
    return result;
}
