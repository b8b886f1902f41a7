#include "zidevu/track_request_handler.h"

#include "zidevu/track_settings.h"

TrackRequestHandler::TrackRequestHandler(std::string storePath, QObject* parent)
    : QObject(parent), storePath_(std::move(storePath)) {}

void TrackRequestHandler::Receive(std::vector<MapPhotoRecord> records) {
    QMetaObject::invokeMethod(
        this, [this, records = std::move(records)] { Handle(records); }, Qt::QueuedConnection);
}

void TrackRequestHandler::Handle(const std::vector<MapPhotoRecord>& records) {
    // Opened for each request: `zidevu --import-track` may have added tracks
    // meanwhile. A store that cannot be opened matches nothing.
    TrackStore store;
    std::vector<Track> tracks;
    if (store.Open(storePath_)) tracks = store.LoadAll();
    TrackRequest request{records, std::make_shared<const TrackMatcher>(tracks)};
    if (reviewer_ && reviewer_(request, answer_)) return;
    if (answer_)
        answer_(ReplyRecords(MatchRecords(*request.matcher, records, LoadTrackSettings())));
}
