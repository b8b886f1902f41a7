
#include <sqlite3.h>

#include <filesystem>

#include "catalogue/catalogue_save.h"
#include "catalogue/library_internals.h"
#include "catalogue/photo_id.h"
#include "catalogue/photo_rows.h"
#include "catalogue/sql_query.h"
#include "database_file.h"
#include "image/raster_image.h"
#include "import/add_photo_file.h"
#include "import/folder_walk.h"
#include "import/import_workers.h"
#include "import/jpeg_name.h"
#include "import/photo_refresh.h"
#include "import_fixture.h"

namespace {

std::string One(Library& library, const std::string& statement) {
    CatalogueSession session(library);
    return QueryText(SessionDb(session), statement).value_or("<none>");
}

// Answers region requests from a fixed table and can pull the brakes after
// a given number of photos, which lets a test stop an import at an exact
// point.
class FakeRegionSource : public RegionSource {
  public:
    bool available = true;
    RegionNames names{"广东省", "深圳市", "南山区"};
    int calls = 0;
    int stopAfter = -1;
    StopToken* tokenToStop = nullptr;

    bool CompanionAvailable() override { return available; }
    RegionNames RequestNames(double, double, int) override {
        if (++calls == stopAfter && tokenToStop) tokenToStop->RequestStop();
        return names;
    }
};

TestJpegOptions WithPosition() {
    TestJpegOptions o;
    o.latitudeRef = "N";
    o.latitude = TestDms{{{22, 1}, {32, 1}, {0, 1}}};
    o.longitudeRef = "E";
    o.longitude = TestDms{{{113, 1}, {56, 1}, {0, 1}}};
    return o;
}

}  // namespace

TEST(IsJpegName, AcceptsJpgAndJpegEndingsInAnyCaseWithoutNeedingADot) {
    EXPECT_TRUE(IsJpegName("/a/photo.JPEG"));
    EXPECT_TRUE(IsJpegName("/a/photo.Jpg"));
    EXPECT_TRUE(IsJpegName("/a/notajpg"));
    EXPECT_FALSE(IsJpegName("/a/photo.jpe"));
    EXPECT_FALSE(IsJpegName("pg"));
}

TEST_F(ImportTest, TheIdOfAPhotoIsTheDigestOfItsEmbeddedThumbnail) {
    TestJpegOptions o;
    o.thumbnailBytes = MakePlainJpeg(20, 15, 77);
    std::string path = WritePhoto("a.jpg", 1, o);
    ASSERT_TRUE(AddPhotoFile(library(), path, true, Regions()));
    const std::int64_t id = ComputePhotoId(o.thumbnailBytes.data(), o.thumbnailBytes.size());
    EXPECT_TRUE(PhotoIdExists(library(), id));
    EXPECT_EQ(One(library(), "select strModel||'|'||nWidth||'|'||strName from tJpgMsg"),
              "EOS 5D|64|a.jpg");
}

TEST_F(ImportTest, ImportingAFolderTwiceStoresNothingNewTheSecondTime) {
    for (int i = 0; i < 5; ++i)
        WritePhoto("trip/day" + std::to_string(i % 2) + "/p" + std::to_string(i) + ".jpg", 100 + i);
    WritePhoto("trip/readme.txt.jpgx", 200);  // not a JPEG name: skipped uncounted
    EXPECT_EQ(CountJpegFiles(photos_.Path(), progress_), 5);
    EXPECT_EQ(RunFolderImport(photos_.Path(), Job()), ImportEnd::Finished);
    EXPECT_EQ(progress_.imported, 5);
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 5)
        << "the import saves the catalogue";
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tFolder"), 2);
    EXPECT_FALSE(fresh_.library().Modified()) << "the import saved everything it wrote";

    progress_.Reset();
    RunFolderImport(photos_.Path(), Job());
    EXPECT_EQ(progress_.imported, 0);
    EXPECT_EQ(progress_.notImported, 5);
    EXPECT_EQ(One(library(), "select count(*) from tReJpgMsg"), "0");
}

TEST_F(ImportTest, ATouchedFileIsImportedAgainWithItsKeywordRowsRewritten) {
    TestJpegOptions o;
    o.xpKeywords = u"sea;beach";
    std::string path = WritePhoto("p.jpg", 1, o);
    SetModified(path, 1600000000);
    ASSERT_TRUE(AddPhotoFile(library(), path, true, Regions()));
    EXPECT_FALSE(AddPhotoFile(library(), path, true, Regions())) << "unchanged";
    SetModified(path, 1600000100);
    EXPECT_TRUE(AddPhotoFile(library(), path, true, Regions())) << "changed file in its own folder";
    EXPECT_EQ(One(library(), "select count(*) from tKeyWord"), "2");
    EXPECT_EQ(One(library(), "select dwMTime from tJpgMsg"), "1600000100");
}

TEST_F(ImportTest, ANewerCopyElsewhereTakesTheMainRowAndTheOldOneBecomesTheDuplicate) {
    auto [first, copy] = PhotoAndCopy(1600000000, 1600000500, "b/p copy.jpg");
    EXPECT_FALSE(AddPhotoFile(library(), copy, true, Regions()))
        << "a copy never counts as imported";
    EXPECT_EQ(One(library(), "select strFullPath from tJpgMsg"), copy);
    EXPECT_EQ(One(library(), "select strFullPath from tReJpgMsg"), first);
}

TEST_F(ImportTest, AnOlderCopyElsewhereGoesToTheDuplicates) {
    auto [first, copy] = PhotoAndCopy(1600000000, 1500000000);
    EXPECT_FALSE(AddPhotoFile(library(), copy, true, Regions()));
    EXPECT_EQ(One(library(), "select strFullPath from tJpgMsg"), first);
    EXPECT_EQ(One(library(), "select strFullPath from tReJpgMsg"), copy);
}

TEST_F(ImportTest, UnreadableFilesCountAsNotImportedAndTheWalkGoesOn) {
    WritePhoto("good.jpg", 1);
    ASSERT_TRUE(WriteBytesFile(photos_.File("empty.jpg"), {}));
    ASSERT_TRUE(WriteBytesFile(photos_.File("text.jpg"), {'h', 'e', 'l', 'l', 'o'}));
    std::string cut = WritePhoto("cut.jpg", 2);
    ASSERT_TRUE(TruncateFile(cut, 40));
    TestJpegOptions garbage;
    garbage.garbageExif = std::vector<std::uint8_t>(300, 0xEE);
    garbage.seed = 3;
    ASSERT_TRUE(WriteTestJpeg(photos_.File("garbage-exif.jpg"), garbage));  // decodable: imports

    RunFolderImport(photos_.Path(), Job());
    EXPECT_EQ(progress_.imported, 2);
    EXPECT_EQ(progress_.notImported, 3);
    EXPECT_EQ(progress_.Counts().unreadable, 3);
    EXPECT_EQ(progress_.Counts().duplicates, 0);
}

TEST_F(ImportTest, DistinctPhotosWithPlaceholderThumbnailsAreEachCataloguedWithAPicture) {
    std::vector<std::string> paths;
    for (std::uint32_t seed = 1; seed <= 4; ++seed) {
        TestJpegOptions o;
        o.width = 320;
        o.height = 240;
        o.thumbnailBytes = std::vector<std::uint8_t>(28, 0);  // as some cameras store it
        paths.push_back(WritePhoto("p" + std::to_string(seed) + ".jpg", seed, o));
    }
    EXPECT_EQ(RunListImport(paths, Job()), ImportEnd::Finished);
    EXPECT_EQ(progress_.imported, 4);
    EXPECT_EQ(One(library(), "select count(distinct idPic) from tJpgMsg"), "4");
    EXPECT_EQ(One(library(), "select count(*) from tReJpgMsg"), "0");

    CatalogueSession session(library());
    ForEachRow(
        SessionDb(session), "select bJpgThumbData, szofthumb from tJpgMsg", [](sqlite3_stmt* row) {
            const auto* blob = static_cast<const std::uint8_t*>(sqlite3_column_blob(row, 0));
            const int length = sqlite3_column_int(row, 1) - 1;
            RasterImage picture;
            ASSERT_NE(blob, nullptr);
            EXPECT_TRUE(picture.Decode(blob, static_cast<std::size_t>(length), ImageFormat::Jpeg));
            EXPECT_EQ(picture.Width(), 160);
        });
}

// One photo in four folders, a damaged file and a new photo: the counts say
// which copies the catalogue keeps and which files it could not take.
TEST_F(ImportTest, TheCountsTellDuplicatesFromThirdCopiesAndUnreadableFiles) {
    auto [first, older] = PhotoAndCopy(1600000000, 1500000000);
    auto copyAt = [&](const std::string& name, std::int64_t time) {
        std::string copy = photos_.File(name);
        std::filesystem::create_directories(std::filesystem::path(copy).parent_path());
        std::filesystem::copy_file(first, copy);
        SetModified(copy, time);
        return copy;
    };
    const std::string oldest = copyAt("c/p.jpg", 1400000000);
    const std::string newest = copyAt("d/p.jpg", 1700000000);
    // A placeholder thumbnail and no image to make a picture from.
    TestJpegOptions o;
    o.thumbnailBytes = {1, 2, 3, 4};
    const std::string noImage = WritePhoto("e/frameless.jpg", 9, o);
    const std::vector<std::uint8_t> bytes = ReadBytesFile(noImage);
    ASSERT_EQ(bytes[3], 0xE1) << "the EXIF segment follows SOI";
    ASSERT_TRUE(TruncateFile(noImage, 4 + (bytes[4] << 8 | bytes[5])));
    const std::string fresh = WritePhoto("e/new.jpg", 10);

    EXPECT_EQ(RunListImport({older, oldest, newest, first, noImage, fresh}, Job()),
              ImportEnd::Finished);
    const ImportCounts counts = progress_.Counts();
    EXPECT_EQ(counts.imported, 1);     // new.jpg
    EXPECT_EQ(counts.duplicates, 2);   // b/p.jpg, then a/p.jpg as the newest copy's duplicate
    EXPECT_EQ(counts.thirdCopies, 2);  // c/p.jpg, and b/p.jpg put out by d/p.jpg
    EXPECT_EQ(counts.unreadable, 1);
    EXPECT_EQ(counts.failed, 0);
    EXPECT_EQ(progress_.notImported, 5);
    EXPECT_EQ(One(library(), "select strFullPath from tJpgMsg where strName = 'p.jpg'"), newest);
    EXPECT_EQ(One(library(), "select strFullPath from tReJpgMsg"), first);
}

TEST_F(ImportTest, CancellingAfter150PhotosKeeps150AndStillSaves) {
    for (int i = 0; i < 160; ++i)
        WritePhoto("p" + std::to_string(i) + ".jpg", 1000 + i, WithPosition());
    FakeRegionSource source;
    source.stopAfter = 150;
    source.tokenToStop = &progress_.stop;
    source_ = &source;
    EXPECT_EQ(RunFolderImport(photos_.Path(), Job()), ImportEnd::Finished);
    EXPECT_EQ(progress_.imported, 150);
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 150);
}

TEST_F(ImportTest, AnExitRequestStopsWithoutCommitOrSave) {
    for (int i = 0; i < 120; ++i)
        WritePhoto("p" + std::to_string(i) + ".jpg", 2000 + i, WithPosition());
    FakeRegionSource source;
    source.stopAfter = 110;
    source.tokenToStop = &ExitToken;
    source_ = &source;
    EXPECT_EQ(RunFolderImport(photos_.Path(), Job()), ImportEnd::Abandoned);
    EXPECT_FALSE(std::filesystem::exists(CatalogueFilePath()) &&
                 CountRowsInFile(CatalogueFilePath(), "tJpgMsg") > 0);
}

TEST_F(ImportTest, PhotosWithAPositionGetTheCompanionsRegionNames) {
    FakeRegionSource source;
    source_ = &source;
    ASSERT_TRUE(AddPhotoFile(library(), WritePhoto("gps.jpg", 1, WithPosition()), true, Regions()));
    ASSERT_TRUE(AddPhotoFile(library(), WritePhoto("nogps.jpg", 2), true, Regions()));
    EXPECT_EQ(source.calls, 1);
    EXPECT_EQ(
        One(library(),
            "select nArea||strArea0||strArea1||strArea2 from tJpgMsg where strName='gps.jpg'"),
        "3广东省深圳市南山区");
    EXPECT_EQ(One(library(), "select nArea||strArea0 from tJpgMsg where strName='nogps.jpg'"), "0");
    EXPECT_EQ(fresh_.library().PendingRegions().Size(), 0u);
}

TEST_F(ImportTest, APhotoWithAPositionWaitsInTheQueueItsStoreWasHanded) {
    const std::string path = WritePhoto("gps.jpg", 1, WithPosition());
    PendingRegionQueue own;
    ASSERT_EQ(StorePhotoFile(library(), path, true, {nullptr, own}), StoreOutcome::Imported);
    EXPECT_EQ(own.Size(), 1u);
    EXPECT_EQ(fresh_.library().PendingRegions().Size(), 0u) << "no other queue takes it";
    FakeRegionSource source;
    const std::int64_t id = std::stoll(One(library(), "select idPic from tJpgMsg"));
    ASSERT_EQ(RefreshPhotoFromFile(library(), path, PhotoRef{id, false}, true, {&source, own}), id);
    EXPECT_EQ(source.calls, 1) << "the refresh asks the source it was handed";
    EXPECT_EQ(own.Size(), 1u);
}

TEST_F(ImportTest, WithoutTheCompanionPhotosWithAPositionAreQueuedAndTheSummaryAsks) {
    WritePhoto("gps1.jpg", 1, WithPosition());
    WritePhoto("gps2.jpg", 2, WithPosition());
    WritePhoto("plain.jpg", 3);
    int asked = -1, askedImported = -1;
    ImportReceivers receivers;
    receivers.askRegionLookup = [&](int imported, int withPosition) {
        askedImported = imported;
        asked = withPosition;
        return false;
    };
    receivers_ = receivers;
    RunFolderImport(photos_.Path(), Job());
    EXPECT_EQ(askedImported, 3);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(fresh_.library().PendingRegions().Size(), 0u) << "declining empties the queue";
    EXPECT_EQ(One(library(), "select nArea from tJpgMsg where strName='gps1.jpg'"), "0");
}

TEST_F(ImportTest, TheCatalogueFileHoldsTheImportBeforeTheClosingQuestionIsAsked) {
    WritePhoto("gps.jpg", 1, WithPosition());
    WritePhoto("plain.jpg", 2);
    int rowsOnDisk = -1;
    ImportReceivers receivers;
    receivers.askRegionLookup = [&](int, int) {
        rowsOnDisk = CountRowsInFile(CatalogueFilePath(), "tJpgMsg");
        return false;
    };
    receivers_ = receivers;
    EXPECT_EQ(RunFolderImport(photos_.Path(), Job()), ImportEnd::Finished);
    EXPECT_EQ(rowsOnDisk, 2);
    EXPECT_FALSE(fresh_.library().Modified()) << "declining empties only the in-memory queue";
}

TEST_F(ImportTest, AFailedSaveAtTheEndLeavesTheCatalogueMarkedForTheNextSave) {
    WritePhoto("a.jpg", 1);
    // A save file that cannot be created: a folder with something in it.
    std::filesystem::create_directories(SaveFilePath() + "/blocker");
    EXPECT_EQ(RunListImport({photos_.File("a.jpg")}, Job()), ImportEnd::SaveFailed);
    EXPECT_TRUE(fresh_.library().Modified());
}

TEST_F(ImportTest, ClosingStepsTellThePaneToDropAndRebuildItsTrees) {
    WritePhoto("a.jpg", 1);
    std::vector<std::string> calls;
    ImportReceivers receivers;
    receivers.dropTrees = [&] { calls.push_back("drop"); };
    receivers.rebuildCurrentTree = [&] { calls.push_back("rebuild"); };
    receivers_ = receivers;
    RunListImport({photos_.File("a.jpg")}, Job());
    EXPECT_EQ(calls, (std::vector<std::string>{"drop", "rebuild"}));
}

TEST_F(ImportTest, AListWithNothingToImportEndsWithoutClosingSteps) {
    std::filesystem::create_directories(photos_.File("empty"));
    bool dropped = false;
    ImportReceivers receivers;
    receivers.dropTrees = [&] { dropped = true; };
    receivers_ = receivers;
    EXPECT_EQ(RunListImport({photos_.File("empty"), photos_.File("x.png")}, Job()),
              ImportEnd::Empty);
    EXPECT_FALSE(dropped);
    EXPECT_FALSE(std::filesystem::exists(CatalogueFilePath()) &&
                 CountRowsInFile(CatalogueFilePath(), "tFolder") > 0);
}

TEST_F(ImportTest, PromotingADuplicateSwapsItWithTheMainPhoto) {
    auto [first, copy] = PhotoAndCopy(1600000000, 1500000000);
    AddPhotoFile(library(), copy, true, Regions());
    const std::int64_t id = std::stoll(One(library(), "select idPic from tReJpgMsg"));

    PromoteDuplicate(library(), id, Regions());
    EXPECT_EQ(One(library(), "select strFullPath from tJpgMsg"), copy);
    EXPECT_EQ(One(library(), "select strFullPath from tReJpgMsg"), first);
    EXPECT_GT(FolderLastWriteTime(copy), 1600000000)
        << "the promoted file is marked as written now";
}

TEST_F(ImportTest, PromotingADuplicateWhoseMainFileIsGoneDoesNothing) {
    auto [first, copy] = PhotoAndCopy(1600000000, 1500000000);
    AddPhotoFile(library(), copy, true, Regions());
    const std::int64_t id = std::stoll(One(library(), "select idPic from tReJpgMsg"));
    std::filesystem::remove(first);

    EXPECT_FALSE(PromoteDuplicate(library(), id, Regions()));
    EXPECT_EQ(One(library(), "select strFullPath from tReJpgMsg"), copy);
    EXPECT_EQ(FolderLastWriteTime(copy), 1500000000);
}

TEST_F(ImportTest, RefreshingAPhotoKeepsItsRegionsWithoutTheMap) {
    std::string path = WritePhoto("r.jpg", 1, WithPosition());
    FakeRegionSource source;
    source_ = &source;
    ASSERT_TRUE(AddPhotoFile(library(), path, true, Regions()));
    const std::int64_t oldId = std::stoll(One(library(), "select idPic from tJpgMsg"));
    source_ = nullptr;

    TestJpegOptions changed = WithPosition();
    changed.xpTitle = u"new title";
    WritePhoto("r.jpg", 2, changed);  // a rewrite with a new thumbnail
    ASSERT_EQ(SaveCatalogue(library()), 0);
    const std::int64_t newId =
        RefreshPhotoFromFile(library(), path, PhotoRef{oldId, false}, false, Regions());
    ASSERT_NE(newId, 0);
    EXPECT_NE(newId, oldId);
    EXPECT_FALSE(PhotoIdExists(library(), oldId));
    EXPECT_EQ(One(library(), "select strXpTitle||strArea2 from tJpgMsg"), "new title南山区");
    EXPECT_TRUE(fresh_.library().Modified());
}

TEST_F(ImportTest, TheWalkCountsLinksToFilesButNeitherFollowsLinksToFoldersNorDanglingOnes) {
    namespace fs = std::filesystem;
    const std::string photo = WritePhoto("album/p.jpg", 400);
    fs::create_symlink(photo, photos_.File("album/linked.jpg"));
    fs::create_symlink(photos_.File("nowhere.jpg"), photos_.File("album/dangling.jpg"));
    // A link back up the tree: followed, it would never end.
    fs::create_directory_symlink(photos_.Path(), photos_.File("album/loop"));
    EXPECT_EQ(CountJpegFiles(photos_.Path(), progress_), 2);
}

TEST_F(ImportTest, TheCountShowsItsRunningTotalAndACancelDuringItStopsTheListImport) {
    for (int i = 0; i < 3; ++i) WritePhoto("c/p" + std::to_string(i) + ".jpg", 300 + i);
    std::atomic<int> running{10};
    EXPECT_EQ(CountJpegFiles(photos_.Path(), progress_, &running), 3);
    EXPECT_EQ(running, 13) << "the running total grows as files are found";

    progress_.stop.RequestStop();  // pressed while the list was being counted
    RunListImport({photos_.Path()}, Job());
    EXPECT_EQ(progress_.imported, 0);
}
