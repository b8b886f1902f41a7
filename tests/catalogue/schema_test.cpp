#include <sqlite3.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "catalogue/catalogue_save.h"
#include "catalogue/library_internals.h"
#include "catalogue/photo_id.h"
#include "catalogue/photo_rows.h"
#include "catalogue_fixture.h"
#include "database_file.h"

namespace {

std::vector<std::string> ReadGolden() {
    std::ifstream in(SCHEMA_GOLDEN_FILE);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        // SQLite stores the leading keywords of a CREATE statement upper-cased.
        if (line.rfind("create table", 0) == 0) line.replace(0, 12, "CREATE TABLE");
        if (line.rfind("create index", 0) == 0) line.replace(0, 12, "CREATE INDEX");
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

TEST_F(CatalogueTest, FirstOpenCreatesTheDataFolderAndTheExactSchema) {
    ASSERT_TRUE(OpenCatalogue(library()));
    EXPECT_TRUE(std::filesystem::is_directory(Root() + "/data"));
    EXPECT_EQ(QueryFileColumn(CatalogueFilePath(), "select sql from sqlite_master order by rowid"),
              ReadGolden());
}

TEST_F(CatalogueTest, SecondOpenFindsTheTablesAndCreatesNothing) {
    ASSERT_TRUE(OpenCatalogue(library()));
    CloseCatalogue(library());
    ASSERT_TRUE(OpenCatalogue(library()));
    EXPECT_EQ(
        QueryFileColumn(CatalogueFilePath(), "select sql from sqlite_master order by rowid").size(),
        ReadGolden().size());
}

TEST_F(CatalogueTest, FileLackingSomeTablesGetsExactlyTheMissingOnesAndKeepsRows) {
    EnsureFolder(Root() + "/data");
    sqlite3* db = nullptr;
    sqlite3_open(CatalogueFilePath().c_str(), &db);
    ASSERT_TRUE(EnsureTable(db, "tJpgMsg"));
    sqlite3_exec(db, "insert into tJpgMsg(idPic,strName) values(7,'kept.jpg')", nullptr, nullptr,
                 nullptr);
    sqlite3_close(db);

    ASSERT_TRUE(OpenCatalogue(library()));
    EXPECT_EQ(QueryFileColumn(CatalogueFilePath(), "select sql from sqlite_master order by rowid"),
              ReadGolden());
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 1);
    EXPECT_TRUE(PhotoIdExists(library(), 7)) << "the working database is loaded from the file";
}

TEST_F(CatalogueTest, FileThatIsNotADatabaseFailsToOpenAndIsLeftAlone) {
    EnsureFolder(Root() + "/data");
    { std::ofstream(CatalogueFilePath()) << "not a database, but the user's file"; }
    testing::internal::CaptureStdout();
    EXPECT_FALSE(OpenCatalogue(library()));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "open database error!\n");
    EXPECT_FALSE(PhotoIdExists(library(), 1)) << "operations fail quietly";
    std::ifstream in(CatalogueFilePath());
    std::stringstream content;
    content << in.rdbuf();
    EXPECT_EQ(content.str(), "not a database, but the user's file");
}

TEST_F(CatalogueTest, UnopenableCatalogueReportsOpenDatabaseError) {
    EnsureFolder(CatalogueFilePath());  // a folder where the file should be
    testing::internal::CaptureStdout();
    EXPECT_FALSE(OpenCatalogue(library()));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "open database error!\n");
}

TEST(APhotoId, MatchesTheLeadingDigestBytesReadLittleEndian) {
    // MD5("") = d41d8cd98f00b204e9800998ecf8427e
    EXPECT_EQ(ComputePhotoId(nullptr, 0), 0x04b2008fd98c1dd4LL);
    const std::uint8_t abc[] = {'a', 'b', 'c'};
    // MD5("abc") = 900150983cd24fb0...: byte 7 is 0xb0, so the top bit is cleared.
    EXPECT_EQ(ComputePhotoId(abc, 3), 0x304fd23c98500190LL);
    EXPECT_GE(ComputePhotoId(abc, 3), 0);
}

TEST(APhotoId, IsTheSameForByteIdenticalThumbnails) {
    std::vector<std::uint8_t> a(5000, 0x5a), b(5000, 0x5a);
    EXPECT_EQ(ComputePhotoId(a.data(), a.size()), ComputePhotoId(b.data(), b.size()));
    b[4999] = 0x5b;
    EXPECT_NE(ComputePhotoId(a.data(), a.size()), ComputePhotoId(b.data(), b.size()));
}
