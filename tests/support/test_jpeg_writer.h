#pragma once
// Writes JPEG fixtures with chosen pixels and EXIF data, for any test suite.
// Every EXIF field is optional: a field left unset writes no tag at all.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TestRational {
    std::uint32_t numerator = 0;
    std::uint32_t denominator = 1;
};

// Degrees, minutes, seconds as three rationals, e.g. {{39,1},{54,1},{125,10}}.
using TestDms = std::array<TestRational, 3>;

// A non-negative decimal degree value as degrees, minutes and seconds to a
// hundredth of a second.
TestDms DmsFromDegrees(double degrees);

enum class TestPattern {
    Gradient,   // red grows to the right, green downwards (0..199, plus seed % 56)
    Noise,      // pseudo-random pixels from the seed
    RedCorner,  // grey (128) except for a pure red top-left quarter: shows turns and mirrors
};

struct TestJpegOptions {
    // Main image.
    int width = 64;
    int height = 48;
    TestPattern pattern = TestPattern::Noise;
    std::uint32_t seed = 1;  // different seeds give different pixels (and thumbnails)
    int quality = 85;
    bool jfifHeader = false;  // a JFIF APP0 before the EXIF APP1, as editors write

    // EXIF segment. false writes a plain JPEG without any APP1.
    bool withExif = true;
    bool bigEndian = false;  // Motorola byte order instead of Intel
    // When set, the APP1 payload is "Exif\0\0" followed by these bytes
    // instead of real EXIF data (a broken EXIF block).
    std::optional<std::vector<std::uint8_t>> garbageExif;

    // Embedded thumbnail (IFD1). thumbnailBytes wins over the generated one;
    // the generated one is a thumbnailWidth x thumbnailHeight JPEG made from
    // the seed, so each seed gives its own thumbnail bytes.
    bool embedThumbnail = false;
    std::vector<std::uint8_t> thumbnailBytes;
    int thumbnailWidth = 160;
    int thumbnailHeight = 120;

    // IFD0.
    std::optional<std::string> make;
    std::optional<std::string> model;
    std::optional<std::uint16_t> orientation;  // 1..8
    std::optional<TestRational> xResolution;
    std::optional<TestRational> yResolution;
    // Windows XP tags, UTF-16 text written as UCS-2 little-endian bytes with
    // a terminating zero character.
    std::optional<std::u16string> xpTitle;
    std::optional<std::u16string> xpComment;
    std::optional<std::u16string> xpAuthor;
    std::optional<std::u16string> xpKeywords;
    std::optional<std::u16string> xpSubject;

    // EXIF IFD.
    std::optional<std::string> dateTimeOriginal;  // written as given, e.g. "2012:05:15 10:20:30"
    std::optional<std::uint32_t> pixelXDimension;
    std::optional<std::uint32_t> pixelYDimension;
    std::optional<TestRational> fNumber;
    std::optional<TestRational> exposureTime;
    std::optional<TestRational> focalLength;
    std::optional<std::uint16_t> iso;
    // MakerNote (UNDEFINED) with these bytes.
    std::optional<std::vector<std::uint8_t>> makerNote;

    // GPS IFD. References are written as given ("N", "S", "E", "W", or
    // anything else to test bad ones).
    std::optional<std::string> latitudeRef;
    std::optional<TestDms> latitude;
    std::optional<std::string> longitudeRef;
    std::optional<TestDms> longitude;
    std::optional<TestRational> altitude;
};

// Encodes the image and its EXIF data into bytes. False when libjpeg or
// libexif fail (for example an EXIF block over the 64 KiB segment limit).
bool MakeTestJpeg(const TestJpegOptions& options, std::vector<std::uint8_t>& bytes);

// MakeTestJpeg written to path.
bool WriteTestJpeg(const std::string& path, const TestJpegOptions& options);

// A small plain JPEG (no EXIF) of the given size, e.g. for thumbnail bytes.
std::vector<std::uint8_t> MakePlainJpeg(int width, int height, std::uint32_t seed,
                                        TestPattern pattern = TestPattern::Noise);

// JPEG fixtures with restart markers, as many cameras write them:
// the same coefficients written again with a restart marker every
// restartMcus MCUs (lossless, so the pixels are those of the input); empty
// when libjpeg cannot read the input.
std::vector<std::uint8_t> WithRestartMarkers(const std::vector<std::uint8_t>& jpeg,
                                             int restartMcus);

// Hostile-file helpers.
bool WriteBytesFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadBytesFile(const std::string& path);
// Cuts an existing file to its first length bytes.
bool TruncateFile(const std::string& path, std::size_t length);
