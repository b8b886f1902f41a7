// The command-line tool seen from outside.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "cli_runner.h"
#include "platform/data_folder_lock.h"
#include "platform/file_status.h"
#include "temp_folder.h"
#include "test_jpeg_writer.h"

namespace {

class Cli : public ::testing::Test {
  protected:
    std::string DataOption() const { return "--data-dir '" + data_.Path() + "'"; }
    TempFolder data_;
    TempFolder photos_;
};

}  // namespace

TEST_F(Cli, StatsCreatesTheCatalogueAndCountsEveryTable) {
    CliResult r = RunCli(DataOption() + " stats");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("tJpgMsg    0"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("tDelTable  0"), std::string::npos) << r.out;
    EXPECT_TRUE(std::filesystem::exists(data_.File("myJpgdb.db")));
}

// While another process (the program) holds the data folder, commands that
// change the catalogue refuse; those that only read it read the saved file
// and leave the folder exactly as it is.
TEST_F(Cli, WhileAnotherProcessHoldsTheDataFolderOnlyReadingCommandsRun) {
    TestJpegOptions o;
    o.embedThumbnail = true;
    o.xpKeywords = u"海;";
    ASSERT_TRUE(WriteTestJpeg(photos_.File("p.jpg"), o));
    std::optional<DataFolderLock> held(std::in_place, data_.Path());
    ASSERT_TRUE(held->held());
    CliResult r = RunCli(DataOption() + " stats");
    EXPECT_EQ(r.status, 1) << "no saved catalogue yet: " << r.out;
    EXPECT_FALSE(std::filesystem::exists(data_.File("myJpgdb.db")));
    r = RunCli(DataOption() + " import '" + photos_.Path() + "'");
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(r.out.find("in use by another process"), std::string::npos) << r.out;
    EXPECT_FALSE(std::filesystem::exists(data_.File("myJpgdb.db")));

    held.reset();
    ASSERT_EQ(RunCli(DataOption() + " import '" + photos_.Path() + "'").status, 0);
    held.emplace(data_.Path());
    ASSERT_TRUE(held->held());
    const auto saved = ReadBytesFile(data_.File("myJpgdb.db"));
    ASSERT_TRUE(WriteBytesFile(data_.File("tmp.db"), {'s', 'a', 'v', 'i', 'n', 'g'}));
    r = RunCli(DataOption() + " stats");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("tJpgMsg    1"), std::string::npos) << r.out;
    r = RunCli(DataOption() + " search --keyword 海");
    EXPECT_EQ(r.out, photos_.File("p.jpg") + "\n1 photo found\n");
    EXPECT_EQ(RunCli(DataOption() + " info '" + photos_.File("p.jpg") + "'").status, 0);
    EXPECT_EQ(ReadBytesFile(data_.File("myJpgdb.db")), saved);
    EXPECT_TRUE(std::filesystem::exists(data_.File("tmp.db"))) << "the holder's save file stays";
}

TEST_F(Cli, ImportSummarisesAndTheCatalogueFileHoldsThePhotos) {
    for (std::uint32_t seed = 1; seed <= 3; ++seed) {
        TestJpegOptions o;
        o.seed = seed;
        o.embedThumbnail = true;
        ASSERT_TRUE(WriteTestJpeg(photos_.File("p" + std::to_string(seed) + ".jpg"), o));
    }
    ASSERT_TRUE(WriteBytesFile(photos_.File("broken.jpg"), {0xFF, 0xD8, 0xFF}));
    CliResult r = RunCli(DataOption() + " import '" + photos_.Path() + "'");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("found 4, imported 3, not imported 1 (duplicates 0, unreadable 1, third "
                         "copies 0, failed 0)"),
              std::string::npos)
        << r.out;
    r = RunCli(DataOption() + " stats");
    EXPECT_NE(r.out.find("tJpgMsg    3"), std::string::npos) << r.out;
}

TEST_F(Cli, BadArgumentsGiveAClearMessageAndAFailingStatus) {
    CliResult r = RunCli(DataOption() + " import /no/such/folder");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("no such file or folder"), std::string::npos) << r.out;
    // Piped output: the summary once, no progress line rewritten in place.
    EXPECT_EQ(r.out.find("found 0"), r.out.rfind("found 0")) << r.out;
    EXPECT_EQ(r.out.find('\r'), std::string::npos) << r.out;
    for (const char* option : {"--data-dir", "--data-dir="}) {
        r = RunCli(option);
        EXPECT_EQ(r.status, 2) << option;
        EXPECT_NE(r.out.find("--data-dir needs a folder"), std::string::npos) << r.out;
    }
    ASSERT_TRUE(WriteBytesFile(photos_.File("x.jpg"), {'n', 'o', 'p', 'e'}));
    r = RunCli(DataOption() + " info '" + photos_.File("x.jpg") + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("cannot be read as a photo"), std::string::npos) << r.out;
    EXPECT_EQ(RunCli(DataOption() + " frobnicate").status, 2);
}

namespace {

class CliUpkeep : public Cli {
  protected:
    // Imports photos 1..3 of folder "album" with old times, so that every
    // later change shows.
    std::string ImportAlbum() {
        const std::string album = photos_.File("album");
        std::filesystem::create_directories(album);
        for (std::uint32_t seed = 1; seed <= 3; ++seed) {
            TestJpegOptions o;
            o.seed = seed;
            o.embedThumbnail = true;
            const std::string path = album + "/" + std::to_string(seed) + ".jpg";
            EXPECT_TRUE(WriteTestJpeg(path, o));
            EXPECT_TRUE(SetFileLastWriteTime(path, 1500000000));
        }
        EXPECT_TRUE(SetFileLastWriteTime(album, 1500000000));
        EXPECT_EQ(RunCli(DataOption() + " import '" + album + "'").status, 0);
        return album;
    }
    bool Says(const CliResult& r, const std::string& text) {
        return r.out.find(text) != std::string::npos;
    }
};

}  // namespace

TEST_F(CliUpkeep, UpdatePrintsWhatItRefreshedAndRemovedAndSaves) {
    const std::string album = ImportAlbum();
    ASSERT_TRUE(SetFileLastWriteTime(album + "/1.jpg", 1600000000));
    std::filesystem::remove(album + "/2.jpg");
    std::filesystem::copy_file(album + "/3.jpg", album + "/new.jpg");
    CliResult r = RunCli(DataOption() + " update");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(Says(r, "refreshed " + album + "/1.jpg\n")) << r.out;
    EXPECT_TRUE(Says(r, "removed " + album + "/2.jpg\n")) << r.out;
    EXPECT_TRUE(Says(r, "new " + album + "/new.jpg\n")) << r.out;
    EXPECT_TRUE(Says(r,
                     "1 changed folders: 1 photos refreshed, 1 removed, 0 folders removed, "
                     "0 offline, 1 new files not imported"))
        << r.out;
    EXPECT_TRUE(Says(RunCli(DataOption() + " stats"), "tJpgMsg    2"));
    r = RunCli(DataOption() + " update");
    EXPECT_TRUE(Says(r, "0 changed folders")) << "the new folder time was saved: " << r.out;
}

TEST_F(CliUpkeep, TidyRemovesGoneFoldersAndSavesAndTheThoroughOneRebuilds) {
    const std::string album = ImportAlbum();
    std::filesystem::remove_all(album);
    CliResult r = RunCli(DataOption() + " tidy");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(Says(r, "removed-folder " + album + "\n")) << r.out;
    EXPECT_TRUE(Says(r, "0 photos removed, 1 folders removed")) << r.out;
    EXPECT_TRUE(Says(RunCli(DataOption() + " stats"), "tJpgMsg    0"));

    r = RunCli(DataOption() + " tidy --thorough");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(Says(r, "0 photos kept in the rebuilt catalogue")) << r.out;
}

TEST_F(CliUpkeep, UpkeepFailuresGiveAClearMessageAndAFailingStatus) {
    EXPECT_EQ(RunCli(DataOption() + " tidy --bogus").status, 2);
    EXPECT_EQ(RunCli(DataOption() + " update now").status, 2);
    CliResult r = RunCli(DataOption() + " update");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(Says(r, "nothing to update")) << r.out;
    ASSERT_TRUE(WriteBytesFile(data_.File("myJpgdb.db"), {'n', 'o', 't', ' ', 'a', ' ', 'd', 'b'}));
    for (const char* command : {" update", " tidy", " tidy --thorough"}) {
        r = RunCli(DataOption() + command);
        EXPECT_EQ(r.status, 1) << command << ": " << r.out;
        EXPECT_TRUE(Says(r, "cannot open the catalogue")) << r.out;
    }
}

TEST_F(Cli, ADamagedCatalogueIsReportedAndLeftUntouched) {
    const std::vector<std::uint8_t> notADatabase = {'p', 'h', 'o', 't', 'o', 's', '\n'};
    const std::vector<std::uint8_t> truncated = {'S', 'Q', 'L', 'i', 't', 'e', ' ', 'f'};
    const struct {
        const std::vector<std::uint8_t>& bytes;
        const char* reason;
    } cases[] = {{notADatabase, "it is not a database"}, {truncated, "it is truncated"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteBytesFile(data_.File("myJpgdb.db"), c.bytes));
        for (const std::string& command :
             {std::string(" stats"), " import '" + photos_.Path() + "'"}) {
            CliResult r = RunCli(DataOption() + command);
            EXPECT_EQ(r.status, 1) << command;
            EXPECT_NE(r.out.find(c.reason), std::string::npos) << r.out;
            EXPECT_EQ(std::filesystem::file_size(data_.File("myJpgdb.db")), c.bytes.size());
        }
    }
}
