// The map window: photos shown, chosen and sent back, positions picked,
// request flags, hover names from the album's catalogue, and missing data.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTest>
#include <fstream>
#include <thread>

#include "companion/companion_service.h"
#include "link_test_environment.h"
#include "maplink/map_link.h"
#include "region_file_writer.h"
#include "temp_folder.h"
#include "zidevu/map_request_relay.h"
#include "zidevu/map_widget.h"
#include "zidevu/zidevu_window.h"

namespace {

struct Answer {
    std::uint16_t code;
    std::vector<std::uint8_t> data;
};

// Beijing, Shanghai, Guangzhou, Chengdu: far apart at the scale the tests use.
const std::vector<MapPhotoRecord> kPhotos = {
    {101, 0, 39.9042, 116.4074, 0},
    {102, 0, 31.2304, 121.4737, 0},
    {103, 0, 23.1291, 113.2644, 0},
    {104, 0, 30.5728, 104.0668, 0},
};

void SendMouse(QWidget* widget, QEvent::Type type, QPointF at, Qt::KeyboardModifiers modifiers,
               Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, buttons, modifiers);
    QApplication::sendEvent(widget, &event);
}

void Click(QWidget* widget, QPointF at, Qt::KeyboardModifiers modifiers = {}) {
    SendMouse(widget, QEvent::MouseButtonPress, at, modifiers, Qt::LeftButton);
    SendMouse(widget, QEvent::MouseButtonRelease, at, modifiers, Qt::NoButton);
}

void Drag(QWidget* widget, QPointF from, QPointF to, Qt::KeyboardModifiers modifiers) {
    SendMouse(widget, QEvent::MouseButtonPress, from, modifiers, Qt::LeftButton);
    SendMouse(widget, QEvent::MouseMove, (from + to) / 2, modifiers, Qt::LeftButton);
    SendMouse(widget, QEvent::MouseMove, to, modifiers, Qt::LeftButton);
    SendMouse(widget, QEvent::MouseButtonRelease, to, modifiers, Qt::NoButton);
}

void PressKey(QWidget* widget, int key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

class TheMapWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        window.resize(1000, 700);
        window.show();
        QApplication::processEvents();
    }

    // Pixel of a photo's marker.
    QPointF At(const MapPhotoRecord& photo) const {
        const ScreenPoint p =
            window.Map()->View().ToScreen(ToWorld(photo.latitude, photo.longitude));
        return {p.x, p.y};
    }

    std::vector<std::int64_t> SentIds() {
        window.ShowInAlbumAction()->trigger();
        std::vector<std::int64_t> ids;
        for (const Answer& answer : answers) {
            EXPECT_EQ(answer.code, 20004);
            for (const MapPhotoRecord& record :
                 UnpackMapPhotoRecords(answer.data.data(), answer.data.size())) {
                EXPECT_EQ(record.kind, 2);
                ids.push_back(record.idPic);
            }
        }
        answers.clear();
        return ids;
    }

    LinkTestEnvironment env;
    CompanionService service{[](double, double) { return std::vector<std::string>{}; }};
    std::vector<Answer> answers;
    ZidevuWindow window{service, RegionDataState{"", "region data file not found"},
                        [this](std::uint16_t code, std::vector<std::uint8_t> data) {
                            answers.push_back({code, std::move(data)});
                        }};
};

TEST_F(TheMapWindow, sendsThePhotosChosenByClickCtrlClickAndRubberBandBackWithKind2) {
    enum Gesture { ClickOn, CtrlClickOn, ClickAway, BandAround, CtrlBandAround };
    struct Step {
        Gesture gesture;
        std::vector<int> photos;  // indices into kPhotos
    };
    struct Case {
        const char* what;
        std::vector<Step> steps;
        std::vector<std::int64_t> sent;  // in the order the album sent them
    };
    const Case kCases[] = {
        {"a click", {{ClickOn, {1}}}, {102}},
        {"a click replaces", {{ClickOn, {1}}, {ClickOn, {3}}}, {104}},
        {"Ctrl+click adds", {{ClickOn, {3}}, {CtrlClickOn, {0}}}, {101, 104}},
        {"Ctrl+click takes out", {{ClickOn, {3}}, {CtrlClickOn, {0}}, {CtrlClickOn, {3}}}, {101}},
        {"a click away clears", {{ClickOn, {2}}, {ClickAway, {}}}, {}},
        {"a band", {{BandAround, {1, 2}}}, {102, 103}},
        {"a band replaces", {{ClickOn, {0}}, {BandAround, {1, 2}}}, {102, 103}},
        {"Ctrl and a band adds", {{ClickOn, {0}}, {CtrlBandAround, {1, 2}}}, {101, 102, 103}},
    };
    std::vector<MapPhotoRecord> photos = kPhotos;
    // Not positions: never shown, never sent.
    photos.push_back({105, 0, 95, 10, 0});
    photos.push_back({106, 0, std::numeric_limits<double>::quiet_NaN(), 10, 0});
    window.ShowPhotos(photos, 0);
    ASSERT_EQ(window.Map()->Photos().size(), kPhotos.size());
    for (const Case& c : kCases) {
        Click(window.Map(), QPointF(5, 300));  // start from nothing chosen
        for (const Step& step : c.steps) {
            QRectF band;
            for (int i : step.photos) band |= QRectF(At(kPhotos[i]), QSizeF(1, 1));
            band.adjust(-8, -8, 8, 8);
            switch (step.gesture) {
                case ClickOn:
                    Click(window.Map(), At(kPhotos[step.photos[0]]));
                    break;
                case CtrlClickOn:
                    Click(window.Map(), At(kPhotos[step.photos[0]]), Qt::ControlModifier);
                    break;
                case ClickAway:
                    Click(window.Map(), QPointF(5, 300));
                    break;
                case BandAround:
                    Drag(window.Map(), band.topLeft(), band.bottomRight(), Qt::ShiftModifier);
                    break;
                case CtrlBandAround:
                    Drag(window.Map(), band.bottomRight(), band.topLeft(), Qt::ControlModifier);
                    break;
            }
        }
        EXPECT_EQ(window.ShowInAlbumAction()->isEnabled(), !c.sent.empty()) << c.what;
        EXPECT_EQ(SentIds(), c.sent) << c.what;
    }
}

TEST_F(TheMapWindow, fitsTheViewToThePhotosAndClustersThoseThatOverlap) {
    std::vector<MapPhotoRecord> photos = kPhotos;
    photos.push_back({107, 0, 39.9043, 116.4075, 0});  // beside the first
    window.ShowPhotos(photos, 0);
    for (const MapPhotoRecord& photo : photos) {
        const QPointF at = At(photo);
        EXPECT_TRUE(QRectF(window.Map()->rect()).contains(at)) << photo.idPic;
    }
    EXPECT_TRUE(
        window.Map()->HoverText(At(photos[0]).toPoint()).startsWith(QStringLiteral("2张照片")));
    // A click on the cluster chooses both.
    Click(window.Map(), At(kPhotos[0]));
    EXPECT_EQ(SentIds(), (std::vector<std::int64_t>{101, 107}));
}

TEST_F(TheMapWindow, keepsTheFitAcrossAResizeUntilTheUserMovesTheMap) {
    window.ShowPhotos(kPhotos, 0);
    const auto allInView = [this] {
        for (const MapPhotoRecord& photo : kPhotos)
            if (!QRectF(window.Map()->rect()).contains(At(photo))) return false;
        return true;
    };
    window.resize(420, 300);
    QApplication::processEvents();
    EXPECT_TRUE(allInView()) << "a fit follows the window's size, as on its first layout";
    window.resize(1000, 700);
    QApplication::processEvents();
    EXPECT_TRUE(allInView());
    PressKey(window.Map(), Qt::Key_Left);
    const MapView moved = window.Map()->View();
    window.resize(900, 650);
    QApplication::processEvents();
    EXPECT_DOUBLE_EQ(window.Map()->View().CenterX(), moved.CenterX()) << "the user's view stays";
    EXPECT_DOUBLE_EQ(window.Map()->View().Scale(), moved.Scale());
}

TEST_F(TheMapWindow, drawsTheMarkersAndRedrawsThemWhenChosen) {
    window.ShowPhotos(kPhotos, 0);
    const QPoint shanghai = At(kPhotos[1]).toPoint();
    const QColor before = window.Map()->grab().toImage().pixelColor(shanghai);
    EXPECT_GT(before.blue(), before.red() + 80) << "a blue marker";
    Click(window.Map(), At(kPhotos[1]));
    const QColor after = window.Map()->grab().toImage().pixelColor(shanghai);
    EXPECT_GT(after.red(), after.blue() + 80) << "an orange marker once chosen";
    // A recorded track is drawn as a line through its positions.
    const QPointF beijing = At(kPhotos[0]), chengdu = At(kPhotos[3]);
    window.Map()->SetTracks({{{kPhotos[0].latitude, kPhotos[0].longitude},
                              {kPhotos[3].latitude, kPhotos[3].longitude}}});
    const QColor onTrack =
        window.Map()->grab().toImage().pixelColor(((beijing + chengdu) / 2).toPoint());
    EXPECT_GT(onTrack.red(), onTrack.green() + 80) << "the track's crimson";
    // Panning carries it along.
    PressKey(window.Map(), Qt::Key_Left);
    const QPoint moved = At(kPhotos[1]).toPoint();
    ASSERT_NE(moved, shanghai);
    EXPECT_GT(window.Map()->grab().toImage().pixelColor(moved).red(), 200);
}

TEST_F(TheMapWindow, answersAPickOnceWithTheClickedPosition) {
    struct Case {
        const char* what;
        bool escape;  // Esc before the click
        bool escapeElsewhere;
        bool secondRequest;
        std::size_t answered;
    };
    const Case kCases[] = {
        {"a click", false, false, false, 1},
        {"two requests, one click", false, false, true, 1},
        {"Esc gives up", true, false, false, 0},
        {"Esc with the focus elsewhere gives up", false, true, false, 0},
    };
    for (const Case& c : kCases) {
        answers.clear();
        window.StartPicking(kFlagRestoreWindow | kFlagBringToTop);
        if (c.secondRequest) window.StartPicking(kFlagBringToTop);
        EXPECT_TRUE(window.IsPicking()) << c.what;
        EXPECT_EQ(window.Map()->cursor().shape(), Qt::CrossCursor) << c.what;
        // Esc on the map, or anywhere in the window (through its shortcut).
        if (c.escape) PressKey(window.Map(), Qt::Key_Escape);
        if (c.escapeElsewhere) QTest::keyClick(window.statusBar(), Qt::Key_Escape);
        const QPointF at(600, 250);
        Click(window.Map(), at);
        Click(window.Map(), at + QPointF(40, 40));  // no longer picking: answers nothing
        EXPECT_FALSE(window.IsPicking()) << c.what;
        ASSERT_EQ(answers.size(), c.answered) << c.what;
        if (c.answered == 0) continue;
        EXPECT_EQ(answers[0].code, 20001);
        const auto picked = UnpackPickedPosition(answers[0].data.data(), answers[0].data.size());
        ASSERT_TRUE(picked.has_value());
        double latitude = 0, longitude = 0;
        window.Map()->View().ToPosition(at.x(), at.y(), latitude, longitude);
        EXPECT_DOUBLE_EQ(picked->latitude, latitude);
        EXPECT_DOUBLE_EQ(picked->longitude, longitude);
    }
}

TEST_F(TheMapWindow, restoresAMinimisedWindowOnlyWhenTheRequestAsks) {
    struct Case {
        std::uint32_t flags;
        bool minimisedAfter;
    };
    const Case kCases[] = {
        {0, true},
        {kFlagBringToTop, true},
        {kFlagRestoreWindow, false},
        {kFlagRestoreWindow | kFlagBringToTop, false},
    };
    for (const Case& c : kCases) {
        window.showMinimized();
        QApplication::processEvents();
        window.ShowPhotos(kPhotos, c.flags);
        EXPECT_EQ(window.isMinimized(), c.minimisedAfter) << c.flags;
        window.showNormal();
        window.StartPicking(c.flags);
        PressKey(window.Map(), Qt::Key_Escape);
    }
}

TEST_F(TheMapWindow, namesTheHoveredPhotoFromTheAlbumsCatalogueElseItsId) {
    TempFolder data;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(data.File("myJpgdb.db").c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "create table tJpgMsg(idPic integer, strName nvarchar(100));"
                           "create table tReJpgMsg(idPic integer, strName nvarchar(100));"
                           "insert into tJpgMsg values (101, '故宫.jpg');"
                           "insert into tReJpgMsg values (102, '外滩 副本.jpg');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    struct Case {
        const char* dataFolder;  // nullptr: the test's folder
        std::vector<QString> hover;
    };
    TempFolder junk;
    std::ofstream(junk.File("myJpgdb.db")) << "not a catalogue";
    const Case kCases[] = {
        {nullptr, {"故宫.jpg", "外滩 副本.jpg", "照片 103"}},
        {"/nonexistent/folder", {"照片 101", "照片 102", "照片 103"}},
        {junk.Path().c_str(), {"照片 101", "照片 102", "照片 103"}},
    };
    for (const Case& c : kCases) {
        qputenv("DARAZOZ_DATA_DIR",
                c.dataFolder ? QByteArray(c.dataFolder) : QByteArray::fromStdString(data.Path()));
        window.ShowPhotos({kPhotos.begin(), kPhotos.begin() + 3}, 0);
        for (std::size_t i = 0; i < c.hover.size(); ++i)
            EXPECT_EQ(window.Map()->HoverText(At(kPhotos[i]).toPoint()), c.hover[i]);
        EXPECT_EQ(window.Map()->HoverText(QPoint(3, 300)), QString());
    }
    qunsetenv("DARAZOZ_DATA_DIR");
}

TEST_F(TheMapWindow, opensWithoutRegionDataAndSaysWhyOnTheMap) {
    EXPECT_TRUE(window.Map()->Notice().contains(QStringLiteral("region data file not found")));
    EXPECT_FALSE(window.TilesAction()->isChecked()) << "raster tiles are off by default";
    // It still draws, shows photos and answers picks.
    window.ShowPhotos(kPhotos, 0);
    EXPECT_FALSE(window.Map()->grab().isNull());
    window.StartPicking(0);
    Click(window.Map(), QPointF(500, 300));
    EXPECT_EQ(answers.size(), 1u);
    EXPECT_TRUE(window.statusBar()->currentMessage().contains(QStringLiteral("无地区信息")));
}

TEST(TheMapWindowWithRegionData, namesThePickedPositionsRegions) {
    LinkTestEnvironment env;
    TempFolder folder;
    const std::string path = folder.File("regions.db");
    ASSERT_TRUE(WriteRegionFile(
        path,
        {{0,
          {"广东省", "深圳市", "福田区"},
          {{{{11300000, 2200000}, {11500000, 2200000}, {11500000, 2300000}, {11300000, 2300000}}}},
          {}}}));
    CompanionService service([](double, double) { return std::vector<std::string>{}; });
    std::vector<Answer> answers;
    ZidevuWindow window(service, RegionDataState{path, ""},
                        [&](std::uint16_t code, std::vector<std::uint8_t> data) {
                            answers.push_back({code, std::move(data)});
                        });
    window.resize(1000, 700);
    window.show();
    window.FinishLoadingMap();
    EXPECT_TRUE(window.Map()->Notice().isEmpty());
    window.ShowPhotos({{1, 0, 22.54, 114.06, 0}}, 0);  // centres the map on Shenzhen
    window.StartPicking(0);
    const QPointF middle(window.Map()->width() / 2.0, window.Map()->height() / 2.0);
    Click(window.Map(), middle);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_TRUE(
        window.statusBar()->currentMessage().contains(QStringLiteral("广东省 / 深圳市 / 福田区")))
        << window.statusBar()->currentMessage().toStdString();
}

// The album and the window through the link, in process: show, choose, pick.
TEST(TheMapWindowOnTheLink, showsTheAlbumsPhotosAndAnswersWithTheChosenOnesAndAPick) {
    LinkTestEnvironment env;
    RegionBuffer regions;
    MapLink link(regions);
    MapRequestRelay relay;
    ZidevuWindow* shown = nullptr;
    relay.onShowPhotos = [&](std::vector<MapPhotoRecord> photos, std::uint32_t flags) {
        shown->ShowPhotos(std::move(photos), flags);
    };
    relay.onPickPosition = [&](std::uint32_t flags) { shown->StartPicking(flags); };
    CompanionService service([](double, double) { return std::vector<std::string>{}; },
                             relay.Handlers());
    ZidevuWindow window(service, RegionDataState{"", "none"},
                        [&](std::uint16_t code, std::vector<std::uint8_t> data) {
                            service.AnswerProgram(code, std::move(data));
                        });
    shown = &window;
    window.resize(1000, 700);
    window.show();
    std::vector<std::int64_t> chosen;
    std::optional<PickedPosition> picked;
    link.SetPhotoIdCheck([](std::int64_t) { return true; });
    link.SetPhotoSelectionReceiver([&](std::vector<std::int64_t> ids) { chosen = ids; });
    link.SetPickedPositionReceiver([&](PickedPosition p) { picked = p; });

    // The request returns once posted; the window shows the photos when its loop runs.
    std::thread album([&] { link.SendToCompanion(kCodeShowPhotos, PackMapPhotoRecords(kPhotos)); });
    album.join();
    for (int i = 0; i < 200 && window.Map()->Photos().empty(); ++i) {
        QApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_EQ(window.Map()->Photos().size(), kPhotos.size());
    const auto at = [&](int i) {
        const ScreenPoint p =
            window.Map()->View().ToScreen(ToWorld(kPhotos[i].latitude, kPhotos[i].longitude));
        return QPointF(p.x, p.y);
    };
    Drag(window.Map(), QRectF(at(1), at(2)).normalized().topLeft() - QPointF(8, 8),
         QRectF(at(1), at(2)).normalized().bottomRight() + QPointF(8, 8), Qt::ShiftModifier);
    window.ShowInAlbumAction()->trigger();
    ASSERT_TRUE(PumpUntil(link.Endpoint(), [&] { return !chosen.empty(); }));
    EXPECT_EQ(chosen, (std::vector<std::int64_t>{102, 103}));

    std::thread pick([&] { link.SendToCompanion(kCodePickPosition, {}); });
    pick.join();
    for (int i = 0; i < 200 && !window.IsPicking(); ++i) {
        QApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_TRUE(window.IsPicking());
    Click(window.Map(), at(3));
    ASSERT_TRUE(PumpUntil(link.Endpoint(), [&] { return picked.has_value(); }));
    EXPECT_NEAR(picked->latitude, kPhotos[3].latitude, 0.05);
    EXPECT_NEAR(picked->longitude, kPhotos[3].longitude, 0.05);
}

}  // namespace
