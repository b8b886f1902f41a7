#include <sys/stat.h>

#include <filesystem>
#include <map>

#include "catalogue/catalogue_save.h"
#include "catalogue/deleted_paths.h"
#include "catalogue/folder_stamps.h"
#include "catalogue/folder_volumes.h"
#include "catalogue/library_internals.h"
#include "catalogue/photo_rows.h"
#include "catalogue/sql_query.h"
#include "database_file.h"
#include "import/import_workers.h"
#include "import/library_tidy.h"
#include "import/library_update.h"
#include "import/library_upkeep.h"
#include "import_fixture.h"
#include "platform/mount_table.h"

namespace {

constexpr std::int64_t kImportTime = 1500000000;
constexpr std::int64_t kLaterTime = 1600000000;

int Count(Library& library, const std::string& statement) {
    CatalogueSession session(library);
    return static_cast<int>(QueryInt64(SessionDb(session), statement).value_or(-1));
}

class LibraryUpkeepTest : public ImportTest {
  protected:
    void SetUp() override {
        ImportTest::SetUp();
        upkeep_.onChange = [this](UpkeepChange change, const std::string& path) {
            changes_.emplace(path, change);
        };
    }

    // Writes photos a/1.jpg .. a/n.jpg with keywords and a subject, and
    // imports the folder with old times, so that any later change shows.
    std::string ImportedFolder(const std::string& name, int photos, std::uint32_t firstSeed) {
        TestJpegOptions o;
        o.xpKeywords = u"sea;beach";
        o.xpSubject = u"holiday";
        for (int i = 1; i <= photos; ++i)
            SetModified(WritePhoto(name + "/" + std::to_string(i) + ".jpg", firstSeed + i, o),
                        kImportTime);
        const std::string folder = photos_.File(name);
        SetModified(folder, kImportTime);
        EXPECT_EQ(RunFolderImport(folder, Job()), ImportEnd::Finished);
        return folder;
    }

    // Something changed in the folder: its time moves on.
    static void Touch(const std::string& folder) { SetModified(folder, kLaterTime); }

    std::multimap<std::string, UpkeepChange> changes_;
    UpkeepProgress upkeep_;
};

}  // namespace

TEST_F(LibraryUpkeepTest, UpdateRereadsModifiedFilesDropsGoneOnesAndImportsNothingNew) {
    const std::string a = ImportedFolder("a", 3, 0);
    const std::string b = ImportedFolder("b", 1, 10);
    TestJpegOptions edited;
    edited.model = "EOS R5";
    SetModified(WritePhoto("a/1.jpg", 1, edited), kLaterTime);  // same thumbnail, new model
    std::filesystem::remove(a + "/2.jpg");
    WritePhoto("a/new.jpg", 99);
    Touch(a);

    ASSERT_EQ(UpdateLibrary(library(), upkeep_, Regions()), UpdateEnd::Updated);
    EXPECT_EQ(Count(library(), "select count(*) from tJpgMsg where strPath = '" + a + "'"), 2);
    EXPECT_EQ(Count(library(), "select count(*) from tJpgMsg where strModel = 'EOS R5'"), 1);
    EXPECT_EQ(Count(library(), "select count(*) from tJpgMsg where strName = 'new.jpg'"), 0);
    EXPECT_EQ(Count(library(), "select count(*) from tJpgMsg where strPath = '" + b + "'"), 1)
        << "an unchanged folder is not walked";
    EXPECT_EQ(changes_.count(a + "/1.jpg"), 1u);
    EXPECT_EQ(changes_.count(a + "/2.jpg"), 1u);
    // The new file is seen and reported, not imported.
    const auto seen = changes_.find(a + "/new.jpg");
    ASSERT_NE(seen, changes_.end());
    EXPECT_EQ(seen->second, UpkeepChange::NewFileSeen);
    EXPECT_EQ(changes_.size(), 3u);
    EXPECT_FALSE(AnyFolderChanged(library())) << "the new folder time was taken";
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 3) << "the update saves";
}

TEST_F(LibraryUpkeepTest, ARereadWithANewThumbnailReplacesTheOldRowOfTheFile) {
    const std::string a = ImportedFolder("a", 1, 0);
    SetModified(WritePhoto("a/1.jpg", 50), kLaterTime);  // other pixels, other thumbnail
    Touch(a);
    ASSERT_EQ(UpdateLibrary(library(), upkeep_, Regions()), UpdateEnd::Updated);
    EXPECT_EQ(
        Count(library(), "select count(*) from tJpgMsg where strFullPath = '" + a + "/1.jpg'"), 1);
    EXPECT_EQ(Count(library(), "select count(*) from tKeyWord"), 0)
        << "the new file has no keywords";
}

TEST_F(LibraryUpkeepTest, AFileOnTheDeletedListIsNotReadAgain) {
    const std::string a = ImportedFolder("a", 1, 0);
    AddDeletedPath(library(), a + "/1.jpg");
    TestJpegOptions edited;
    edited.model = "EOS R5";
    SetModified(WritePhoto("a/1.jpg", 1, edited), kLaterTime);
    Touch(a);
    ASSERT_EQ(UpdateLibrary(library(), upkeep_, Regions()), UpdateEnd::Updated);
    EXPECT_EQ(Count(library(), "select count(*) from tJpgMsg where strModel = 'EOS R5'"), 0);
    EXPECT_EQ(upkeep_.refreshed, 0);
}

TEST_F(LibraryUpkeepTest, AFolderWhosePhotosAllVanishedLosesItsRowsAndItsStamp) {
    const std::string a = ImportedFolder("a", 2, 0);
    ImportedFolder("b", 1, 10);
    std::filesystem::copy_file(a + "/1.jpg", photos_.File("b/copy.jpg"));
    SetModified(photos_.File("b/copy.jpg"), kImportTime - 10);
    ASSERT_FALSE(AddPhotoFile(library(), photos_.File("b/copy.jpg"), true, Regions()))
        << "older copy: a duplicate";
    ASSERT_EQ(Count(library(), "select count(*) from tReJpgMsg"), 1);

    std::filesystem::remove(a + "/1.jpg");
    std::filesystem::remove(a + "/2.jpg");
    Touch(a);
    ASSERT_EQ(UpdateLibrary(library(), upkeep_, Regions()), UpdateEnd::Updated);
    EXPECT_EQ(Count(library(), "select count(*) from tJpgMsg where strPath = '" + a + "'"), 0);
    EXPECT_EQ(Count(library(), "select count(*) from tKeyWord where strPath = '" + a + "'"), 0);
    EXPECT_EQ(Count(library(), "select count(*) from tSubject where strPath = '" + a + "'"), 0);
    EXPECT_EQ(Count(library(), "select count(*) from tFolder where strFolderPath = '" + a + "'"),
              0);
    EXPECT_EQ(Count(library(), "select count(*) from tReJpgMsg"), 1) << "b's duplicate stays";
}

TEST_F(LibraryUpkeepTest, ACancelledUpdateStillRewritesTheFolderListAndSaves) {
    const std::string a = ImportedFolder("a", 2, 0);
    std::filesystem::remove(a + "/1.jpg");
    Touch(a);
    ASSERT_TRUE(AnyFolderChanged(library()));
    upkeep_.stop.RequestStop();
    ASSERT_EQ(UpdateLibrary(library(), upkeep_, Regions()), UpdateEnd::Updated);
    EXPECT_EQ(Count(library(), "select count(*) from tJpgMsg"), 2) << "no folder was handled";
    EXPECT_EQ(QueryFileColumn(CatalogueFilePath(), "select ModifyTime from tFolder"),
              std::vector<std::string>{std::to_string(kLaterTime)});
}

TEST_F(LibraryUpkeepTest, AnUpdateSavesOnlyWhenSomethingChanged) {
    struct Case {
        const char* change;
        bool touch;
        bool saved;
    };
    for (const Case c : {Case{"nothing", false, false}, Case{"a folder's time", true, true}}) {
        SCOPED_TRACE(c.change);
        ClearCatalogue(library());
        const std::string a = ImportedFolder("a", 2, 0);
        ASSERT_FALSE(fresh_.library().Modified());
        const auto inode = [] {
            struct stat st {};
            stat(CatalogueFilePath().c_str(), &st);
            return st.st_ino;
        };
        const auto before = inode();
        if (c.touch) Touch(a);
        ForgetFolderList(library());  // as a new start finds it
        ASSERT_EQ(UpdateLibrary(library(), upkeep_, Regions()), UpdateEnd::Updated);
        EXPECT_EQ(inode() != before, c.saved) << "a save replaces the file";
        EXPECT_FALSE(fresh_.library().Modified());
        EXPECT_EQ(QueryFileColumn(CatalogueFilePath(), "select ModifyTime from tFolder"),
                  std::vector<std::string>{std::to_string(c.touch ? kLaterTime : kImportTime)});
        EXPECT_EQ(Count(library(), "select count(*) from tJpgMsg"), 2);
    }
}

TEST_F(LibraryUpkeepTest, AnUpdateWithoutAFolderListDoesNothing) {
    EXPECT_EQ(UpdateLibrary(library(), upkeep_, Regions()), UpdateEnd::NoFolders);
}

TEST_F(LibraryUpkeepTest, IsFileModifiedComparesTheFileTimeWithTheCatalogue) {
    const std::string a = ImportedFolder("a", 1, 0);
    const std::string photo = a + "/1.jpg";
    EXPECT_FALSE(IsFileModified(library(), photo));
    SetModified(photo, kImportTime - 1);
    EXPECT_FALSE(IsFileModified(library(), photo)) << "older is not modified";
    SetModified(photo, kLaterTime);
    EXPECT_TRUE(IsFileModified(library(), photo));
    EXPECT_FALSE(IsFileModified(library(), WritePhoto("a/new.jpg", 7))) << "not catalogued";
    std::filesystem::remove(photo);
    EXPECT_FALSE(IsFileModified(library(), photo)) << "unreadable";
}

TEST_F(LibraryUpkeepTest, TidyDropsGoneFoldersAndFilesButDuplicatesOnlyWithTheirFolder) {
    const std::string a = ImportedFolder("a", 2, 0);
    const std::string b = ImportedFolder("b", 2, 10);
    const std::string c = ImportedFolder("c", 1, 20);
    // c/copy.jpg is an older copy of a/1.jpg: a duplicate row in folder c.
    std::filesystem::copy_file(a + "/1.jpg", c + "/copy.jpg");
    SetModified(c + "/copy.jpg", kImportTime - 10);
    ASSERT_FALSE(AddPhotoFile(library(), c + "/copy.jpg", true, Regions()));
    std::filesystem::remove(c + "/copy.jpg");  // vanished duplicate, folder stays
    std::filesystem::remove_all(a);
    std::filesystem::remove(b + "/1.jpg");

    ASSERT_EQ(SaveCatalogue(library()), 0);
    ASSERT_TRUE(TidyCatalogue(library(), std::nullopt, upkeep_));
    EXPECT_TRUE(fresh_.library().Modified());
    EXPECT_EQ(Count(library(), "select count(*) from tJpgMsg where strPath = '" + a + "'"), 0);
    EXPECT_EQ(Count(library(), "select count(*) from tKeyWord where strPath = '" + a + "'"), 0);
    EXPECT_EQ(Count(library(), "select count(*) from tFolder where strFolderPath = '" + a + "'"),
              0);
    EXPECT_EQ(Count(library(), "select count(*) from tJpgMsg where strPath = '" + b + "'"), 1);
    EXPECT_EQ(Count(library(), "select count(*) from tKeyWord where strPath = '" + b + "'"), 2);
    EXPECT_EQ(Count(library(), "select count(*) from tReJpgMsg"), 1) << "c still exists";
    EXPECT_EQ(upkeep_.foldersRemoved, 1);
    EXPECT_EQ(upkeep_.photosRemoved, 1);
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 5) << "the plain tidy does not save";

    std::filesystem::remove_all(c);
    ASSERT_TRUE(TidyCatalogue(library(), std::nullopt, upkeep_));
    EXPECT_EQ(Count(library(), "select count(*) from tReJpgMsg"), 0) << "gone with its folder";
}

TEST_F(LibraryUpkeepTest, TheThoroughTidyWritesOnlyThePhotosThatExist) {
    const std::string a = ImportedFolder("a", 3, 0);
    std::filesystem::remove(a + "/2.jpg");
    ASSERT_EQ(RunTidy(library(), true, upkeep_), TidyEnd::Rebuilt);
    EXPECT_FALSE(fresh_.library().Modified()) << "everything is in the file";
    const std::string file = CatalogueFilePath();
    EXPECT_EQ(CountRowsInFile(file, "tJpgMsg"), 2);
    EXPECT_EQ(CountRowsInFile(file, "tKeyWord"), 4);
    EXPECT_EQ(CountRowsInFile(file, "tSubject"), 2);
    EXPECT_EQ(CountRowsInFile(file, "tFolder"), 1);
    EXPECT_EQ(upkeep_.copied, 2);
}

// A volume is "unplugged" by handing the library a mount table without it;
// its mount point then is an empty folder, as on a real system.
class OfflineVolumeTest : public LibraryUpkeepTest {
  protected:
    void SetUp() override {
        LibraryUpkeepTest::SetUp();
        volume_ = photos_.File("usb");
        std::filesystem::create_directories(volume_);
        fresh_.library().SetMountTableSource([this] { return mounts_; });
    }
    MountTable Plugged() const { return MountTable({{"/", ""}, {volume_, "STICK"}}); }
    MountTable Unplugged() const { return MountTable(std::vector<MountPoint>{{"/", ""}}); }
    // Unplugging leaves the empty mount point behind.
    void Unplug() {
        std::filesystem::rename(volume_, photos_.File("away"));
        std::filesystem::create_directories(volume_);
        SetModified(volume_, kLaterTime);
    }

    std::string volume_;
    MountTable mounts_;  // what the library sees
};

TEST_F(OfflineVolumeTest, PhotosOnAnUnpluggedVolumeSurviveUpdateTidyAndRebuild) {
    std::string pics, root;
    mounts_ = Plugged();
    pics = ImportedFolder("usb/pics", 2, 0);
    root = ImportedFolder("usb", 1, 10);  // photos at the mount point itself
    ImportedFolder("home", 1, 20);
    ASSERT_TRUE(std::filesystem::exists(VolumeFilePath()));
    Unplug();
    mounts_ = Unplugged();
    ForgetFolderList(library());

    EXPECT_FALSE(AnyFolderChanged(library())) << "an unplugged volume is not a change";
    EXPECT_EQ(UpdateLibrary(library(), upkeep_, Regions()), UpdateEnd::Updated);
    EXPECT_TRUE(TidyCatalogue(library(), std::nullopt, upkeep_));
    EXPECT_EQ(Count(library(), "select count(*) from tJpgMsg"), 4);
    EXPECT_FALSE(fresh_.library().Modified());
    EXPECT_EQ(RunTidy(library(), true, upkeep_), TidyEnd::Rebuilt);
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tJpgMsg"), 4);
    EXPECT_EQ(CountRowsInFile(CatalogueFilePath(), "tFolder"), 3)
        << "offline folders keep their stamps";
    for (const auto& [path, change] : changes_)
        EXPECT_EQ(change, UpkeepChange::FolderOffline) << path;
    EXPECT_EQ(changes_.count(pics), 2u)
        << "reported by both tidies; the update does not even walk it";
}

TEST_F(OfflineVolumeTest, AFolderMissingFromAPluggedVolumeIsGone) {
    mounts_ = Plugged();
    const std::string pics = ImportedFolder("usb/pics", 2, 0);
    std::filesystem::remove_all(pics);
    EXPECT_TRUE(AnyFolderChanged(library()));
    EXPECT_TRUE(TidyCatalogue(library(), std::nullopt, upkeep_));
    EXPECT_EQ(Count(library(), "select count(*) from tJpgMsg"), 0);
}

TEST_F(OfflineVolumeTest, TheFolderListLearnsTheVolumesOfACatalogueFromBefore) {
    std::string pics;
    mounts_ = Plugged();
    pics = ImportedFolder("usb/pics", 1, 0);
    std::filesystem::remove(VolumeFilePath());  // as written before volumes were recorded
    ForgetFolderList(library());
    EXPECT_FALSE(AnyFolderChanged(library())) << "the start-up check loads the folder list";
    Unplug();
    mounts_ = Unplugged();
    EXPECT_TRUE(TidyCatalogue(library(), std::nullopt, upkeep_));
    EXPECT_EQ(Count(library(), "select count(*) from tJpgMsg"), 1);
}
