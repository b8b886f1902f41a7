#pragma once
// Answers the program's requests for positions from the tracks (20005).
// The service's thread hands each request over with Receive; this object
// matches it on its own (the UI) thread against the store as it is then,
// with the remembered settings, and either answers at once or, when a
// reviewer is set and wants it, lets the user review the rows first.

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "companion/track_positions.h"

// What the reviewer gets: the request, and the tracks to match it again
// when the user changes the settings.
struct TrackRequest {
    std::vector<MapPhotoRecord> records;
    std::shared_ptr<const TrackMatcher> matcher;
};

class TrackRequestHandler : public QObject {
    Q_OBJECT

  public:
    using Answer = std::function<void(std::vector<MapPhotoRecord> reply)>;
    // Shows the rows for review, if it will; calls reply later (once) and
    // returns true, or returns false to have the rows answered at once.
    using Reviewer = std::function<bool(const TrackRequest& request, Answer reply)>;

    explicit TrackRequestHandler(std::string storePath, QObject* parent = nullptr);

    // UI thread, before the event loop runs.
    void SetAnswer(Answer answer) { answer_ = std::move(answer); }
    void SetReviewer(Reviewer reviewer) { reviewer_ = std::move(reviewer); }

    // Any thread: returns at once.
    void Receive(std::vector<MapPhotoRecord> records);

    const std::string& StorePath() const { return storePath_; }

  private:
    void Handle(const std::vector<MapPhotoRecord>& records);

    const std::string storePath_;
    Answer answer_;
    Reviewer reviewer_;
};
