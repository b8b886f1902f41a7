// The map commands and the region lookup of the main view beside the
// in-process companion simulator. Message boxes and the readiness check are
// answered by the test; the result dialogs run for real and are closed once
// their worker has ended.

#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <deque>

#include "catalogue/photo_rows.h"
#include "companion_sim.h"
#include "dialogs/location_result_dialog.h"
#include "fresh_catalogue.h"
#include "import/location_work.h"
#include "locationui/location_controller.h"
#include "maplink/map_link.h"
#include "maplink/region_buffer.h"
#include "messaging/worker_registry.h"
#include "photo_edit_stub.h"
#include "properties/dialog_exif.h"
#include "properties/properties_session.h"
#include "view/verero_view.h"

namespace {

struct Shown {
    QString title;
    QString text;
};

class LocationControllerTest : public ::testing::Test {
  protected:
    Library& library() { return fresh_.library(); }
    void SetUp() override {
        QObject::connect(&view_, &CVereroView::regionLookupRequested, &controller_,
                         &LocationController::StartRegionLookup);
        PhotoEditStub::Reset();
        controller_.SetPhotoWriter(RecordWrite);
        controller_.SetMessageBox(
            [this](QWidget*, const QString& title, const QString& text, bool) {
                messages_.push_back({title, text});
                if (answers_.empty()) return 1;
                const int answer = answers_.front();
                answers_.pop_front();
                return answer;
            });
        controller_.SetReadinessCheck([](QWidget*, ReadinessPurpose) { return true; });
        // Each result dialog is closed with 确定 once its worker has ended
        // (or with 取消 at once when cancelOnShow_ is set); its last text is kept.
        controller_.SetDialogShownHook([this](CLocationResultDialog* dialog) {
            ++dialogs_;
            if (cancelOnShow_) {
                dialog->CancelButton()->click();
                return;
            }
            auto* poll = new QTimer(dialog);
            QObject::connect(poll, &QTimer::timeout, dialog, [this, dialog] {
                if (!dialog->OkButton()->isEnabled()) return;
                resultTexts_.push_back(dialog->ShownText());
                dialog->OkButton()->click();
            });
            poll->start(10);
        });
    }
    void TearDown() override { PhotoEditStub::Reset(); }

    void StartCompanion(RegionReplyMode mode = RegionReplyMode::Table, GpxTrack track = {}) {
        CompanionSimOptions options;
        options.regions = *RegionTable::Parse("30 32 120 122 | 上海市 | 上海市 | 徐汇区\n");
        options.regionMode = mode;
        options.pickedPosition = {31.25, 121.5};
        options.track = std::move(track);
        sim_ = std::make_unique<CompanionSim>(std::move(options));
        ASSERT_TRUE(WaitFor([this] { return link_.CompanionWindowExists(); }));
    }

    // Photos 1..n in the view; those in withoutPosition have none.
    void ListPhotos(int n, std::set<int> withoutPosition = {}, bool selectAll = true) {
        view_.ResetPhotoList(n);
        for (int id = 1; id <= n; ++id) {
            PhotoRecord r = RecordOf(fresh_.Root(), "p" + std::to_string(id) + ".jpg");
            if (!withoutPosition.contains(id)) {
                r.fGPSLatitude = 31.2f;
                r.fGPSLongitude = 121.4f;
            }
            r.dwDateTime = 1561939200 + id;  // 2019-07-01 00:00 UTC
            ASSERT_EQ(InsertPhotoRow(library(), PhotoRef{id, false}, r, {}, {}),
                      InsertResult::Done);
            view_.Photos().Append({id, false});
            if (selectAll) view_.Selection().list.Append({id, false});
        }
        view_.Photos().currentIndex = 0;
    }

    std::size_t QueueLength() { return fresh_.library().PendingRegions().Size(); }

    // Handles events (link messages included) until done() or a generous bound.
    static bool WaitFor(const std::function<bool()>& done) {
        for (int i = 0; i < 1000 && !done(); ++i) QTest::qWait(10);
        return done();
    }

    // The link's dispatch thread is this (the UI) thread: a waiting
    // companion message is handled from the event loop, as the frame does.
    FreshCatalogue fresh_;
    RegionBuffer buffer_;
    MapLink link_{buffer_, [this] {
                      QMetaObject::invokeMethod(
                          &view_, [this] { link_.Endpoint().ProcessPendingMessages(); },
                          Qt::QueuedConnection);
                  }};
    CVereroView view_{library()};
    LocationController controller_{
        &link_, &buffer_, {nullptr, fresh_.library().PendingRegions()}, view_};
    std::unique_ptr<CompanionSim> sim_;
    std::vector<Shown> messages_;
    std::deque<int> answers_;
    std::vector<QString> resultTexts_;
    int dialogs_ = 0;
    bool cancelOnShow_ = false;
};

struct LookupCase {
    const char* name;
    RegionReplyMode mode;
    int photos;
    std::set<int> withoutPosition;
    const char* skipMessage;  // nullptr: none
    const char* resultText;
};

void PrintTo(const LookupCase& c, std::ostream* out) {
    *out << c.name;
}

class RegionsFromGps : public LocationControllerTest,
                       public ::testing::WithParamInterface<LookupCase> {};

TEST_P(RegionsFromGps, SkipsPhotosWithoutAPositionAndReportsTheLookup) {
    const LookupCase& c = GetParam();
    StartCompanion(c.mode);
    ListPhotos(c.photos, c.withoutPosition);
    controller_.RegionsFromGps();
    if (c.skipMessage) {
        ASSERT_FALSE(messages_.empty());
        EXPECT_EQ(messages_.front().text, QString::fromUtf8(c.skipMessage));
    } else {
        EXPECT_TRUE(messages_.empty());
    }
    ASSERT_TRUE(WaitFor([this] { return !resultTexts_.empty(); }));
    EXPECT_EQ(resultTexts_.back(), QString::fromUtf8(c.resultText));
    EXPECT_EQ(QueueLength(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegionsFromGps,
    ::testing::Values(
        LookupCase{"FiveSelectedTwoWithoutPosition",
                   RegionReplyMode::Table,
                   5,
                   {2, 4},
                   "本次操作跳过2张未含有经纬度的照片。\r\n请先添加经纬度！",
                   "已解析经纬度对应区域的照片：3/3(张)."},
        LookupCase{"CompanionWithoutNames",
                   RegionReplyMode::NoNames,
                   3,
                   {},
                   nullptr,
                   "已解析经纬度对应区域的照片：0/3(张).\r\n超出经纬度解析区域的照片：3张."}),
    [](const ::testing::TestParamInfo<LookupCase>& info) { return info.param.name; });

TEST_F(LocationControllerTest, DecliningTheOfferEmptiesTheQueueWithoutACompanion) {
    ListPhotos(2);
    answers_ = {2};
    controller_.RegionsFromGps();
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, QStringLiteral("此次操作共有2张照片含有位置信息。\r\n"
                                                "是否打开Darazoz在后台进行解析？"));
    EXPECT_EQ(QueueLength(), 0u);
    QTest::qWait(50);
    EXPECT_EQ(dialogs_, 0);
}

TEST_F(LocationControllerTest, AMissingCompanionWindowRestartsTheLookupThreeTimes) {
    ListPhotos(1);
    fresh_.library().PendingRegions().Push({1, 31.2, 121.4});
    controller_.StartRegionLookup();
    ASSERT_TRUE(WaitFor([this] { return !resultTexts_.empty(); }));
    EXPECT_EQ(dialogs_, 4) << "each restart has its own dialog";
    EXPECT_EQ(resultTexts_.back(),
              QStringLiteral("已解析经纬度对应区域的照片：0/1(张).\r\n"
                             "地图程序未运行，位置信息已保留，将在下次解析。"));
    EXPECT_EQ(QueueLength(), 1u) << "the photo waits for the companion";
}

TEST_F(LocationControllerTest, TheCurrentPhotoWithoutAPositionIsRefused) {
    ListPhotos(1, {1}, false);
    controller_.RegionsFromGps();
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, QStringLiteral("此照片没有经纬度，请先添加经纬度！"));
}

TEST_F(LocationControllerTest, CancelDuringALookupKeepsTheQueue) {
    StartCompanion(RegionReplyMode::Silent);
    ListPhotos(2);
    cancelOnShow_ = true;
    controller_.RegionsFromGps();
    ASSERT_TRUE(WaitFor([this] { return dialogs_ == 1; }));
    ASSERT_TRUE(WaitFor([] { return !WorkerRegistry::IsRunning(WorkerKind::RegionLookup); }));
    EXPECT_EQ(QueueLength(), 2u) << "a cancelled lookup leaves its photos queued";
    EXPECT_TRUE(PhotoRegionNames(library(), PhotoRef{2, false})->at(0).empty());
}

TEST_F(LocationControllerTest, APickedPositionOpensThePropertiesDialogWithThePositionPreset) {
    StartCompanion();
    ListPhotos(2, {}, false);
    view_.Photos().currentIndex = 1;
    std::optional<PresetPositionState> preset;
    PhotoRef shown;
    controller_.SetPropertiesRunner([&](PropertiesSession& session, QWidget*) {
        preset = session.preset;
        shown = session.shownPhoto;
        return true;
    });
    controller_.PickPositionOnMap();
    ASSERT_TRUE(WaitFor([&] { return preset.has_value(); }));
    EXPECT_TRUE(preset->set);
    EXPECT_FLOAT_EQ(preset->latitude, 31.25f);
    EXPECT_FLOAT_EQ(preset->longitude, 121.5f);
    EXPECT_EQ(shown, (PhotoRef{2, false}));
}

TEST_F(LocationControllerTest, TrackPositionsAreWrittenAndTheRegionLookupOffered) {
    GpxTrack track = GpxTrack::Parse(
        "<gpx><trk><trkseg>"
        "<trkpt lat=\"31.0\" lon=\"121.0\"><time>2019-07-01T00:00:00Z</time></trkpt>"
        "<trkpt lat=\"31.0\" lon=\"121.0\"><time>2019-07-01T00:00:01Z</time></trkpt>"
        "</trkseg></trk></gpx>");
    StartCompanion(RegionReplyMode::Table, track);
    ListPhotos(2, {1, 2});  // photo 2 was shot after the track ended
    answers_ = {2};         // no region lookup now
    controller_.PositionsFromTracks();
    ASSERT_TRUE(WaitFor([this] { return !messages_.empty(); }));
    ASSERT_EQ(resultTexts_.size(), 1u);
    EXPECT_EQ(resultTexts_[0],
              QStringLiteral("已修改照片经纬度：1/2(张).\r\n拍摄时间没有轨迹位置的照片：1张."));
    EXPECT_EQ(messages_.back().text, QStringLiteral("是否根据位置获取地区信息？"));
    EXPECT_EQ(PhotoEditStub::CallCount(), 1u);
    EXPECT_EQ(QueueLength(), 1u) << "the queue keeps the photo for a later lookup";
}

TEST_F(LocationControllerTest, ATrackReplyWithoutPositionsSaysSoAndWritesNothing) {
    ListPhotos(2);
    controller_.OnTrackPositions({{1, 0, 0, 0, 0}, {2, 0, 0, 0, 0}});
    QTest::qWait(50);
    EXPECT_EQ(dialogs_, 0);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_TRUE(messages_[0].text.contains(QStringLiteral("没有这些照片拍摄时间的位置")));
    EXPECT_EQ(PhotoEditStub::CallCount(), 0u);
}

TEST_F(LocationControllerTest, TheOfferCountsWhatTheEditAddedApartFromEarlierPhotos) {
    ListPhotos(3);
    for (std::int64_t id : {1, 2, 3}) fresh_.library().PendingRegions().Push({id, 31.2, 121.4});
    answers_ = {2};
    controller_.AskRegionLookup(false, 2);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text,
              QStringLiteral("此次操作共有1张照片含有位置信息（另有2张之前未解析的"
                             "照片）。是否打开Darazoz在后台进行解析？"));
}

TEST_F(LocationControllerTest, ShowingPhotosWithoutPositionsSendsTheOthersOnCancel) {
    StartCompanion();
    ListPhotos(3, {2});
    answers_ = {2, 1};
    controller_.ShowOnMap();
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_EQ(messages_[0].text,
              QStringLiteral("1/3照片尚未添加经纬度信息.\r\n是否进行批量编辑？"));
    EXPECT_EQ(messages_[1].title, QStringLiteral("Verero"));
    EXPECT_EQ(messages_[1].text, QStringLiteral("本次导入2/3张照片到Zidevu地图中."));
    ASSERT_TRUE(WaitFor([this] {
        for (const ReceivedMessage& m : sim_->Received())
            if (m.code == kCodeShowPhotos) return true;
        return false;
    }));
    for (const ReceivedMessage& m : sim_->Received()) {
        if (m.code == kCodeShowPhotos) {
            EXPECT_EQ(m.size, 2 * kMapPhotoRecordSize);
        }
    }
}

}  // namespace
