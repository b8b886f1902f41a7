#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "catalogue/folder_stamps.h"
#include "catalogue/photo_rows.h"
#include "messaging/receiver_registry.h"
#include "messaging/ui_messages.h"
#include "photo_catalogue_fixture.h"
#include "view/grid_painter.h"
#include "view/verero_view.h"

namespace {

const QColor kLandscapeColour(200, 60, 60);

// A view of 800 x 600 pixels over a catalogue of n landscape photos
// (160 x 120 thumbnails); photo 2 has black bars of 16 pixels at its sides.
class ViewTest : public PhotoCatalogueTest {
  protected:
    void Fill(int n) {
        BeginTransaction(library());
        for (int id = 1; id <= n; ++id) {
            PhotoRecord r = Record("photo" + std::to_string(id) + ".jpg", 4000, 3000);
            SetField(r.strXpKeyword, "sea");
            Insert(id, r, id == 3 ? letterboxed : plain);
        }
        CommitTransaction(library());
        view.ResetPhotoList(n);
        for (int id = 1; id <= n; ++id) view.Photos().Append({id, false});
        view.Photos().currentIndex = 0;
    }
    void SetUp() override {
        PhotoCatalogueTest::SetUp();
        view.resize(800, 600);
        view.show();
    }
    QImage Screen() { return view.viewport()->grab().toImage(); }
    QColor At(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)); }
    void Click(int index, Qt::KeyboardModifiers modifiers = {},
               Qt::MouseButton button = Qt::LeftButton) {
        const GridRect cell = view.Layout().CellRect(index);
        QTest::mouseClick(view.viewport(), button, modifiers,
                          QPoint(cell.left + 90, cell.top + 90 - view.VerticalOffset()));
    }
    bool HasColour(const QImage& image, const QRect& area, const QColor& colour) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (At(image, x, y) == colour) return true;
            }
        }
        return false;
    }

    const std::vector<std::uint8_t> plain = JpegOf(SolidPicture(160, 120, 200, 60, 60));
    const std::vector<std::uint8_t> letterboxed = JpegOf(SolidPicture(160, 120, 200, 60, 60, 16));
    CVereroView view{library()};
};

bool Near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) < 8 && std::abs(a.green() - b.green()) < 8 &&
           std::abs(a.blue() - b.blue()) < 8;
}

}  // namespace

TEST_F(ViewTest, RegistersItselfAsTheOneMainView) {
    EXPECT_EQ(CVereroView::Instance(), &view);
    EXPECT_EQ(view.CellSize(), 180);
}

TEST_F(ViewTest, PaintsTheFirstScreenWithFramesAtTheStatedRectangles) {
    Fill(6);
    view.ShowListFromTop();
    EXPECT_EQ(view.Photos().LoadedThumbnails(), 6);
    const QImage screen = Screen();
    EXPECT_EQ(At(screen, 5, 5), kViewBackground);
    // Landscape 160 x 120 in a 180 cell: (10, 40) to (170, 160).
    EXPECT_EQ(At(screen, 10, 40), kSelectedFrameColour) << "the current photo";
    EXPECT_EQ(At(screen, 11, 41), kSelectedFrameColour);
    EXPECT_EQ(At(screen, 180 + 10, 40), kFrameColour);
    EXPECT_EQ(At(screen, 180 + 169, 159), kFrameColour);
    EXPECT_TRUE(Near(At(screen, 180 + 80, 100), kLandscapeColour));
    EXPECT_EQ(At(screen, 180 + 80, 39), kViewBackground);
    EXPECT_TRUE(HasColour(screen, QRect(180, 160, 180, 20), kTextBackground)) << "caption";
}

TEST_F(ViewTest, PaintsOverTheBlackBarsOfALetterboxedThumbnailAndFramesThePictureInside) {
    Fill(6);
    view.ShowListFromTop();
    QImage screen = Screen();
    const int left = 360 + 10;  // image rectangle of photo index 2
    EXPECT_EQ(At(screen, left + 5, 100), kViewBackground);
    EXPECT_EQ(At(screen, left + 16, 100), kViewBackground)
        << "bars are one pixel wider than the run";
    EXPECT_EQ(At(screen, left + 159 - 16, 100), kViewBackground);
    EXPECT_TRUE(Near(At(screen, left + 20, 100), kLandscapeColour));
    EXPECT_NE(At(screen, left + 17, 40), kSelectedFrameColour) << "no frame while unselected";

    Click(2);
    screen = Screen();
    EXPECT_EQ(At(screen, left + 17, 100), kSelectedFrameColour) << "inner rectangle";
    EXPECT_EQ(At(screen, left + 16, 100), kSelectedFrameColour) << "the rectangle outside it";
    EXPECT_EQ(At(screen, left + 15, 100), kViewBackground);
}

TEST_F(ViewTest, ShowsCaptionsOnlyInLargeIconsAndKeywordsInBothSizes) {
    Fill(6);
    view.ShowListFromTop();
    view.OnSmallIcons();
    EXPECT_EQ(view.CellSize(), 100);
    QImage screen = Screen();
    EXPECT_FALSE(HasColour(screen, QRect(0, 0, 600, 100), kTextBackground));
    view.OnToggleKeywords();
    EXPECT_TRUE(view.ShowKeywords());
    screen = Screen();
    // Small cell landscape picture: (10, 35) to (90, 80); keywords from (11, 36).
    EXPECT_TRUE(HasColour(screen, QRect(11, 36, 60, 20), kTextBackground));
    view.OnLargeIcons();
    screen = Screen();
    EXPECT_TRUE(HasColour(screen, QRect(11, 41, 60, 20), kTextBackground));
}

TEST_F(ViewTest, ForcesTheKeywordToggleOffWithoutPhotos) {
    view.OnToggleKeywords();
    EXPECT_FALSE(view.ShowKeywords());
    Fill(2);
    view.OnToggleKeywords();
    EXPECT_TRUE(view.ShowKeywords());
    view.ResetPhotoList(0);
    view.OnToggleKeywords();
    EXPECT_FALSE(view.ShowKeywords());
}

TEST_F(ViewTest, ClicksSelectAndReportTheStatusTextOfTheCurrentPhoto) {
    Fill(8);
    view.ShowListFromTop();
    QSignalSpy status(&view, &CVereroView::statusTextChanged);
    Click(5);
    EXPECT_EQ(view.Photos().currentIndex, 5);
    ASSERT_EQ(status.size(), 1);
    EXPECT_TRUE(status.at(0).at(0).toString().startsWith(QStringLiteral("名称：photo6.jpg;")));
    Click(1, Qt::ControlModifier);
    EXPECT_EQ(view.Selection().list.Size(), 2u);
    Click(3, Qt::ShiftModifier);
    EXPECT_EQ(view.Selection().list.Size(), 3u) << "photos 1 to 3";
    Click(7);
    EXPECT_TRUE(view.Selection().list.Empty());
}

TEST_F(ViewTest, CtrlASelectsEveryPhoto) {
    Fill(8);
    view.ShowListFromTop();
    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(view.Selection().list.Size(), 8u);
    EXPECT_FALSE(view.Selection().multiSelectActive);
}

TEST_F(ViewTest, RightClickActsAsALeftClickOnlyWithoutAMultiSelection) {
    Fill(8);
    view.ShowListFromTop();
    QSignalSpy menu(&view, &CVereroView::contextMenuRequested);
    Click(4, {}, Qt::RightButton);
    EXPECT_EQ(view.Photos().currentIndex, 4);
    EXPECT_EQ(menu.size(), 1);
    Click(6, Qt::ControlModifier);
    Click(2, {}, Qt::RightButton);
    EXPECT_EQ(view.Photos().currentIndex, 6);
}

TEST_F(ViewTest, ShowPhotoAfterARightClickTakesThatPhotoOnce) {
    Fill(8);
    view.ShowListFromTop();
    Click(1);
    Click(6, Qt::ControlModifier);  // a multi-selection: right clicks do not move the current photo
    Click(3, {}, Qt::RightButton);
    EXPECT_EQ(view.PickCommandPhoto(false), 6) << "properties keep the current photo";
    Click(3, {}, Qt::RightButton);
    EXPECT_EQ(view.PickCommandPhoto(true), 3);
    Click(5, {}, Qt::RightButton);
    EXPECT_EQ(view.PickCommandPhoto(false), 3);
    EXPECT_EQ(view.PickCommandPhoto(true), 3) << "the point was used once";
}

TEST_F(ViewTest, ALeftClickAfterARightClickMakesShowPhotoTakeTheClickedPhoto) {
    Fill(8);
    view.ShowListFromTop();
    Click(1);
    Click(6, Qt::ControlModifier);
    Click(3, {}, Qt::RightButton);  // the menu was dismissed
    Click(5);
    EXPECT_EQ(view.PickCommandPhoto(true), 5);
}

TEST_F(ViewTest, ShowPhotoAfterARightClickBesideThePhotosShowsNothingAndKeepsTheCurrentPhoto) {
    Fill(6);
    view.ShowListFromTop();
    Click(4);
    QTest::mouseClick(view.viewport(), Qt::RightButton, {}, QPoint(500, 500));
    EXPECT_EQ(view.PickCommandPhoto(true), std::nullopt);
    EXPECT_EQ(view.Photos().currentIndex, 4);
    EXPECT_EQ(view.PickCommandPhoto(true), 4);
}

TEST_F(ViewTest, DoubleClickAsksToOpenThePhotoUnderThePointer) {
    Fill(8);
    view.ShowListFromTop();
    QSignalSpy open(&view, &CVereroView::openPhotoRequested);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, QPoint(180 * 2 + 50, 180 + 50));
    ASSERT_EQ(open.size(), 1);
    EXPECT_EQ(open.at(0).at(0).toInt(), 6);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, QPoint(50, 500));
    EXPECT_EQ(open.size(), 1) << "below the last photo";
}

TEST_F(ViewTest, EnterAsksToOpenTheCurrentPhoto) {
    Fill(8);
    view.ShowListFromTop();
    Click(5);
    QSignalSpy open(&view, &CVereroView::openPhotoRequested);
    QTest::keyClick(&view, Qt::Key_Return);
    QTest::keyClick(&view, Qt::Key_Enter, Qt::KeypadModifier);
    ASSERT_EQ(open.size(), 2);
    EXPECT_EQ(open.at(1).at(0).toInt(), 5);
}

TEST_F(ViewTest, AcceptsFilesDroppedOnTheGridAndHandsThemOver) {
    QSignalSpy dropped(&view, &CVereroView::urlsDropped);
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile("/photos/a.jpg"), QUrl::fromLocalFile("/photos/trip")});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view.viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view.viewport(), &drop);
    ASSERT_EQ(dropped.count(), 1);
    EXPECT_EQ(dropped.at(0).at(0).value<QList<QUrl>>(), files.urls());
}

TEST_F(ViewTest, ScrollsTheCurrentPhotosRowToTheTopAndRestoresTheScrollAfterARefresh) {
    Fill(60);
    view.ShowListFromTop();
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 180 * (60 / 4 + 1) - 600);
    view.Photos().currentIndex = 22;
    view.ShowCurrentPhoto();
    EXPECT_EQ(view.VerticalOffset(), 22 / 4 * 180);

    QSignalSpy refresh(&view, &CVereroView::refreshRequested);
    view.verticalScrollBar()->setValue(700);
    view.RefreshList(true);
    ASSERT_EQ(refresh.size(), 1);
    const auto request = refresh.at(0).at(0).value<ListRefreshRequest>();
    EXPECT_EQ(request.currentPhoto, (PhotoRef{23, false}));
    EXPECT_EQ(request.fallbackPhoto, (PhotoRef{22, false}));
    EXPECT_EQ(request.reselectIndex, 21);
    view.verticalScrollBar()->setValue(0);
    view.ShowCurrentPhoto();
    EXPECT_EQ(view.VerticalOffset(), 700);
    view.ShowCurrentPhoto();
    EXPECT_EQ(view.VerticalOffset(), 22 / 4 * 180) << "the saved position is used once";
}

TEST_F(ViewTest, ARefreshThatEndsInACategoryDoesNotMoveTheNextPhotoChosen) {
    Fill(60);
    view.ShowListFromTop();
    view.verticalScrollBar()->setValue(700);
    view.RefreshList(false);
    view.ShowListFromTop();  // the pane reselected a category
    view.Photos().currentIndex = 40;
    view.ShowCurrentPhoto();
    EXPECT_EQ(view.VerticalOffset(), 40 / 4 * 180);
}

TEST_F(ViewTest, ARefreshOfAShorterListStillNamesAFallbackPhoto) {
    Fill(60);
    view.Photos().currentIndex = 40;
    view.RefreshList(true);  // reselectIndex 39
    view.ResetPhotoList(10);
    for (int id = 1; id <= 10; ++id) view.Photos().Append({id, false});
    view.Photos().currentIndex = 3;
    QSignalSpy refresh(&view, &CVereroView::refreshRequested);
    view.RefreshList(false);
    ASSERT_EQ(refresh.size(), 1);
    const auto request = refresh.at(0).at(0).value<ListRefreshRequest>();
    EXPECT_EQ(request.reselectIndex, 9);
    EXPECT_EQ(request.fallbackPhoto, (PhotoRef{10, false}));
}

TEST_F(ViewTest, AutoOrientationToggleFlipsTheOptionAndRequestsARefresh) {
    view.OnToggleAutoOrient();
    EXPECT_TRUE(view.Photos().autoOrient) << "nothing happens without photos";
    Fill(4);
    view.ShowListFromTop();
    QSignalSpy refresh(&view, &CVereroView::refreshRequested);
    QSignalSpy cache(&view, &CVereroView::imageCacheClearRequested);
    view.OnToggleAutoOrient();
    EXPECT_FALSE(view.Photos().autoOrient);
    EXPECT_EQ(cache.size(), 1);
    EXPECT_EQ(view.Photos().LoadedThumbnails(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(refresh.size(), 1);
}

TEST_F(ViewTest, AnEmptyListLeavesNothingToScroll) {
    Fill(60);
    view.ShowListFromTop();
    view.verticalScrollBar()->setValue(900);
    view.ResetPhotoList(0);
    view.ShowListFromTop();
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(Screen().pixel(100, 100), kViewBackground.rgb());
}

TEST_F(ViewTest, UpkeepMessagesBecomeRequestsAndTheStartUpCheckReportsAChange) {
    QSignalSpy update(&view, &CVereroView::libraryUpdateRequested);
    QSignalSpy save(&view, &CVereroView::saveRequested);
    QSignalSpy changed(&view, &CVereroView::libraryChanged);
    ReceiverRegistry::Post(ReceiverRole::MainView, UiMessage::kStartLibraryUpdate);
    ReceiverRegistry::Post(ReceiverRole::MainView, UiMessage::kStartSave);
    QCoreApplication::processEvents();
    EXPECT_EQ(update.count(), 1);
    EXPECT_EQ(save.count(), 1);

    // A catalogued folder deleted on disk is a change.
    const std::string folder = fresh_.Root() + "/album";
    std::filesystem::create_directories(folder);
    PhotoRecord r = Record("b.jpg", 4000, 3000);
    SetField(r.strPath, folder);
    Insert(2, r, plain);
    RebuildFolderList(library());
    WriteFolderTable(library());
    std::filesystem::remove_all(folder);
    ForgetFolderList(library());
    view.ArmLibraryChangeCheck();
    EXPECT_TRUE(changed.wait(10000));
}
