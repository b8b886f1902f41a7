// Captions written by other programs, each in its own convention (files
// tagged with exiftool as those programs tag them), as the reader takes them.

#include <string>
#include <vector>

#include "exiftool_runner.h"
#include "metadata/caption_forms.h"
#include "reader_test_fixture.h"

namespace {

struct Convention {
    const char* name;
    std::vector<std::string> tags;  // exiftool arguments
    const char* keywords;
    const char* title;
    const char* comment;
    const char* author;
    const char* subject;
};

void PrintTo(const Convention& convention, std::ostream* out) {
    *out << convention.name;
}

// A phone's depth map: far more than one segment holds, so exiftool puts it
// into extended XMP.
std::string DepthMapText() {
    std::string text;
    for (int i = 0; text.size() < 100000; ++i) text += std::to_string(i * 7919 % 10007);
    return text;
}

const Convention kConventions[] = {
    {"Lightroom",
     {"-XMP-dc:Subject=西湖", "-XMP-dc:Subject=荷花", "-IPTC:Keywords=西湖", "-IPTC:Keywords=荷花",
      "-XMP-lr:HierarchicalSubject=地点|杭州|西湖", "-XMP-lr:HierarchicalSubject=人物|小明",
      "-XMP-dc:Title=断桥", "-IPTC:ObjectName=断桥", "-XMP-dc:Description=雨中的断桥",
      "-IPTC:Caption-Abstract=雨中的断桥", "-XMP-dc:Creator=张三", "-IPTC:By-line=张三",
      "-IPTC:CodedCharacterSet=UTF8", "-charset", "iptc=UTF8"},
     "西湖;荷花;小明;",
     "断桥",
     "雨中的断桥",
     "张三",
     ""},
    {"digiKam",
     {"-XMP-dc:Subject=妈妈", "-XMP-dc:Subject=旅行;2023", "-XMP-digiKam:TagsList=人物/家人/妈妈",
      "-XMP-digiKam:TagsList=地点/杭州", "-XMP-dc:Title=生日", "-XMP-dc:Creator=李四",
      "-XMP-dc:Creator=王五"},
     "妈妈;旅行;2023;杭州;",
     "生日",
     "",
     "李四;王五",
     ""},
    {"Windows Explorer",
     {"-XPKeywords=海;山", "-XPTitle=海边", "-XPComment=夏天", "-XPAuthor=赵六", "-XPSubject=假期",
      "-XMP-dc:Subject=海", "-XMP-dc:Subject=山", "-IPTC:Keywords=海", "-IPTC:Keywords=山",
      "-XMP-microsoft:LastKeywordXMP=海", "-XMP-microsoft:LastKeywordXMP=山", "-XMP-dc:Title=海边",
      "-charset", "iptc=UTF8"},
     "海;山",
     "海边",
     "夏天",
     "赵六",
     "假期"},
    {"camera with IPTC only",
     {"-IPTC:Keywords=sea", "-IPTC:Keywords=sky", "-IPTC:ObjectName=Shore", "-IPTC:By-line=José",
      "-Artist=Camera Owner", "-ImageDescription=OLYMPUS DIGITAL CAMERA   ", "-charset",
      "iptc=Latin"},
     "sea;sky;",
     "Shore",
     "",
     "José",
     "OLYMPUS DIGITAL CAMERA"},
    {"phone with extended XMP",
     {"-XMP-dc:Subject=猫", "-XMP-dc:Description=窗台上的猫", "-XMP-GDepth:Mime=image/jpeg",
      "-XMP-GDepth:DepthImage=" + DepthMapText()},
     "猫;",
     "",
     "窗台上的猫",
     "",
     ""},
};

class CaptionConventions : public ReaderTest, public ::testing::WithParamInterface<Convention> {};

TEST_P(CaptionConventions, ReadAsThatProgramShowsThem) {
    if (!HaveExiftool()) GTEST_SKIP() << "exiftool is not installed";
    const Convention& convention = GetParam();
    const std::string path = Write("tagged.jpg", CameraOptions());
    std::vector<std::string> arguments = convention.tags;
    arguments.insert(arguments.end(), {"-q", "-overwrite_original", path});
    ASSERT_EQ(RunExiftool(arguments), "");

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
