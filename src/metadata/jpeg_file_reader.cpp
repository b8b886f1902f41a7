#include "metadata/jpeg_file_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <span>
#include <utility>

#include "metadata/app_segment_kind.h"

namespace {

constexpr int kMarkerSoi = 0xD8;
constexpr int kMarkerEoi = 0xD9;
constexpr int kMarkerSos = 0xDA;
constexpr int kMarkerApp1 = 0xE1;
constexpr int kMarkerApp13 = 0xED;
// Cameras put the EXIF segment first; some editors put ICC profiles and
// Photoshop blocks before it. Stop looking after this many segments so that a
// hostile file of endless empty segments cannot keep the reader busy.
constexpr int kMaxSegments = 4096;
// The head of the file is read in one go; it holds the EXIF block of
// practically every camera file.
constexpr std::size_t kHeadBufferBytes = 64 * 1024;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

FilePtr OpenForReading(const std::string& utf8Path) {
    return FilePtr(std::fopen(utf8Path.c_str(), "rb"));
}

// Next marker code after fill bytes, or -1 at the end of the file or on
// bytes that are not a marker.
int NextMarker(std::FILE* f) {
    int c = std::fgetc(f);
    if (c != 0xFF) return -1;
    do {
        c = std::fgetc(f);
    } while (c == 0xFF);
    return c == EOF ? -1 : c;
}

bool HasNoLength(int marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// SOF0..SOF15, less the markers that share that range: DHT, JPG and DAC.
bool IsFrameHeader(int marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Whether a segment of this kind is read whole: the first EXIF and XMP
// segments and every Photoshop one. Extended XMP (a phone's depth map,
// megabytes) and other APP1 data are only looked at.
bool Wanted(AppSegmentKind kind, const JpegHead& head) {
    switch (kind) {
        case AppSegmentKind::Exif:
            return head.exifPayload.empty();
        case AppSegmentKind::Xmp:
            return head.xmpPacket.empty();
        case AppSegmentKind::Photoshop:
            return true;
        case AppSegmentKind::ExtendedXmp:
        case AppSegmentKind::Other:
            break;
    }
    return false;
}

// Reads an APP1 or APP13 body of bodyLength bytes: its signature, and the
// rest when it carries what the reader keeps. Returns the bytes read: fewer
// than bodyLength when the file ends inside the segment (which still hands
// libexif what is there) or the rest is not wanted.
std::size_t ReadAppSegment(std::FILE* f, int marker, std::size_t bodyLength, JpegHead& head) {
    std::vector<std::uint8_t> body(std::min(bodyLength, kExtendedXmpSignature.size()));
    body.resize(std::fread(body.data(), 1, body.size(), f));
    const AppSegmentKind kind = ClassifyAppSegment(static_cast<std::uint8_t>(marker), body);
    if (kind == AppSegmentKind::ExtendedXmp) head.hasExtendedXmp = true;
    if (!Wanted(kind, head) || std::feof(f)) return body.size();
    const std::size_t start = body.size();
    body.resize(bodyLength);
    body.resize(start + std::fread(body.data() + start, 1, bodyLength - start, f));
    const std::size_t read = body.size();
    switch (kind) {
        case AppSegmentKind::Exif:
            head.exifPayload = std::move(body);
            break;
        case AppSegmentKind::Xmp:
            head.xmpPacket.assign(body.begin() + kXmpSignature.size(), body.end());
            break;
        case AppSegmentKind::Photoshop:
            if (head.photoshopResources.size() + body.size() <= kMaxPhotoshopBytes)
                head.photoshopResources.insert(head.photoshopResources.end(),
                                               body.begin() + kPhotoshopSignature.size(),
                                               body.end());
            break;
        case AppSegmentKind::ExtendedXmp:
        case AppSegmentKind::Other:
            break;
    }
    return read;
}

// Reads precision, height and width from a frame header body of bodyLength
// bytes; a body too short to hold them and the component count is not
// read at all, so that no byte beyond the segment is taken for the size.
// Returns the bytes read.
std::size_t ReadFrame(std::FILE* f, std::size_t bodyLength, std::optional<JpegFrameSize>& frame) {
    constexpr std::size_t kSizeFields = 5;  // precision, height, width
    if (bodyLength < kSizeFields + 1) return 0;
    unsigned char fields[kSizeFields];
    const std::size_t got = std::fread(fields, 1, kSizeFields, f);
    if (got < kSizeFields) return got;
    const int height = fields[1] << 8 | fields[2];
    const int width = fields[3] << 8 | fields[4];
    // A height of 0 is given later by a DNL segment; the size is not known here.
    if (width > 0 && height > 0) frame = JpegFrameSize{width, height};
    return got;
}

}  // namespace

bool ReadJpegHead(const std::string& utf8Path, JpegHead& head) {
    head = {};
    FilePtr file = OpenForReading(utf8Path);
    if (!file) return false;
    std::FILE* f = file.get();
    std::setvbuf(f, nullptr, _IOFBF, kHeadBufferBytes);
    if (std::fgetc(f) != 0xFF || std::fgetc(f) != kMarkerSoi) return false;
    // Only the first frame header counts: it is the one a decoder uses.
    bool sawFrame = false;
    for (int segment = 0; segment < kMaxSegments; ++segment) {
        const int marker = NextMarker(f);
        if (marker < 0 || marker == kMarkerSos || marker == kMarkerEoi) break;
        if (marker == kMarkerSoi || HasNoLength(marker)) continue;
        const int high = std::fgetc(f);
        const int low = std::fgetc(f);
        if (high == EOF || low == EOF) break;
        const int length = (high << 8) | low;
        if (length < 2) break;
        const auto bodyLength = static_cast<std::size_t>(length - 2);
        std::size_t consumed = 0;
        if (marker == kMarkerApp1 || marker == kMarkerApp13) {
            consumed = ReadAppSegment(f, marker, bodyLength, head);
        } else if (IsFrameHeader(marker) && !sawFrame) {
            sawFrame = true;
            consumed = ReadFrame(f, bodyLength, head.frame);
        }
        if (std::feof(f)) break;  // the file ended inside the segment
        if (std::fseek(f, static_cast<long>(bodyLength - consumed), SEEK_CUR) != 0) break;
    }
    return true;
}

bool ReadExifSegment(const std::string& utf8Path, std::vector<std::uint8_t>& payload) {
    JpegHead head;
    const bool read = ReadJpegHead(utf8Path, head);
    payload = std::move(head.exifPayload);
    return read && !payload.empty();
}

bool ReadFileBytes(const std::string& utf8Path, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    FilePtr file = OpenForReading(utf8Path);
    if (!file) return false;
    std::FILE* f = file.get();
    if (std::fseek(f, 0, SEEK_END) != 0) return false;
    long size = std::ftell(f);
    if (size < 0 || size > kMaxDecodedFileBytes || std::fseek(f, 0, SEEK_SET) != 0) return false;
    bytes.resize(static_cast<std::size_t>(size));
    std::size_t got = std::fread(bytes.data(), 1, bytes.size(), f);
    bytes.resize(got);
    return got == static_cast<std::size_t>(size);
}
