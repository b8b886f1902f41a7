#include "metadata/metadata_reader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include <libexif/exif-data.h>

#include "image/raster_image.h"
#include "metadata/exif_document.h"
#include "metadata/jpeg_segments.h"
#include "reader_test_fixture.h"

namespace {

constexpr std::int32_t kShanghaiShot = 1337048430;  // 2012-05-15 10:20:30 +08:00

class CameraFile : public ReaderTest, public ::testing::WithParamInterface<bool> {};

TEST_P(CameraFile, ReadsEveryTagWhateverItsByteOrder) {
    TestJpegOptions options = CameraOptions();
    options.bigEndian = GetParam();
    options.thumbnailBytes = MakePlainJpeg(160, 120, 77);
    std::string path = Write("camera.jpg", options);

    ASSERT_TRUE(ReadPhotoFile(reader, path, true));
    const PhotoRecord& r = reader.Record();
    EXPECT_STREQ(r.strMake, "Canon");
    EXPECT_STREQ(r.strModel, "Canon EOS 40D");
    EXPECT_STREQ(r.strOrientation, "Right-top");
    EXPECT_EQ(r.dwDateTime, kShanghaiShot);
    EXPECT_NEAR(r.fGPSLatitude, -39.90347, 1e-5);
    EXPECT_NEAR(r.fGPSLongitude, -116.391667, 1e-4);
    EXPECT_EQ(r.nGPSAlititude, 123);
    EXPECT_FLOAT_EQ(r.fApertureFNumber, 2.8f);
    EXPECT_FLOAT_EQ(r.fExposureTime, 0.008f);
    EXPECT_EQ(r.nFocalLength, 5);
    EXPECT_EQ(r.nISOequivalent, 200);
    EXPECT_EQ(r.nFocalplaneXRes, 72);
    EXPECT_EQ(r.nFocalplaneYRes, 300);
    EXPECT_EQ(r.nWidth, 64);  // the frame header's, not the size tags' 4000 x 3000
    EXPECT_EQ(r.nHeight, 48);
    EXPECT_EQ(r.nbKeyword, 0);
    EXPECT_EQ(r.szOfComent, 0);

    EXPECT_STREQ(r.strName, "camera.jpg");
    EXPECT_EQ(std::string(r.strPath), folder.Path());
    EXPECT_EQ(std::string(r.strFullPath), path);
    EXPECT_EQ(reader.Path(), path);
    EXPECT_GT(r.fSize, 0.0f);
    EXPECT_NE(r.dwMTime, 0);

    // The embedded thumbnail is taken byte for byte, and the EXIF data is
    // Intel from now on.
    auto thumb = reader.Thumbnail();
    EXPECT_EQ(std::vector<std::uint8_t>(thumb.begin(), thumb.end()), options.thumbnailBytes);
    ASSERT_NE(reader.Exif(), nullptr);
    EXPECT_EQ(exif_data_get_byte_order(reader.Exif()->Data()), EXIF_BYTE_ORDER_INTEL);
}

INSTANTIATE_TEST_SUITE_P(ByteOrders, CameraFile, ::testing::Values(false, true),
                         [](const auto& info) {
                             return info.param ? "BigEndian" : "LittleEndian";
                         });

TEST_F(ReaderTest, ReadsCoordinatesWithoutValidReferencesAsZero) {
    TestJpegOptions options = CameraOptions();
    options.latitudeRef.reset();
    options.longitudeRef = "R98";  // what an interoperability index would give
    ASSERT_TRUE(ReadPhotoFile(reader, Write("norefs.jpg", options), true));
    EXPECT_EQ(reader.Record().fGPSLatitude, 0.0f);
    EXPECT_EQ(reader.Record().fGPSLongitude, 0.0f);
    EXPECT_FALSE(reader.Record().HasPosition());
}

TEST_F(ReaderTest, ReadsTheWindowsTextTagsAsUtf8) {
    TestJpegOptions options = CameraOptions();
    options.xpTitle = u"海边日落";
    options.xpComment = u"和家人一起去海边。";
    options.xpAuthor = u"张三;李四;";
    options.xpKeywords = u"家人;旅游;海边;";
    options.xpSubject = u"假期";
    ASSERT_TRUE(ReadPhotoFile(reader, Write("xp.jpg", options), true));
    const PhotoRecord& r = reader.Record();
    EXPECT_STREQ(r.strXpTitle, "海边日落");
    EXPECT_EQ(r.strXpComent, "和家人一起去海边。");
    EXPECT_EQ(r.szOfComent, 2 * 10 + 10);  // the tag's bytes (nine characters and a zero) + 10
    EXPECT_STREQ(r.strXpAuthor, "张三;李四;");
    EXPECT_STREQ(r.strXpKeyword, "家人;旅游;海边;");
    EXPECT_EQ(r.nbKeyword, 1);
    EXPECT_STREQ(r.strXpSubject, "假期");
}

TEST_F(ReaderTest, CutsLongTextsToTheirFieldsWithoutSplittingCharacters) {
    TestJpegOptions options = CameraOptions();
    options.make = std::string(40, 'M');
    options.model = std::string(60, 'm');
    options.xpTitle = std::u16string(80, u'字');  // 240 UTF-8 bytes
    ASSERT_TRUE(ReadPhotoFile(reader, Write("long.jpg", options), true));
    const PhotoRecord& r = reader.Record();
    EXPECT_EQ(std::string(r.strMake), std::string(30, 'M'));
    EXPECT_EQ(std::string(r.strModel), std::string(38, 'm'));
    std::string title = r.strXpTitle;
    EXPECT_FALSE(title.empty());
    EXPECT_LT(title.size(), sizeof r.strXpTitle);
    EXPECT_EQ(title.size() % 3, 0u) << "a character was cut in half";
}

TEST_F(ReaderTest, KeepsOnlyWholeKeywordsOfAListTooLongForItsField) {
    std::u16string list;
    std::string whole;
    for (char i = 0; i < 20; ++i) {
        list += u"海边日落" + std::u16string(1, static_cast<char16_t>(u'A' + i)) + u";";
        whole += "海边日落" + std::string(1, static_cast<char>('A' + i)) + ";";
    }
    TestJpegOptions options = CameraOptions();
    options.xpKeywords = list;  // 20 keywords of 14 bytes in UTF-8, ";" included
    const std::string path = Write("keywords.jpg", options);
    ASSERT_TRUE(ReadPhotoFile(reader, path, true));
    EXPECT_EQ(std::string(reader.Record().strXpKeyword), whole.substr(0, 7 * 14))
        << "seven keywords fit 99 bytes whole";
    EXPECT_EQ(ReadWholeKeywords(path), whole);

    options.xpKeywords = std::u16string(120, u'x');
    ASSERT_TRUE(ReadPhotoFile(reader, Write("one-long.jpg", options), true));
    EXPECT_STREQ(reader.Record().strXpKeyword, "") << "a single overlong keyword is not cut";
    EXPECT_EQ(ReadWholeKeywords(Write("none.jpg", CameraOptions())), std::nullopt);
}

TEST_F(ReaderTest, GivesAFileWithoutExifItsDecodedSizeAGeneratedThumbnailAndNothingElse) {
    TestJpegOptions options;
    options.withExif = false;
    options.width = 400;
    options.height = 300;
    std::string path = Write("plain.jpg", options);
    ASSERT_TRUE(ReadPhotoFile(reader, path, true));

    const PhotoRecord& r = reader.Record();
    EXPECT_EQ(r.nWidth, 400);
    EXPECT_EQ(r.nHeight, 300);
    EXPECT_STREQ(r.strName, "plain.jpg");
    for (const char* text : {r.strXpTitle, r.strXpAuthor, r.strXpKeyword, r.strXpSubject, r.strMake,
                             r.strModel, r.strOrientation})
        EXPECT_STREQ(text, "");
    EXPECT_TRUE(r.strXpComent.empty());
    for (std::int32_t number :
         {r.szOfComent, r.nbKeyword, r.dwDateTime, r.nGPSAlititude, r.nFocalLength,
          r.nISOequivalent, r.nFocalplaneXRes, r.nFocalplaneYRes})
        EXPECT_EQ(number, 0);
    for (float number : {r.fGPSLatitude, r.fGPSLongitude, r.fExposureTime, r.fApertureFNumber})
        EXPECT_EQ(number, 0.0f);

    // The generated thumbnail is also the new EXIF data's thumbnail, ready
    // for a later write.
    auto thumb = reader.Thumbnail();
    ASSERT_FALSE(thumb.empty());
    EXPECT_EQ(reader.Exif()->Thumbnail().data(), thumb.data());
    RasterImage decoded;
    ASSERT_TRUE(decoded.Decode(thumb.data(), thumb.size(), ImageFormat::Jpeg));
    EXPECT_EQ(decoded.Width(), 160);
    EXPECT_EQ(decoded.Height(), 120);
}

TEST_F(ReaderTest, GeneratesDistinctThumbnailsForDistinctImagesAndEqualOnesForCopies) {
    TestJpegOptions options;
    options.withExif = false;
    std::string first = Write("a.jpg", options);
    std::string copy = Write("b.jpg", options);
    options.seed = 2;
    std::string other = Write("c.jpg", options);
    auto thumbnailOf = [&](const std::string& path) {
        EXPECT_TRUE(ReadPhotoFile(reader, path, true)) << path;
        auto t = reader.Thumbnail();
        return std::vector<std::uint8_t>(t.begin(), t.end());
    };
    auto a = thumbnailOf(first);
    EXPECT_EQ(a, thumbnailOf(copy));
    EXPECT_NE(a, thumbnailOf(other));
}

TEST_F(ReaderTest, TakesTheSizeFromTheFrameHeaderWhetherOrNotADecodeIsAllowed) {
    TestJpegOptions options = CameraOptions();
    options.pixelXDimension.reset();
    options.pixelYDimension.reset();
    options.width = 96;
    options.height = 40;
    std::string path = Write("nosize.jpg", options);
    for (bool decodeWhenNoSize : {true, false}) {
        ASSERT_TRUE(ReadPhotoFile(reader, path, decodeWhenNoSize));
        EXPECT_EQ(reader.Record().nWidth, 96);
        EXPECT_EQ(reader.Record().nHeight, 40);
    }
}

// Where the first frame header (SOF0) of the main image starts: after the
// EXIF segment, whose thumbnail has frame headers of its own.
std::size_t MainFrameAt(const std::vector<std::uint8_t>& bytes) {
    const std::size_t from = FindExifPlace(bytes)->segmentEnd;
    for (std::size_t i = from; i + 1 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) return i;
    return bytes.size();
}

struct SizeCase {
    const char* name;
    // Damages the bytes of a 600 x 450 file whose size tags say 2048 x 1536.
    void (*damage)(std::vector<std::uint8_t>& bytes);
    int width;
    int height;
};

class SizeSource : public ReaderTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(SizeSource, IsTheFrameHeaderUnlessItCannotBeRead) {
    TestJpegOptions options = CameraOptions();
    options.width = 600;
    options.height = 450;
    options.pixelXDimension = 2048;
    options.pixelYDimension = 1536;
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(MakeTestJpeg(options, bytes));
    ASSERT_LT(MainFrameAt(bytes), bytes.size());
    GetParam().damage(bytes);
    const std::string path = folder.File("sized.jpg");
    ASSERT_TRUE(WriteBytesFile(path, bytes));

    ASSERT_TRUE(ReadPhotoFile(reader, path, true));
    EXPECT_EQ(reader.Record().nWidth, GetParam().width);
    EXPECT_EQ(reader.Record().nHeight, GetParam().height);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SizeSource,
    ::testing::Values(
        SizeCase{"FrameOverStaleTags", [](std::vector<std::uint8_t>&) {}, 600, 450},
        SizeCase{"TagsWhenTheFileEndsBeforeTheFrame",
                 [](std::vector<std::uint8_t>& b) { b.resize(MainFrameAt(b)); }, 2048, 1536},
        SizeCase{"TagsWhenTheFileEndsInsideTheFrameHeader",
                 [](std::vector<std::uint8_t>& b) { b.resize(MainFrameAt(b) + 6); }, 2048, 1536},
        // Reading five size bytes from a three-byte body would take the next
        // marker for a width of 0xFFC0.
        SizeCase{"TagsWhenTheFrameHeaderIsTooShortForTheSize",
                 [](std::vector<std::uint8_t>& b) {
                     b.insert(b.begin() + MainFrameAt(b), {0xFF, 0xC0, 0x00, 0x05, 8, 0x00, 0x10});
                 },
                 2048, 1536},
        SizeCase{"TagsWhenTheFrameLeavesTheHeightToALaterSegment",
                 [](std::vector<std::uint8_t>& b) {
                     const std::size_t at = MainFrameAt(b);
                     b[at + 5] = b[at + 6] = 0;
                 },
                 2048, 1536}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReaderTest, StoresAGeneratedThumbnailInExifDataThatHadNone) {
    TestJpegOptions options = CameraOptions();
    options.embedThumbnail = false;
    options.width = 300;
    options.height = 400;
    ASSERT_TRUE(ReadPhotoFile(reader, Write("nothumb.jpg", options), true));
    auto thumb = reader.Thumbnail();
    ASSERT_FALSE(thumb.empty());
    RasterImage decoded;
    ASSERT_TRUE(decoded.Decode(thumb.data(), thumb.size(), ImageFormat::Jpeg));
    EXPECT_EQ(decoded.Width(), 120);
    EXPECT_EQ(decoded.Height(), 160);
    EXPECT_EQ(reader.Record().nWidth, 300);  // the frame header's, not the size tags'
    EXPECT_STREQ(reader.Record().strMake, "Canon");
}

TEST_F(ReaderTest, ImportsAnImageTooNarrowForAThumbnailWithEmptyThumbnailBytes) {
    TestJpegOptions options;
    options.withExif = false;
    options.width = 5000;
    options.height = 20;
    options.pattern = TestPattern::Gradient;
    ASSERT_TRUE(ReadPhotoFile(reader, Write("strip.jpg", options), true));
    EXPECT_TRUE(reader.Thumbnail().empty());
    EXPECT_EQ(reader.Record().nWidth, 5000);
    EXPECT_EQ(reader.Record().nHeight, 20);
}

TEST_F(ReaderTest, ReadsAFileWithBrokenExifAsOneWithout) {
    TestJpegOptions options;
    options.width = 80;
    options.height = 60;
    options.garbageExif =
        std::vector<std::uint8_t>{'M', 'M', 0, 42, 0xFF, 0xFF, 0xFF, 0xF0, 1, 2, 3, 4, 5};
    ASSERT_TRUE(ReadPhotoFile(reader, Write("garbage.jpg", options), true));
    EXPECT_EQ(reader.Record().nWidth, 80);
    EXPECT_EQ(reader.Record().nHeight, 60);
    EXPECT_FALSE(reader.Thumbnail().empty());
    EXPECT_STREQ(reader.Record().strMake, "");
}

TEST_F(ReaderTest, FindsTheExifSegmentBehindLargeProfileAndXmpSegments) {
    std::vector<std::uint8_t> camera;
    ASSERT_TRUE(MakeTestJpeg(CameraOptions(), camera));
    // SOI, then 3 full-size APP2 segments (an ICC profile) and an XMP APP1:
    // the EXIF block starts well beyond the first 64 KiB.
    std::vector<std::uint8_t> bytes(camera.begin(), camera.begin() + 2);
    for (int i = 0; i < 3; ++i) {
        bytes.insert(bytes.end(), {0xFF, 0xE2, 0xFF, 0xFF});
        bytes.insert(bytes.end(), 0xFFFF - 2, static_cast<std::uint8_t>(i));
    }
    const std::string xmp = "http://ns.adobe.com/xap/1.0/";
    bytes.insert(bytes.end(), {0xFF, 0xE1, 0x00, static_cast<std::uint8_t>(xmp.size() + 3)});
    bytes.insert(bytes.end(), xmp.begin(), xmp.end());
    bytes.push_back(0);
    bytes.insert(bytes.end(), camera.begin() + 2, camera.end());
    std::string path = folder.File("profiled.jpg");
    ASSERT_TRUE(WriteBytesFile(path, bytes));

    ASSERT_TRUE(ReadPhotoFile(reader, path, true));
    EXPECT_STREQ(reader.Record().strMake, "Canon");
    EXPECT_EQ(reader.Record().nWidth, 64) << "the frame header behind them";
}

TEST_F(ReaderTest, FailsCleanlyOnFilesThatAreNotPhotos) {
    std::string empty = folder.File("empty.jpg");
    ASSERT_TRUE(WriteBytesFile(empty, {}));
    std::string text = folder.File("text.jpg");
    ASSERT_TRUE(WriteBytesFile(text, {'h', 'e', 'l', 'l', 'o', '\n'}));
    std::string exifOnly = folder.File("exif-only.jpg");
    // A segment start claiming more bytes than the file has.
    ASSERT_TRUE(WriteBytesFile(
        exifOnly, {0xFF, 0xD8, 0xFF, 0xE1, 0xFF, 0xFF, 'E', 'x', 'i', 'f', 0, 0, 'I', 'I'}));

    std::string directory = folder.File("folder.jpg");
    ASSERT_EQ(mkdir(directory.c_str(), 0700), 0);

    for (const std::string& path :
         {empty, text, exifOnly, directory, folder.File("missing.jpg"), std::string()}) {
        EXPECT_FALSE(ReadPhotoFile(reader, path, true)) << path;
        EXPECT_FALSE(reader.IsLoaded());
        EXPECT_TRUE(reader.Thumbnail().empty());
    }
}

TEST_F(ReaderTest, NeverCrashesOnAFileTruncatedAnywhere) {
    TestJpegOptions options = CameraOptions();
    options.width = 120;
    options.height = 90;
    std::string original = Write("whole.jpg", options);
    std::vector<std::uint8_t> bytes = ReadBytesFile(original);
    ASSERT_GT(bytes.size(), 1000u);
    std::string cut = folder.File("cut.jpg");
    for (std::size_t length = 0; length < bytes.size(); length += length < 64 ? 1 : 97) {
        ASSERT_TRUE(
            WriteBytesFile(cut, std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + length)));
        bool ok = ReadPhotoFile(reader, cut, true);
        EXPECT_EQ(ok, reader.IsLoaded());
    }
    // Cut inside the image data: the EXIF block and thumbnail are whole.
    ASSERT_TRUE(TruncateFile(original, bytes.size() - 200));
    ASSERT_TRUE(ReadPhotoFile(reader, original, true));
    EXPECT_STREQ(reader.Record().strMake, "Canon");
}

TEST_F(ReaderTest, RefusesPathsThatDoNotFitTheRecord) {
    std::string longName = Write(std::string(100, 'n') + ".jpg", TestJpegOptions{});
    EXPECT_FALSE(ReadPhotoFile(reader, longName, true));
    std::string okName = Write(std::string(95, 'n') + ".jpg", TestJpegOptions{});  // 99 bytes
    EXPECT_TRUE(ReadPhotoFile(reader, okName, true));

    std::string deep = folder.Path();
    while (deep.size() < 300) {
        deep += "/" + std::string(40, 'd');
        ASSERT_EQ(mkdir(deep.c_str(), 0700), 0);
    }
    std::string tooDeep = deep + "/x.jpg";  // folder part over 255 bytes
    ASSERT_TRUE(WriteTestJpeg(tooDeep, TestJpegOptions{}));
    EXPECT_FALSE(ReadPhotoFile(reader, tooDeep, true));
    EXPECT_FALSE(reader.IsLoaded());
}

TEST_F(ReaderTest, TakesAPathWithoutSeparatorAsTheName) {
    Write("here.jpg", TestJpegOptions{});
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(folder.Path().c_str()), 0);
    bool ok = ReadPhotoFile(reader, "here.jpg", true);
    ASSERT_EQ(chdir(previous), 0);
    ASSERT_TRUE(ok);
    EXPECT_STREQ(reader.Record().strName, "here.jpg");
    EXPECT_STREQ(reader.Record().strPath, "");
    EXPECT_STREQ(reader.Record().strFullPath, "here.jpg");
}

TEST_F(ReaderTest, StartsEachReadFromAnEmptyRecord) {
    TestJpegOptions tagged = CameraOptions();
    tagged.xpComment = u"note";
    ASSERT_TRUE(ReadPhotoFile(reader, Write("tagged.jpg", tagged), true));
    TestJpegOptions plain;
    plain.withExif = false;
    ASSERT_TRUE(ReadPhotoFile(reader, Write("plain.jpg", plain), true));
    EXPECT_STREQ(reader.Record().strMake, "");
    EXPECT_EQ(reader.Record().dwDateTime, 0);
    EXPECT_TRUE(reader.Record().strXpComent.empty());

    reader.Discard();
    EXPECT_FALSE(reader.IsLoaded());
    EXPECT_EQ(reader.Exif(), nullptr);
    EXPECT_TRUE(reader.Path().empty());
}

}  // namespace

namespace {

TEST_F(ReaderTest, CameraNamesLoseThePaddingCamerasGiveThem) {
    TestJpegOptions options = CameraOptions();
    options.make = "OLYMPUS CORPORATION    ";
    options.model = std::string("E-1      \0\0\0", 12);
    ASSERT_TRUE(ReadPhotoFile(reader, Write("padded.jpg", options), true));
    EXPECT_STREQ(reader.Record().strMake, "OLYMPUS CORPORATION");
    EXPECT_STREQ(reader.Record().strModel, "E-1");
}

}  // namespace
