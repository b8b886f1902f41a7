#pragma once
// The two result dialogs of the location workers: CDialog_EditGps (region
// lookup, "解析经纬度对应的区域") and CDialog_AddGps (positions from tracks,
// "根据轨迹添加经纬度"): a counters text, 确定 (enabled once the worker has
// ended) and 取消.
//
// Threads: SetCounters may be called from any thread; then send or post
// UiMessage::kResultProgress to the dialog's receiver role and the UI thread
// rebuilds the text. Everything else is UI thread only.

#include <QMutex>
#include <QString>

#include "dialogs/skinned_dialog.h"
#include "messaging/receiver_registry.h"

class QLabel;
class QPushButton;

enum class LocationResultKind { RegionLookup, TrackApply };

struct ResultCounters {
    int done = 0;
    int total = 0;
    int failed = 0;
};

// The counters text of a result dialog.
QString LocationResultText(LocationResultKind kind, const ResultCounters& counters);

// The region lookup's note when photos stay in the queue: the companion was
// not running, or left some requests unanswered.
QString RegionsKeptNote(bool companionMissing, int unanswered);

class CLocationResultDialog : public CSkinnedDialog {
    Q_OBJECT

  public:
    CLocationResultDialog(LocationResultKind kind, QWidget* parent = nullptr);

    void SetCounters(const ResultCounters& counters);
    // The worker ended: 确定 becomes available.
    void EnableOk();
    // A line below the counters saying why the work could not be finished
    // (UI thread).
    void SetNote(const QString& note);

    QString ShownText() const;
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

  protected:
    bool event(QEvent* event) override;

  private:
    void Redraw();

    LocationResultKind kind_;
    ReceiverRegistration registration_;
    mutable QMutex countersMutex_;
    ResultCounters counters_;
    QString note_;
    QLabel* text_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

class CDialog_EditGps : public CLocationResultDialog {
    Q_OBJECT
  public:
    explicit CDialog_EditGps(QWidget* parent = nullptr)
        : CLocationResultDialog(LocationResultKind::RegionLookup, parent) {}
};

class CDialog_AddGps : public CLocationResultDialog {
    Q_OBJECT
  public:
    explicit CDialog_AddGps(QWidget* parent = nullptr)
        : CLocationResultDialog(LocationResultKind::TrackApply, parent) {}
};
