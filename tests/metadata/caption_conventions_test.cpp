// Captions written by other programs, each in its own convention (files
// tagged with exiftool as those programs tag them), as the reader takes them.

#include <string>
#include <vector>

#include "caption_conventions.h"
#include "exiftool_runner.h"
#include "metadata/caption_forms.h"
#include "reader_test_fixture.h"

namespace {

class CaptionConventions : public ReaderTest, public ::testing::WithParamInterface<Convention> {};

TEST_P(CaptionConventions, ReadAsThatProgramShowsThem) {
    if (!HaveExiftool()) GTEST_SKIP() << "exiftool is not installed";
    const Convention& convention = GetParam();
    const std::string path = Write("tagged.jpg", CameraOptions());
    ASSERT_EQ(TagAs(convention, path), "");

    ASSERT_TRUE(ReadPhotoFile(reader, path, true));
    const PhotoRecord& r = reader.Record();
    EXPECT_STREQ(r.strXpKeyword, convention.keywords);
    EXPECT_EQ(r.nbKeyword, convention.keywords[0] ? 1 : 0);
    EXPECT_STREQ(r.strXpTitle, convention.title);
    EXPECT_EQ(r.strXpComent, convention.comment);
    EXPECT_EQ(r.szOfComent > 0, convention.comment[0] != '\0');
    EXPECT_STREQ(r.strXpAuthor, convention.author);
    EXPECT_STREQ(r.strXpSubject, convention.subject);
    EXPECT_EQ(ReadWholeKeywords(path).value_or(""), convention.keywords);
}

INSTANTIATE_TEST_SUITE_P(Programs, CaptionConventions, ::testing::ValuesIn(kConventions),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

TEST_F(ReaderTest, CaptionFormsNameEveryFormAFileHolds) {
    if (!HaveExiftool()) GTEST_SKIP() << "exiftool is not installed";
    const std::string path = Write("forms.jpg", CameraOptions());
    ASSERT_EQ(RunExiftool({"-XPKeywords=海", "-XMP-dc:Subject=山", "-IPTC:Keywords=河",
                           "-XMP-GDepth:DepthImage=" + DepthMapText(), "-charset", "iptc=UTF8",
                           "-q", "-overwrite_original", path}),
              "");
    const CaptionForms forms = ReadCaptionForms(path);
    EXPECT_EQ(forms.xmp, PacketState::Read);
    EXPECT_EQ(forms.iptc, PacketState::Read);
    EXPECT_TRUE(forms.extendedXmp);
    std::vector<std::string> held;
    for (const CaptionValue& value : forms.Of(CaptionField::Keywords))
        held.push_back(value.form + "=" + value.items.at(0));
    EXPECT_EQ(held,
              (std::vector<std::string>{"XPKeywords=海", "XMP dc:subject=山", "IPTC Keywords=河"}));
}

// Cameras put placeholders into these tags; without another program's
// captions in the file they do not count.
TEST_F(ReaderTest, ACameraFileWithoutXmpOrIptcIgnoresArtistAndImageDescription) {
    if (!HaveExiftool()) GTEST_SKIP() << "exiftool is not installed";
    const std::string path = Write("camera.jpg", CameraOptions());
    ASSERT_EQ(RunExiftool({"-q", "-q", "-overwrite_original", "-Artist=Owner",
                           "-ImageDescription=OLYMPUS DIGITAL CAMERA", path}),
              "");
    ASSERT_TRUE(ReadPhotoFile(reader, path, true));
    EXPECT_STREQ(reader.Record().strXpAuthor, "");
    EXPECT_STREQ(reader.Record().strXpSubject, "");
}

// An APP1 segment with the XMP signature and then bytes that are no XML.
std::vector<std::uint8_t> WithSegment(std::vector<std::uint8_t> file, std::uint8_t marker,
                                      const std::string& payload) {
    const std::size_t length = payload.size() + 2;
    std::vector<std::uint8_t> segment = {0xFF, marker, static_cast<std::uint8_t>(length >> 8),
                                         static_cast<std::uint8_t>(length)};
    segment.insert(segment.end(), payload.begin(), payload.end());
    file.insert(file.begin() + 2, segment.begin(), segment.end());
    return file;
}

TEST_F(ReaderTest, BrokenXmpAndIptcLeaveTheWindowsTagsAsTheyRead) {
    TestJpegOptions options = CameraOptions();
    options.xpKeywords = u"海;山";
    options.xpTitle = u"海边";
    std::vector<std::uint8_t> file;
    ASSERT_TRUE(MakeTestJpeg(options, file));
    file = WithSegment(
        file, 0xE1,
        std::string("http://ns.adobe.com/xap/1.0/\0", 29) + "<x:xmpmeta <<< dc:subject");
    file = WithSegment(file, 0xED, std::string("Photoshop 3.0\0", 14) + "8BIM\x04\x04\0\0\xff\xff");
    const std::string path = folder.File("broken.jpg");
    ASSERT_TRUE(WriteBytesFile(path, file));

    ASSERT_TRUE(ReadPhotoFile(reader, path, true));
    EXPECT_STREQ(reader.Record().strXpKeyword, "海;山");
    EXPECT_STREQ(reader.Record().strXpTitle, "海边");
    const CaptionForms forms = ReadCaptionForms(path);
    EXPECT_EQ(forms.xmp, PacketState::Unparsable);
    EXPECT_EQ(forms.iptc, PacketState::Unparsable);
}

}  // namespace
