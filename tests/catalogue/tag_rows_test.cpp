// A photo's keyword and subject rows are found again for every delete,
// however they came into the tables, although the deletes skip the photos
// the working connection knows to have none.

#include <sqlite3.h>

#include <functional>

#include "catalogue/catalogue_save.h"
#include "catalogue/catalogue_savepoint.h"
#include "catalogue/keyword_rows.h"
#include "catalogue/library_internals.h"
#include "catalogue/photo_rows.h"
#include "catalogue/sql_query.h"
#include "catalogue_fixture.h"

namespace {

constexpr std::int64_t kId = 7;

void InsertRawTagRows(Library& library, std::int64_t id) {
    CatalogueSession session(library);
    ExecuteStatement(SessionDb(session),
                     "insert into tKeyWord(strKeyword,idPic) values('old'," + std::to_string(id) +
                         ");insert into tSubject(strSubject,idPic) values('old'," +
                         std::to_string(id) + ")");
}

// Some other photo's rows are written, so that the connection's ids are in use.
void UseTheIds(Library& library) {
    PhotoRecord other = RecordOf("/p", "other.jpg");
    SetField(other.strXpKeyword, "x");
    WriteKeywordRows(library, 99, other);
}

std::string TagRows(Library& library, std::int64_t id) {
    CatalogueSession session(library);
    std::string rows;
    const std::string where = " where idPic=" + std::to_string(id);
    ForEachRow(SessionDb(session),
               "select 'k:'||strKeyword from tKeyWord" + where +
                   " union all select 's:'||strSubject from tSubject" + where,
               [&](sqlite3_stmt* row) { rows += ColumnText(row, 0) + ";"; });
    return rows;
}

struct TagRowsCase {
    const char* how;
    std::function<void(Library&)> arrange;
};

const TagRowsCase kCases[] = {
    {"in the file, without a photo row, before any delete",
     [](Library& library) {
         InsertRawTagRows(library, kId);
         ASSERT_EQ(SaveCatalogue(library), 0);
         CloseCatalogue(library);
     }},
    {"inserted by another statement after the ids were in use",
     [](Library& library) {
         UseTheIds(library);
         InsertRawTagRows(library, kId);
     }},
    {"inserted after a rolled-back change that first used the ids",
     [](Library& library) {
         {
             CatalogueSavepoint undone(library);
             UseTheIds(library);
         }
         InsertRawTagRows(library, kId);
     }},
    {"written by WriteKeywordRows",
     [](Library& library) {
         PhotoRecord r = RecordOf("/p", "a.jpg");
         SetField(r.strXpKeyword, "old");
         SetField(r.strXpSubject, "old");
         WriteKeywordRows(library, kId, r);
     }},
};

}  // namespace

TEST_F(CatalogueTest, TagRowsAreReplacedAndDeletedHoweverTheyWereWritten) {
    for (const TagRowsCase& c : kCases) {
        SCOPED_TRACE(c.how);
        ClearCatalogue(library());
        c.arrange(library());
        PhotoRecord r = RecordOf("/p", "a.jpg");
        SetField(r.strXpKeyword, "new");
        WriteKeywordRows(library(), kId, r);
        EXPECT_EQ(TagRows(library(), kId), "k:new;");

        InsertRawTagRows(library(), kId);
        InsertPhotoRow(library(), PhotoRef{kId, false}, r, {}, {});
        DeletePhotoRows(library(), std::nullopt, PhotoRef{kId, false});
        EXPECT_EQ(TagRows(library(), kId), "");
    }
}

TEST_F(CatalogueTest, TheIdsOfTaggedPhotosAreKeptBesideTheFileNeverInIt) {
    UseTheIds(library());
    {
        CatalogueSession session(library());
        EXPECT_EQ(QueryInt64(SessionDb(session),
                             "select count(*) from temp.sqlite_master where name like 'tagged%'"),
                  3)
            << "made once, so that the deletes can skip the photos without rows";
    }
    ASSERT_EQ(SaveCatalogue(library()), 0);
    sqlite3* file = nullptr;
    ASSERT_EQ(sqlite3_open_v2((fresh_.DataFolder() + "/myJpgdb.db").c_str(), &file,
                              SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    EXPECT_EQ(QueryInt64(file, "select count(*) from sqlite_master where name like 'tagged%'"), 0);
    sqlite3_close(file);
}
