#include "viewer/dialog_picview.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <chrono>
#include <thread>

#include "browsemodel/photo_list.h"
#include "catalogue/photo_catalogue.h"
#include "temp_folder.h"
#include "test_jpeg_writer.h"
#include "viewer/prefetch_worker.h"
#include "viewer/viewer_geometry.h"
#include "viewer/viewer_skin.h"
#include "widgets/skin_button.h"

namespace {

// A list of n small photos on disk, each with a thumbnail, a cache filled by
// a real worker, and a viewer over them that removes photos from the list.
class ViewerDialogTest : public ::testing::Test {
  protected:
    void Make(int n, int width = 64, int height = 48) {
        photos_.Reset(n);
        for (int i = 0; i < n; ++i) {
            const std::string path = folder_.File("v" + std::to_string(i) + ".jpg");
            TestJpegOptions options;
            options.width = width;
            options.height = height;
            options.seed = static_cast<std::uint32_t>(i + 7);
            options.withExif = false;
            ASSERT_TRUE(WriteTestJpeg(path, options));
            photos_.Append(PhotoRef{i + 1, false});
            PhotoListEntry& entry = photos_.Entry(i);
            entry.fullPath = path;
            entry.width = width;
            entry.height = height;
            entry.thumbnail = QImage(16, 12, QImage::Format_RGB32);
            entry.thumbnail.fill(QColor(10 * i, 0, 0));
            PhotoDisplaySource source;
            source.fullPath = path;
            source.width = width;
            source.height = height;
            sources_[i + 1] = source;
        }
        worker_ = std::make_unique<PrefetchWorker>(
            cache_, [this](PhotoRef photo) -> std::optional<PhotoDisplaySource> {
                return sources_.at(photo.idPic);
            });
        // As the host does: large photos are reduced to their size on the screen.
        worker_->SetScreen(QGuiApplication::primaryScreen()->size());
        std::vector<PhotoRef> refs;
        for (int i = 0; i < n; ++i) refs.push_back(photos_.Entry(i).ref);
        worker_->Reset(refs, 0);
    }
    CDialogPICVIEW& Open(int index, const QImage& backdrop = QImage()) {
        photos_.currentIndex = index;
        worker_->SetCurrent(index);
        WaitIdle();
        CDialogPICVIEW::Services services;
        services.photos = &photos_;
        services.cache = &cache_;
        services.worker = worker_.get();
        services.farewellMs = 0;
        services.removePhoto = [this](int i, bool deleteFile) {
            removed_.push_back({i, deleteFile});
            photos_.RemoveAt(i);
            return true;
        };
        services.confirmDelete = [this] { return answer_; };
        viewer_ = std::make_unique<CDialogPICVIEW>(services, cache_.Find(index), backdrop);
        viewer_->show();
        return *viewer_;
    }
    void WaitIdle() {
        for (int i = 0; i < 1000 && !worker_->Idle(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    // Lets the worker's stored notifications and the 20 ms tick arrive.
    void SettleFullImage() {
        WaitIdle();
        for (int i = 0; i < 50 && !viewer_->ShowsFullImage(); ++i) QTest::qWait(10);
    }
    void Wheel(QPoint at, int delta) {
        QWheelEvent event(at, viewer_->mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewer_.get(), &event);
    }

    TempFolder folder_;
    Library library_;
    PhotoList photos_{library_};
    std::map<std::int64_t, PhotoDisplaySource> sources_;
    ViewerImageCache cache_;
    std::unique_ptr<PrefetchWorker> worker_;
    std::unique_ptr<CDialogPICVIEW> viewer_;
    std::vector<std::pair<int, bool>> removed_;
    std::optional<bool> answer_ = false;
};

}  // namespace

TEST_F(ViewerDialogTest, StepsThroughTheListAndFlashesAtBothEnds) {
    Make(3);
    CDialogPICVIEW& viewer = Open(2);
    EXPECT_TRUE(viewer.ShowsFullImage());
    viewer.OnNext();
    EXPECT_EQ(photos_.currentIndex, 2);
    EXPECT_EQ(viewer.LastFlash(), QStringLiteral("最后一张"));
    QTest::keyClick(&viewer, Qt::Key_Left);
    QTest::keyClick(&viewer, Qt::Key_Left);
    EXPECT_EQ(photos_.currentIndex, 0);
    QTest::keyClick(&viewer, Qt::Key_Left);
    EXPECT_EQ(photos_.currentIndex, 0);
    EXPECT_EQ(viewer.LastFlash(), QStringLiteral("第一张"));
    SettleFullImage();
    EXPECT_EQ(viewer.Displayed()->sourcePath, photos_.Entry(0).fullPath);
}

TEST_F(ViewerDialogTest, ZoomStopsAtItsLimitsAndTheWheelZoomsOutsideTheStrip) {
    Make(3);
    CDialogPICVIEW& viewer = Open(1);
    EXPECT_EQ(viewer.Zoom(), 1000);  // smaller than the screen: 100%
    for (int i = 0; i < 20; ++i) viewer.OnZoomOut();
    EXPECT_EQ(viewer.Zoom(), ViewerZoom::kMin);
    for (int i = 0; i < 40; ++i) QTest::keyClick(&viewer, Qt::Key_Up);
    EXPECT_EQ(viewer.Zoom(), ViewerZoom::kMax);
    viewer.OnZoomIn();
    EXPECT_EQ(viewer.Zoom(), ViewerZoom::kMax);
    viewer.OnNaturalSize();
    EXPECT_EQ(viewer.Zoom(), 1000);

    // Over the picture the wheel zooms; over the strip it steps.
    Wheel(QPoint(viewer.width() / 2, viewer.height() / 2), -120);
    EXPECT_EQ(viewer.Zoom(), 733);  // ten steps of x 0.97, each cut to an integer
    EXPECT_EQ(photos_.currentIndex, 1);
    Wheel(QPoint(viewer.width() / 2, viewer.height() - 80), -120);
    EXPECT_EQ(photos_.currentIndex, 2);
    Wheel(QPoint(viewer.width() / 2, viewer.height() - 80), 120);
    EXPECT_EQ(photos_.currentIndex, 1);
    // A touchpad's small deltas act once they make up a notch.
    Wheel(QPoint(viewer.width() / 2, viewer.height() - 80), -60);
    EXPECT_EQ(photos_.currentIndex, 1);
    Wheel(QPoint(viewer.width() / 2, viewer.height() - 80), -60);
    EXPECT_EQ(photos_.currentIndex, 2);
}

TEST_F(ViewerDialogTest, AStripClickThreeCellsRightMovesThreePhotos) {
    Make(8);
    CDialogPICVIEW& viewer = Open(2);
    const int c = viewer.width() / 2;
    QTest::mouseClick(&viewer, Qt::LeftButton, {}, QPoint(c + 120, viewer.height() - 80));
    EXPECT_EQ(photos_.currentIndex, 5);
    // A thumbnail stands in, at the size the full image gets, until it is ready.
    EXPECT_EQ(viewer.ImageSize(), QSize(64, 48));
    SettleFullImage();
    EXPECT_TRUE(viewer.ShowsFullImage());
    EXPECT_EQ(viewer.Displayed()->sourcePath, photos_.Entry(5).fullPath);
}

TEST_F(ViewerDialogTest, ALargePhotoOpensFittedAndTurnsStayWhileCached) {
    const QSize screen = QGuiApplication::primaryScreen()->size();
    Make(3, screen.width() * 2, screen.height() * 2);
    CDialogPICVIEW& viewer = Open(1);
    EXPECT_EQ(viewer.Zoom(), 500);
    EXPECT_EQ(viewer.Displayed()->picture.size(), screen);  // made for the screen
    EXPECT_TRUE(viewer.Displayed()->Reduced());
    viewer.OnTurn(true);
    EXPECT_EQ(viewer.ImageSize(), QSize(screen.height() * 2, screen.width() * 2));
    viewer.OnNext();
    SettleFullImage();
    viewer.OnPrevious();
    EXPECT_EQ(viewer.ImageSize(), QSize(screen.height() * 2, screen.width() * 2));
    // 原始比例 shows full-resolution pixels, decoded again on demand.
    viewer.OnNaturalSize();
    viewer.repaint();
    for (int i = 0; i < 200 && viewer.Displayed()->Reduced(); ++i) QTest::qWait(10);
    EXPECT_FALSE(viewer.Displayed()->Reduced());
    EXPECT_EQ(viewer.Displayed()->fullPicture.size(), viewer.ImageSize());
}

TEST_F(ViewerDialogTest, ZoomingInPastTheScreenSizedPictureBringsFullResolution) {
    const QSize screen = QGuiApplication::primaryScreen()->size();
    Make(1, screen.width() * 2, screen.height() * 2);
    CDialogPICVIEW& viewer = Open(0);
    viewer.repaint();
    EXPECT_TRUE(viewer.Displayed()->Reduced());  // the fitted view asks for nothing more
    QTest::qWait(50);
    EXPECT_TRUE(viewer.Displayed()->fullPicture.isNull());
    viewer.OnZoomIn();
    for (int i = 0; i < 200 && viewer.Displayed()->Reduced(); ++i) QTest::qWait(10);
    EXPECT_EQ(viewer.Displayed()->fullPicture.size(), viewer.ImageSize());
    EXPECT_EQ(viewer.Displayed()->picture.size(), screen);
}

TEST_F(ViewerDialogTest, APrefetchedPictureIsCopiedAsMadeWithTheDesktopAround) {
    const QSize screen = QGuiApplication::primaryScreen()->size();
    Make(1, screen.width() * 2, screen.height());  // fitted at 500: a band across the middle
    QImage desktop(screen, QImage::Format_RGB32);
    desktop.fill(QColor(0, 200, 0));
    CDialogPICVIEW& viewer = Open(0, desktop);
    const QImage shown = viewer.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage& picture = viewer.Displayed()->picture;
    ASSERT_EQ(picture.size(), QSize(screen.width(), screen.height() / 2));
    const int top = (screen.height() - picture.height()) / 2;
    EXPECT_EQ(shown.pixel(5, 5), desktop.pixel(5, 5));
    EXPECT_EQ(shown.pixel(screen.width() / 2, top - 2), desktop.pixel(0, 0));
    for (const QPoint at : {QPoint(0, 0), QPoint(picture.width() / 2, picture.height() / 2),
                            QPoint(picture.width() - 1, picture.height() - 1)})
        EXPECT_EQ(shown.pixel(at + QPoint(0, top)), picture.pixel(at)) << at.x() << "," << at.y();
}

TEST_F(ViewerDialogTest, DeletingShowsTheNextPhotoAndShiftsTheCache) {
    Make(4);
    CDialogPICVIEW& viewer = Open(1);
    const std::string next = photos_.Entry(2).fullPath;
    viewer.OnDelete();
    ASSERT_EQ(removed_.size(), 1u);
    EXPECT_EQ(removed_[0], std::make_pair(1, false));
    EXPECT_TRUE(viewer.PhotoDeleted());
    EXPECT_EQ(photos_.currentIndex, 1);
    EXPECT_EQ(photos_.Count(), 3);
    SettleFullImage();
    EXPECT_EQ(viewer.Displayed()->sourcePath, next);
    EXPECT_EQ(cache_.Find(1)->sourcePath, next);

    // The last photo steps back to the one before it.
    viewer.ShowPhotoAt(2);
    viewer.OnDelete();
    EXPECT_EQ(photos_.currentIndex, 1);
    EXPECT_EQ(photos_.Count(), 2);
}

TEST_F(ViewerDialogTest, DeletingTheOnlyPhotoClosesTheViewerAndCancelKeepsIt) {
    Make(1);
    CDialogPICVIEW& viewer = Open(0);
    answer_ = std::nullopt;  // 取消
    viewer.OnDelete();
    EXPECT_TRUE(removed_.empty());
    answer_ = true;
    viewer.OnDelete();
    EXPECT_EQ(viewer.LastFlash(), QStringLiteral("此文件夹没有照片了"));
    ASSERT_EQ(removed_.size(), 1u);
    EXPECT_EQ(removed_[0], std::make_pair(0, true));
    EXPECT_FALSE(viewer.isVisible());
    EXPECT_EQ(cache_.Held(), 0);
}

TEST_F(ViewerDialogTest, DeletingAPhotoWhoseFileIsGoneDoesNothing) {
    Make(2);
    CDialogPICVIEW& viewer = Open(0);
    std::remove(photos_.Entry(0).fullPath.c_str());
    viewer.OnDelete();
    EXPECT_TRUE(removed_.empty());
    EXPECT_EQ(photos_.Count(), 2);
}

TEST_F(ViewerDialogTest, ClickingBesideThePictureShrinksItToAWindowAndEnterReturns) {
    Make(2);
    CDialogPICVIEW& viewer = Open(0);
    viewer.repaint();
    QTest::mouseClick(&viewer, Qt::LeftButton, {}, QPoint(5, 200));
    EXPECT_FALSE(viewer.Fullscreen());
    EXPECT_GE(viewer.geometry().left(), 9);
    EXPECT_GE(viewer.geometry().top(), 31);
    QTest::keyClick(&viewer, Qt::Key_Return);
    EXPECT_TRUE(viewer.Fullscreen());
    EXPECT_TRUE(viewer.Button(ViewerButtonId::kZoomIn)->isVisible());
    EXPECT_FALSE(viewer.Button(ViewerButtonId::kMore)->isEnabled());
}

TEST_F(ViewerDialogTest, MoreAsksForTheCurrentPhotosPropertiesOnceSomeoneListens) {
    Make(3);
    CDialogPICVIEW& viewer = Open(1);
    viewer.hide();
    std::int64_t asked = 0;
    QObject::connect(&viewer, &CDialogPICVIEW::moreRequested, [&](std::int64_t id) { asked = id; });
    viewer.show();
    ASSERT_TRUE(viewer.Button(ViewerButtonId::kMore)->isEnabled());
    viewer.Button(ViewerButtonId::kMore)->click();
    EXPECT_EQ(asked, photos_.Entry(1).ref.idPic);
}

TEST_F(ViewerDialogTest, TheModalRunOutlivesTheSwitchToWindowedMode) {
    Make(2);
    CDialogPICVIEW& viewer = Open(0);
    bool shownWindowed = false;
    QTimer::singleShot(0, &viewer, [&] {
        viewer.SetFullscreen(false);
        QTimer::singleShot(0, &viewer, [&] {
            shownWindowed = viewer.isVisible() && !viewer.Fullscreen();
            QTest::keyClick(&viewer, Qt::Key_Escape);
        });
    });
    viewer.Run();
    EXPECT_TRUE(shownWindowed);
    EXPECT_FALSE(viewer.isVisible());
}
