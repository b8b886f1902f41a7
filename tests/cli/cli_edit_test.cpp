// `darazoz-cli edit` seen from outside.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "cli_runner.h"
#include "database_file.h"
#include "exiftool_runner.h"
#include "temp_folder.h"
#include "test_jpeg_writer.h"

namespace {

class CliEdit : public ::testing::Test {
  protected:
    std::string Cli(const std::string& arguments) const {
        return "--data-dir '" + data_.Path() + "' " + arguments;
    }
    std::string Photo(const std::string& name, std::uint32_t seed = 1) {
        TestJpegOptions o;
        o.seed = seed;
        o.embedThumbnail = true;
        o.make = "Canon";
        EXPECT_TRUE(WriteTestJpeg(photos_.File(name), o));
        return "'" + photos_.File(name) + "'";
    }
    std::string Info(const std::string& quotedPath) {
        return RunCli(Cli("info " + quotedPath)).out;
    }
    TempFolder data_;
    TempFolder photos_;
};

TEST_F(CliEdit, WritesEveryFileAndReportsEachFailureOnItsOwnLine) {
    const std::string a = Photo("a.jpg", 1), b = Photo("b.jpg", 2);
    ASSERT_TRUE(WriteBytesFile(photos_.File("broken.jpg"), {0xFF, 0xD8, 0xFF}));
    CliResult r =
        RunCli(Cli("edit --keywords '海;山' --position -33.5,151.25,12 --shot-time "
                   "'2020-02-29 13:14:15' " +
                   a + " '" + photos_.File("broken.jpg") + "' " + b + " '" +
                   photos_.File("missing.jpg") + "'"));
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 2) << r.out;
    EXPECT_NE(r.out.find("broken.jpg: cannot be read as a JPEG photo"), std::string::npos);
    EXPECT_NE(r.out.find("missing.jpg: cannot be read"), std::string::npos);
    for (const std::string& photo : {a, b}) {
        const std::string info = Info(photo);
        EXPECT_NE(info.find("strXpKeyword     海;山"), std::string::npos) << info;
        EXPECT_NE(info.find("fGPSLatitude     -33.500000"), std::string::npos) << info;
        EXPECT_NE(info.find("nGPSAlititude    12"), std::string::npos) << info;
        EXPECT_NE(info.find("dwDateTime       1582953255"), std::string::npos) << info;
        EXPECT_NE(info.find("strMake          Canon"), std::string::npos) << info;
    }
    EXPECT_EQ(RunCli(Cli("edit --author me " + a)).status, 0);
}

// Keywords Lightroom wrote in XMP and IPTC: info names each form, and an
// edit writes them all, as the properties dialog does.
TEST_F(CliEdit, InfoShowsEachCaptionFormAndAnEditWritesThemAll) {
    if (!HaveExiftool()) GTEST_SKIP() << "exiftool is not installed";
    const std::string photo = Photo("lr.jpg");
    ASSERT_EQ(RunExiftool({"-q", "-q", "-overwrite_original", "-charset", "iptc=UTF8",
                           "-XMP-dc:Subject=西湖", "-IPTC:Keywords=西湖", "-IPTC:Keywords=荷花",
                           photos_.File("lr.jpg")}),
              "");
    std::string info = Info(photo);
    EXPECT_NE(info.find("strXpKeyword     西湖;荷花;"), std::string::npos) << info;
    EXPECT_NE(info.find("keywords         XMP dc:subject: 西湖\n"), std::string::npos) << info;
    EXPECT_NE(info.find("keywords         IPTC Keywords: 西湖 | 荷花\n"), std::string::npos)
        << info;

    const CliResult r = RunCli(Cli("edit --keywords '断桥;荷花' --author 张三 " + photo));
    ASSERT_EQ(r.status, 0) << r.out;
    const auto value = [this](const std::string& tag) {
        return RunExiftool({"-q", "-q", "-s3", "-sep", ",", "-" + tag, photos_.File("lr.jpg")});
    };
    EXPECT_EQ(value("XPKeywords"), "断桥;荷花\n");
    EXPECT_EQ(value("XMP-dc:Subject"), "断桥,荷花\n");
    EXPECT_EQ(value("IPTC:Keywords"), "断桥,荷花\n");
    EXPECT_EQ(value("XMP-dc:Creator"), "张三\n");
    EXPECT_EQ(value("IPTC:By-line"), "张三\n");
}

TEST_F(CliEdit, SaysWhenAnUnparsableXmpPacketLeftTheEditInTheXpTagsOnly) {
    Photo("broken-xmp.jpg");
    std::vector<std::uint8_t> bytes = ReadBytesFile(photos_.File("broken-xmp.jpg"));
    const std::string payload =
        std::string("http://ns.adobe.com/xap/1.0/\0", 29) + "<x:xmpmeta <<<";
    const std::uint8_t head[] = {0xFF, 0xE1, 0, static_cast<std::uint8_t>(payload.size() + 2)};
    bytes.insert(bytes.begin() + 2, payload.begin(), payload.end());
    bytes.insert(bytes.begin() + 2, std::begin(head), std::end(head));
    ASSERT_TRUE(WriteBytesFile(photos_.File("broken-xmp.jpg"), bytes));
    const CliResult r = RunCli(Cli("edit --keywords 海 '" + photos_.File("broken-xmp.jpg") + "'"));
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("broken-xmp.jpg: written into the Windows XP tags only"),
              std::string::npos)
        << r.out;
}

TEST_F(CliEdit, BadArgumentsChangeNothingAndExitWith2) {
    const std::string a = Photo("a.jpg");
    const auto before = ReadBytesFile(photos_.File("a.jpg"));
    const struct {
        const char* arguments;
        const char* message;
    } cases[] = {
        {"--shot-time '2020-13-01 00:00:00'", "--shot-time takes"},
        {"--shot-time '2021-02-29 00:00:00'", "--shot-time takes"},
        {"--shot-time 2020-01-01", "--shot-time takes"},
        {"--position 91,0", "latitude must lie between -90 and 90"},
        {"--position 0,-180.5", "longitude must lie between -180 and 180"},
        {"--position 10,10,20000", "altitude must lie between -10000 and 10000 metres"},
        {"--position 10", "--position takes"},
        {"--position 1,2,3x", "--position takes"},
        {"--title x", "exactly one FILE"},  // with two files below
        {"--colour red", "unknown option --colour"},
        {"", "at least one field"},
    };
    for (const auto& c : cases) {
        CliResult r = RunCli(Cli(std::string("edit ") + c.arguments + " " + a + " " + a));
        EXPECT_EQ(r.status, 2) << c.arguments;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << c.arguments << ": " << r.out;
    }
    CliResult r = RunCli(Cli("edit --keywords"));
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("--keywords needs a value"), std::string::npos) << r.out;
    EXPECT_EQ(ReadBytesFile(photos_.File("a.jpg")), before);
}

TEST_F(CliEdit, ACataloguedPhotoGetsItsRowsRefreshedAndTitleRenames) {
    const std::string a = Photo("a.jpg");
    ASSERT_EQ(RunCli(Cli("import '" + photos_.Path() + "'")).status, 0);
    // The name follows the properties dialog's rule: the text before its
    // first "." with ".JPG".
    CliResult r = RunCli(Cli("edit --keywords 'k1;k2' --title Beach " + a));
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(std::filesystem::exists(photos_.File("Beach.JPG")));
    EXPECT_FALSE(std::filesystem::exists(photos_.File("a.jpg")));
    const std::string db = data_.File("myJpgdb.db");
    EXPECT_EQ(
        QueryFileColumn(db, "select strName||'|'||strXpTitle||'|'||strXpKeyword from tJpgMsg"),
        std::vector<std::string>{"Beach.JPG|Beach.JPG|k1;k2"});
    EXPECT_EQ(CountRowsInFile(db, "tKeyWord"), 2);

    r = RunCli(Cli("edit --title Sea.jpeg '" + photos_.File("Beach.JPG") + "'"));
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(std::filesystem::exists(photos_.File("Sea.JPG")));
    Photo("taken.JPG", 9);
    r = RunCli(Cli("edit --title taken '" + photos_.File("Sea.JPG") + "'"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("a file named taken.JPG already exists"), std::string::npos) << r.out;
}

}  // namespace
