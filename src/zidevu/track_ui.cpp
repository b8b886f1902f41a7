#include "zidevu/track_ui.h"

#include "zidevu/track_dock.h"
#include "zidevu/track_request_handler.h"
#include "zidevu/track_review_dialog.h"
#include "zidevu/track_settings.h"
#include "zidevu/zidevu_window.h"

TrackDock* AttachTrackUi(ZidevuWindow& window, TrackRequestHandler& handler) {
    auto* dock = new TrackDock(handler.StorePath(), &window);
    window.addDockWidget(Qt::RightDockWidgetArea, dock);
    ZidevuWindow* owner = &window;
    handler.SetReviewer(
        [owner, dock](const TrackRequest& request, TrackRequestHandler::Answer reply) {
            if (!owner->isVisible()) return false;
            owner->RereadPhotoNames();
            auto* review = new TrackReviewDialog(
                request, LoadTrackSettings(), std::move(reply), owner,
                [owner](std::int64_t photoId) { return owner->PhotoName(photoId); });
            review->setAttribute(Qt::WA_DeleteOnClose);
            QObject::connect(review, &TrackReviewDialog::settingsChanged, dock,
                             &TrackDock::LoadSettings);
            review->show();
            review->raise();
            review->activateWindow();
            return true;
        });
    return dock;
}
