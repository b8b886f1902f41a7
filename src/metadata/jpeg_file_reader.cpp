#include "metadata/jpeg_file_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <span>
#include <utility>

#include "metadata/app_segment_kind.h"
#include "platform/file_ops.h"

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

// The head of an open file, read in large pieces at an offset: walking the
// segment headers of practically every camera file costs a single read.
class HeadWindow {
  public:
    explicit HeadWindow(int fd) : fd_(fd), buffer_(kHeadBufferBytes) {}

    // The byte at offset; -1 past the end of the file or when it cannot be read.
    int ByteAt(std::uint64_t offset) {
        if (offset < start_ || offset >= start_ + size_) {
            start_ = offset;
            size_ = ReadAtMost(fd_, offset, buffer_);
            if (size_ == 0) return -1;
        }
        return buffer_[offset - start_];
    }

    // Up to length bytes from offset: fewer when the file ends before.
    std::vector<std::uint8_t> Bytes(std::uint64_t offset, std::size_t length) {
        if (offset >= start_ && offset + length <= start_ + size_) {
            const auto* first = buffer_.data() + (offset - start_);
            return {first, first + length};
        }
        std::vector<std::uint8_t> bytes(length);
        bytes.resize(ReadAtMost(fd_, offset, bytes));
        return bytes;
    }

  private:
    int fd_;
    std::vector<std::uint8_t> buffer_;
    std::uint64_t start_ = 0;
    std::size_t size_ = 0;
};

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

// Reads an APP1 or APP13 body of bodyLength bytes at offset: its signature,
// and the rest when it carries what the reader keeps. False when the file
// ends inside the part read (what is there still goes to libexif).
bool ReadAppSegment(HeadWindow& file, std::uint64_t offset, int marker, std::size_t bodyLength,
                    JpegHead& head) {
    const std::size_t signatureLength = std::min(bodyLength, kExtendedXmpSignature.size());
    std::vector<std::uint8_t> body = file.Bytes(offset, signatureLength);
    if (body.size() < signatureLength) return false;
    const AppSegmentKind kind = ClassifyAppSegment(static_cast<std::uint8_t>(marker), body);
    if (kind == AppSegmentKind::ExtendedXmp) head.hasExtendedXmp = true;
    if (!Wanted(kind, head)) return true;
    body = file.Bytes(offset, bodyLength);
    const bool whole = body.size() == bodyLength;
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
    return whole;
}

// Reads precision, height and width from a frame header body of bodyLength
// bytes at offset; a body too short to hold them and the component count is
// not read at all, so that no byte beyond the segment is taken for the size.
// False when the file ends inside the fields.
bool ReadFrame(HeadWindow& file, std::uint64_t offset, std::size_t bodyLength,
               std::optional<JpegFrameSize>& frame) {
    constexpr std::size_t kSizeFields = 5;  // precision, height, width
    if (bodyLength < kSizeFields + 1) return true;
    const std::vector<std::uint8_t> fields = file.Bytes(offset, kSizeFields);
    if (fields.size() < kSizeFields) return false;
    const int height = fields[1] << 8 | fields[2];
    const int width = fields[3] << 8 | fields[4];
    // A height of 0 is given later by a DNL segment; the size is not known here.
    if (width > 0 && height > 0) frame = JpegFrameSize{width, height};
    return true;
}

}  // namespace

bool ReadJpegHead(const std::string& utf8Path, JpegHead& head) {
    head = {};
    const ReadOnlyFile opened(utf8Path);
    if (!opened.IsOpen()) return false;
    HeadWindow file(opened.Descriptor());
    if (file.ByteAt(0) != 0xFF || file.ByteAt(1) != kMarkerSoi) return false;
    std::uint64_t at = 2;
    // Only the first frame header counts: it is the one a decoder uses.
    bool sawFrame = false;
    for (int segment = 0; segment < kMaxSegments; ++segment) {
        // The next marker code, after any fill bytes.
        if (file.ByteAt(at++) != 0xFF) break;
        int marker = file.ByteAt(at++);
        while (marker == 0xFF) marker = file.ByteAt(at++);
        if (marker < 0 || marker == kMarkerSos || marker == kMarkerEoi) break;
        if (marker == kMarkerSoi || HasNoLength(marker)) continue;
        const int high = file.ByteAt(at);
        const int low = file.ByteAt(at + 1);
        if (high < 0 || low < 0) break;
        at += 2;
        const int length = (high << 8) | low;
        if (length < 2) break;
        const auto bodyLength = static_cast<std::size_t>(length - 2);
        bool whole = true;  // false when the file ended inside the segment
        if (marker == kMarkerApp1 || marker == kMarkerApp13) {
            whole = ReadAppSegment(file, at, marker, bodyLength, head);
        } else if (IsFrameHeader(marker) && !sawFrame) {
            sawFrame = true;
            whole = ReadFrame(file, at, bodyLength, head.frame);
        }
        if (!whole) break;
        at += bodyLength;
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
