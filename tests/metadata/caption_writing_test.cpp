// An edit of captions, dates and positions in files tagged by other
// programs, read back with exiftool (lists joined by ",", which no keyword
// here holds) in every form the file holds: the
// Windows XP tags always, XMP and IPTC where the file had them (XMP where it
// had neither), and nothing else of the file changed.

#include <ctime>
#include <string>
#include <vector>

#include "caption_conventions.h"
#include "exiftool_runner.h"
#include "metadata/exif_writer.h"
#include "metadata/jpeg_segments.h"
#include "reader_test_fixture.h"

namespace {

std::string MakerNotes(const std::string& path) {
    return RunExiftool({"-q", "-q", "-b", "-MakerNotes", path});
}

std::vector<std::uint8_t> MakerNoteBytes() {
    std::vector<std::uint8_t> bytes = {'D', 'Z', 'M', 'N', 0, 1};
    for (int i = 0; i < 200; ++i) bytes.push_back(static_cast<std::uint8_t>(i * 37));
    return bytes;
}

class CaptionEditTest : public ReaderTest {
  protected:
    void SetUp() override {
        ReaderTest::SetUp();
        if (!HaveExiftool()) GTEST_SKIP() << "exiftool is not installed";
    }

    std::string Tagged(const Convention& convention) {
        TestJpegOptions options = CameraOptions();
        // A maker that exiftool knows no maker notes of: it keeps them as a block.
        options.make = "Darazoz Test";
        options.makerNote = MakerNoteBytes();
        const std::string path = Write("tagged.jpg", options);
        EXPECT_EQ(TagAs(convention, path), "");
        return path;
    }

    bool Rewrite(const std::string& path, const std::function<bool(MetadataReader&)>& edit) {
        MetadataReader editor;
        RewriteFailure why = RewriteFailure::None;
        const bool done =
            ReadPhotoFile(editor, path, false) && edit(editor) && RewriteJpegExif(editor, {}, &why);
        exifOnly = editor.CaptionsInExifOnly();
        EXPECT_EQ(why, RewriteFailure::None);
        return done;
    }

    static std::span<const std::uint8_t> Segment(const std::vector<std::uint8_t>& file,
                                                 std::size_t start, std::size_t end) {
        return std::span(file).subspan(start, end - start);
    }

    bool exifOnly = false;
};

class CaptionWriting : public CaptionEditTest, public ::testing::WithParamInterface<Convention> {};

TEST_P(CaptionWriting, AnEditReadsBackAlikeInEveryFormTheFileHolds) {
    const Convention& convention = GetParam();
    const std::string path = Tagged(convention);
    const std::string makerNotes = MakerNotes(path);
    ASSERT_FALSE(makerNotes.empty());
    const std::string depthMap = ExiftoolValue(path, "XMP-GDepth:DepthImage");

    ASSERT_TRUE(Rewrite(path, [](MetadataReader& r) {
        return SetExifKeywords(r, "西湖;新词;") && SetExifTitle(r, u"新标题") &&
               SetExifComment(r, u"新的说明") && SetExifAuthor(r, u"新作者");
    }));
    EXPECT_FALSE(exifOnly);

    EXPECT_EQ(ExiftoolValue(path, "XPKeywords"), "西湖;新词;");
    EXPECT_EQ(ExiftoolValue(path, "XPTitle"), "新标题");
    EXPECT_EQ(ExiftoolValue(path, "XPComment"), "新的说明");
    EXPECT_EQ(ExiftoolValue(path, "XPAuthor"), "新作者");
    const bool xmp = convention.xmp || !convention.iptc;  // XMP is new where there was neither
    EXPECT_EQ(ExiftoolValue(path, "XMP-dc:Subject"), xmp ? "西湖,新词" : "");
    EXPECT_EQ(ExiftoolValue(path, "XMP-dc:Title"), xmp ? "新标题" : "");
    EXPECT_EQ(ExiftoolValue(path, "XMP-dc:Description"), xmp ? "新的说明" : "");
    EXPECT_EQ(ExiftoolValue(path, "XMP-dc:Creator"), xmp ? "新作者" : "");
    EXPECT_EQ(ExiftoolValue(path, "IPTC:Keywords"), convention.iptc ? "西湖,新词" : "");
    EXPECT_EQ(ExiftoolValue(path, "IPTC:ObjectName"), convention.iptc ? "新标题" : "");
    EXPECT_EQ(ExiftoolValue(path, "IPTC:Caption-Abstract"), convention.iptc ? "新的说明" : "");
    EXPECT_EQ(ExiftoolValue(path, "IPTC:By-line"), convention.iptc ? "新作者" : "");
    EXPECT_EQ(ExiftoolValue(path, "IPTC:CodedCharacterSet"), convention.iptc ? "UTF8" : "");
    // A Latin-1 text the edit did not touch reads the same in UTF-8.
    EXPECT_EQ(ExiftoolValue(path, "IPTC:City"), convention.iptc && !convention.xmp ? "Zürich" : "");

    EXPECT_EQ(MakerNotes(path), makerNotes);
    EXPECT_EQ(ExiftoolValue(path, "XMP-GDepth:DepthImage"), depthMap);
    // A removed keyword does not come back from the hierarchy.
    EXPECT_EQ(ExiftoolValue(path, "XMP-lr:HierarchicalSubject"),
              convention.name == std::string("Lightroom") ? "地点|杭州|西湖" : "");

    ASSERT_TRUE(ReadPhotoFile(reader, path, true));
    EXPECT_STREQ(reader.Record().strXpKeyword, "西湖;新词;");
    EXPECT_STREQ(reader.Record().strXpAuthor, "新作者");
}

INSTANTIATE_TEST_SUITE_P(Programs, CaptionWriting, ::testing::ValuesIn(kConventions),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

const Convention& Lightroom() {
    return kConventions[0];
}

TEST_F(CaptionEditTest, AMatchingIptcDigestFollowsTheRecordAndAStaleOneStays) {
    const std::string path = Tagged(Lightroom());
    ASSERT_EQ(ExiftoolValue(path, "IPTCDigest"), ExiftoolValue(path, "CurrentIPTCDigest"));
    ASSERT_TRUE(Rewrite(path, [](MetadataReader& r) { return SetExifTitle(r, u"新标题"); }));
    EXPECT_EQ(ExiftoolValue(path, "IPTCDigest"), ExiftoolValue(path, "CurrentIPTCDigest"));

    const std::string stale = "0123456789abcdef0123456789abcdef";
    ASSERT_EQ(RunExiftool({"-q", "-overwrite_original", "-Photoshop:IPTCDigest=" + stale, path}),
              "");
    ASSERT_TRUE(Rewrite(path, [](MetadataReader& r) { return SetExifTitle(r, u"又一个"); }));
    EXPECT_EQ(ExiftoolValue(path, "IPTCDigest"), stale);
    EXPECT_EQ(ExiftoolValue(path, "IPTC:ObjectName"), "又一个");
}

// The wall-clock time in the photo's time zone; a date that carried a zone
// offset gets the zone's offset of that day (half hours, west, and a zone
// whose date is a day ahead of UTC's included).
TEST_F(CaptionEditTest, ShotTimeAndPositionUpdateTheXmpCopiesTheFileHas) {
    const struct {
        const char* zone;
        const char* offset;
    } zones[] = {
        {"Asia/Shanghai", "+08:00"}, {"Asia/Kolkata", "+05:30"}, {"America/New_York", "-05:00"}};
    for (const auto& zone : zones) {
        SCOPED_TRACE(zone.zone);
        setenv("TZ", zone.zone, 1);
        tzset();
        const std::string path = Tagged(Lightroom());
        std::tm local{};
        local.tm_year = 2020 - 1900;
        local.tm_mon = 1;
        local.tm_mday = 29;
        local.tm_hour = 13;
        local.tm_min = 14;
        local.tm_sec = 15;
        local.tm_isdst = -1;
        const auto time = static_cast<std::int32_t>(std::mktime(&local));
        ASSERT_TRUE(Rewrite(path, [time](MetadataReader& r) {
            return SetExifShotTime(r, time) && SetExifPosition(r, -33.5f, 151.25f, 12);
        }));
        EXPECT_EQ(ExiftoolValue(path, "XMP-xmp:CreateDate"), "2020:02:29 13:14:15");
        EXPECT_EQ(ExiftoolValue(path, "XMP-photoshop:DateCreated"),
                  std::string("2020:02:29 13:14:15") + zone.offset);
        EXPECT_EQ(RunExiftool({"-q", "-q", "-s3", "-n", "-XMP-exif:GPSLatitude",
                               "-XMP-exif:GPSLongitude", path}),
                  "-33.5\n151.25\n");
        // Copies the file did not have are not made.
        EXPECT_EQ(ExiftoolValue(path, "XMP-exif:DateTimeOriginal"), "");
    }
}

// The toolkit would normalise a packet written anew; one without a copy of
// the position keeps its bytes.
TEST_F(CaptionEditTest, APositionEditLeavesAnXmpPacketWithoutPositionAsItWas) {
    const std::string path = Tagged(kConventions[1]);  // digiKam: no dates, no position
    const std::vector<std::uint8_t> before = ReadBytesFile(path);
    ASSERT_TRUE(Rewrite(path, [](MetadataReader& r) { return SetExifPosition(r, 30, 120, 5); }));
    const std::vector<std::uint8_t> after = ReadBytesFile(path);
    const JpegExifPlace old = *FindExifPlace(before), now = *FindExifPlace(after);
    ASSERT_TRUE(now.hasXmp());
    EXPECT_TRUE(std::ranges::equal(Segment(before, old.xmpStart, old.xmpEnd),
                                   Segment(after, now.xmpStart, now.xmpEnd)));
}

TEST_F(CaptionEditTest, AKeywordEditNewOnlyToXmpAndIptcLeavesTheExifSegmentAsItWas) {
    const std::string path =
        Tagged({"Explorer, Lightroom later",
                {"-XPKeywords=海;山", "-XMP-dc:Subject=海", "-XMP-dc:Subject=山",
                 "-XMP-dc:Subject=湖", "-IPTC:Keywords=湖", "-charset", "iptc=UTF8"},
                "",
                "",
                "",
                "",
                "",
                true,
                true});
    const std::vector<std::uint8_t> before = ReadBytesFile(path);
    ASSERT_TRUE(ReadPhotoFile(reader, path, false));
    ASSERT_STREQ(reader.Record().strXpKeyword, "海;山;湖;");
    ASSERT_TRUE(Rewrite(path, [](MetadataReader& r) { return SetExifKeywords(r, "海;山"); }));

    const std::vector<std::uint8_t> after = ReadBytesFile(path);
    const JpegExifPlace old = *FindExifPlace(before), now = *FindExifPlace(after);
    EXPECT_TRUE(std::ranges::equal(Segment(before, old.segmentStart, old.segmentEnd),
                                   Segment(after, now.segmentStart, now.segmentEnd)));
    EXPECT_EQ(ExiftoolValue(path, "XMP-dc:Subject"), "海,山");
    EXPECT_EQ(ExiftoolValue(path, "IPTC:Keywords"), "海,山");
}

// A bare record 2 (no version, no coded character set), Latin-1, as older
// tools wrote it: its untouched texts read the same once it says UTF-8.
TEST_F(CaptionEditTest, LatinTextsOfABareIptcRecordStayReadableAfterAnEdit) {
    const std::string iim =
        std::string("\x1c\x02\x05\x00\x01x", 6) + std::string("\x1c\x02\x74\x00\x06\xa9 2004", 11);
    std::string resources =
        std::string("8BIM\x04\x04\0\0\0\0\0", 11) + static_cast<char>(iim.size()) + iim;
    if (iim.size() % 2) resources += '\0';
    const std::string payload = std::string("Photoshop 3.0\0", 14) + resources;
    std::vector<std::uint8_t> file;
    ASSERT_TRUE(MakeTestJpeg(CameraOptions(), file));
    const std::size_t length = payload.size() + 2;
    std::vector<std::uint8_t> segment = {0xFF, 0xED, static_cast<std::uint8_t>(length >> 8),
                                         static_cast<std::uint8_t>(length)};
    segment.insert(segment.end(), payload.begin(), payload.end());
    file.insert(file.begin() + 2, segment.begin(), segment.end());
    const std::string path = folder.File("bare-iptc.jpg");
    ASSERT_TRUE(WriteBytesFile(path, file));
    ASSERT_EQ(ExiftoolValue(path, "IPTC:CopyrightNotice"), "© 2004");

    ASSERT_TRUE(Rewrite(path, [](MetadataReader& r) { return SetExifTitle(r, u"标题"); }));
    EXPECT_EQ(ExiftoolValue(path, "IPTC:ObjectName"), "标题");
    EXPECT_EQ(ExiftoolValue(path, "IPTC:CopyrightNotice"), "© 2004");
}

TEST_F(CaptionEditTest, AnUnparsableXmpPacketIsKeptAndTheEditWritesTheXpTagOnly) {
    TestJpegOptions options = CameraOptions();
    std::vector<std::uint8_t> file;
    ASSERT_TRUE(MakeTestJpeg(options, file));
    const std::string payload =
        std::string("http://ns.adobe.com/xap/1.0/\0", 29) + "<x:xmpmeta <<<";
    const std::size_t length = payload.size() + 2;
    std::vector<std::uint8_t> segment = {0xFF, 0xE1, static_cast<std::uint8_t>(length >> 8),
                                         static_cast<std::uint8_t>(length)};
    segment.insert(segment.end(), payload.begin(), payload.end());
    file.insert(file.begin() + 2, segment.begin(), segment.end());
    const std::string path = folder.File("broken.jpg");
    ASSERT_TRUE(WriteBytesFile(path, file));

    ASSERT_TRUE(Rewrite(path, [](MetadataReader& r) { return SetExifKeywords(r, "海"); }));
    EXPECT_TRUE(exifOnly);
    const std::vector<std::uint8_t> after = ReadBytesFile(path);
    const JpegExifPlace now = *FindExifPlace(after);
    EXPECT_TRUE(std::ranges::equal(Segment(after, now.xmpStart, now.xmpEnd), segment));
    EXPECT_EQ(ExiftoolValue(path, "XPKeywords"), "海");
}

}  // namespace
