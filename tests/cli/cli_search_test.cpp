// darazoz-cli search, run as a user runs it.

#include <gtest/gtest.h>

#include <string>

#include "cli_runner.h"
#include "temp_folder.h"
#include "test_jpeg_writer.h"

namespace {

struct SearchPhoto {
    const char* name;
    const char* shot;  // EXIF DateTimeOriginal
    const char16_t* keywords;
    std::uint32_t longitude;  // degrees east (and 30 minutes); 0 for no position
    std::uint32_t latitude;
};

class CliSearch : public ::testing::Test {
  protected:
    void SetUp() override {
        const SearchPhoto photos[] = {
            {"beijing.jpg", "2014:05:01 10:00:00", u"家人", 116, 40},
            {"quote.jpg", "2016:07:01 10:00:00", u"Tom's;家人", 0, 0},
            {"undated.jpg", nullptr, u"Tom's", 0, 0},
            {"shanghai.jpg", "2015:03:01 10:00:00", nullptr, 121, 31},
        };
        std::uint32_t seed = 1;
        for (const SearchPhoto& p : photos) {
            TestJpegOptions o;
            o.seed = seed++;
            o.embedThumbnail = true;
            if (p.shot) o.dateTimeOriginal = p.shot;
            if (p.keywords) o.xpKeywords = p.keywords;
            if (p.longitude != 0) {
                o.longitudeRef = "E";
                o.longitude = TestDms{{{p.longitude, 1}, {30, 1}, {0, 1}}};
                o.latitudeRef = "N";
                o.latitude = TestDms{{{p.latitude, 1}, {30, 1}, {0, 1}}};
            }
            ASSERT_TRUE(WriteTestJpeg(photos_.File(p.name), o));
        }
        ASSERT_EQ(Run("import '" + photos_.Path() + "'").status, 0);
    }

    CliResult Run(const std::string& arguments) const {
        return RunCli("--data-dir '" + data_.Path() + "' " + arguments);
    }
    // The listed paths and the count line, with the folder taken out.
    std::string Search(const std::string& options) const {
        CliResult r = Run("search " + options);
        EXPECT_EQ(r.status, 0) << r.out;
        std::string out = r.out;
        for (std::size_t at; (at = out.find(photos_.Path() + "/")) != std::string::npos;)
            out.erase(at, photos_.Path().size() + 1);
        return out;
    }

    TempFolder data_;
    TempFolder photos_;
};

TEST_F(CliSearch, ListsFullPathsNewestFirstThenTheCount) {
    EXPECT_EQ(Search("--keyword 家人 --keyword \"Tom's\""),
              "quote.jpg\nbeijing.jpg\nundated.jpg\n3 photos found\n");
    EXPECT_EQ(Search("--keyword=家人"), "quote.jpg\nbeijing.jpg\n2 photos found\n");
    EXPECT_EQ(Search("--keyword 海边"), "0 photos found\n");
    EXPECT_EQ(Run("search --help").out.find("usage: darazoz-cli [--data-dir DIR] search"), 0u);
}

TEST_F(CliSearch, DayAndPositionRangesLeaveOutUndatedAndPositionlessPhotos) {
    EXPECT_EQ(Search("--from 2015-01-01"), "quote.jpg\nshanghai.jpg\n2 photos found\n");
    EXPECT_EQ(Search("--to 2015-03-01"), "shanghai.jpg\nbeijing.jpg\n2 photos found\n");
    EXPECT_EQ(Search("--from 2014-05-01 --to 2014-05-01"), "beijing.jpg\n1 photo found\n");
    EXPECT_EQ(Search("--lon 117,116.5"), "0 photos found\n");
    EXPECT_EQ(Search("--lon 117,116"), "beijing.jpg\n1 photo found\n");
    EXPECT_EQ(Search("--lon 100,130 --lat 30,35"), "shanghai.jpg\n1 photo found\n");
    EXPECT_EQ(Search("--keyword 家人 --lon 100,130"), "beijing.jpg\n1 photo found\n");
}

TEST(CliSearchEmpty, AFreshDataFolderFindsNothingAndGetsItsCatalogue) {
    TempFolder data;
    CliResult r = RunCli("--data-dir '" + data.Path() + "' search --keyword 家人");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "0 photos found\n");
}

TEST_F(CliSearch, MalformedValuesAreNamedAndExitWithStatusTwo) {
    struct Case {
        const char* options;
        const char* message;
    } cases[] = {
        {"--lat 95,30", "95 is out of range (-90 to 90)"},
        {"--lon 100,181", "181 is out of range (-180 to 180)"},
        {"--lon 100", "takes MIN,MAX"},
        {"--lon abc,1", "'abc' is not a decimal number"},
        {"--lat nan,1", "'nan' is not a decimal number"},
        {"--lon 0,10", "a bound of 0 cannot be searched"},
        {"--from 2014-02-30", "takes a day YYYY-MM-DD"},
        {"--to 2040-01-01", "takes a day YYYY-MM-DD"},
        {"--from 2015-01-02 --to 2015-01-01", "lies after --to"},
        {"--keyword a --keyword b --keyword c", "at most two --keyword"},
        {"--keyword 家人朋友旅行海", "longer than 19 bytes"},
        {"--keyword", "--keyword needs a value"},
        {"--colour red", "unknown option '--colour'"},
        {"stray", "unexpected argument 'stray'"},
    };
    for (const Case& c : cases) {
        CliResult r = Run(std::string("search ") + c.options);
        EXPECT_EQ(r.status, 2) << c.options;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << c.options << "\n" << r.out;
        EXPECT_EQ(r.out.find(".jpg"), std::string::npos) << c.options;
    }
}

}  // namespace
