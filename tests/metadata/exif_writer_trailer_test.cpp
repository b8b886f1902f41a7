// What the EXIF rewrite keeps around the EXIF segment: an AFCP trailer after
// the image, whose absolute offsets move with the new segment, and a second,
// separate EXIF segment.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "metadata/exif_writer.h"
#include "metadata/jpeg_segments.h"
#include "reader_test_fixture.h"

namespace {

void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t v, bool bigEndian) {
    for (int i = 0; i < 4; ++i)
        bytes[at + (bigEndian ? i : 3 - i)] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

std::uint32_t Get32(const std::vector<std::uint8_t>& bytes, std::size_t at, bool bigEndian) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | bytes[at + (bigEndian ? i : 3 - i)];
    return v;
}

constexpr char kText[] = "hello AFCP";

// Appends an AFCP trailer with one TEXT entry: header, directory, the text,
// and the closing record that points back at the header.
void AppendAfcp(std::vector<std::uint8_t>& file, bool bigEndian) {
    const std::size_t start = file.size();
    const char* signature = bigEndian ? "AXS!" : "AXS*";
    std::vector<std::uint8_t> t(12 + 12 + sizeof kText - 1 + 12, 0);
    std::memcpy(&t[0], signature, 4);
    t[bigEndian ? 4 : 5] = 1;  // version 1.0
    t[bigEndian ? 7 : 6] = 1;  // one entry
    std::memcpy(&t[12], "TEXT", 4);
    Put32(t, 16, sizeof kText - 1, bigEndian);
    Put32(t, 20, static_cast<std::uint32_t>(start + 24), bigEndian);
    std::memcpy(&t[24], kText, sizeof kText - 1);
    std::memcpy(&t[t.size() - 12], signature, 4);
    Put32(t, t.size() - 8, static_cast<std::uint32_t>(start), bigEndian);
    file.insert(file.end(), t.begin(), t.end());
}

// The text the trailer's TEXT entry points at, following its offsets.
std::string AfcpText(const std::vector<std::uint8_t>& file, bool bigEndian) {
    const std::size_t start = Get32(file, file.size() - 8, bigEndian);
    if (start + 24 > file.size() || std::memcmp(&file[start], "AXS", 3) != 0) return "<no header>";
    const std::size_t size = Get32(file, start + 16, bigEndian);
    const std::size_t offset = Get32(file, start + 20, bigEndian);
    if (offset + size > file.size()) return "<outside>";
    return std::string(file.begin() + offset, file.begin() + offset + size);
}

std::string Exiftool(const std::string& arguments) {
    std::string out;
    if (FILE* pipe = popen(("exiftool " + arguments + " 2>&1").c_str(), "r")) {
        char buffer[4096];
        while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

bool HaveExiftool() {
    return std::system("exiftool -ver >/dev/null 2>&1") == 0;
}

class ExifWriterTrailer : public ReaderTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ExifWriterTrailer, AnAfcpTrailerStillPointsAtItsEntriesAfterTheExifGrows) {
    const bool bigEndian = GetParam();
    std::vector<std::uint8_t> file;
    ASSERT_TRUE(MakeTestJpeg(CameraOptions(), file));
    AppendAfcp(file, bigEndian);
    const std::string path = folder.File("afcp.jpg");
    ASSERT_TRUE(WriteBytesFile(path, file));
    ASSERT_EQ(AfcpText(file, bigEndian), kText);

    ASSERT_TRUE(ReadPhotoFile(reader, path, false));
    ASSERT_TRUE(SetExifKeywords(reader, std::string(300, 'k')));
    ASSERT_TRUE(RewriteJpegExif(reader));
    const std::vector<std::uint8_t> written = ReadBytesFile(path);
    ASSERT_GT(written.size(), file.size());
    EXPECT_EQ(AfcpText(written, bigEndian), kText);
    if (HaveExiftool()) {
        const std::string report = Exiftool("-a -validate -warning -AFCP:Text '" + path + "'");
        EXPECT_EQ(report.find("AFCP offsets"), std::string::npos) << report;
        EXPECT_NE(report.find(kText), std::string::npos) << report;
    }
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, ExifWriterTrailer, ::testing::Bool());

// A file ending in an AFCP record whose offsets do not add up is refused
// rather than rewritten with offsets that point at other bytes.
TEST_F(ReaderTest, AnAfcpTrailerThatDoesNotAddUpRefusesTheRewrite) {
    std::vector<std::uint8_t> good;
    ASSERT_TRUE(MakeTestJpeg(CameraOptions(), good));
    const std::size_t start = good.size();
    AppendAfcp(good, true);
    const struct {
        const char* name;
        std::size_t at;  // a byte of the trailer to spoil
        std::uint32_t value;
    } cases[] = {
        {"the record points past the header", good.size() - 8,
         static_cast<std::uint32_t>(start + 4)},
        {"the header's signature differs", start + 3, '*'},
        {"an entry points into the EXIF segment", start + 20, 30},
        {"an entry reaches past the end", start + 16, 0x7FFFFFFF},
    };
    for (const auto& c : cases) {
        std::vector<std::uint8_t> file = good;
        if (c.value > 0xFF)
            Put32(file, c.at, c.value, true);
        else
            file[c.at] = static_cast<std::uint8_t>(c.value);
        const std::string path = folder.File("spoilt.jpg");
        ASSERT_TRUE(WriteBytesFile(path, file));
        ASSERT_TRUE(ReadPhotoFile(reader, path, false)) << c.name;
        ASSERT_TRUE(SetExifKeywords(reader, std::string(300, 'k')));
        RewriteFailure why = RewriteFailure::None;
        EXPECT_FALSE(RewriteJpegExif(reader, {}, &why)) << c.name;
        EXPECT_EQ(why, RewriteFailure::TrailerOffsets) << c.name;
        EXPECT_EQ(ReadBytesFile(path), file) << c.name;
    }
}

// APP1 "Exif" segments of a file, from their markers to their ends, in order.
std::vector<std::vector<std::uint8_t>> ExifSegments(const std::vector<std::uint8_t>& file) {
    std::vector<std::vector<std::uint8_t>> segments;
    std::size_t pos = 2;
    while (pos + 4 <= file.size() && file[pos] == 0xFF && file[pos + 1] != 0xDA) {
        const std::size_t end = pos + 2 + (std::size_t{file[pos + 2]} << 8 | file[pos + 3]);
        if (end > file.size()) break;
        if (file[pos + 1] == 0xE1 && std::memcmp(&file[pos + 4], "Exif\0\0", 6) == 0)
            segments.emplace_back(file.begin() + pos, file.begin() + end);
        pos = end;
    }
    return segments;
}

// A second EXIF segment right after the first, one with a TIFF header of its
// own and one of other bytes the first does not need, is kept as it was.
TEST_F(ReaderTest, ASecondSeparateExifSegmentIsKeptAsItWas) {
    TestJpegOptions first = CameraOptions();
    first.jfifHeader = true;
    std::vector<std::uint8_t> withFirst;
    ASSERT_TRUE(MakeTestJpeg(first, withFirst));
    TestJpegOptions second;
    second.make = "Second";
    std::vector<std::uint8_t> withSecond;
    ASSERT_TRUE(MakeTestJpeg(second, withSecond));
    const std::vector<std::uint8_t> other = {0xFF, 0xE1, 0,   14,  'E', 'x', 'i', 'f',
                                             0,    0,    'o', 't', 'h', 'e', 'r', 0};
    const struct {
        const char* name;
        std::vector<std::uint8_t> segment;
    } cases[] = {{"its own TIFF data", ExifSegments(withSecond).at(0)}, {"other bytes", other}};
    for (const auto& c : cases) {
        std::vector<std::uint8_t> file = withFirst;
        const std::vector<std::uint8_t> own = ExifSegments(file).at(0);
        const auto after =
            std::search(file.begin(), file.end(), own.begin(), own.end()) + own.size();
        file.insert(after, c.segment.begin(), c.segment.end());
        const std::string path = folder.File("two.jpg");
        ASSERT_TRUE(WriteBytesFile(path, file));

        ASSERT_TRUE(ReadPhotoFile(reader, path, false)) << c.name;
        ASSERT_TRUE(SetExifKeywords(reader, "k"));
        ASSERT_TRUE(RewriteJpegExif(reader)) << c.name;
        const std::vector<std::uint8_t> written = ReadBytesFile(path);
        const auto segments = ExifSegments(written);
        ASSERT_EQ(segments.size(), 2u) << c.name;
        EXPECT_EQ(segments[1], c.segment) << c.name;
        EXPECT_EQ(written[2], 0xFF);
        EXPECT_EQ(written[3], 0xE0) << "the JFIF header stays first";
        if (HaveExiftool() && c.segment != other) {
            const std::string report = Exiftool("-a -s -Make -XPKeywords '" + path + "'");
            EXPECT_NE(report.find("Canon"), std::string::npos) << report;
            EXPECT_NE(report.find("Second"), std::string::npos) << report;
            EXPECT_NE(report.find("XPKeywords"), std::string::npos) << report;
        }
    }
}

}  // namespace
