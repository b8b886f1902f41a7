#include <sqlite3.h>

#include "browsemodel/list_entry_loader.h"
#include "browsemodel/photo_list.h"
#include "catalogue/library_internals.h"
#include "catalogue/sql_query.h"
#include "photo_catalogue_fixture.h"

using ListEntryLoading = PhotoCatalogueTest;

TEST_F(ListEntryLoading, CopiesTheCaptionDataAndDecodesTheThumbnail) {
    PhotoRecord r = Record("海边.jpg", 4000, 3000);
    SetField(r.strXpKeyword, "beach;sea");
    SetField(r.strOrientation, "Top-left");
    Insert(1, r, JpegOf(SolidPicture(160, 120, 200, 50, 50)));
    PhotoListEntry entry;
    ASSERT_TRUE(LoadListEntry(library(), {1, false}, entry, true));
    EXPECT_EQ(entry.name, "海边.jpg");
    EXPECT_EQ(entry.fullPath, "/photos/海边.jpg");
    EXPECT_EQ(entry.width, 4000);
    EXPECT_EQ(entry.height, 3000);
    EXPECT_EQ(entry.keywords, "beach;sea");
    EXPECT_EQ(entry.orientation, "Top-left");
    ASSERT_FALSE(entry.thumbnail.isNull());
    EXPECT_FALSE(entry.letterboxed);
    EXPECT_EQ(entry.thumbnail.width(), 160);
    EXPECT_EQ(entry.thumbnail.height(), 120);
    EXPECT_EQ(entry.ref, (PhotoRef{1, false}));
}

TEST_F(ListEntryLoading, ReadsADuplicateFromTheDuplicatesTableAndMarksTheEntry) {
    Insert(2, Record("main.jpg", 160, 120), JpegOf(SolidPicture(16, 12, 9, 9, 9)));
    Insert(2, Record("copy.jpg", 160, 120), JpegOf(SolidPicture(16, 12, 9, 9, 9)), true);
    PhotoListEntry entry;
    ASSERT_TRUE(LoadListEntry(library(), {2, true}, entry, true));
    EXPECT_EQ(entry.name, "copy.jpg");
    EXPECT_EQ(entry.ref, (PhotoRef{2, true}));
}

TEST_F(ListEntryLoading, FailsWithoutARowOrWithoutAThumbnail) {
    PhotoListEntry entry;
    EXPECT_FALSE(LoadListEntry(library(), {99, false}, entry, true));
    Insert(3, Record("nothumb.jpg", 5000, 20), {});
    entry.thumbnail = QImage(4, 4, QImage::Format_RGB32);
    EXPECT_FALSE(LoadListEntry(library(), {3, false}, entry, true));
    EXPECT_TRUE(entry.thumbnail.isNull()) << "an old picture must not stay";
    EXPECT_EQ(entry.name, "nothumb.jpg") << "the row's data is still copied";
    Insert(4, Record("broken.jpg", 160, 120), {0xFF, 0xD8, 0x00, 0x11});
    EXPECT_FALSE(LoadListEntry(library(), {4, false}, entry, true));
    EXPECT_TRUE(entry.thumbnail.isNull());
}

TEST_F(ListEntryLoading, TurnsALandscapeThumbnailOfAPortraitPhotoEvenWithoutAutoOrientation) {
    Insert(5, Record("p.jpg", 3000, 4000), JpegOf(SolidPicture(160, 120, 90, 90, 200)));
    PhotoListEntry entry;
    ASSERT_TRUE(LoadListEntry(library(), {5, false}, entry, false));
    EXPECT_EQ(entry.thumbnail.width(), 120);
    EXPECT_EQ(entry.thumbnail.height(), 160);
}

TEST_F(ListEntryLoading, TurnsByTheOrientationOnlyWhileAutoOrientationIsOn) {
    PhotoRecord r = Record("r.jpg", 4000, 3000);
    SetField(r.strOrientation, "Right-top");
    Insert(6, r, JpegOf(SolidPicture(160, 120, 90, 200, 90)));
    PhotoListEntry entry;
    ASSERT_TRUE(LoadListEntry(library(), {6, false}, entry, true));
    EXPECT_EQ(entry.thumbnail.width(), 120);
    ASSERT_TRUE(LoadListEntry(library(), {6, false}, entry, false));
    EXPECT_EQ(entry.thumbnail.width(), 160);
}

TEST_F(ListEntryLoading, MeasuresTheBlackBarsOfALetterboxedThumbnail) {
    Insert(8, Record("wide.jpg", 1920, 1080), JpegOf(SolidPicture(160, 120, 90, 200, 90, 16)));
    PhotoListEntry entry;
    ASSERT_TRUE(LoadListEntry(library(), {8, false}, entry, true));
    EXPECT_TRUE(entry.letterboxed);
    EXPECT_TRUE(entry.bars.vertical);
    EXPECT_EQ(entry.bars.thickness, 17);
}

TEST_F(ListEntryLoading, CutsLongTextsToTheEntryFieldsWithoutSplittingACharacter) {
    PhotoRecord r = Record("x.jpg", 160, 120);
    std::string keywords;
    for (int i = 0; i < 40; ++i) keywords += "风景;";  // 7 bytes each, 280 bytes
    r.strXpKeyword[0] = 0;
    Insert(7, r, JpegOf(SolidPicture(16, 12, 9, 9, 9)));
    {
        CatalogueSession session(library());
        ExecuteStatement(SessionDb(session),
                         "update tJpgMsg set strXpKeyword = '" + keywords + "' where idPic = 7");
    }
    PhotoListEntry entry;
    ASSERT_TRUE(LoadListEntry(library(), {7, false}, entry, true));
    EXPECT_EQ(entry.keywords.size(), kEntryKeywordsCapacity - 1) << "36 x 7 bytes and one 风";
    EXPECT_EQ(entry.keywords.substr(entry.keywords.size() - 4), ";风");
}
