#include "metadata/exif_writer.h"

#include <dirent.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <set>

#include "metadata/exif_document.h"
#include "metadata/exif_rewrite.h"
#include "metadata/jpeg_file_reader.h"
#include "metadata/jpeg_segments.h"
#include "metadata/tiff_patch.h"
#include "reader_test_fixture.h"

namespace {

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* e = readdir(dir))
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                names.push_back(e->d_name);
        closedir(dir);
    }
    return names;
}

// The file's EXIF data as libexif parses it, in the file's own byte order.
std::unique_ptr<ExifDocument> FileExif(const std::string& path) {
    std::vector<std::uint8_t> payload;
    if (!ReadExifSegment(path, payload)) return nullptr;
    return ExifDocument::Load(payload.data(), payload.size());
}

std::vector<std::uint32_t> Rationals(ExifData* data, ExifTag tag) {
    ExifEntry* e = exif_content_get_entry(data->ifd[EXIF_IFD_GPS], tag);
    std::vector<std::uint32_t> out;
    if (!e || e->format != EXIF_FORMAT_RATIONAL) return out;
    for (unsigned long i = 0; i < e->components; ++i) {
        ExifRational r = exif_get_rational(e->data + 8 * i, exif_data_get_byte_order(data));
        out.push_back(r.numerator);
        out.push_back(r.denominator);
    }
    return out;
}

std::string AsciiTag(ExifData* data, ExifIfd ifd, ExifTag tag) {
    ExifEntry* e = exif_content_get_entry(data->ifd[ifd], tag);
    return e ? std::string(reinterpret_cast<char*>(e->data), strnlen((char*)e->data, e->size))
             : std::string();
}

class ExifWriterTest : public ReaderTest {
  protected:
    std::string Edited(const std::string& path) {
        EXPECT_TRUE(ReadPhotoFile(reader, path, false));
        return path;
    }
};

struct LayoutCase {
    const char* name;
    bool jfif;
    bool exif;
    bool bigEndian;
};

class SegmentLayout : public ExifWriterTest, public ::testing::WithParamInterface<LayoutCase> {};

// Everything outside the EXIF segment keeps its bytes and order; the EXIF
// segment stays where it was, or follows SOI (and a JFIF header) when new,
// and the file's first XMP packet follows it.
TEST_P(SegmentLayout, KeepsEveryOtherSegmentAndReadsTheEditBack) {
    const LayoutCase& c = GetParam();
    TestJpegOptions options = CameraOptions();
    options.jfifHeader = c.jfif;
    options.withExif = c.exif;
    options.bigEndian = c.bigEndian;
    options.embedThumbnail = c.exif;
    const std::string path = Write("photo.jpg", options);
    const std::vector<std::uint8_t> before = ReadBytesFile(path);
    const JpegExifPlace old = *FindExifPlace(before);

    ASSERT_TRUE(ReadPhotoFile(reader, path, false));
    ASSERT_TRUE(SetExifKeywords(reader, "山;海"));
    RewriteFailure why;
    ASSERT_TRUE(RewriteJpegExif(reader, {}, &why)) << static_cast<int>(why);

    const std::vector<std::uint8_t> after = ReadBytesFile(path);
    const JpegExifPlace now = *FindExifPlace(after);
    ASSERT_TRUE(now.hasExif());
    const std::size_t headEnd = c.exif ? old.segmentStart : old.insertAt;
    const std::size_t tailStart = c.exif ? old.segmentEnd : old.insertAt;
    EXPECT_EQ(now.segmentStart, headEnd);
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + headEnd, after.begin()));
    // The keywords' new XMP packet follows the EXIF segment.
    ASSERT_TRUE(now.hasXmp());
    EXPECT_EQ(now.xmpStart, now.segmentEnd);
    EXPECT_TRUE(std::equal(before.begin() + tailStart, before.end(), after.begin() + now.xmpEnd,
                           after.end()));
    if (c.jfif) {
        EXPECT_EQ(after[3], 0xE0);  // the JFIF header is still first
    }

    MetadataReader again;
    ASSERT_TRUE(ReadPhotoFile(again, path, false));
    EXPECT_STREQ(again.Record().strXpKeyword, "山;海");
    EXPECT_EQ(again.Record().nbKeyword, 1);
    EXPECT_FALSE(again.Thumbnail().empty());
    if (c.exif) {
        EXPECT_STREQ(again.Record().strMake, "Canon");
        EXPECT_EQ(again.Record().dwDateTime, reader.Record().dwDateTime);
        auto thumb = again.Thumbnail();
        auto oldThumb = reader.Thumbnail();
        EXPECT_TRUE(std::equal(thumb.begin(), thumb.end(), oldThumb.begin(), oldThumb.end()));
        // The file keeps its own byte order.
        EXPECT_EQ(after[now.segmentStart + 10], c.bigEndian ? 'M' : 'I');
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, SegmentLayout,
                         ::testing::Values(LayoutCase{"camera", false, true, false},
                                           LayoutCase{"jfifWithExif", true, true, false},
                                           LayoutCase{"jfifWithoutExif", true, false, false},
                                           LayoutCase{"plainWithoutExif", false, false, false},
                                           LayoutCase{"bigEndianCamera", false, true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Large segments (ICC profiles, previews) before the EXIF segment take the
// writer past the part of the file it first reads.
TEST_F(ExifWriterTest, FindsExifBehindLargeSegmentsAndKeepsThem) {
    const std::string path = Write("icc.jpg", CameraOptions());
    std::vector<std::uint8_t> bytes = ReadBytesFile(path);
    for (int i = 0; i < 6; ++i) {
        std::vector<std::uint8_t> app2 = {0xFF, 0xE2, 0xEA, 0x62};  // 60,002 bytes long
        app2.resize(60002 + 2, static_cast<std::uint8_t>(i));
        bytes.insert(bytes.begin() + 2, app2.begin(), app2.end());
    }
    ASSERT_TRUE(WriteBytesFile(path, bytes));
    ASSERT_TRUE(ReadPhotoFile(reader, path, false));
    ASSERT_TRUE(SetExifKeywords(reader, "behind icc"));
    ASSERT_TRUE(RewriteJpegExif(reader));
    const std::vector<std::uint8_t> after = ReadBytesFile(path);
    const JpegExifPlace old = *FindExifPlace(bytes), now = *FindExifPlace(after);
    EXPECT_EQ(now.segmentStart, old.segmentStart);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + old.segmentStart, after.begin()));
    EXPECT_EQ(now.xmpStart, now.segmentEnd);
    EXPECT_TRUE(std::equal(bytes.begin() + old.segmentEnd, bytes.end(), after.begin() + now.xmpEnd,
                           after.end()));
    MetadataReader again;
    ASSERT_TRUE(ReadPhotoFile(again, path, false));
    EXPECT_STREQ(again.Record().strXpKeyword, "behind icc");
}

TEST_F(ExifWriterTest, WritesPositionAsStandardRationalsAndReadsItBack) {
    for (bool bigEndian : {false, true}) {
        TestJpegOptions options;
        options.bigEndian = bigEndian;
        options.make = "Nikon";  // a file with EXIF but no GPS IFD
        const std::string path = Write("gps.jpg", options);
        ASSERT_TRUE(ReadPhotoFile(reader, path, false));
        ASSERT_TRUE(SetExifPosition(reader, -33.5f, 151.25f, -12));
        ASSERT_TRUE(RewriteJpegExif(reader));

        auto exif = FileExif(path);
        ASSERT_TRUE(exif);
        ExifData* d = exif->Data();
        EXPECT_EQ(AsciiTag(d, EXIF_IFD_GPS, static_cast<ExifTag>(1)), "S");
        EXPECT_EQ(Rationals(d, static_cast<ExifTag>(2)),
                  (std::vector<std::uint32_t>{33, 1, 30, 1, 0, 100}));
        EXPECT_EQ(AsciiTag(d, EXIF_IFD_GPS, static_cast<ExifTag>(3)), "E");
        EXPECT_EQ(Rationals(d, static_cast<ExifTag>(4)),
                  (std::vector<std::uint32_t>{151, 1, 15, 1, 0, 100}));
        EXPECT_EQ(Rationals(d, static_cast<ExifTag>(6)), (std::vector<std::uint32_t>{12, 1}));
        ExifEntry* version = exif_content_get_entry(d->ifd[EXIF_IFD_GPS], static_cast<ExifTag>(0));
        ASSERT_TRUE(version);
        EXPECT_EQ(std::vector<int>(version->data, version->data + 4),
                  (std::vector<int>{2, 2, 0, 0}));

        MetadataReader again;
        ASSERT_TRUE(ReadPhotoFile(again, path, false));
        EXPECT_FLOAT_EQ(again.Record().fGPSLatitude, -33.5f);
        EXPECT_FLOAT_EQ(again.Record().fGPSLongitude, 151.25f);
        EXPECT_EQ(again.Record().nGPSAlititude, -12);
        EXPECT_STREQ(again.Record().strMake, "Nikon");
    }
}

// Files written before the standard types: SRATIONAL coordinates and the
// signed metres in a LONG.
TEST_F(ExifWriterTest, StillReadsTheOlderPositionTypes) {
    const std::string path = Write("old.jpg", CameraOptions());
    std::vector<std::uint8_t> file = ReadBytesFile(path);
    JpegExifPlace place = *FindExifPlace(file);
    std::vector<std::uint8_t> tiff(file.begin() + place.segmentStart + 10,
                                   file.begin() + place.segmentEnd);
    const std::vector<TiffEntryValue> old = {
        {TiffIfd::Gps, 2, 10, 3, {33, 0, 0, 0, 1, 0, 0, 0, 30,  0, 0, 0,
                                  1,  0, 0, 0, 0, 0, 0, 0, 100, 0, 0, 0}},
        {TiffIfd::Gps, 6, 4, 1, {0xF6, 0xFF, 0xFF, 0xFF}}};
    ASSERT_TRUE(PatchTiff(tiff, old, {}));
    std::vector<std::uint8_t> rebuilt(file.begin(), file.begin() + place.segmentStart);
    const std::size_t length = tiff.size() + 8;
    rebuilt.insert(rebuilt.end(), {0xFF, 0xE1, static_cast<std::uint8_t>(length >> 8),
                                   static_cast<std::uint8_t>(length), 'E', 'x', 'i', 'f', 0, 0});
    rebuilt.insert(rebuilt.end(), tiff.begin(), tiff.end());
    rebuilt.insert(rebuilt.end(), file.begin() + place.segmentEnd, file.end());
    ASSERT_TRUE(WriteBytesFile(path, rebuilt));

    ASSERT_TRUE(ReadPhotoFile(reader, path, false));
    EXPECT_FLOAT_EQ(reader.Record().fGPSLatitude, -33.5f);  // reference S kept
    EXPECT_EQ(reader.Record().nGPSAlititude, -10);
}

TEST_F(ExifWriterTest, EmptyWindowsTextIsRefusedAndTheOldTagStays) {
    TestJpegOptions options = CameraOptions();
    options.xpSubject = u"旧主题";
    const std::string path = Write("subject.jpg", options);
    ASSERT_TRUE(ReadPhotoFile(reader, path, false));
    EXPECT_FALSE(SetExifSubject(reader, u""));
    EXPECT_FALSE(SetExifComment(reader, u""));
    EXPECT_TRUE(reader.EditedTags().empty());
    ASSERT_TRUE(SetExifAuthor(reader, u"作者"));
    ASSERT_TRUE(RewriteJpegExif(reader));
    MetadataReader again;
    ASSERT_TRUE(ReadPhotoFile(again, path, false));
    EXPECT_STREQ(again.Record().strXpSubject, "旧主题");
    EXPECT_STREQ(again.Record().strXpAuthor, "作者");
}

TEST_F(ExifWriterTest, TextSettersWriteUcs2AndTheRecord) {
    const std::string path = Write("texts.jpg", CameraOptions());
    ASSERT_TRUE(ReadPhotoFile(reader, path, false));
    ASSERT_TRUE(SetExifTitle(reader, u"标题"));
    ASSERT_TRUE(SetExifComment(reader, u"说明 ok"));
    ASSERT_TRUE(SetExifMake(reader, "A maker name longer than thirty-one bytes"));
    ASSERT_TRUE(SetExifModel(reader, "X100"));
    const PhotoRecord& r = reader.Record();
    EXPECT_STREQ(r.strXpTitle, "标题");
    EXPECT_EQ(r.strXpComent, "说明 ok");
    EXPECT_EQ(r.szOfComent, 2 * (2 * 5 + 10) + 1);
    EXPECT_EQ(std::string(r.strMake),
              std::string("A maker name longer than thirty-one bytes").substr(0, 31));
    ASSERT_TRUE(RewriteJpegExif(reader));

    auto exif = FileExif(path);
    ASSERT_TRUE(exif);
    ExifEntry* title = exif_content_get_entry(exif->Data()->ifd[EXIF_IFD_0], EXIF_TAG_XP_TITLE);
    ASSERT_TRUE(title);
    EXPECT_EQ(title->format, EXIF_FORMAT_BYTE);
    EXPECT_EQ(title->size, 2u * 2 + 10);
    EXPECT_EQ(std::vector<std::uint8_t>(title->data, title->data + 6),
              (std::vector<std::uint8_t>{0x07, 0x68, 0x98, 0x98, 0, 0}));
    MetadataReader again;
    ASSERT_TRUE(ReadPhotoFile(again, path, false));
    EXPECT_STREQ(again.Record().strModel, "X100");
    EXPECT_EQ(again.Record().strXpComent, "说明 ok");
}

TEST_F(ExifWriterTest, ShotTimeZeroIsTheLocalWallClockOfTheEpoch) {
    const std::string path = Write("time.jpg", CameraOptions());
    ASSERT_TRUE(ReadPhotoFile(reader, path, false));
    ASSERT_TRUE(SetExifShotTime(reader, 0));
    EXPECT_EQ(reader.Record().dwDateTime, 0);
    ASSERT_TRUE(RewriteJpegExif(reader));
    auto exif = FileExif(path);
    ASSERT_TRUE(exif);
    ExifData* d = exif->Data();
    EXPECT_EQ(AsciiTag(d, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL), "1970:01:01 08:00:00");
    EXPECT_EQ(AsciiTag(d, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_DIGITIZED), "1970:01:01 08:00:00");
    EXPECT_EQ(AsciiTag(d, EXIF_IFD_0, EXIF_TAG_DATE_TIME), "1970:01:01 08:00:00");
}

TEST_F(ExifWriterTest, RenameRefusesAnyExistingFileAndOtherwiseMoves) {
    const std::string path = Write("a.jpg", CameraOptions());
    const std::vector<std::uint8_t> before = ReadBytesFile(path);
    for (std::vector<std::uint8_t> occupant :
         {std::vector<std::uint8_t>{1, 2, 3}, std::vector<std::uint8_t>{}}) {
        ASSERT_TRUE(WriteBytesFile(folder.File("b.jpg"), occupant));
        ASSERT_TRUE(ReadPhotoFile(reader, path, false));
        ASSERT_TRUE(SetExifTitle(reader, u"b.jpg"));
        RewriteFailure why;
        EXPECT_FALSE(RewriteJpegExif(reader, folder.File("b.jpg"), &why));
        EXPECT_EQ(why, RewriteFailure::DestinationOccupied);
        EXPECT_EQ(ReadBytesFile(path), before);
        EXPECT_EQ(ReadBytesFile(folder.File("b.jpg")), occupant);
    }
    ASSERT_EQ(std::remove(folder.File("b.jpg").c_str()), 0);
    ASSERT_TRUE(RewriteJpegExif(reader, folder.File("b.jpg")));
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"b.jpg"});
    MetadataReader again;
    ASSERT_TRUE(ReadPhotoFile(again, folder.File("b.jpg"), false));
    EXPECT_STREQ(again.Record().strXpTitle, "b.jpg");
}

TEST_F(ExifWriterTest, ExifOutgrowingOneSegmentFailsAndLeavesTheFile) {
    TestJpegOptions options = CameraOptions();
    options.xpComment = std::u16string(20000, u'x');
    const std::string path = Write("big.jpg", options);
    const std::vector<std::uint8_t> before = ReadBytesFile(path);
    ASSERT_TRUE(ReadPhotoFile(reader, path, false));
    ASSERT_TRUE(SetExifComment(reader, std::u16string(26000, u'y')));
    RewriteFailure why;
    EXPECT_FALSE(RewriteJpegExif(reader, {}, &why));
    EXPECT_EQ(why, RewriteFailure::SegmentTooLarge);
    EXPECT_EQ(ReadBytesFile(path), before);
    EXPECT_EQ(FolderEntries(folder.Path()).size(), 1u);
}

TEST_F(ExifWriterTest, PermissionBitsSurviveTheReplace) {
    const std::string path = Write("mode.jpg", CameraOptions());
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(ReadPhotoFile(reader, path, false));
    ASSERT_TRUE(SetExifKeywords(reader, "k"));
    ASSERT_TRUE(RewriteJpegExif(reader));
    struct stat s;
    ASSERT_EQ(stat(path.c_str(), &s), 0);
    EXPECT_EQ(s.st_mode & 07777, 0640u);
}

enum class Step { Write, Flush, FlushAll, Rename };

class FailingOperations : public FileOperations {
  public:
    explicit FailingOperations(Step step) : step_(step) {}
    bool Write(int fd, std::span<const std::uint8_t> bytes) const override {
        // Half the data reaches the disk before the failure, as on a full disk.
        if (step_ == Step::Write) {
            FileOperations::Write(fd, bytes.first(bytes.size() / 2));
            return Fail(ENOSPC);
        }
        return FileOperations::Write(fd, bytes);
    }
    bool Flush(int fd) const override {
        return step_ == Step::Flush ? Fail(EIO) : FileOperations::Flush(fd);
    }
    bool FlushFileSystem(const std::string& folder) const override {
        return step_ == Step::FlushAll ? Fail(EIO) : FileOperations::FlushFileSystem(folder);
    }
    bool Rename(const std::string& from, const std::string& to, bool noReplace) const override {
        return step_ == Step::Rename ? Fail(EXDEV) : FileOperations::Rename(from, to, noReplace);
    }

  private:
    static bool Fail(int error) {
        errno = error;
        return false;
    }
    Step step_;
};

class FailedStep : public ExifWriterTest, public ::testing::WithParamInterface<Step> {};

TEST_P(FailedStep, LeavesTheOriginalByteIdenticalAndNoTemporaryFile) {
    const std::string path = Write("safe.jpg", CameraOptions());
    const std::vector<std::uint8_t> before = ReadBytesFile(path);
    for (const std::string& destination : {std::string(), folder.File("renamed.jpg")}) {
        ASSERT_TRUE(ReadPhotoFile(reader, path, false));
        ASSERT_TRUE(SetExifKeywords(reader, "never written"));
        const FailingOperations ops(GetParam());
        RewriteFailure why;
        if (GetParam() == Step::FlushAll) {
            // The batch form: written unflushed, then one flush for the group.
            PreparedRewrite prepared;
            ASSERT_TRUE(PrepareRewriteWith(reader, destination, false, prepared, &why, ops));
            PendingReplace* group[] = {&prepared.replace};
            EXPECT_FALSE(FlushTemporaries(group, ops));
            AbandonRewrite(prepared);
        } else {
            EXPECT_FALSE(RewriteJpegExifWith(reader, destination, &why, ops));
            EXPECT_EQ(why, GetParam() == Step::Rename ? RewriteFailure::ReplaceFailed
                                                      : RewriteFailure::WriteFailed);
        }
        EXPECT_EQ(ReadBytesFile(path), before);
        EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"safe.jpg"});
    }
}

INSTANTIATE_TEST_SUITE_P(Steps, FailedStep,
                         ::testing::Values(Step::Write, Step::Flush, Step::FlushAll, Step::Rename));

TEST_F(ExifWriterTest, TemporaryFilesOfDeadProcessesAreCleanedUp) {
    const std::string path = Write("p.jpg", CameraOptions());
    // pid 2^22 + 1 is above the kernel's largest pid, so never alive.
    ASSERT_TRUE(WriteBytesFile(folder.File(".p.jpg.4194305.darazoz-tmp"), {1, 2}));
    ASSERT_TRUE(ReadPhotoFile(reader, path, false));
    ASSERT_TRUE(SetExifKeywords(reader, "k"));
    ASSERT_TRUE(RewriteJpegExif(reader));
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"p.jpg"});
}

// Damaged EXIF blocks: the writer either refuses or writes a file that reads
// again; it never crashes or reads outside the data (the sanitizer build
// checks that).
TEST_F(ExifWriterTest, DamagedExifNeverCrashesTheWriter) {
    TestJpegOptions options = CameraOptions();
    options.xpKeywords = u"old";
    const std::string original = folder.File("original.jpg");
    ASSERT_TRUE(WriteTestJpeg(original, options));
    const std::vector<std::uint8_t> good = ReadBytesFile(original);
    const JpegExifPlace place = *FindExifPlace(good);
    std::mt19937 random(7);
    for (int trial = 0; trial < 120; ++trial) {
        std::vector<std::uint8_t> bytes = good;
        const std::size_t start = place.segmentStart + 10;  // the TIFF header
        const std::size_t span = place.segmentEnd - start;
        for (int flips = 1 + trial % 8; flips > 0; --flips)
            bytes[start + random() % std::min<std::size_t>(span, 600)] = random() & 0xFF;
        if (trial % 10 == 9) bytes.resize(start + random() % span);
        const std::string path = folder.File("hostile.jpg");
        ASSERT_TRUE(WriteBytesFile(path, bytes));
        if (!ReadPhotoFile(reader, path, false)) continue;
        SetExifKeywords(reader, "new");
        SetExifPosition(reader, 10, 20, 30);
        SetExifShotTime(reader, 1000000000);
        if (RewriteJpegExif(reader)) {
            MetadataReader again;
            EXPECT_TRUE(ReadPhotoFile(again, path, false)) << "trial " << trial;
        }
    }
}

// EXIF data continued in a second APP1 segment ("Exif\0\0" and the next
// bytes of the same TIFF data) becomes one segment, with its value intact.
TEST_F(ExifWriterTest, JoinsExifContinuedInASecondSegment) {
    TestJpegOptions options;
    options.withExif = false;
    const std::string path = Write("split.jpg", options);
    std::vector<std::uint8_t> plain = ReadBytesFile(path);
    // IFD0 with one ImageDescription whose 12 bytes start in the first
    // segment and end in the second.
    const std::vector<std::uint8_t> first = {0xFF, 0xE1, 0,  39,  'E', 'x', 'i', 'f', 0, 0,    'M',
                                             'M',  0,    42, 0,   0,   0,   8,   0,   1, 0x01, 0x0E,
                                             0,    2,    0,  0,   0,   12,  0,   0,   0, 26,   0,
                                             0,    0,    0,  'f', 'i', 'r', 's', 't'};
    const std::vector<std::uint8_t> second = {0xFF, 0xE1, 0,   15,  'E', 'x', 'i', 'f', 0,
                                              0,    's',  'e', 'c', 'o', 'n', 'd', 0};
    plain.insert(plain.begin() + 2, second.begin(), second.end());
    plain.insert(plain.begin() + 2, first.begin(), first.end());
    ASSERT_TRUE(WriteBytesFile(path, plain));
    ASSERT_EQ(FindExifPlace(plain)->continuations.size(), 1u);

    ASSERT_TRUE(ReadPhotoFile(reader, path, false));
    ASSERT_TRUE(SetExifKeywords(reader, "k"));
    ASSERT_TRUE(RewriteJpegExif(reader));
    auto exif = FileExif(path);
    ASSERT_TRUE(exif);
    EXPECT_EQ(AsciiTag(exif->Data(), EXIF_IFD_0, EXIF_TAG_IMAGE_DESCRIPTION), "firstsecond");
    EXPECT_TRUE(FindExifPlace(ReadBytesFile(path))->continuations.empty());
}

// A GPS pointer with count 0 (seen in real files) whose value field happens
// to hold the EXIF IFD's offset must not make the EXIF IFD the GPS IFD.
TEST(TiffPatch, AnEmptyPointerEntryLeadsToANewIfd) {
    std::vector<std::uint8_t> tiff = {
        'I',  'I',  42, 0, 8, 0, 0, 0,                // header, IFD0 at 8
        2,    0,                                      // IFD0: two entries
        0x69, 0x87, 4,  0, 1, 0, 0, 0, 38,  0, 0, 0,  // EXIF pointer -> 38
        0x25, 0x88, 4,  0, 0, 0, 0, 0, 38,  0, 0, 0,  // GPS pointer, count 0
        0,    0,    0,  0,                            // no IFD1
        1,    0,                                      // EXIF IFD at 38: one entry
        0x27, 0x88, 3,  0, 1, 0, 0, 0, 100, 0, 0, 0,  // ISO 100
        0,    0,    0,  0};
    const std::vector<TiffEntryValue> values = {{TiffIfd::Gps, 1, 2, 2, {'N', 0}}};
    ASSERT_TRUE(PatchTiff(tiff, values, {}));
    std::vector<std::uint8_t> payload = {'E', 'x', 'i', 'f', 0, 0};
    payload.insert(payload.end(), tiff.begin(), tiff.end());
    auto exif = ExifDocument::Load(payload.data(), payload.size());
    ASSERT_TRUE(exif);
    ExifData* d = exif->Data();
    EXPECT_EQ(AsciiTag(d, EXIF_IFD_GPS, static_cast<ExifTag>(1)), "N");
    EXPECT_EQ(exif_content_get_entry(d->ifd[EXIF_IFD_GPS], EXIF_TAG_ISO_SPEED_RATINGS), nullptr);
    EXPECT_NE(exif_content_get_entry(d->ifd[EXIF_IFD_EXIF], EXIF_TAG_ISO_SPEED_RATINGS), nullptr);
}

TEST(TiffPatch, RefusesHeadersThatAreNotTiffAndSurvivesRandomData) {
    std::vector<std::uint8_t> junk = {'X', 'X', 42, 0, 8, 0, 0, 0};
    EXPECT_FALSE(PatchTiff(junk, {}, {}));
    std::mt19937 random(3);
    const std::vector<TiffEntryValue> values = {
        {TiffIfd::Ifd0, 0x9c9e, 1, 6, {1, 2, 3, 4, 5, 6}},
        {TiffIfd::Exif, 0x9003, 2, 4, {'a', 'b', 'c', 0}},
        {TiffIfd::Gps, 2, 5, 3, std::vector<std::uint8_t>(24, 1)},
        {TiffIfd::Interop, 1, 2, 4, {'R', '9', '8', 0}}};
    for (int trial = 0; trial < 2000; ++trial) {
        std::vector<std::uint8_t> tiff(8 + random() % 200);
        for (auto& b : tiff) b = random() % 4 == 0 ? 0 : random() & 0xFF;
        tiff[0] = tiff[1] = trial % 2 ? 'M' : 'I';
        tiff[2] = trial % 2 ? 0 : 42;
        tiff[3] = trial % 2 ? 42 : 0;
        std::vector<std::uint8_t> thumbnail(trial % 3, 0xAB);
        EXPECT_TRUE(PatchTiff(tiff, values, thumbnail));
    }
}

}  // namespace
