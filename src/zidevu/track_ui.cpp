#include "zidevu/track_ui.h"

#include <QMainWindow>

#include "zidevu/track_dock.h"
#include "zidevu/track_request_handler.h"
#include "zidevu/track_review_dialog.h"
#include "zidevu/track_settings.h"

TrackDock* AttachTrackUi(QMainWindow& window, TrackRequestHandler& handler) {
    auto* dock = new TrackDock(handler.StorePath(), &window);
    window.addDockWidget(Qt::RightDockWidgetArea, dock);
    QMainWindow* owner = &window;
    handler.SetReviewer([owner, dock](const TrackRequest& request,
                                      TrackRequestHandler::Answer reply) {
        if (!owner->isVisible()) return false;
        auto* review = new TrackReviewDialog(request, LoadTrackSettings(), std::move(reply), owner);
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
