// Catalogue files the catalogue cannot use are reported and never written;
// setting one aside lets a new catalogue start beside it.

#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "catalogue/catalogue_file_check.h"
#include "catalogue/catalogue_save.h"
#include "catalogue/catalogue_schema.h"
#include "catalogue/photo_rows.h"
#include "catalogue_fixture.h"
#include "database_file.h"

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A database at path made by the statements (one SQLite connection).
void MakeDatabase(const std::string& path, const std::vector<std::string>& statements) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    for (const std::string& statement : statements)
        ASSERT_EQ(sqlite3_exec(db, statement.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
            << statement;
    sqlite3_close(db);
}

// The full schema with one statement replaced.
std::vector<std::string> SchemaWith(const std::string& table, const std::string& replacement) {
    std::vector<std::string> statements;
    for (const TableSchema& schema : CatalogueTables())
        statements.push_back(schema.name == table ? replacement : schema.statements.front().text);
    return statements;
}

// The bytes of a sound saved catalogue with one photo; the catalogue is
// closed afterwards.
std::string SoundCatalogueBytes(Library& library) {
    InsertPhotoRow(library, PhotoRef{1, false}, RecordOf("/p", "a.jpg"), {}, {});
    EXPECT_EQ(SaveCatalogue(library), 0);
    CloseCatalogue(library);
    return ReadBytes(CatalogueFilePath());
}

using HostileCatalogueTest = CatalogueTest;

struct HostileCase {
    const char* name;
    CatalogueFileState expected;
    std::function<void(const std::string& path)> make;
};

TEST_F(HostileCatalogueTest, UnusableFilesAreReportedAndLeftUntouched) {
    const HostileCase cases[] = {
        {"text file", CatalogueFileState::NotADatabase,
         [](const std::string& path) { WriteBytes(path, "photo list\nIMG_0001.JPG\n"); }},
        {"cut inside the header", CatalogueFileState::Truncated,
         [](const std::string& path) { WriteBytes(path, std::string("SQLite format", 13)); }},
        {"cut inside a page", CatalogueFileState::Truncated,
         [this](const std::string& path) {
             const std::string bytes = SoundCatalogueBytes(library());
             WriteBytes(path, bytes.substr(0, bytes.size() / 2 + 17));
         }},
        {"cut at a page boundary", CatalogueFileState::Truncated,
         [this](const std::string& path) {
             const std::string bytes = SoundCatalogueBytes(library());
             // The header's page size: two big-endian bytes, 1 standing for 65536.
             std::size_t pageSize =
                 std::size_t(std::uint8_t(bytes[16])) << 8 | std::uint8_t(bytes[17]);
             if (pageSize == 1) pageSize = 65536;
             ASSERT_GE(bytes.size() / pageSize, 2u);
             WriteBytes(path, bytes.substr(0, bytes.size() / pageSize / 2 * pageSize));
         }},
        {"schema page overwritten", CatalogueFileState::Damaged,
         [this](const std::string& path) {
             std::string bytes = SoundCatalogueBytes(library());
             std::fill(bytes.begin() + 100, bytes.begin() + 8000, '\xA5');
             WriteBytes(path, bytes);
         }},
        {"missing columns", CatalogueFileState::WrongTables,
         [this](const std::string& path) {
             MakeDatabase(path, SchemaWith("tJpgMsg",
                                           "create table tJpgMsg(idPic integer "
                                           "primary key, strFullPath nvarchar(356))"));
         }},
        {"wrongly typed column", CatalogueFileState::WrongTables,
         [this](const std::string& path) {
             MakeDatabase(path, SchemaWith("tFolder",
                                           "create table tFolder(strFolderPath "
                                           "nvarchar(256) ,ModifyTime text)"));
         }},
        {"view in place of a table", CatalogueFileState::WrongTables,
         [this](const std::string& path) {
             MakeDatabase(path, SchemaWith("tDelTable", "create view tDelTable as select 1"));
         }},
    };
    for (const HostileCase& c : cases) {
        SCOPED_TRACE(c.name);
        CloseCatalogue(library());
        std::filesystem::remove_all(DataFolder());
        std::filesystem::create_directories(DataFolder());
        c.make(CatalogueFilePath());
        const std::string before = ReadBytes(CatalogueFilePath());

        EXPECT_EQ(CheckCatalogueFile(CatalogueFilePath()), c.expected);
        EXPECT_FALSE(OpenCatalogue(library()));
        EXPECT_EQ(CatalogueOpenState(library()), c.expected);
        EXPECT_TRUE(IsDamagedState(CatalogueOpenState(library())));
        EXPECT_NE(SaveCatalogue(library()), 0);
        EXPECT_FALSE(PhotoIdExists(library(), 1));
        EXPECT_EQ(ReadBytes(CatalogueFilePath()), before) << "the file was written";
    }
}

TEST_F(HostileCatalogueTest, MissingEmptyAndSoundFilesOpen) {
    EXPECT_EQ(CheckCatalogueFile(CatalogueFilePath()), CatalogueFileState::Usable);
    const std::string bytes = SoundCatalogueBytes(library());
    EXPECT_EQ(CheckCatalogueFile(CatalogueFilePath()), CatalogueFileState::Usable);
    ASSERT_TRUE(OpenCatalogue(library()));
    EXPECT_TRUE(PhotoIdExists(library(), 1));
    CloseCatalogue(library());
    WriteBytes(CatalogueFilePath(), "");
    EXPECT_TRUE(OpenCatalogue(library()));
    EXPECT_EQ(CatalogueOpenState(library()), CatalogueFileState::Usable);
}

TEST_F(HostileCatalogueTest, SettingTheFileAsideStartsANewCatalogue) {
    EnsureFolder(DataFolder());
    WriteBytes(CatalogueFilePath(), "not a catalogue");
    WriteBytes(CatalogueFilePath() + "-journal", "journal of the old file");
    ASSERT_FALSE(OpenCatalogue(library()));

    const std::time_t when = 1765308600;  // 2025-12-10 03:30:00 in Shanghai
    const auto aside = SetCatalogueFileAside(when);
    ASSERT_TRUE(aside);
    EXPECT_EQ(*aside, CatalogueFilePath() + ".damaged-20251210-033000");
    EXPECT_EQ(ReadBytes(*aside), "not a catalogue");
    EXPECT_TRUE(std::filesystem::exists(*aside + "-journal"));
    EXPECT_FALSE(std::filesystem::exists(CatalogueFilePath() + "-journal"));

    ASSERT_TRUE(OpenCatalogue(library()));
    InsertPhotoRow(library(), PhotoRef{1, false}, MakeRecord("/p", "a.jpg"), {}, {});
    EXPECT_EQ(SaveCatalogue(library()), 0);
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 1);
}

}  // namespace
