// The four map commands of the main view and the companion's picked
// position (LocationController, see location_controller.h).

#include <optional>

#include "browsemodel/photo_browser.h"
#include "catalogue/photo_rows.h"
#include "catalogue/process_flags.h"
#include "dialogs/dlg_msg.h"
#include "locationui/location_controller.h"
#include "maplink/map_link.h"
#include "properties/dialog_exif.h"

namespace {

std::optional<MapPhotoRecord> PositionRecord(Library& library, PhotoRef photo) {
    double latitude = 0;
    double longitude = 0;
    if (!PhotoPosition(library, photo, latitude, longitude)) return std::nullopt;
    return MapPhotoRecord{photo.idPic, 0, latitude, longitude, 0};
}

std::optional<PhotoRef> CurrentPhoto(PhotoBrowser& view) {
    const std::optional<int> index = view.PickCommandPhoto(false);
    if (!index) return std::nullopt;
    return view.Photos().Entry(*index).ref;
}

// Makes photos the view's selection and the first of them its current photo.
void SelectPhotos(PhotoBrowser& view, const std::vector<PhotoRef>& photos) {
    GridSelection& selection = view.Selection();
    selection.list.Clear();
    for (const PhotoRef& photo : photos) selection.list.Append(photo);
    selection.multiSelectActive = true;
    PhotoList& list = view.Photos();
    for (int i = 0; i < list.Count(); ++i) {
        if (list.Entry(i).ref == photos.front()) {
            list.currentIndex = i;
            break;
        }
    }
    view.RedrawSelection();
}

}  // namespace

void LocationController::RegionsFromGps() {
    if (!view_.HasPhotos()) return;
    PendingRegionList queue;
    const std::vector<PhotoRef> selected = view_.Selection().list.Photos();
    if (selected.empty()) {
        const auto current = CurrentPhoto(view_);
        if (!current) return;
        const auto record = PositionRecord(view_.PhotoLibrary(), {current->idPic, false});
        if (!record) {
            Ask(QStringLiteral("此照片没有经纬度，请先添加经纬度！"), false);
            return;
        }
        queue.push_back({record->idPic, record->latitude, record->longitude});
    } else {
        int skipped = 0;
        for (const PhotoRef& photo : selected) {
            if (const auto record = PositionRecord(view_.PhotoLibrary(), {photo.idPic, false})) {
                queue.push_back({record->idPic, record->latitude, record->longitude});
            } else {
                ++skipped;
            }
        }
        if (skipped > 0)
            Ask(QStringLiteral("本次操作跳过%1张未含有经纬度的照片。\r\n请先添加经纬度！")
                    .arg(skipped),
                false);
    }
    const bool empty = queue.empty();
    regions_.queue.Replace(std::move(queue));
    if (empty) return;
    if (CompanionWindowExists()) {
        ReadyThenStartLookup();
    } else {
        AskRegionLookup(true);
    }
}

void LocationController::PositionsFromTracks() {
    if (!view_.HasPhotos() || link_ == nullptr || !Ready(ReadinessPurpose::Interactive)) return;
    std::vector<MapPhotoRecord> records;
    const std::vector<PhotoRef> selected = view_.Selection().list.Photos();
    if (selected.empty()) {
        const auto current = CurrentPhoto(view_);
        if (!current) return;
        const std::int32_t shotTime = PhotoShotTime(view_.PhotoLibrary(), *current);
        if (shotTime == 0) return;  // nothing to match a track against
        records.push_back({current->idPic, shotTime, 0, 0, 0});
    } else {
        for (const PhotoRef& photo : selected)
            records.push_back({photo.idPic, PhotoShotTime(view_.PhotoLibrary(), photo), 0, 0, 0});
    }
    link_->SendToCompanion(kCodeTrackPositions, PackMapPhotoRecords(records));
}

void LocationController::PickPositionOnMap() {
    if (!view_.HasPhotos() || link_ == nullptr || !Ready(ReadinessPurpose::Interactive)) return;
    link_->SendToCompanion(kCodePickPosition, {});
}

PropertiesSession LocationController::SessionOn(PhotoRef shown) const {
    PropertiesSession session;
    session.library = &view_.PhotoLibrary();
    session.shownPhoto = shown;
    session.context = properties_;
    return session;
}

void LocationController::OnPickedPosition(PickedPosition position) {
    if (!view_.HasPhotos()) return;
    const auto current = CurrentPhoto(view_);
    if (!current) return;
    view_.PhotoStatusText(*current);
    PropertiesSession session = SessionOn(*current);
    session.preset = {true, static_cast<float>(position.latitude),
                      static_cast<float>(position.longitude)};
    const int queuedBefore = PendingRegionCount();
    if (!runProperties_(session, view_.DialogParent())) return;
    if (!session.photosModified) return;
    view_.RefreshList(false);
    OfferRegionLookup(EditSource::ViewerOrPick, queuedBefore);
}

void LocationController::ShowOnMap() {
    if (!view_.HasPhotos() || link_ == nullptr || !Ready(ReadinessPurpose::Interactive)) return;
    const std::vector<PhotoRef> selected = view_.Selection().list.Photos();
    if (selected.empty()) {
        if (const auto current = CurrentPhoto(view_)) ShowSingleOnMap(*current);
        return;
    }
    std::vector<MapPhotoRecord> records;
    std::vector<PhotoRef> without;
    for (const PhotoRef& photo : selected) {
        if (const auto record = PositionRecord(view_.PhotoLibrary(), photo)) {
            records.push_back(*record);
        } else {
            without.push_back(photo);
        }
    }
    const int asked = static_cast<int>(selected.size());
    if (!without.empty()) {
        const QString text =
            records.empty() ? QStringLiteral("所有照片均未添加经纬度信息.\r\n是否进行批量编辑？")
                            : QStringLiteral("%1/%2照片尚未添加经纬度信息.\r\n是否进行批量编辑？")
                                  .arg(without.size())
                                  .arg(asked);
        if (Ask(text) != kDlgMsgOk) {
            if (!records.empty()) SendMapPhotos(records, asked);
            return;
        }
        SelectPhotos(view_, without);
        PropertiesSession session = SessionOn(without.front());
        session.selection = without;
        runProperties_(session, view_.DialogParent());
        for (const PhotoRef& photo : without)
            if (const auto record = PositionRecord(view_.PhotoLibrary(), photo))
                records.push_back(*record);
    }
    SendMapPhotos(records, asked);
}

void LocationController::ShowSingleOnMap(PhotoRef photo) {
    if (const auto record = PositionRecord(view_.PhotoLibrary(), photo)) {
        SendMapPhotos({*record}, 1);
        return;
    }
    if (Ask(QStringLiteral("此照片尚未添加经纬度信息.\r\n是否进行编辑？")) != kDlgMsgOk) return;
    PropertiesSession session = SessionOn(photo);
    runProperties_(session, view_.DialogParent());
    if (const auto record = PositionRecord(view_.PhotoLibrary(), photo)) {
        SendMapPhotos({*record}, 1);
        PostRegionTreeStale();
    } else {
        Ask(QStringLiteral("添加经纬度不成功."), false);
    }
}

void LocationController::SendMapPhotos(const std::vector<MapPhotoRecord>& records, int asked) {
    link_->SendToCompanion(kCodeShowPhotos, PackMapPhotoRecords(records));
    Ask(QStringLiteral("本次导入%1/%2张照片到Zidevu地图中.").arg(records.size()).arg(asked), false,
        QStringLiteral("Verero"));
}
