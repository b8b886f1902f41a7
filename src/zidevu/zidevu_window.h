#pragma once
// The companion's window (class "zazadoRud"): the map with the album's
// photos, the command that sends the chosen ones back (在相册中显示), the
// picking state for a position, and in the status bar the pointer's
// position, the region data and the region lookups answered.
//
// UI thread only. The album's requests reach it through ShowPhotos and
// StartPicking (posted by the map request relay); its answers go out
// through the AnswerToProgram it was given. It reads the service's status
// on a timer.

#include <QMainWindow>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "catalogue/saved_photo_names.h"
#include "companion/region_atlas.h"
#include "maplink/map_records.h"
#include "zidevu/region_data.h"

class CompanionService;
class MapGeometry;
class MapWidget;
class TileLayer;
class QAction;
class QLabel;
class QShortcut;

// Sends one of our answers to the album (CompanionService::AnswerProgram).
using AnswerToProgram = std::function<void(std::uint16_t code, std::vector<std::uint8_t> data)>;

class ZidevuWindow : public QMainWindow {
    Q_OBJECT

  public:
    ZidevuWindow(const CompanionService& service, const RegionDataState& regionData,
                 AnswerToProgram answer = {}, QWidget* parent = nullptr);
    ~ZidevuWindow() override;

    // Shows the service's current counters; the timer calls it too.
    void Refresh();

    // 20004 from the album: the photos as markers, the view fitted to them.
    void ShowPhotos(std::vector<MapPhotoRecord> photos, std::uint32_t flags);
    // 20001 from the album: a click on the map answers once; Esc answers nothing.
    void StartPicking(std::uint32_t flags);
    bool IsPicking() const;

    MapWidget* Map() const { return map_; }
    // The photo's file name as the album's catalogue file has it, else its id.
    QString PhotoName(std::int64_t photoId);
    // Reads the album's catalogue file again (the album may have saved since).
    void RereadPhotoNames();
    // Waits for the outlines being read and puts them on the map (tests,
    // benchmarks; the window does it by itself when they are ready).
    void FinishLoadingMap();
    QAction* ShowInAlbumAction() const { return showInAlbum_; }
    QAction* TilesAction() const { return tilesAction_; }

  private:
    void ApplyRequestFlags(std::uint32_t flags);
    void SendSelectionToAlbum();
    void AnswerPickedPosition(double latitude, double longitude);
    void ShowPointer(double latitude, double longitude);
    void UseTiles(bool on);
    void ShowGeometry(std::shared_ptr<const MapGeometry> geometry);

    const CompanionService& service_;
    AnswerToProgram answer_;
    std::atomic<bool> closing_{false};  // tells the loader to stop
    std::thread geometryLoader_;        // reads the outlines while the window is already up
    RegionAtlas atlas_;                 // the UI thread's own: an atlas serves one thread
    SavedPhotoNames names_;
    bool pickPending_ = false;
    MapWidget* map_ = nullptr;
    QAction* showInAlbum_ = nullptr;
    QAction* tilesAction_ = nullptr;
    QShortcut* giveUpPick_ = nullptr;
    std::unique_ptr<TileLayer> tiles_;
    QLabel* pointer_ = nullptr;
    QLabel* lookups_ = nullptr;
    QLabel* lastLookup_ = nullptr;
};

// The window's line for the region data.
QString RegionDataText(const RegionDataState& state);
// The picked position with its region names, as shown beside its pin.
QString PickedPositionText(double latitude, double longitude,
                           const std::vector<std::string>& names);
