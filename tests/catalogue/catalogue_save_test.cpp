
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "catalogue/catalogue_save.h"
#include "catalogue/photo_rows.h"
#include "catalogue_fixture.h"
#include "database_file.h"

TEST_F(CatalogueTest, SaveReplacesTheCatalogueFileAndLeavesNoSaveFile) {
    InsertPhotoRow(library(), PhotoRef{1, false}, MakeRecord("/p", "a.jpg"), {}, {});
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 0);
    ASSERT_EQ(SaveCatalogue(library()), 0);
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 1);
    EXPECT_FALSE(std::filesystem::exists(SaveFilePath()));
    EXPECT_TRUE(PhotoIdExists(library(), 1)) << "the working database stays open";
}

TEST_F(CatalogueTest, ALeftoverSaveFileIsOverwritten) {
    ASSERT_TRUE(OpenCatalogue(library()));
    { std::ofstream(SaveFilePath()) << "half-written garbage from a crash"; }
    InsertPhotoRow(library(), PhotoRef{1, false}, MakeRecord("/p", "a.jpg"), {}, {});
    ASSERT_EQ(SaveCatalogue(library()), 0);
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 1);
}

TEST_F(CatalogueTest, AFailedSaveLeavesTheOldCatalogueFileUntouched) {
    InsertPhotoRow(library(), PhotoRef{1, false}, MakeRecord("/p", "a.jpg"), {}, {});
    ASSERT_EQ(SaveCatalogue(library()), 0);
    // A save file that cannot be created: a non-empty folder in its place.
    std::filesystem::create_directories(SaveFilePath());
    std::ofstream(SaveFilePath() + "/blocker") << "x";
    InsertPhotoRow(library(), PhotoRef{2, false}, MakeRecord("/p", "b.jpg"), {}, {});
    EXPECT_NE(SaveCatalogue(library()), 0);
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 1);
}

TEST_F(CatalogueTest, OpeningRemovesTheFilesOfASaveThatWasCutShort) {
    InsertPhotoRow(library(), PhotoRef{1, false}, MakeRecord("/p", "a.jpg"), {}, {});
    ASSERT_EQ(SaveCatalogue(library()), 0);
    CloseCatalogue(library());
    for (const std::string& leftover : {SaveFilePath(), SaveFilePath() + "-journal"})
        std::ofstream(leftover) << "half a save";
    ASSERT_TRUE(OpenCatalogue(library()));
    EXPECT_FALSE(std::filesystem::exists(SaveFilePath()));
    EXPECT_FALSE(std::filesystem::exists(SaveFilePath() + "-journal"));
    EXPECT_TRUE(PhotoIdExists(library(), 1));
}

TEST_F(CatalogueTest, ClearingLeavesAnEmptyCatalogueWithAllTables) {
    InsertPhotoRow(library(), PhotoRef{1, false}, MakeRecord("/p", "a.jpg"), {}, {});
    ASSERT_EQ(SaveCatalogue(library()), 0);
    ASSERT_TRUE(ClearCatalogue(library()));
    EXPECT_FALSE(PhotoIdExists(library(), 1));
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 0);
    EXPECT_EQ(CountPhotosNow(library()), 0);
}

// The old file stays complete whenever the save file cannot be written; the
// working database keeps the new rows for a later save.
TEST_F(CatalogueTest, ASaveOnAFullDiskKeepsTheOldFileAndReportsIt) {
    InsertPhotoRow(library(), PhotoRef{1, false}, MakeRecord("/p", "a.jpg"), {}, {});
    ASSERT_EQ(SaveCatalogue(library()), 0);
    InsertPhotoRow(library(), PhotoRef{2, false}, MakeRecord("/p", "b.jpg"), {}, {});

    {
        // A full disk: writes beyond 64 KiB fail (EFBIG) as they do on a full
        // file system, for this process only.
        struct sigaction ignore {
        }, previous{};
        ignore.sa_handler = SIG_IGN;
        sigaction(SIGXFSZ, &ignore, &previous);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 65536;
        setrlimit(RLIMIT_FSIZE, &small);
        const int rc = SaveCatalogue(library());
        setrlimit(RLIMIT_FSIZE, &saved);
        sigaction(SIGXFSZ, &previous, nullptr);
        EXPECT_NE(rc, 0);
    }
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 1);
    EXPECT_FALSE(std::filesystem::exists(SaveFilePath()));

    ASSERT_EQ(SaveCatalogue(library()), 0);
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 2);
}

TEST_F(CatalogueTest, ASaveIntoAReadOnlyDataFolderKeepsTheOldFileAndReportsIt) {
    namespace fs = std::filesystem;
    InsertPhotoRow(library(), PhotoRef{1, false}, MakeRecord("/p", "a.jpg"), {}, {});
    ASSERT_EQ(SaveCatalogue(library()), 0);
    InsertPhotoRow(library(), PhotoRef{2, false}, MakeRecord("/p", "b.jpg"), {}, {});
    const auto writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(DataFolder(), writable, fs::perm_options::remove);
    if (std::ofstream(DataFolder() + "/probe")) {
        fs::permissions(DataFolder(), fs::perms::owner_write, fs::perm_options::add);
        GTEST_SKIP() << "folder permissions do not bind this user (root)";
    }
    const int rc = SaveCatalogue(library());
    fs::permissions(DataFolder(), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_NE(rc, 0);
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 1);
    ASSERT_EQ(SaveCatalogue(library()), 0);
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 2);
}

// Another program cutting the catalogue file short while the program runs
// takes nothing from the working database, which the next save writes out
// whole.
TEST_F(CatalogueTest, AFileCutShortUnderTheOpenCatalogueTakesNothingFromIt) {
    for (int id = 1; id <= 40; ++id)
        InsertPhotoRow(library(), PhotoRef{id, false},
                       MakeRecord("/p", std::to_string(id) + ".jpg"), {}, {});
    ASSERT_EQ(SaveCatalogue(library()), 0);
    CloseCatalogue(library());
    ASSERT_TRUE(OpenCatalogue(library()));
    std::ofstream(CatalogueFilePath(), std::ios::trunc) << "cut";
    InsertPhotoRow(library(), PhotoRef{41, false}, MakeRecord("/p", "41.jpg"), {}, {});
    ASSERT_EQ(SaveCatalogue(library()), 0);
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 41);
}

// The working database is an image of the file in memory, or a copy of it
// when another process holds the file open for writing (no lease); either
// way a save leaves a sound file with every row, page size and all, and
// recreates a data folder removed meanwhile.
TEST_F(CatalogueTest, EitherWorkingDatabaseSavesWholeIntoASoundFile) {
    for (const bool heldOpenElsewhere : {false, true}) {
        SCOPED_TRACE(heldOpenElsewhere ? "copied working database" : "image in memory");
        CloseCatalogue(library());
        std::filesystem::remove_all(DataFolder());
        ASSERT_TRUE(OpenCatalogue(library()));
        ASSERT_EQ(SaveCatalogue(library()), 0);
        CloseCatalogue(library());
        const int writer =
            heldOpenElsewhere ? open(CatalogueFilePath().c_str(), O_WRONLY | O_CLOEXEC) : -1;
        ASSERT_TRUE(OpenCatalogue(library()));
        for (int id = 1; id <= 300; ++id)
            InsertPhotoRow(library(), PhotoRef{id * 7919, false},
                           MakeRecord("/p", std::to_string(id) + ".jpg"),
                           std::vector<std::uint8_t>(9000, std::uint8_t(id)), {});
        std::filesystem::remove_all(DataFolder());
        EXPECT_EQ(SaveCatalogue(library()), 0);
        if (writer >= 0) close(writer);
        EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 300);
        EXPECT_EQ(QueryFileColumn(CatalogueFilePath(), "pragma integrity_check"),
                  std::vector<std::string>{"ok"});
        EXPECT_EQ(
            QueryFileColumn(CatalogueFilePath(), "select sum(length(bJpgThumbData)) from tJpgMsg"),
            std::vector<std::string>{std::to_string(300 * 9001)});
    }
}
