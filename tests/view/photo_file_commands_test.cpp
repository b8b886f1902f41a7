// The view's file commands: clipboard, removal, file location, duplicates.

#include "view/photo_file_commands.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMimeData>
#include <QSignalSpy>
#include <filesystem>
#include <fstream>

#include "catalogue/deleted_paths.h"
#include "catalogue/photo_rows.h"
#include "photo_catalogue_fixture.h"
#include "view/photo_clipboard.h"
#include "view/photo_trash.h"
#include "view/verero_view.h"

namespace {

// n photos with real files in a temporary folder, listed in the view; photo
// 2 also has a duplicate in another file, listed after the main photos.
class FileCommandsTest : public PhotoCatalogueTest {
  protected:
    void Fill(int n) {
        BeginTransaction(library());
        for (int id = 1; id <= n; ++id) Insert(id, RecordAt(id, "p"), {});
        Insert(2, RecordAt(2, "copy-of-"), {}, true);
        CommitTransaction(library());
        view.ResetPhotoList(n + 1);
        for (int id = 1; id <= n; ++id) view.Photos().Append({id, false});
        view.Photos().Append({2, true});
        view.Photos().currentIndex = 0;
    }
    PhotoRecord RecordAt(int id, const std::string& prefix) {
        const std::string name = prefix + std::to_string(id) + ".jpg";
        std::ofstream(fresh_.Root() + "/" + name) << "photo " << id;
        PhotoRecord r = RecordOf(fresh_.Root(), name);
        r.nWidth = 4000;
        r.nHeight = 3000;
        return r;
    }
    QString PathOf(const std::string& name) {
        return QString::fromStdString(fresh_.Root() + "/" + name);
    }
    CVereroView view{library()};
    PhotoFileCommands commands{view};
};

TEST_F(FileCommandsTest, CopyPutsTheSelectedFilesOnTheClipboardForAFileManager) {
    Fill(5);
    for (int i : {0, 2, 5}) view.Selection().list.Append(view.Photos().Entry(i).ref);
    commands.Copy();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(data);
    EXPECT_EQ(data->urls(), (QList<QUrl>{QUrl::fromLocalFile(PathOf("p1.jpg")),
                                         QUrl::fromLocalFile(PathOf("p3.jpg")),
                                         QUrl::fromLocalFile(PathOf("copy-of-2.jpg"))}));
    EXPECT_TRUE(data->data("x-special/gnome-copied-files").startsWith("copy\nfile://"));
    EXPECT_FALSE(IsCutMimeData(*data));
}

TEST_F(FileCommandsTest, CutOfTheCurrentDuplicateNamesTheCataloguedCopy) {
    Fill(3);
    view.Photos().currentIndex = 3;  // the duplicate of photo 2
    commands.Cut();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(data);
    EXPECT_EQ(data->urls(), QList<QUrl>{QUrl::fromLocalFile(PathOf("p2.jpg"))});
    EXPECT_TRUE(IsCutMimeData(*data));
}

TEST_F(FileCommandsTest, RemovingTwoOfTenKeepsTheirFilesAndMarksThemRemoved) {
    Fill(10);
    view.Selection().list.Append({4, false});
    view.Selection().list.Append({7, false});
    QSignalSpy refresh(&view, &CVereroView::refreshRequested);
    commands.Remove(false);
    EXPECT_EQ(CountPhotosNow(library()), 8);
    EXPECT_TRUE(std::filesystem::exists(PathOf("p4.jpg").toStdString()));
    EXPECT_TRUE(IsDeletedPath(library(), PathOf("p7.jpg").toStdString()));
    EXPECT_TRUE(view.Selection().list.Empty());
    EXPECT_EQ(refresh.count(), 1);
}

TEST_F(FileCommandsTest, RemovingTheCurrentPhotoFromDiskTakesItsFileAndItsEntry) {
    Fill(3);
    view.Photos().currentIndex = 1;
    commands.Remove(true);
    EXPECT_FALSE(std::filesystem::exists(PathOf("p2.jpg").toStdString()));
    EXPECT_FALSE(PhotoIdExists(library(), 2));
    EXPECT_FALSE(IsDeletedPath(library(), PathOf("p2.jpg").toStdString()));
    ASSERT_EQ(view.Photos().Count(), 3);
    EXPECT_EQ(view.Photos().Entry(1).ref.idPic, 3);
}

TEST_F(FileCommandsTest, TheRemovalQuestionCountsOnlyPhotosOnAVolumeWithoutTrash) {
    Fill(3);
    // The temporary folder is a writable volume: its files go to a trash.
    EXPECT_EQ(PhotosWithoutTrash(library(), {{1, false}, {2, true}}), 0);
    EXPECT_TRUE(VolumeHasTrash(QDir::homePath() + QStringLiteral("/photo.jpg")));
    EXPECT_FALSE(VolumeHasTrash(QStringLiteral("/no/such/volume/photo.jpg")));
}

TEST_F(FileCommandsTest, TheViewersRemovalOfAnotherPhotoKeepsTheCurrentOneAndTheSelectionTrue) {
    Fill(4);
    view.Photos().currentIndex = 3;  // photo 4; the viewer removes photo 2 behind it
    view.Selection().list.Append({2, false});
    EXPECT_TRUE(commands.RemoveAt(1, false));
    EXPECT_FALSE(PhotoIdExists(library(), 2));
    EXPECT_EQ(view.Photos().Entry(view.Photos().currentIndex).ref.idPic, 4);
    EXPECT_FALSE(view.Selection().list.Contains({2, false}));
    EXPECT_FALSE(commands.RemoveAt(9, false));
    EXPECT_EQ(view.Photos().Count(), 4);
}

TEST_F(FileCommandsTest, OpeningTheLocationOfAVanishedFileAsksForATidy) {
    Fill(2);
    view.Photos().EnsureThumbnail(0);  // reads the entry's path
    std::filesystem::remove(PathOf("p1.jpg").toStdString());
    int notices = 0;
    commands.showInvalidPhoto = [&] { ++notices; };
    QSignalSpy tidy(&commands, &PhotoFileCommands::tidyRequested);
    commands.OpenFileLocation();
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(tidy.count(), 1);
}

TEST_F(FileCommandsTest, OpeningTheLocationReadsThePathFromTheCatalogueAndSaysWhenNothingShowsIt) {
    // No session bus and no desktop here: nothing can show the folder.
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    Fill(2);
    view.Photos().currentIndex = 1;  // never painted: the entry has no path yet
    int invalid = 0;
    commands.showInvalidPhoto = [&] { ++invalid; };
    QStringList told;
    commands.showNoFileManager = [&](const QString& folder) { told << folder; };
    commands.OpenFileLocation();
    QCoreApplication::processEvents();
    EXPECT_EQ(invalid, 0);
    EXPECT_EQ(told, QStringList{QString::fromStdString(fresh_.Root())});
}

TEST_F(FileCommandsTest, PromotingNeedsADuplicateAmongThePhotosItActsOn) {
    Fill(3);
    EXPECT_FALSE(commands.PromoteAvailable());
    view.Selection().list.Append({1, false});
    view.Selection().list.Append({3, false});
    EXPECT_FALSE(commands.PromoteAvailable());
    view.Selection().list.Append({2, true});
    EXPECT_TRUE(commands.PromoteAvailable());
}

}  // namespace
