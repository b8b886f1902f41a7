#pragma once
// Lets the user review the positions found for a request before they are
// sent: photo, shot time, matched time, seconds to the nearest fix and
// position, one row each, ticked where a position was found. 确定 sends
// every record with the unticked rows at 0,0; 取消 (or closing) sends every
// record at 0,0. The camera clock can be corrected from one of the photos
// first, which matches the rows again and is remembered.
//
// UI thread only. The reply is sent once, when the dialog finishes.

#include <QDialog>
#include <QString>
#include <functional>
#include <vector>

#include "zidevu/track_request_handler.h"

class QLabel;
class QTreeWidget;

class TrackReviewDialog : public QDialog {
    Q_OBJECT

  public:
    // nameOf names a photo in the first column (default: its id).
    using PhotoNamer = std::function<QString(std::int64_t photoId)>;
    TrackReviewDialog(TrackRequest request, TrackMatchSettings settings,
                      TrackRequestHandler::Answer reply, QWidget* parent = nullptr,
                      PhotoNamer nameOf = {});

    // The rows ticked now, in request order.
    std::vector<bool> Ticked() const;
    // Matches the rows again with these settings (and remembers them).
    void ApplySettings(const TrackMatchSettings& settings);
    QTreeWidget* Rows() const { return rows_; }

    void done(int result) override;

  signals:
    // The camera clock was corrected here (and saved).
    void settingsChanged();

  private:
    void Fill();
    void CorrectClockFromSelectedPhoto();

    const TrackRequest request_;
    TrackMatchSettings settings_;
    TrackRequestHandler::Answer reply_;
    PhotoNamer nameOf_;
    std::vector<PositionRow> matched_;
    QTreeWidget* rows_ = nullptr;
    QLabel* clock_ = nullptr;
};
