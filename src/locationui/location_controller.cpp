#include "locationui/location_controller.h"

#include <QApplication>
#include <QMetaObject>
#include <QTimer>
#include <algorithm>

#include "browsemodel/photo_browser.h"
#include "dialogs/dlg_msg.h"
#include "dialogs/location_result_dialog.h"
#include "import/location_work.h"
#include "import/region_lookup_worker.h"
#include "import/track_apply_worker.h"
#include "importui/region_lookup_readiness.h"
#include "importui/ui_thread_call.h"
#include "maplink/map_link.h"
#include "messaging/receiver_registry.h"
#include "messaging/ui_messages.h"
#include "messaging/worker_registry.h"
#include "properties/properties_command.h"

namespace {

// Hands the counters to the registered result dialog of role and waits
// until it has redrawn its text.
LocationReport ReportTo(QObject* context, ReceiverRole role, const std::atomic<bool>& closing,
                        const StopToken& stop) {
    return [context, role, &closing, &stop](const LocationCounters& c) {
        CallOnUiThread<bool>(
            context,
            [role, c] {
                auto* dialog =
                    qobject_cast<CLocationResultDialog*>(ReceiverRegistry::Receiver(role));
                if (dialog == nullptr) return false;
                dialog->SetCounters({c.done, c.total, c.failed});
                return ReceiverRegistry::Send(role, UiMessage::kResultProgress);
            },
            // A closed dialog takes no counters: 取消 and closing end the wait.
            [&closing, &stop] { return closing || stop.StopRequested(); });
    };
}

}  // namespace

LocationController::LocationController(MapLink* link, RegionBuffer* regionNames,
                                       RegionRoute regions, PhotoBrowser& view, QObject* parent)
    : QObject(parent),
      link_(link),
      regionNames_(regionNames),
      regions_(regions),
      view_(view),
      writer_(RoutedPhotoWriter(view.PhotoLibrary(), regions)),
      properties_{RoutedPhotoWriter(view.PhotoLibrary(), regions)} {
    messageBox_ = [](QWidget* owner, const QString& title, const QString& text, bool twoButtons) {
        return ShowDlgMsg(owner, title, text, twoButtons);
    };
    readinessCheck_ = [this](QWidget* owner, ReadinessPurpose purpose) {
        return CheckCompanionReadiness(owner, link_, locator_, purpose);
    };
    runProperties_ = RunPropertiesDialog;
    if (link_ == nullptr) return;
    // The link calls these from inside its message handler; the workflows
    // run modal dialogs, so they start once the handler has returned.
    link_->SetPickedPositionReceiver([this](PickedPosition position) {
        QMetaObject::invokeMethod(
            this, [this, position] { OnPickedPosition(position); }, Qt::QueuedConnection);
    });
    link_->SetTrackPositionsReceiver([this](std::vector<MapPhotoRecord> records) {
        QMetaObject::invokeMethod(
            this, [this, records = std::move(records)] { OnTrackPositions(records); },
            Qt::QueuedConnection);
    });
}

LocationController::~LocationController() {
    if (link_ != nullptr) {
        link_->SetPickedPositionReceiver({});
        link_->SetTrackPositionsReceiver({});
    }
    closing_ = true;
    stop_.RequestStop();
    if (regionWorker_.joinable()) regionWorker_.join();
    if (trackWorker_.joinable()) trackWorker_.join();
}

int LocationController::Ask(const QString& text, bool twoButtons, const QString& title) {
    return messageBox_(view_.DialogParent(), title, text, twoButtons);
}

bool LocationController::Ready(ReadinessPurpose purpose) {
    return readinessCheck_(view_.DialogParent(), purpose);
}

bool LocationController::CompanionWindowExists() const {
    return link_ != nullptr && link_->CompanionWindowExists();
}

void LocationController::PostRegionTreeStale() {
    ReceiverRegistry::Post(ReceiverRole::CategoryPane, UiMessage::kRegionTreeStale);
}

void LocationController::ReadyThenStartLookup() {
    if (Ready(ReadinessPurpose::RegionLookup))
        ReceiverRegistry::Post(ReceiverRole::MainView, UiMessage::kStartRegionLookup);
}

int LocationController::PendingRegionCount() const {
    return static_cast<int>(regions_.queue.Size());
}

void LocationController::AskRegionLookup(bool lineBreak, int queuedBefore) {
    const int queued = PendingRegionCount();
    const int earlier = std::clamp(queuedBefore, 0, queued);
    // Photos left from earlier operations are looked up too: say so.
    const QString earlierText =
        earlier > 0 ? QStringLiteral("（另有%1张之前未解析的照片）").arg(earlier) : QString();
    const QString text =
        QStringLiteral("此次操作共有%1张照片含有位置信息%2。%3是否打开Darazoz在后台进行解析？")
            .arg(queued - earlier)
            .arg(earlierText, lineBreak ? QStringLiteral("\r\n") : QString());
    if (Ask(text) == kDlgMsgOk) {
        ReadyThenStartLookup();  // not ready: the queue keeps its entries
    } else {
        regions_.queue.Clear();
    }
}

void LocationController::OfferRegionLookup(EditSource source, int queuedBefore) {
    const int queued = PendingRegionCount();
    if (source == EditSource::PropertiesCommand) {
        if (queued == 0) return;
        // With the companion running the dialog resolved the regions itself.
        if (CompanionWindowExists()) {
            PostRegionTreeStale();
            return;
        }
    } else {
        if (queued == 0) {
            PostRegionTreeStale();
            return;
        }
        if (CompanionWindowExists()) {
            ReadyThenStartLookup();
            return;
        }
    }
    AskRegionLookup(false, queuedBefore);
}

CLocationResultDialog* LocationController::OpenResultDialog(bool regions) {
    CLocationResultDialog* dialog =
        regions ? static_cast<CLocationResultDialog*>(new CDialog_EditGps(view_.DialogParent()))
                : new CDialog_AddGps(view_.DialogParent());
    stop_.Clear();
    connect(dialog, &QDialog::rejected, [this] { stop_.RequestStop(); });
    if (dialogOpened_) dialogOpened_();
    return dialog;
}

void LocationController::RunResultDialog(CLocationResultDialog* dialog) {
    if (dialogShown_) QTimer::singleShot(0, dialog, [this, dialog] { dialogShown_(dialog); });
    dialog->exec();
    delete dialog;
    // The import dialog may still wait under the main window, which the
    // companion's replies brought to the front meanwhile.
    if (QWidget* modal = QApplication::activeModalWidget()) modal->raise();
}

bool LocationController::RegionLookupRunning() const {
    return regionLookupActive_ || WorkerRegistry::IsRunning(WorkerKind::RegionLookup);
}

void LocationController::StartRegionLookup() {
    if (RegionLookupRunning() || link_ == nullptr || regionNames_ == nullptr) return;
    if (regionWorker_.joinable()) regionWorker_.join();
    WorkerSlot slot(WorkerKind::RegionLookup);
    if (!slot.Held()) return;
    regionLookupActive_ = true;
    restartPending_ = false;
    CLocationResultDialog* dialog = OpenResultDialog(true);
    regionDialog_ = dialog;
    regionWorker_ = std::thread([this, slot = std::move(slot)]() mutable {
        bool restart = false;
        RegionLookupJob job{view_.PhotoLibrary(), regions_.queue, stop_, missingCompanionRetries_};
        job.report = ReportTo(this, ReceiverRole::RegionResultDialog, closing_, stop_);
        job.regionTreeStale = [] {
            ReceiverRegistry::Post(ReceiverRole::CategoryPane, UiMessage::kRegionTreeStale);
        };
        job.restart = [&restart] { restart = true; };
        const RegionLookupResult result = RunRegionLookup(*link_, *regionNames_, job);
        slot.Release();
        if (closing_ || stop_.ParentStopRequested()) return;
        QMetaObject::invokeMethod(
            this, [this, restart, result] { OnRegionLookupEnded(restart, result); },
            Qt::QueuedConnection);
    });
    RunResultDialog(dialog);
    regionLookupActive_ = false;
    // A lookup that found no companion window starts again once its dialog
    // has closed; the companion may still be starting.
    if (restartPending_) {
        restartPending_ = false;
        ReceiverRegistry::Post(ReceiverRole::MainView, UiMessage::kStartRegionLookup);
    }
}

void LocationController::OnRegionLookupEnded(bool restart, const RegionLookupResult& result) {
    if (regionWorker_.joinable()) regionWorker_.join();
    if (regionDialog_ == nullptr) return;  // closed by 取消 already
    if (restart) {
        restartPending_ = true;
        regionDialog_->accept();
        return;
    }
    regionDialog_->SetNote(
        RegionsKeptNote(result.end == RegionLookupEnd::NoCompanion, result.unanswered));
    regionDialog_->EnableOk();
}

void LocationController::OnTrackPositions(std::vector<MapPhotoRecord> records) {
    const bool anyPosition =
        std::any_of(records.begin(), records.end(),
                    [](const MapPhotoRecord& r) { return r.latitude != 0 || r.longitude != 0; });
    if (trackDialog_ != nullptr) return;
    if (!anyPosition) {
        Ask(QStringLiteral("轨迹中没有这些照片拍摄时间的位置，照片未作修改。"), false);
        return;
    }
    if (trackWorker_.joinable()) trackWorker_.join();
    WorkerSlot slot(WorkerKind::TrackApply);
    if (!slot.Held()) return;
    tracksApplied_ = 0;
    CLocationResultDialog* dialog = OpenResultDialog(false);
    trackDialog_ = dialog;
    trackWorker_ = std::thread([this, slot = std::move(slot),
                                records = std::move(records)]() mutable {
        const TrackApplyJob job{view_.PhotoLibrary(), writer_, regions_.queue, stop_,
                                ReportTo(this, ReceiverRole::TrackResultDialog, closing_, stop_)};
        tracksApplied_ = RunTrackApply(records, job).applied;
        records.clear();
        slot.Release();
        if (closing_ || stop_.ParentStopRequested()) return;
        QMetaObject::invokeMethod(
            this, [this] { OnTrackApplyEnded(); }, Qt::QueuedConnection);
    });
    RunResultDialog(dialog);
    // 取消 stops the worker before its next photo: wait for that photo.
    if (trackWorker_.joinable()) trackWorker_.join();
    if (tracksApplied_ > 0) view_.RefreshList(false);
    if (tracksApplied_ > 0 && Ask(QStringLiteral("是否根据位置获取地区信息？")) == kDlgMsgOk)
        ReceiverRegistry::Post(ReceiverRole::MainView, UiMessage::kStartRegionLookup);
}

void LocationController::OnTrackApplyEnded() {
    if (trackDialog_ != nullptr) trackDialog_->EnableOk();
}
