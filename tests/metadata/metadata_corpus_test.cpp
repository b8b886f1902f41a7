// Reads every photo of the developer corpus (real camera, phone and editor
// files, plus damaged ones) and checks the fields its manifest states.
// Skips when the corpus folder is not there.

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "metadata/metadata_reader.h"
#include "metadata/thumbnail_maker.h"
#include "photo_corpus.h"

namespace {

const std::string kCorpus = PhotoCorpusFolder();

struct ManifestRow {
    std::map<std::string, std::string> field;
    const std::string& operator[](const std::string& name) const {
        static const std::string none;
        auto it = field.find(name);
        return it == field.end() ? none : it->second;
    }
};

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> parts;
    std::stringstream stream(line);
    std::string part;
    while (std::getline(stream, part, '\t')) parts.push_back(part);
    return parts;
}

std::vector<ManifestRow> ReadManifest() {
    std::vector<ManifestRow> rows;
    std::ifstream in(kCorpus + "/MANIFEST.tsv");
    std::string line;
    if (!std::getline(in, line)) return rows;
    std::vector<std::string> header = SplitTabs(line);
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        std::vector<std::string> parts = SplitTabs(line);
        ManifestRow row;
        for (std::size_t i = 0; i < header.size() && i < parts.size(); ++i)
            row.field[header[i]] = parts[i];
        rows.push_back(row);
    }
    return rows;
}

bool Mentions(const ManifestRow& row, const std::string& text) {
    return row["notes"].find(text) != std::string::npos;
}

// Damaged files only have to be survived.
bool IsDamaged(const ManifestRow& row) {
    return Mentions(row, "truncated") || Mentions(row, "no image frame") ||
           Mentions(row, "not parseable");
}

std::string OrientationName(const std::string& digit) {
    static const char* names[] = {"Top-left", "Top-right", "Bottom-right", "Bottom-left",
                                  "Left-top", "Right-top", "Right-bottom", "Left-bottom"};
    if (digit.size() == 1 && digit[0] >= '1' && digit[0] <= '8') return names[digit[0] - '1'];
    return {};
}

void CheckRow(const ManifestRow& row, MetadataReader& reader) {
    const std::string path = kCorpus + "/" + row["path"];
    bool ok = ReadPhotoFile(reader, path, true);
    EXPECT_EQ(ok, reader.IsLoaded());
    if (IsDamaged(row)) return;
    ASSERT_TRUE(ok);
    const PhotoRecord& r = reader.Record();

    // The reader keeps texts as the camera wrote them, padding included; the
    // manifest lists them trimmed.
    auto expectText = [](const std::string& expected, const char* actual, std::size_t limit,
                         const char* what) {
        std::string want = expected == "-" ? std::string() : expected.substr(0, limit);
        std::string got = actual;
        got.erase(got.find_last_not_of(' ') + 1);
        EXPECT_EQ(got, want) << what;
    };
    expectText(row["make"], r.strMake, 30, "make");
    expectText(row["model"], r.strModel, 38, "model");

    const std::string orientation = row["orientation"];
    if (orientation == "-") {
        EXPECT_STREQ(r.strOrientation, "");
    } else if (!OrientationName(orientation).empty()) {
        EXPECT_EQ(std::string(r.strOrientation), OrientationName(orientation));
    } else {
        EXPECT_TRUE(OrientationName(r.strOrientation).empty())
            << r.strOrientation;  // never a named turn
    }

    double latitude = 0, longitude = 0;
    if (row["gps"] != "-") {
        ASSERT_EQ(std::sscanf(row["gps"].c_str(), "%lf,%lf", &latitude, &longitude), 2);
    }
    EXPECT_NEAR(r.fGPSLatitude, latitude, 1e-4);
    EXPECT_NEAR(r.fGPSLongitude, longitude, 1e-4);

    // The captions are the XP tags' own; files with XMP or IPTC may add
    // those forms' captions to them.
    const std::string& xp = row["xp_tags"];
    auto listed = [&](const char* tag) { return xp.find(tag) != std::string::npos; };
    auto expect = [&](bool read, const char* tag) {
        if (Mentions(row, "XMP") || Mentions(row, "APP13"))
            EXPECT_TRUE(read || !listed(tag)) << tag;
        else
            EXPECT_EQ(read, listed(tag)) << tag;
    };
    expect(r.strXpTitle[0] != '\0', "XPTitle");
    expect(!r.strXpComent.empty(), "XPComment");
    expect(r.strXpAuthor[0] != '\0', "XPAuthor");
    expect(r.strXpKeyword[0] != '\0', "XPKeywords");
    expect(r.nbKeyword == 1, "XPKeywords");
    expect(r.strXpSubject[0] != '\0', "XPSubject");

    // The manifest's size is the frame's, also where stale size tags say
    // otherwise ("EXIF PixelX/YDimension ... differs from SOF size").
    EXPECT_EQ(r.nWidth, std::atoi(row["width"].c_str()));
    EXPECT_EQ(r.nHeight, std::atoi(row["height"].c_str()));
    // A thumbnail that shows, also where the camera stored a placeholder.
    EXPECT_TRUE(DecodesAsJpeg(reader.Thumbnail()));
}

TEST(PhotoCorpus, ReadsEveryPhotoWithTheFieldsItsManifestGives) {
    if (!std::filesystem::exists(kCorpus + "/MANIFEST.tsv"))
        GTEST_SKIP() << "photo corpus not found at " << kCorpus;
    setenv("TZ", "Asia/Shanghai", 1);
    tzset();
    std::vector<ManifestRow> rows = ReadManifest();
    ASSERT_FALSE(rows.empty());
    MetadataReader reader;  // shared, as the import shares one
    for (const ManifestRow& row : rows) {
        SCOPED_TRACE(row["path"] + " | " + row["notes"]);
        CheckRow(row, reader);
    }
}

TEST(PhotoCorpus, ReadsTheChineseWindowsTagsAndDashedDates) {
    if (!std::filesystem::exists(kCorpus + "/MANIFEST.tsv"))
        GTEST_SKIP() << "photo corpus not found at " << kCorpus;
    setenv("TZ", "Asia/Shanghai", 1);
    tzset();
    MetadataReader reader;
    ASSERT_TRUE(ReadPhotoFile(reader, kCorpus + "/derived/xp-chinese-Canon_40D.jpg", true));
    EXPECT_STREQ(reader.Record().strXpTitle, "海边日落");
    EXPECT_STREQ(reader.Record().strXpKeyword, "家人;旅游;海边;");
    EXPECT_STREQ(reader.Record().strXpSubject, "假期");
    EXPECT_NEAR(reader.Record().fGPSLatitude, -33.5, 1e-4);
    ASSERT_TRUE(ReadPhotoFile(reader, kCorpus + "/derived/dashed-date-Nikon_D70.jpg", true));
    EXPECT_EQ(reader.Record().dwDateTime, 1337048430);  // 2012-05-15 10:20:30 +08:00
}

}  // namespace
