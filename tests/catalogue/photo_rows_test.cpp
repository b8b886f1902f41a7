#include <sqlite3.h>

#include <algorithm>
#include <clocale>
#include <fstream>

#include "catalogue/detail_rows.h"
#include "catalogue/keyword_rows.h"
#include "catalogue/library_internals.h"
#include "catalogue/list_entry_row.h"
#include "catalogue/photo_display_source.h"
#include "catalogue/photo_rows.h"
#include "catalogue/sql_query.h"
#include "catalogue/sql_statement.h"
#include "catalogue_fixture.h"

namespace {

const std::vector<std::uint8_t> kThumb = {0xFF, 0xD8, 0x01, 0x02, 0xFF, 0xD9};

std::vector<std::string> Column(Library& library, const std::string& statement) {
    CatalogueSession session(library);
    std::vector<std::string> values;
    ForEachRow(SessionDb(session), statement,
               [&](sqlite3_stmt* row) { values.push_back(ColumnText(row, 0)); });
    return values;
}

}  // namespace

TEST_F(CatalogueTest, InsertStoresTheThumbnailWithATrailingZeroByte) {
    PhotoRecord r = MakeRecord("/photos", "a.jpg");
    ASSERT_EQ(InsertPhotoRow(library(), PhotoRef{11, false}, r, kThumb, {"广东省", "深圳市", ""}),
              InsertResult::Done);
    CatalogueSession session(library());
    ForEachRow(SessionDb(session),
               "select szofthumb,bJpgThumbData,nArea,strArea1 from tJpgMsg where idPic=11",
               [&](sqlite3_stmt* row) {
                   EXPECT_EQ(sqlite3_column_int(row, 0), 7);
                   ASSERT_EQ(sqlite3_column_bytes(row, 1), 7);
                   auto blob = static_cast<const std::uint8_t*>(sqlite3_column_blob(row, 1));
                   EXPECT_EQ(blob[5], 0xD9);
                   EXPECT_EQ(blob[6], 0);
                   EXPECT_EQ(sqlite3_column_int(row, 2), 2);
                   EXPECT_EQ(ColumnText(row, 3), "深圳市");
               });
}

TEST_F(CatalogueTest, InsertOfAnExistingIdIsNotDoneAndEmptyThumbnailStoresNull) {
    PhotoRecord r = MakeRecord("/photos", "a.jpg");
    EXPECT_EQ(InsertPhotoRow(library(), PhotoRef{11, false}, r, {}, {}), InsertResult::Done);
    EXPECT_EQ(InsertPhotoRow(library(), PhotoRef{11, false}, r, kThumb, {}), InsertResult::NotDone);
    EXPECT_EQ(InsertPhotoRow(library(), PhotoRef{11, true}, r, kThumb, {}), InsertResult::Done)
        << "duplicates table";
    EXPECT_EQ(Column(library(), "select szofthumb from tJpgMsg where idPic=11"),
              std::vector<std::string>{"1"});
    EXPECT_EQ(Column(library(), "select count(*) from tJpgMsg where bJpgThumbData is null"),
              std::vector<std::string>{"1"});
}

TEST_F(CatalogueTest, NamesWithApostrophesAreStoredAndFoundAgain) {
    PhotoRecord r = MakeRecord("/photos/Tom's trip", "it's me.jpg");
    SetField(r.strXpKeyword, "O'Brien;beach");
    ASSERT_EQ(InsertPhotoRow(library(), PhotoRef{5, false}, r, kThumb, {"a'b", "", ""}),
              InsertResult::Done);
    WriteKeywordRows(library(), 5, r);
    EXPECT_EQ(PhotoName(library(), 5).value_or(""), "it's me.jpg");
    EXPECT_EQ(PhotoFullPath(library(), PhotoRef{5, false}).value_or(""),
              "/photos/Tom's trip/it's me.jpg");
    EXPECT_EQ(Column(library(), "select strKeyword from tKeyWord where idPic=5"),
              (std::vector<std::string>{"O'Brien", "beach"}));
    PhotoRecord loaded;
    ASSERT_TRUE(LoadPhotoRecord(library(), PhotoRef{5, false}, loaded));
    EXPECT_STREQ(loaded.strPath, "/photos/Tom's trip");
}

TEST_F(CatalogueTest, KeywordsAreSplitAtSemicolonsSkippingEmptyOnes) {
    PhotoRecord r = MakeRecord("/p", "k.jpg");
    SetField(r.strXpKeyword, "sea;beach;;sun");
    SetField(r.strXpSubject, "holiday");
    WriteKeywordRows(library(), 3, r);
    EXPECT_EQ(Column(library(), "select strKeyword from tKeyWord where idPic=3 order by rowid"),
              (std::vector<std::string>{"sea", "beach", "sun"}));
    EXPECT_EQ(Column(library(), "select strSubject from tSubject where idPic=3"),
              std::vector<std::string>{"holiday"});

    SetField(r.strXpSubject, "");
    SetField(r.strXpKeyword, " sea ;sea");
    WriteKeywordRows(library(), 3, r);
    EXPECT_TRUE(Column(library(), "select strSubject from tSubject where idPic=3").empty())
        << "an empty subject removes the old row";
    EXPECT_EQ(Column(library(), "select strKeyword from tKeyWord where idPic=3"),
              (std::vector<std::string>{"sea"}))
        << "blanks around a keyword are trimmed and a repeat gives no second row";
    WriteKeywordRows(library(), 4, MakeRecord("/p", "none.jpg"));
    SetField(r.strXpKeyword, "O'Brien;sea");
    WriteKeywordRows(library(), 5, r);
    std::vector<std::string> distinct = DistinctKeywords(library());
    std::sort(distinct.begin(), distinct.end());
    EXPECT_EQ(distinct, (std::vector<std::string>{"O'Brien", "sea"}))
        << "the picker offers each keyword once";
}

TEST_F(CatalogueTest, PhotoCountKeepsItsFirstNonZeroValue) {
    EXPECT_EQ(PhotoCount(library()), 0);
    InsertPhotoRow(library(), PhotoRef{1, false}, MakeRecord("/p", "1.jpg"), kThumb, {});
    EXPECT_EQ(PhotoCount(library()), 1) << "zero is queried again";
    InsertPhotoRow(library(), PhotoRef{2, false}, MakeRecord("/p", "2.jpg"), kThumb, {});
    EXPECT_EQ(PhotoCount(library()), 1) << "stale by design";
    EXPECT_EQ(CountPhotosNow(library()), 2);
}

TEST_F(CatalogueTest, DeletingAPhotoRemovesItsKeywordAndSubjectRows) {
    PhotoRecord r = MakeRecord("/p", "d.jpg");
    SetField(r.strXpKeyword, "a;b");
    SetField(r.strXpSubject, "s");
    InsertPhotoRow(library(), PhotoRef{9, false}, r, kThumb, {});
    WriteKeywordRows(library(), 9, r);
    InsertPhotoRow(library(), PhotoRef{9, true}, r, kThumb, {});
    DeletePhotoRows(library(), std::nullopt, PhotoRef{9, false});
    EXPECT_FALSE(PhotoIdExists(library(), 9));
    EXPECT_TRUE(Column(library(), "select idPic from tKeyWord").empty());
    EXPECT_TRUE(Column(library(), "select idPic from tSubject").empty());
    EXPECT_EQ(Column(library(), "select idPic from tReJpgMsg"), std::vector<std::string>{"9"})
        << "duplicate stays";
    DeletePhotoRows(library(), std::string("/p"), PhotoRef{0, true});
    EXPECT_TRUE(Column(library(), "select idPic from tReJpgMsg").empty());
}

TEST_F(CatalogueTest, CopyToDuplicatesNeedsTheMainPhotosFile) {
    std::string file = Root() + "/main.jpg";
    PhotoRecord r = MakeRecord(Root(), "main.jpg");
    InsertPhotoRow(library(), PhotoRef{21, false}, r, kThumb, {"省", "市", "区"});
    EXPECT_FALSE(CopyPhotoToDuplicates(library(), 21)) << "file missing: nothing happens";
    EXPECT_TRUE(Column(library(), "select idPic from tReJpgMsg").empty());
    EXPECT_FALSE(CopyPhotoToDuplicates(library(), 22)) << "no main row";

    std::ofstream(file) << "x";
    InsertPhotoRow(library(), PhotoRef{21, true}, MakeRecord("/elsewhere", "old.jpg"), {}, {});
    ASSERT_TRUE(CopyPhotoToDuplicates(library(), 21));
    EXPECT_EQ(Column(library(),
                     "select strFullPath||'|'||szofthumb||'|'||length(bJpgThumbData)||'|'||strArea2"
                     " from tReJpgMsg where idPic=21"),
              std::vector<std::string>{file + "|7|7|区"});
    EXPECT_TRUE(PhotoIdExists(library(), 21)) << "the main row stays";
}

TEST_F(CatalogueTest, LoadPhotoRecordFillsTheEditableFieldsOrLeavesTheRecordAlone) {
    PhotoRecord r = MakeRecord("/p", "l.jpg");
    r.strXpComent = "a comment";
    r.fExposureTime = 0.008f;
    r.nISOequivalent = 200;
    InsertPhotoRow(library(), PhotoRef{4, false}, r, kThumb, {});
    PhotoRecord loaded;
    ASSERT_TRUE(LoadPhotoRecord(library(), PhotoRef{4, false}, loaded));
    EXPECT_EQ(loaded.strXpComent, "a comment");
    EXPECT_FLOAT_EQ(loaded.fExposureTime, 0.008f);
    EXPECT_FLOAT_EQ(loaded.fGPSLatitude, 39.9f);
    EXPECT_EQ(loaded.nISOequivalent, 200);
    EXPECT_EQ(loaded.dwDateTime, 1337000000);

    PhotoRecord untouched = MakeRecord("/q", "u.jpg");
    EXPECT_FALSE(LoadPhotoRecord(library(), PhotoRef{4, true}, untouched));
    EXPECT_STREQ(untouched.strName, "u.jpg");
}

TEST_F(CatalogueTest, RegionAndPositionUpdatesReachTheRow) {
    InsertPhotoRow(library(), PhotoRef{8, false}, MakeRecord("/p", "r.jpg"), kThumb, {});
    ASSERT_TRUE(UpdatePhotoRegion(library(), 8, {"浙江省", "杭州市", "西湖区"}));
    EXPECT_EQ(Column(library(), "select nArea||strArea0||strArea2 from tJpgMsg"),
              std::vector<std::string>{"3浙江省西湖区"});
    ASSERT_TRUE(UpdatePhotoPosition(library(), 8, -33.5f, 151.25f));
    double lat = 0, lon = 0;
    EXPECT_TRUE(PhotoPosition(library(), PhotoRef{8, false}, lat, lon));
    EXPECT_DOUBLE_EQ(lat, -33.5);
    EXPECT_DOUBLE_EQ(lon, 151.25);
    EXPECT_EQ(PhotoShotTime(library(), PhotoRef{8, false}), 1337000000);
}

// The window runs in the user's locale; a German one prints 2.5 as "2,5".
TEST_F(CatalogueTest, RowsWrittenAndReadUnderADecimalCommaLocaleAreThoseOfTheCLocale) {
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not generated (tools/setup.sh makes it)";
    PhotoRecord r = MakeRecord("/p", "de.jpg");
    r.fSize = 2.5f;
    r.fExposureTime = 0.008f;
    r.fApertureFNumber = 2.8f;
    SetField(r.strXpKeyword, "海;山");
    const InsertResult inserted = InsertPhotoRow(library(), PhotoRef{5, false}, r, kThumb, {});
    WriteKeywordRows(library(), 5, r);
    const bool moved = UpdatePhotoPosition(library(), 5, -33.5f, 151.25f);
    PhotoRecord loaded;
    const bool loadedOk = LoadPhotoRecord(library(), PhotoRef{5, false}, loaded);
    const std::string statement = FormatStatement("%f %%f %d", 2.5f, 3);
    std::setlocale(LC_ALL, "C");

    EXPECT_EQ(inserted, InsertResult::Done);
    EXPECT_TRUE(moved);
    EXPECT_EQ(statement, "2.500000 %f 3");
    EXPECT_EQ(Column(library(),
                     "select fSize||'|'||fExposureTime||'|'||fApertureFNumber||'|'||fGPSLatitude||"
                     "'|'||fGPSLongitude from tJpgMsg"),
              std::vector<std::string>{"2.5|0.008|2.8|-33.5|151.25"});
    EXPECT_EQ(Column(library(), "select fGPSLatitude||'|'||fGPSLongitude from tKeyWord"),
              (std::vector<std::string>{"39.900002|116.400002", "39.900002|116.400002"}));
    ASSERT_TRUE(loadedOk);
    EXPECT_FLOAT_EQ(loaded.fExposureTime, 0.008f);
    EXPECT_FLOAT_EQ(loaded.fSize, 2.5f);
    EXPECT_FLOAT_EQ(loaded.fGPSLatitude, -33.5f);
}

// A photo and its duplicate share the id: every one-photo reader must read
// the row of the table its reference names, and a delete remove that row only.
TEST_F(CatalogueTest, EachOnePhotoOperationUsesTheTableItsReferenceNames) {
    struct Copy {
        PhotoRef ref;
        std::string folder;
        std::int32_t shotTime;
        float latitude;
        RegionNames regions;
    };
    const Copy copies[] = {{{7, false}, "/main", 1000, 10, {"甲", "", ""}},
                           {{7, true}, "/copy", 2000, 20, {"乙", "", ""}}};
    for (const Copy& c : copies) {
        PhotoRecord r = MakeRecord(c.folder, "a.jpg");
        r.dwDateTime = c.shotTime;
        r.fGPSLatitude = c.latitude;
        ASSERT_EQ(InsertPhotoRow(library(), c.ref, r, kThumb, c.regions), InsertResult::Done);
    }
    for (const Copy& c : copies) {
        SCOPED_TRACE(c.folder);
        const std::string path = c.folder + "/a.jpg";
        EXPECT_EQ(PhotoFullPath(library(), c.ref), path);
        EXPECT_EQ(PhotoShotTime(library(), c.ref), c.shotTime);
        double latitude = 0, longitude = 0;
        EXPECT_TRUE(PhotoPosition(library(), c.ref, latitude, longitude));
        EXPECT_NEAR(latitude, c.latitude, 1e-4);
        EXPECT_EQ(PhotoRegionNames(library(), c.ref), c.regions);
        PhotoRecord loaded;
        ASSERT_TRUE(LoadPhotoRecord(library(), c.ref, loaded));
        EXPECT_STREQ(loaded.strFullPath, path.c_str());
        EXPECT_EQ(ReadDetailRow(library(), c.ref).value_or(DetailRow{}).folder, c.folder);
        EXPECT_EQ(ReadListEntryRow(library(), c.ref).value_or(ListEntryRow{}).fullPath, path);
        EXPECT_EQ(LoadPhotoDisplaySource(library(), c.ref).value_or(PhotoDisplaySource{}).fullPath,
                  path);
    }
    DeletePhotoRows(library(), std::nullopt, copies[1].ref);
    EXPECT_FALSE(PhotoFullPath(library(), copies[1].ref));
    EXPECT_EQ(PhotoFullPath(library(), copies[0].ref), "/main/a.jpg");
}
