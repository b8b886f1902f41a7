// The window's track panel and the review of positions before they are
// sent, offscreen.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QApplication>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTreeWidget>
#include <fstream>

#include "companion/companion_service.h"
#include "companion/track_time.h"
#include "computer_time_zone.h"
#include "link_test_environment.h"
#include "temp_folder.h"
#include "track_file_writer.h"
#include "zidevu/camera_clock_dialog.h"
#include "zidevu/track_dock.h"
#include "zidevu/track_review_dialog.h"
#include "zidevu/track_settings.h"
#include "zidevu/track_ui.h"
#include "zidevu/zidevu_window.h"

namespace {

const std::int64_t kNoon = UtcDayStartMs(2026, 5, 1) / 1000 + 12 * 3600;  // 20:00 in Shanghai

TrackRequest Request(std::int64_t cameraFastBy = 0) {
    const Track walk{"walk",
                     {{{kNoon * 1000, 22.50, 114.00}, {(kNoon + 60) * 1000, 22.51, 114.02}}}};
    const auto at = [&](std::int64_t t) { return static_cast<std::int32_t>(t + cameraFastBy); };
    return {{{11, at(kNoon + 30), 0, 0, 0},
             {12, at(kNoon + 45), 0, 0, 0},
             {13, at(kNoon + 9000), 0, 0, 0}},
            std::make_shared<const TrackMatcher>(std::vector<Track>{walk})};
}

struct Replies {
    std::vector<std::vector<MapPhotoRecord>> sent;
    TrackRequestHandler::Answer Answer() {
        return [this](std::vector<MapPhotoRecord> reply) { sent.push_back(std::move(reply)); };
    }
};

TEST(TheTrackReview, sendsTheTickedPositionsOnOkAndNoneOnCancel) {
    for (const bool ok : {true, false}) {
        SCOPED_TRACE(ok ? "确定" : "取消");
        Replies replies;
        TrackReviewDialog review(Request(), {}, replies.Answer());
        QTreeWidget* rows = review.Rows();
        ASSERT_EQ(rows->topLevelItemCount(), 3);
        EXPECT_EQ(review.Ticked(), (std::vector<bool>{true, true, false}));
        EXPECT_FALSE(rows->topLevelItem(2)->flags() & Qt::ItemIsUserCheckable)
            << "a photo without a position cannot be ticked";
        EXPECT_TRUE(rows->topLevelItem(0)->text(4).startsWith("22.505000, 114.010000"));
        EXPECT_EQ(rows->topLevelItem(1)->text(3), "15.0 秒");

        rows->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
        ok ? review.accept() : review.reject();
        review.reject();  // a second close sends nothing more
        ASSERT_EQ(replies.sent.size(), 1u);
        const auto& reply = replies.sent.front();
        ASSERT_EQ(reply.size(), 3u);
        EXPECT_EQ(reply[0].idPic, 11);
        EXPECT_EQ(reply[0].latitude, 0);
        EXPECT_EQ(reply[2].latitude, 0);
        EXPECT_EQ(reply[1].idPic, 12);
        EXPECT_NEAR(reply[1].latitude, ok ? 22.5075 : 0, 1e-9);
        EXPECT_NEAR(reply[1].longitude, ok ? 114.015 : 0, 1e-9);
    }
}

// A camera 37 minutes fast: the helper takes one photo's true time, and
// the rows match again with the offset, which is remembered.
TEST(TheTrackReview, correctsTheCameraClockFromOnePhotosTrueTime) {
    ComputerTimeZone zone("Asia/Shanghai");
    const TrackRequest request = Request(37 * 60);
    Replies replies;
    TrackReviewDialog review(request, {}, replies.Answer());
    EXPECT_EQ(review.Ticked(), (std::vector<bool>{false, false, false}));

    CameraClockDialog helper(request.records[0].dwDateTime);
    helper.SetTrueWallSeconds(kNoon + 8 * 3600 + 30);  // the clock in the photo: 20:00:30
    ASSERT_EQ(helper.Offset(), 37 * 60);
    TrackMatchSettings settings;
    settings.clock.offsetSeconds = *helper.Offset();
    review.ApplySettings(settings);
    EXPECT_EQ(review.Ticked(), (std::vector<bool>{true, true, false}));
    EXPECT_EQ(LoadTrackSettings().clock.offsetSeconds, 37 * 60);
}

TEST(TheTrackPanel, importsListsAndRemovesTracksAndRemembersItsSettings) {
    TempFolder folder;
    std::ofstream(folder.File("walk.gpx"))
        << GpxText({{{kNoon * 1000, 22.5, 114.0}}, {{(kNoon + 600) * 1000, 22.6, 114.1}}});
    std::ofstream(folder.File("notes.txt")) << "not a track";
    TrackDock dock(folder.File("tracks.db"));
    QSignalSpy changed(&dock, &TrackDock::tracksChanged);
    auto* list = dock.findChild<QTreeWidget*>("trackList");
    ASSERT_TRUE(list);

    const QStringList files = {QString::fromStdString(folder.File("walk.gpx")),
                               QString::fromStdString(folder.File("notes.txt"))};
    dock.ImportFiles(files);
    dock.ImportFiles(files);
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(list->topLevelItem(0)->text(0), "walk");
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(dock.Polylines().size(), 2u) << "one line per segment";

    list->topLevelItem(0)->setSelected(true);
    dock.RemoveSelected();
    EXPECT_EQ(list->topLevelItemCount(), 0);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_TRUE(dock.Polylines().empty());

    dock.findChild<QSpinBox*>("maxGap")->setValue(600);
    dock.findChild<QSpinBox*>("cameraOffset")->setValue(-90);
    const TrackMatchSettings remembered = LoadTrackSettings();
    EXPECT_EQ(remembered.rules.maxGapMs, 600'000);
    EXPECT_EQ(remembered.clock.offsetSeconds, -90);
    EXPECT_EQ(TrackDock(folder.File("tracks.db")).findChild<QSpinBox*>("maxGap")->value(), 600);
}

TEST(TheTrackSettings, readImpossibleValuesAsDefaultsOrLimits) {
    {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Darazoz Software",
                           "zidevu");
        settings.setValue("Tracks/CameraOffsetSeconds", "-9223372036854775807");
        settings.setValue("Tracks/CameraTimeZone", "../../etc/passwd");
        settings.setValue("Tracks/MaxGapSeconds", "9223372036854775807");
        settings.setValue("Tracks/MaxDistanceSeconds", "-5");
    }
    const TrackMatchSettings s = LoadTrackSettings();
    EXPECT_EQ(s.clock.offsetSeconds, -kMaxCameraOffsetSeconds);
    EXPECT_EQ(s.clock.timeZone, "");
    EXPECT_EQ(s.rules.maxGapMs, kMaxGapSeconds * 1000LL);
    EXPECT_EQ(s.rules.maxDistanceMs, MatchRules().maxDistanceMs);
}

// While the window is shown a request waits for the review, which names the
// photos as the album's catalogue does; hidden, it is answered at once. A
// clock corrected in the review shows in the panel.
TEST(TheTrackPanel, hasRequestsReviewedOnlyWhileTheWindowIsShown) {
    TempFolder folder;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(folder.File("myJpgdb.db").c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "create table tJpgMsg(idPic integer, strName nvarchar(100));"
                           "create table tReJpgMsg(idPic integer, strName nvarchar(100));"
                           "insert into tJpgMsg values (11, '西湖.jpg');",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    qputenv("DARAZOZ_DATA_DIR", QByteArray::fromStdString(folder.Path()));
    LinkTestEnvironment env;
    CompanionService service([](double, double) { return std::vector<std::string>{}; });
    ZidevuWindow window(service, RegionDataState{"", "none"});
    TrackRequestHandler handler(folder.File("tracks.db"));
    Replies replies;
    handler.SetAnswer(replies.Answer());
    TrackDock* dock = AttachTrackUi(window, handler);

    handler.Receive(Request().records);
    QApplication::processEvents();
    EXPECT_EQ(replies.sent.size(), 1u) << "hidden: answered at once";
    EXPECT_TRUE(window.findChildren<TrackReviewDialog*>().isEmpty());

    window.show();
    handler.Receive(Request().records);
    QApplication::processEvents();
    const auto reviews = window.findChildren<TrackReviewDialog*>();
    ASSERT_EQ(reviews.size(), 1);
    EXPECT_EQ(replies.sent.size(), 1u);
    EXPECT_EQ(reviews.front()->Rows()->topLevelItem(0)->text(0), "西湖.jpg");
    EXPECT_EQ(reviews.front()->Rows()->topLevelItem(1)->text(0), "12") << "unknown to the album";
    qunsetenv("DARAZOZ_DATA_DIR");
    TrackMatchSettings corrected;
    corrected.clock.offsetSeconds = 120;
    reviews.front()->ApplySettings(corrected);
    EXPECT_EQ(dock->findChild<QSpinBox*>("cameraOffset")->value(), 120)
        << "the panel must not save its old offset over the corrected one";
    reviews.front()->accept();
    ASSERT_EQ(replies.sent.size(), 2u);
    EXPECT_EQ(replies.sent.back().size(), 3u);
}

}  // namespace
