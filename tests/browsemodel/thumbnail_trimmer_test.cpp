#include "browsemodel/thumbnail_trimmer.h"
#include "browsemodel/photo_list.h"
#include "catalogue/photo_rows.h"
#include "photo_catalogue_fixture.h"

namespace {

// A list of n catalogued photos (ids 1..n) sharing one small thumbnail.
class TrimmingTest : public PhotoCatalogueTest {
  protected:
    void Fill(int n) {
        const std::vector<std::uint8_t> thumbnail = JpegOf(SolidPicture(8, 6, 200, 90, 40));
        BeginTransaction(library());
        for (int id = 1; id <= n; ++id) Insert(id, Record("p.jpg", 8, 6), thumbnail);
        CommitTransaction(library());
        list.Reset(n);
        for (int id = 1; id <= n; ++id) list.Append({id, false});
    }
    void Load(int from, int to) {
        for (int i = from; i < to; ++i) ASSERT_TRUE(list.EnsureThumbnail(i));
    }
    bool Loaded(int i) const { return !list.Entry(i).thumbnail.isNull(); }

    PhotoList list{library()};
};

}  // namespace

TEST_F(TrimmingTest, LeavesUpToOneThousandThumbnailsAlone) {
    Fill(1200);
    Load(0, 1000);
    TrimThumbnails(list, 180 * 200, 4, 180, 20);
    EXPECT_EQ(list.LoadedThumbnails(), 1000);
}

TEST_F(TrimmingTest, ReleasesFarThumbnailsAroundTheMiddleButKeepsThoseNearTheCurrentPhoto) {
    Fill(5000);
    Load(0, 1001);
    list.currentIndex = 100;
    // Scrolled to the middle: 10 columns of 100 pixels, 501 rows.
    const int scrollY = 2500 * 100 * 501 / 5000;  // anchor = 2500
    Load(2100, 2600);
    TrimThumbnails(list, scrollY, 10, 100, 80);
    EXPECT_FALSE(Loaded(0));
    EXPECT_FALSE(Loaded(60));
    EXPECT_TRUE(Loaded(61)) << "within 39 of the current photo";
    EXPECT_TRUE(Loaded(139));
    EXPECT_FALSE(Loaded(140));
    EXPECT_FALSE(Loaded(2199));
    EXPECT_TRUE(Loaded(2200)) << "300 before the anchor are kept";
    EXPECT_TRUE(Loaded(2599));
    EXPECT_EQ(list.LoadedThumbnails(), 79 + 400);
}

TEST_F(TrimmingTest, ReleasesThumbnailsFarBelowAfterScrollingBackUp) {
    Fill(3000);
    Load(1900, 3000);  // 1100 loaded near the end
    list.currentIndex = 2999;
    TrimThumbnails(list, 0, 10, 100, 80);
    EXPECT_TRUE(Loaded(2999));
    EXPECT_TRUE(Loaded(2960));
    EXPECT_FALSE(Loaded(2959));
    EXPECT_FALSE(Loaded(1900));
    EXPECT_EQ(list.LoadedThumbnails(), 40);
}

TEST_F(TrimmingTest, KeepsMemoryBoundedWhileJumpingAboutAVeryLargeList) {
    Fill(20000);
    int most = 0;
    // Jump to scattered places and load a screen of 300 at each, as painting
    // does; trimming runs before each paint.
    const int columns = 10, cell = 100;
    for (int place : {19000, 10000, 15000, 5000, 12000, 17000, 8000, 14000, 2000, 18000}) {
        const int scrollY = place / columns * cell;
        TrimThumbnails(list, scrollY, columns, cell, 300);
        Load(place, place + 300);
        most = std::max(most, list.LoadedThumbnails());
    }
    EXPECT_LE(most, 1000 + 300);
}

TEST_F(TrimmingTest, NeverReleasesTheScreenOfAVeryLargeDisplay) {
    // Small icons on a very large display: 38 columns, 800 entries a screen.
    Fill(10000);
    const int columns = 38, cell = 100, screen = 800;
    const int place = 5016;  // first visible entry, at the start of a row
    Load(0, 500);
    Load(place, place + screen);
    list.currentIndex = place;
    const long long documentHeight = (10000 / columns + 1) * cell;
    const int scrollY = static_cast<int>((place * documentHeight + 9999) / 10000);
    TrimThumbnails(list, scrollY, columns, cell, screen);
    for (int i = place; i < place + screen; ++i) ASSERT_TRUE(Loaded(i)) << i;
    EXPECT_FALSE(Loaded(0));
    EXPECT_EQ(list.LoadedThumbnails(), screen);
}
