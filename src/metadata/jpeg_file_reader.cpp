#include "metadata/jpeg_file_reader.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr int kMarkerSoi = 0xD8;
constexpr int kMarkerEoi = 0xD9;
constexpr int kMarkerSos = 0xDA;
constexpr int kMarkerApp1 = 0xE1;
constexpr unsigned char kExifHeader[6] = {'E', 'x', 'i', 'f', 0, 0};
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

}  // namespace

bool ReadExifSegment(const std::string& utf8Path, std::vector<std::uint8_t>& payload) {
    payload.clear();
    FilePtr file = OpenForReading(utf8Path);
    if (!file) return false;
    std::FILE* f = file.get();
    std::setvbuf(f, nullptr, _IOFBF, kHeadBufferBytes);
    if (std::fgetc(f) != 0xFF || std::fgetc(f) != kMarkerSoi) return false;
    for (int segment = 0; segment < kMaxSegments; ++segment) {
        int marker = NextMarker(f);
        if (marker < 0 || marker == kMarkerSos || marker == kMarkerEoi) return false;
        if (marker == kMarkerSoi || HasNoLength(marker)) continue;
        int high = std::fgetc(f);
        int low = std::fgetc(f);
        if (high == EOF || low == EOF) return false;
        int length = (high << 8) | low;
        if (length < 2) return false;
        std::size_t bodyLength = static_cast<std::size_t>(length - 2);
        if (marker == kMarkerApp1 && bodyLength >= sizeof kExifHeader) {
            payload.resize(bodyLength);
            // A segment cut short by the end of the file still hands libexif
            // what is there.
            std::size_t got = std::fread(payload.data(), 1, bodyLength, f);
            payload.resize(got);
            if (got >= sizeof kExifHeader &&
                std::memcmp(payload.data(), kExifHeader, sizeof kExifHeader) == 0)
                return true;
            payload.clear();
            if (got < bodyLength) return false;
            continue;
        }
        if (std::fseek(f, static_cast<long>(bodyLength), SEEK_CUR) != 0) return false;
    }
    return false;
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
