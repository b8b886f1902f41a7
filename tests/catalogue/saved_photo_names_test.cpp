// The photo names the companion map reads from a saved catalogue file.

#include <fstream>

#include "catalogue/catalogue_save.h"
#include "catalogue/photo_rows.h"
#include "catalogue/saved_photo_names.h"
#include "catalogue_fixture.h"
#include "platform/data_folder.h"

TEST_F(CatalogueTest, SavedNamesComeFromTheFileAsItWasSavedWithDuplicatesUnderTheirIds) {
    InsertPhotoRow(library(), PhotoRef{5, false}, MakeRecord("/p", "main.jpg"), {}, {});
    InsertPhotoRow(library(), PhotoRef{5, true}, MakeRecord("/q", "copy.jpg"), {}, {});
    InsertPhotoRow(library(), PhotoRef{6, true}, MakeRecord("/q", "only-copy.jpg"), {}, {});
    ASSERT_EQ(SaveCatalogue(library()), 0);
    InsertPhotoRow(library(), PhotoRef{7, false}, MakeRecord("/p", "unsaved.jpg"), {}, {});

    SavedPhotoNames names;
    ASSERT_TRUE(names.Open(CatalogueFilePath()));
    EXPECT_EQ(names.NameOf(5), "main.jpg");
    EXPECT_EQ(names.NameOf(6), "only-copy.jpg");
    EXPECT_EQ(names.NameOf(7), std::nullopt) << "not in the saved file";
}

TEST_F(CatalogueTest, AMissingOrForeignFileNamesNoPhoto) {
    SavedPhotoNames names;
    EXPECT_FALSE(names.Open(Root() + "/missing.db"));
    const std::string empty = Root() + "/empty.db";
    std::ofstream{empty};  // an empty database, without the photo tables
    EXPECT_FALSE(names.Open(empty));
    EXPECT_EQ(names.NameOf(1), std::nullopt);
}
