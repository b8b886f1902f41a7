// Writes keywords, subject, comment, position and shot time into a copy of
// every photo of the developer corpus and checks, with exiftool as the
// independent reader, that they read back and that nothing else changed:
// every other tag (maker notes included) and every segment outside the EXIF
// APP1. Skips when the corpus folder is not there.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "metadata/exif_writer.h"
#include "metadata/jpeg_segments.h"
#include "metadata/metadata_reader.h"
#include "photo_corpus.h"
#include "temp_folder.h"
#include "test_jpeg_writer.h"

namespace fs = std::filesystem;

namespace {

bool IsJpeg(const fs::path& path) {
    std::string ext = path.extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".jpg" || ext == ".jpeg";
}

// "[Group] Tag : value" lines of exiftool -a -G1 -s for each file, keyed by
// file path and then by "Group:Tag" (repeated tags get #2, #3 ...).
using TagDump = std::map<std::string, std::map<std::string, std::string>>;

TagDump ExiftoolDump(const std::vector<std::string>& files) {
    std::string command = "exiftool -a -G1 -s";
    for (const std::string& file : files) command += " '" + file + "'";
    TagDump dump;
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return dump;
    std::string current = files.size() == 1 ? files[0] : "";
    char line[65536];
    while (std::fgets(line, sizeof line, pipe)) {
        std::string text(line);
        if (!text.empty() && text.back() == '\n') text.pop_back();
        if (text.rfind("======== ", 0) == 0) {
            current = text.substr(9);
            continue;
        }
        const std::size_t close = text.find(']');
        const std::size_t colon = text.find(" : ");
        if (text.empty() || text[0] != '[' || close == std::string::npos ||
            colon == std::string::npos)
            continue;
        std::string group = text.substr(1, close - 1);
        std::string tag = text.substr(close + 1, colon - close - 1);
        tag.erase(0, tag.find_first_not_of(' '));
        tag.erase(tag.find_last_not_of(' ') + 1);
        std::string key = group + ":" + tag;
        auto& tags = dump[current];
        for (int n = 2; tags.count(key); ++n) key = group + ":" + tag + "#" + std::to_string(n);
        tags[key] = text.substr(colon + 3);
    }
    pclose(pipe);
    return dump;
}

// Tags the edit changes on purpose, and those exiftool derives from the file
// itself (its size and times) or from the written tags.
bool ChangesOnPurpose(const std::string& key) {
    const std::string group = key.substr(0, key.find(':'));
    const std::string tag = key.substr(key.find(':') + 1);
    static const std::set<std::string> written = {"XPKeywords",       "XPSubject",  "XPComment",
                                                  "DateTimeOriginal", "CreateDate", "ModifyDate"};
    // The same captions, dates and position in the XMP and IPTC forms, the
    // packet's toolkit and the IPTC digest that follows the record.
    static const std::set<std::string> copies = {
        "Subject",          "Description",     "Caption-Abstract",  "Keywords",
        "DateCreated",      "GPSLatitude",     "GPSLongitude",      "XMPToolkit",
        "LastKeywordXMP",   "LastKeywordIPTC", "CodedCharacterSet", "IPTCDigest",
        "CurrentIPTCDigest"};
    // Exempi's toolkit normalises a packet it parses, as Adobe's programs do
    // when they save one: alias properties move to the ones they stand for
    // (tiff:Artist to dc:creator, tiff:Software to xmp:CreatorTool,
    // exif:DateTimeDigitized to xmp:CreateDate), an old rdf:about id
    // becomes xmpMM:InstanceID, and a GPS time gets its date.
    static const std::set<std::string> normalised = {"XMP-rdf:About",
                                                     "XMP-xmpMM:InstanceID",
                                                     "XMP-exif:DateTimeDigitized",
                                                     "XMP-exif:GPSDateTime",
                                                     "XMP-tiff:Artist",
                                                     "XMP-tiff:Copyright",
                                                     "XMP-tiff:ImageDescription",
                                                     "XMP-tiff:Software",
                                                     "XMP-xmp:CreatorTool"};
    if (normalised.count(key)) return true;
    if (group == "System" || group == "ExifTool" || group == "GPS") return true;
    if (written.count(tag.substr(0, tag.find('#')))) return true;
    if ((group.rfind("XMP", 0) == 0 || group == "IPTC" || group == "Photoshop" ||
         group == "File") &&
        copies.count(tag.substr(0, tag.find('#'))))
        return true;
    if (group == "Composite")
        return tag.find("GPS") != std::string::npos || tag.find("Date") != std::string::npos;
    return false;
}

// The file without the segments a rewrite replaces (the main XMP packet and
// the Photoshop resources), the EXIF segment (or where a new one goes) left
// as a bare APP1 marker so that its place among the others shows.
std::vector<std::uint8_t> WithoutRewrittenSegments(std::vector<std::uint8_t> file) {
    const JpegExifPlace place = *FindExifPlace(file);
    struct Cut {
        std::size_t start, end;
        bool exif;
    };
    std::vector<Cut> cuts;
    for (auto [start, end] : place.photoshop) cuts.push_back({start, end, false});
    if (place.hasXmp()) cuts.push_back({place.xmpStart, place.xmpEnd, false});
    cuts.push_back(place.hasExif() ? Cut{place.segmentStart, place.segmentEnd, true}
                                   : Cut{place.insertAt, place.insertAt, true});
    // From the end, and at one place the EXIF segment before what follows it.
    std::sort(cuts.begin(), cuts.end(), [](const Cut& a, const Cut& b) {
        return a.start != b.start ? a.start > b.start : b.exif;
    });
    for (const Cut& cut : cuts) {
        file.erase(file.begin() + cut.start, file.begin() + cut.end);
        if (cut.exif) file.insert(file.begin() + cut.start, {0xFF, 0xE1});
    }
    return file;
}

// A thumbnail the writer added to a file whose EXIF data had none.
bool AddedThumbnailTag(const std::string& key) {
    return key.rfind("IFD1:", 0) == 0 || key == "Composite:ThumbnailImage";
}

bool IsExifTag(const std::string& key) {
    for (const char* group :
         {"File:ExifByteOrder", "IFD0:", "IFD1:", "ExifIFD:", "InteropIFD:", "Composite:"})
        if (key.rfind(group, 0) == 0) return true;
    return false;
}

class ExifWriterCorpus : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!PhotoCorpusPresent()) GTEST_SKIP() << "no corpus at " << PhotoCorpusFolder();
        if (std::system("exiftool -ver >/dev/null 2>&1") != 0) GTEST_SKIP() << "no exiftool";
        setenv("TZ", "Asia/Shanghai", 1);
        tzset();
    }
    TempFolder folder;
};

TEST_F(ExifWriterCorpus, EditsReadBackAndEverythingElseIsKept) {
    std::vector<std::string> sources, copies;
    for (const auto& entry : fs::recursive_directory_iterator(PhotoCorpusFolder()))
        if (entry.is_regular_file() && IsJpeg(entry.path())) sources.push_back(entry.path());
    std::sort(sources.begin(), sources.end());
    for (std::size_t i = 0; i < sources.size(); ++i) {
        copies.push_back(folder.File(std::to_string(i) + ".jpg"));
        fs::copy_file(sources[i], copies.back());
    }
    const TagDump before = ExiftoolDump(copies);

    int written = 0;
    std::vector<std::string> edited;
    std::map<std::string, std::vector<std::uint8_t>> originalBytes;
    for (std::size_t i = 0; i < copies.size(); ++i) {
        const std::string& copy = copies[i];
        originalBytes[copy] = ReadBytesFile(copy);
        MetadataReader reader;
        if (!ReadPhotoFile(reader, copy, false)) continue;  // damaged files of the corpus
        SCOPED_TRACE(sources[i]);
        ASSERT_TRUE(SetExifKeywords(reader, "corpus;测试"));
        ASSERT_TRUE(SetExifSubject(reader, u"主题"));
        ASSERT_TRUE(SetExifComment(reader, u"a comment"));
        ASSERT_TRUE(SetExifPosition(reader, -33.5f, 151.25f, 42));
        ASSERT_TRUE(SetExifShotTime(reader, 1337048430));
        RewriteFailure why;
        if (!RewriteJpegExif(reader, {}, &why)) {
            EXPECT_EQ(why, RewriteFailure::SegmentTooLarge);
            EXPECT_EQ(ReadBytesFile(copy), originalBytes[copy]);
            continue;
        }
        ++written;
        edited.push_back(copy);

        MetadataReader again;
        ASSERT_TRUE(ReadPhotoFile(again, copy, false));
        const PhotoRecord& r = again.Record();
        EXPECT_STREQ(r.strXpKeyword, "corpus;测试");
        EXPECT_STREQ(r.strXpSubject, "主题");
        EXPECT_EQ(r.strXpComent, "a comment");
        EXPECT_FLOAT_EQ(r.fGPSLatitude, -33.5f);
        EXPECT_FLOAT_EQ(r.fGPSLongitude, 151.25f);
        EXPECT_EQ(r.nGPSAlititude, 42);
        EXPECT_EQ(r.dwDateTime, 1337048430);

        // Outside the EXIF, XMP and Photoshop segments the bytes are the old
        // ones, in order; the EXIF segment stays where it was among them.
        EXPECT_EQ(WithoutRewrittenSegments(originalBytes[copy]),
                  WithoutRewrittenSegments(ReadBytesFile(copy)));
    }
    std::printf("%zu files, %d written\n", copies.size(), written);
    EXPECT_GT(written, 50);

    const TagDump after = ExiftoolDump(edited);
    for (const std::string& copy : edited) {
        const auto& oldTags = before.at(copy);
        const auto& newTags = after.at(copy);
        const bool thumbnailAdded = !oldTags.count("IFD1:ThumbnailOffset");
        // A file without EXIF data gains all of it.
        const bool exifAdded = !oldTags.count("File:ExifByteOrder");
        for (const auto& [key, value] : oldTags) {
            if (ChangesOnPurpose(key)) continue;
            auto found = newTags.find(key);
            EXPECT_TRUE(found != newTags.end() && found->second == value)
                << copy << " " << key << ": '" << value << "' became '"
                << (found == newTags.end() ? "<gone>" : found->second) << "'";
        }
        for (const auto& [key, value] : newTags) {
            if (key.rfind("ExifTool:Warning", 0) == 0) {
                EXPECT_TRUE(oldTags.count(key) && oldTags.at(key) == value)
                    << copy << " warns: " << value;
                continue;
            }
            EXPECT_TRUE(oldTags.count(key) || ChangesOnPurpose(key) ||
                        (thumbnailAdded && AddedThumbnailTag(key)) || (exifAdded && IsExifTag(key)))
                << copy << " gained " << key << ": " << value;
        }
    }
}

}  // namespace
