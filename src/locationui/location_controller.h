#pragma once
// The location workflows of the main view with the companion map
// application: the region lookup of the pending region queue (message
// UiMessage::kStartRegionLookup) with CDialog_EditGps, the commands
// 根据GPS获取地区信息, 根据Darazoz地图轨迹自动选取位置, 从Darazoz地图中选取位置 and
// 在Darazoz地图中显示位置, the companion's picked position and track answer,
// the track application with CDialog_AddGps, and the region-lookup offer
// after a photo's position was edited.
//
// Threads: every member function is for the UI thread. The two workers run
// on std::threads recorded in the worker registry; they reach the UI only
// through blocking queued calls (the result dialog's counters) and posted
// messages, and stop on the exit token.

#include <QObject>
#include <QPointer>
#include <QString>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "catalogue/pending_region_queue.h"
#include "catalogue/process_flags.h"
#include "import/photo_writer.h"
#include "maplink/companion_locator.h"
#include "maplink/companion_readiness.h"
#include "maplink/map_records.h"
#include "properties/properties_session.h"
#include "record/photo_ref.h"

class CLocationResultDialog;
struct RegionLookupResult;
class PhotoBrowser;
class MapLink;
class QWidget;
class RegionBuffer;

class LocationController : public QObject {
    Q_OBJECT

  public:
    // Shows a message box; returns 1 for 确定 and 2 otherwise.
    using MessageBox = std::function<int(QWidget* parent, const QString& title, const QString& text,
                                         bool twoButtons)>;
    // The companion readiness check; true when the work may go on.
    using ReadinessCheck = std::function<bool(QWidget* parent, ReadinessPurpose purpose)>;
    // Runs the properties dialog (RunPropertiesDialog by default).
    using PropertiesRunner = std::function<bool(PropertiesSession& session, QWidget* parent)>;

    // link and regionNames may be null (no companion link): the commands then
    // find no companion. regions holds the program's pending region queue,
    // which the lookups ask and the track application fills; the properties
    // dialogs it opens write through it.
    LocationController(MapLink* link, RegionBuffer* regionNames, RegionRoute regions,
                       PhotoBrowser& view, QObject* parent = nullptr);
    // Waits for a running worker (it stops on the exit token or 取消).
    ~LocationController() override;

    void SetMessageBox(MessageBox box) { messageBox_ = std::move(box); }
    void SetReadinessCheck(ReadinessCheck check) { readinessCheck_ = std::move(check); }
    void SetPropertiesRunner(PropertiesRunner runner) { runProperties_ = std::move(runner); }
    // What the properties dialogs it opens are handed (by default a writer on
    // the region route and answers of their own).
    void SetPropertiesContext(PropertiesContext context) { properties_ = std::move(context); }
    // Writes the positions taken from the companion's tracks (RoutedPhotoWriter by default).
    void SetPhotoWriter(PhotoWriter writer) { writer_ = std::move(writer); }
    // Called when a result dialog is created (the main frame starts its
    // bring-to-front timer there) and, for tests,
    // once it is shown.
    void SetDialogOpenedHook(std::function<void()> hook) { dialogOpened_ = std::move(hook); }
    void SetDialogShownHook(std::function<void(CLocationResultDialog*)> hook) {
        dialogShown_ = std::move(hook);
    }

    // UiMessage::kStartRegionLookup: starts the region lookup and shows
    // CDialog_EditGps modally; nothing while a lookup runs.
    void StartRegionLookup();
    bool RegionLookupRunning() const;

    // The commands, on the view's selection or else its current photo.
    void RegionsFromGps();       // 根据GPS获取地区信息
    void PositionsFromTracks();  // 根据Darazoz地图轨迹自动选取位置
    void PickPositionOnMap();    // 从Darazoz地图中选取位置
    void ShowOnMap();            // 在Darazoz地图中显示位置

    // The companion's answers, called after the link's message handler has
    // returned (never from inside it: these run modal dialogs).
    void OnPickedPosition(PickedPosition position);
    void OnTrackPositions(std::vector<MapPhotoRecord> records);

    // Where a photo's position was just edited; decides the offer's steps.
    enum class EditSource { PropertiesCommand, ViewerOrPick };
    // The region-lookup offer after a dialog saved photos; queuedBefore is
    // the queue's length before the dialog ran, so that the offer counts the
    // photos this edit added apart from those left from earlier.
    void OfferRegionLookup(EditSource source, int queuedBefore);
    // Asks whether to look up the queued photos' regions; 确定 starts the
    // lookup when the companion is ready (the queue waits otherwise), 取消
    // empties the queue. lineBreak puts the question on two lines.
    void AskRegionLookup(bool lineBreak, int queuedBefore = 0);
    // Photos waiting in the pending region queue.
    int PendingRegionCount() const;

  private:
    int Ask(const QString& text, bool twoButtons = true,
            const QString& title = QStringLiteral("提示"));
    bool Ready(ReadinessPurpose purpose);
    bool CompanionWindowExists() const;
    void ReadyThenStartLookup();
    void PostRegionTreeStale();
    CLocationResultDialog* OpenResultDialog(bool regions);
    void RunResultDialog(CLocationResultDialog* dialog);
    void OnRegionLookupEnded(bool restart, const RegionLookupResult& result);
    void OnTrackApplyEnded();
    void SendMapPhotos(const std::vector<MapPhotoRecord>& records, int asked);
    void ShowSingleOnMap(PhotoRef photo);
    // A properties session on shown in the controller's properties context.
    PropertiesSession SessionOn(PhotoRef shown) const;

    MapLink* link_;
    RegionBuffer* regionNames_;
    const RegionRoute regions_;
    PhotoBrowser& view_;
    CompanionLocator locator_;
    MessageBox messageBox_;
    ReadinessCheck readinessCheck_;
    PropertiesRunner runProperties_;
    PhotoWriter writer_;
    PropertiesContext properties_;
    int tracksApplied_ = 0;  // written by the track worker, read after its join
    // Restarts of the lookup while the companion's window was missing; the
    // lookup worker (one at a time) counts them.
    int missingCompanionRetries_ = 0;
    std::function<void()> dialogOpened_;
    std::function<void(CLocationResultDialog*)> dialogShown_;
    std::thread regionWorker_;
    std::thread trackWorker_;
    QPointer<CLocationResultDialog> regionDialog_;
    QPointer<CLocationResultDialog> trackDialog_;
    bool regionLookupActive_ = false;  // from start until the dialog has closed
    bool restartPending_ = false;      // the lookup found no companion window
    std::atomic<bool> closing_{false};
    // The running job's stop, whose parent is the exit token. Requested by a
    // result dialog's 取消 (and the controller's end): the lookup or track
    // application stops before its next photo; cleared when a result dialog
    // opens.
    StopToken stop_{&ExitToken};
};
