
#include <filesystem>
#include <fstream>

#include "catalogue/catalogue_save.h"
#include "catalogue/photo_rows.h"
#include "catalogue_fixture.h"
#include "database_file.h"

TEST_F(CatalogueTest, SaveReplacesTheCatalogueFileAndLeavesNoSaveFile) {
    InsertPhotoRow(1, MakeRecord("/p", "a.jpg"), {}, false, {});
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 0);
    ASSERT_EQ(SaveCatalogue(), 0);
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 1);
    EXPECT_FALSE(std::filesystem::exists(SaveFilePath()));
    EXPECT_TRUE(PhotoIdExists(1)) << "the working database stays open";
}

TEST_F(CatalogueTest, ALeftoverSaveFileIsOverwritten) {
    ASSERT_TRUE(OpenCatalogue());
    { std::ofstream(SaveFilePath()) << "half-written garbage from a crash"; }
    InsertPhotoRow(1, MakeRecord("/p", "a.jpg"), {}, false, {});
    ASSERT_EQ(SaveCatalogue(), 0);
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 1);
}

TEST_F(CatalogueTest, AFailedSaveLeavesTheOldCatalogueFileUntouched) {
    InsertPhotoRow(1, MakeRecord("/p", "a.jpg"), {}, false, {});
    ASSERT_EQ(SaveCatalogue(), 0);
    // A save file that cannot be created: a non-empty folder in its place.
    std::filesystem::create_directories(SaveFilePath());
    std::ofstream(SaveFilePath() + "/blocker") << "x";
    InsertPhotoRow(2, MakeRecord("/p", "b.jpg"), {}, false, {});
    EXPECT_NE(SaveCatalogue(), 0);
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 1);
}

TEST_F(CatalogueTest, ClearingLeavesAnEmptyCatalogueWithAllTables) {
    InsertPhotoRow(1, MakeRecord("/p", "a.jpg"), {}, false, {});
    ASSERT_EQ(SaveCatalogue(), 0);
    ASSERT_TRUE(ClearCatalogue());
    EXPECT_FALSE(PhotoIdExists(1));
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 0);
    EXPECT_EQ(CountPhotosNow(), 0);
}
