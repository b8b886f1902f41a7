// The library's modified mark follows what the working database holds
// beyond the file, and each library keeps its own catalogue.

#include <filesystem>
#include <fstream>

#include "catalogue/catalogue_save.h"
#include "catalogue/catalogue_savepoint.h"
#include "catalogue/deleted_paths.h"
#include "catalogue/photo_rows.h"
#include "catalogue_fixture.h"

TEST_F(CatalogueTest, TheLibraryIsModifiedExactlyWhileCommittedChangesAreNotInTheFile) {
    Library& library = fresh_.library();
    ASSERT_TRUE(OpenCatalogue(library));
    EXPECT_FALSE(library.Modified()) << "opening writes nothing";
    EXPECT_FALSE(PhotoIdExists(library, 1));
    EXPECT_FALSE(library.Modified()) << "a read commits nothing";
    {
        CatalogueSavepoint change(library);
        InsertPhotoRow(library, PhotoRef{1, false}, MakeRecord("/p", "a.jpg"), {}, {});
    }
    EXPECT_FALSE(library.Modified()) << "a change rolled back";

    BeginTransaction(library);
    InsertPhotoRow(library, PhotoRef{1, false}, MakeRecord("/p", "a.jpg"), {}, {});
    EXPECT_FALSE(library.Modified()) << "not committed yet";
    CommitTransaction(library);
    EXPECT_TRUE(library.Modified());

    ASSERT_EQ(SaveCatalogue(library), 0);
    EXPECT_FALSE(library.Modified());

    std::filesystem::create_directories(SaveFilePath() + "/blocker");
    AddDeletedPath(library, "/p/a.jpg");
    EXPECT_NE(SaveCatalogue(library), 0);
    EXPECT_TRUE(library.Modified()) << "a failed save keeps the mark";

    std::filesystem::remove_all(SaveFilePath());
    ASSERT_EQ(SaveCatalogue(library), 0);
    ASSERT_TRUE(ClearCatalogue(library));
    EXPECT_TRUE(library.Modified()) << "the emptied catalogue waits for a save";
}

TEST_F(CatalogueTest, ALibraryMadeInsideAnotherWorksOnItsOwn) {
    InsertPhotoRow(library(), PhotoRef{1, false}, MakeRecord("/p", "a.jpg"), {}, {});
    {
        Library reader(Library::Access::ReadOnly);
        EXPECT_FALSE(PhotoIdExists(reader, 1)) << "the saved file has no photo yet";
        EXPECT_NE(SaveCatalogue(reader), 0) << "a read-only library never saves";
    }
    EXPECT_TRUE(PhotoIdExists(library(), 1)) << "the outer library is unchanged";
    EXPECT_TRUE(fresh_.library().Modified());
}

TEST_F(CatalogueTest, WaitingForAPrivateWorkingDatabaseReturnsAndKeepsItUsable) {
    InsertPhotoRow(library(), PhotoRef{1, false}, MakeRecord("/p", "a.jpg"), {}, {});
    ASSERT_EQ(SaveCatalogue(library()), 0);
    CloseCatalogue(library());
    ASSERT_TRUE(OpenCatalogue(library()));  // the saved file as the working database's image
    fresh_.library().WaitUntilPrivate();
    EXPECT_TRUE(PhotoIdExists(library(), 1));
}
