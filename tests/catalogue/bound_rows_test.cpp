// The photo, keyword and subject rows written through bound statements hold
// exactly what the statements with their values formatted into the text
// ("%d", "%lld", "'%s'" with doubled quotes, "%f") stored, value by value and
// type by type.

#include <sqlite3.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "catalogue/cached_statement.h"
#include "catalogue/catalogue_schema.h"
#include "catalogue/keyword_rows.h"
#include "catalogue/library_internals.h"
#include "catalogue/photo_rows.h"
#include "catalogue/sql_query.h"
#include "catalogue/sql_statement.h"
#include "catalogue_fixture.h"
#include "record/keyword_list.h"

namespace {

// The statements as formatted text, the form the rows must keep.
constexpr const char* kFormattedPhoto =
    "insert into %s(idPic,bJpgThumbData,nbKeyword,strFullPath,strXpTitle,strXpComent,"
    "szOfComent,strXpAuthor,strXpKeyword,strXpSubject,strName,strPath,fSize,dwCTime,dwMTime,"
    "dwDateTime,fGPSLatitude,fGPSLongitude,nGPSAlititude,strMake,strModel,nWidth,nHeight,"
    "nFocalLength,fExposureTime,fApertureFNumber,nISOequivalent,nFocalplaneXRes,nFocalplaneYRes,"
    "szofthumb,strOrientation,nArea,strArea0,strArea1,strArea2) values(%lld,?,%d,'%s','%s','%s',"
    "%d,'%s','%s','%s','%s','%s',%f,%d,%d,%d,%f,%f,%d,'%s','%s',%d,%d,%d,%f,%f,%d,%d,%d,%d,'%s',%d,"
    "'%s','%s','%s')";
constexpr const char* kFormattedSubject =
    "insert into tSubject(strSubject,strPath,idPic,dwDateTime,fGPSLatitude,fGPSLongitude,"
    "strModel,strName) values('%s','%s',%lld,%d,%f,%f,'%s','%s')";
constexpr const char* kFormattedKeyword =
    "insert into tKeyWord(strKeyword,idPic,dwDateTime,fGPSLatitude,fGPSLongitude,strModel,"
    "strName,strPath) values('%s',%lld,%d,%f,%f,'%s','%s','%s')";

struct Photo {
    std::int64_t id;
    PhotoRecord record;
    std::vector<std::uint8_t> thumbnail;
    RegionNames regions;
};

std::vector<Photo> TrickyPhotos() {
    constexpr float kMaxFloat = std::numeric_limits<float>::max();
    constexpr float kTiny = std::numeric_limits<float>::denorm_min();
    constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();
    constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();
    std::vector<Photo> photos;
    auto add = [&](std::int64_t id, const char* folder, const char* name, auto&& edit,
                   RegionNames regions = {}) {
        Photo photo{id, RecordOf(folder, name), {0xFF, 0xD8, 0x27, 0x00, 0xFF, 0xD9}, regions};
        edit(photo.record);
        photos.push_back(std::move(photo));
    };
    add(1, "/照片/Tom's trip", "it's 'quoted''.jpg",
        [](PhotoRecord& r) {
            SetField(r.strXpTitle, "标题 'a' \"b\" %s %f \\");
            r.strXpComent = "评论; it''s";
            r.szOfComent = 12;
            SetField(r.strXpKeyword, "O'Brien;家人;;hdr");
            r.nbKeyword = 1;
            SetField(r.strXpSubject, "主题'");
            SetField(r.strMake, "NIKON CORPORATION");
            SetField(r.strModel, "NIKON D5'00");
            SetField(r.strOrientation, "Top-left");
            r.fGPSLatitude = 39.9042f;
            r.fGPSLongitude = 116.4074f;
            r.fExposureTime = 1.0f / 125;
            r.fApertureFNumber = 2.8f;
            r.fSize = 3.1415927f;
        },
        {"北京市", "北京'市", "东城区"});
    add(-2, "/p", "zero.jpg", [](PhotoRecord& r) {
        r.fGPSLatitude = -0.0f;
        r.fGPSLongitude = -1e-9f;  // prints as "-0.000000"
        r.nGPSAlititude = -412;
        r.fSize = 0;
        SetField(r.strXpSubject, "");
    });
    add(std::numeric_limits<std::int64_t>::min(), "/p", "extremes.jpg", [&](PhotoRecord& r) {
        r.fSize = kMaxFloat;
        r.fGPSLatitude = -kMaxFloat;
        r.fGPSLongitude = kTiny;
        r.fExposureTime = 0.0000005f;  // half a unit of the sixth decimal
        r.fApertureFNumber = 0.0000015f;
        r.dwCTime = kMin32;
        r.dwMTime = kMax32;
        r.dwDateTime = -1;
        r.nWidth = kMax32;
        r.nHeight = kMin32;
        r.nISOequivalent = -7;
        r.szOfComent = -1;
        SetField(r.strXpKeyword, "a");
    });
    add(std::numeric_limits<std::int64_t>::max(), "", "", [](PhotoRecord& r) {
        r.strXpComent = std::string("cut\0after", 9);
        r.fGPSLatitude = -33.8688f;
        r.fGPSLongitude = -151.2093f;
        r.fExposureTime = 30;
        r.fApertureFNumber = 22.0f;
    });
    photos.back().thumbnail.clear();
    return photos;
}

void CreateSchema(sqlite3* db) {
    for (const TableSchema& table : CatalogueTables())
        for (const SchemaStatement& statement : table.statements)
            ASSERT_EQ(ExecuteStatement(db, statement.text), SQLITE_OK) << statement.text;
}

void InsertFormatted(sqlite3* db, const char* table, const Photo& p) {
    const PhotoRecord& r = p.record;
    int nArea = 0;
    for (const std::string& name : p.regions) nArea += name.empty() ? 0 : 1;
    std::vector<std::uint8_t> blob = p.thumbnail;
    if (!blob.empty()) blob.push_back(0);
    const std::string statement = FormatStatement(
        kFormattedPhoto, table, p.id, r.nbKeyword, r.strFullPath, r.strXpTitle, r.strXpComent,
        r.szOfComent, r.strXpAuthor, r.strXpKeyword, r.strXpSubject, r.strName, r.strPath, r.fSize,
        r.dwCTime, r.dwMTime, r.dwDateTime, r.fGPSLatitude, r.fGPSLongitude, r.nGPSAlititude,
        r.strMake, r.strModel, r.nWidth, r.nHeight, r.nFocalLength, r.fExposureTime,
        r.fApertureFNumber, r.nISOequivalent, r.nFocalplaneXRes, r.nFocalplaneYRes,
        static_cast<int>(p.thumbnail.size()) + 1, r.strOrientation, nArea, p.regions[0],
        p.regions[1], p.regions[2]);
    sqlite3_stmt* insert = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, statement.c_str(), -1, &insert, nullptr), SQLITE_OK);
    if (!blob.empty())
        sqlite3_bind_blob(insert, 1, blob.data(), static_cast<int>(blob.size()), SQLITE_STATIC);
    EXPECT_EQ(sqlite3_step(insert), SQLITE_DONE);
    sqlite3_finalize(insert);
}

void WriteFormattedKeywordRows(sqlite3* db, const Photo& p) {
    const PhotoRecord& r = p.record;
    if (r.strXpSubject[0] != '\0')
        ExecuteStatement(
            db, FormatStatement(kFormattedSubject, r.strXpSubject, r.strPath, p.id, r.dwDateTime,
                                r.fGPSLatitude, r.fGPSLongitude, r.strModel, r.strName));
    for (const std::string& keyword : SplitKeywords(r.strXpKeyword))
        ExecuteStatement(
            db, FormatStatement(kFormattedKeyword, keyword, p.id, r.dwDateTime, r.fGPSLatitude,
                                r.fGPSLongitude, r.strModel, r.strName, r.strPath));
}

// Every value of a table as "type:bytes", rows in their stored order; reals
// by their bits, so that -0 and the last binary digit count.
std::vector<std::string> StoredValues(sqlite3* db, const std::string& table) {
    std::vector<std::string> values;
    ForEachRow(db, "select * from " + table + " order by rowid", [&](sqlite3_stmt* row) {
        for (int c = 0; c < sqlite3_column_count(row); ++c) {
            std::string value = std::string(sqlite3_column_name(row, c)) + "=";
            switch (sqlite3_column_type(row, c)) {
                case SQLITE_INTEGER:
                    value += "i:" + std::to_string(sqlite3_column_int64(row, c));
                    break;
                case SQLITE_FLOAT:
                    value +=
                        "r:" +
                        std::to_string(std::bit_cast<std::uint64_t>(sqlite3_column_double(row, c)));
                    break;
                case SQLITE_NULL:
                    value += "null";
                    break;
                default: {
                    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(row, c));
                    value += (sqlite3_column_type(row, c) == SQLITE_TEXT ? "t:" : "b:") +
                             std::string(bytes ? bytes : "",
                                         static_cast<std::size_t>(sqlite3_column_bytes(row, c)));
                }
            }
            values.push_back(value);
        }
    });
    return values;
}

}  // namespace

TEST_F(CatalogueTest, BoundRowsHoldWhatTheFormattedStatementsStored) {
    sqlite3* formatted = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &formatted), SQLITE_OK);
    CreateSchema(formatted);
    for (const Photo& photo : TrickyPhotos()) {
        ASSERT_EQ(InsertPhotoRow(library(), PhotoRef{photo.id, false}, photo.record,
                                 photo.thumbnail, photo.regions),
                  InsertResult::Done);
        ASSERT_EQ(InsertPhotoRow(library(), PhotoRef{photo.id, true}, photo.record, photo.thumbnail,
                                 photo.regions),
                  InsertResult::Done);
        WriteKeywordRows(library(), photo.id, photo.record);
        InsertFormatted(formatted, "tJpgMsg", photo);
        InsertFormatted(formatted, "tReJpgMsg", photo);
        WriteFormattedKeywordRows(formatted, photo);
    }
    CatalogueSession session(library());
    for (const char* table : {"tJpgMsg", "tReJpgMsg", "tKeyWord", "tSubject"}) {
        const auto expected = StoredValues(formatted, table);
        EXPECT_FALSE(expected.empty()) << table;
        EXPECT_EQ(StoredValues(SessionDb(session), table), expected) << table;
    }
    sqlite3_close(formatted);
}

// The float columns get the number a "%f" literal gave, for floats of every
// magnitude and sign (SQLite's own reading of six decimals, to the last bit).
TEST_F(CatalogueTest, BoundFloatsStoreTheNumberOfTheirSixDecimalLiteral) {
    CatalogueSession session(library());
    ASSERT_TRUE(session.ok());
    std::mt19937 random(20261210);
    std::vector<float> values = {0.5e-6f, 1.5e-6f, 2.5e-6f, -0.5e-6f, 0.1f, 1e7f, 16777217.0f};
    for (int i = 0; i < 20000; ++i) {
        float value = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        // Mostly the magnitudes photos have; some of every exponent.
        if (i % 4 != 0)
            value = std::ldexp(static_cast<float>(random()) / 4294967296.0f, i % 40 - 20);
        if (std::isfinite(value)) values.push_back(i % 2 ? -value : value);
    }
    ExecuteStatement(SessionDb(session), "begin transaction");
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto id = static_cast<std::int64_t>(i);
        ASSERT_EQ(ExecuteStatement(SessionDb(session),
                                   FormatStatement("insert into tKeyWord(strKeyword,idPic,"
                                                   "fGPSLatitude) values('formatted',%lld,%f)",
                                                   id, values[i])),
                  SQLITE_OK);
        ASSERT_TRUE(CachedStatement(session,
                                    "insert into tKeyWord(strKeyword,idPic,fGPSLatitude) "
                                    "values('bound',?,?)")
                        .Bind(id, values[i])
                        .Run());
    }
    ExecuteStatement(SessionDb(session), "commit transaction");
    auto stored = [&](const char* kind) {
        std::vector<std::string> numbers;
        ForEachRow(SessionDb(session),
                   std::string("select typeof(fGPSLatitude),fGPSLatitude from tKeyWord where "
                               "strKeyword='") +
                       kind + "' order by rowid",
                   [&](sqlite3_stmt* row) {
                       numbers.push_back(ColumnText(row, 0) + ":" +
                                         std::to_string(std::bit_cast<std::uint64_t>(
                                             sqlite3_column_double(row, 1))));
                   });
        return numbers;
    };
    const auto formatted = stored("formatted");
    EXPECT_EQ(formatted.size(), values.size());
    EXPECT_EQ(stored("bound"), formatted);
}

TEST_F(CatalogueTest, ANotFiniteFloatFailsTheInsertAsItsFormattedStatementDid) {
    for (float bad : {std::numeric_limits<float>::infinity(), std::nanf("")}) {
        PhotoRecord r = MakeRecord("/p", "bad.jpg");
        r.fExposureTime = bad;
        EXPECT_EQ(InsertPhotoRow(library(), PhotoRef{3, false}, r, {}, {}), InsertResult::Failed);
    }
    EXPECT_FALSE(PhotoIdExists(library(), 3));
}

// A statement handed out while a caller still steps through it (an operation
// nested in another) is a second copy; the first keeps its place.
TEST_F(CatalogueTest, ANestedUseOfACachedStatementLeavesTheOuterOneWhereItWas) {
    for (std::int64_t id : {1, 2}) {
        ASSERT_EQ(InsertPhotoRow(library(), PhotoRef{id, false},
                                 MakeRecord("/p", std::to_string(id) + ".jpg"), {}, {}),
                  InsertResult::Done);
    }
    CatalogueSession session(library());
    constexpr const char* kIds = "select idPic from tJpgMsg where idPic >= ? order by idPic";
    CachedStatement outer(session, kIds);
    ASSERT_EQ(outer.Bind(1).Step(), SQLITE_ROW);
    {
        CachedStatement inner(session, kIds);
        ASSERT_EQ(inner.Bind(2).Step(), SQLITE_ROW);
        EXPECT_EQ(sqlite3_column_int64(inner.get(), 0), 2);
    }
    EXPECT_EQ(sqlite3_column_int64(outer.get(), 0), 1);
    ASSERT_EQ(outer.Step(), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int64(outer.get(), 0), 2);
}

// The cached statements go with the connection: a catalogue closed and
// opened again (as after a rebuild) is written through statements of its own.
TEST_F(CatalogueTest, CachedStatementsFollowTheConnectionAcrossAReopen) {
    ASSERT_EQ(InsertPhotoRow(library(), PhotoRef{1, false}, MakeRecord("/p", "1.jpg"), {}, {}),
              InsertResult::Done);
    CloseCatalogue(library());
    ASSERT_EQ(InsertPhotoRow(library(), PhotoRef{2, false}, MakeRecord("/p", "2.jpg"), {}, {}),
              InsertResult::Done);
    EXPECT_TRUE(PhotoIdExists(library(), 2));
    EXPECT_FALSE(PhotoIdExists(library(), 1))
        << "the unsaved first insert went with the old connection";
    EXPECT_EQ(PhotoFullPath(library(), PhotoRef{2, false}), MakeRecord("/p", "2.jpg").strFullPath);
}
