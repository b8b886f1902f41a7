#pragma once
// The common part of the library upkeep dialogs (update, tidy, save): one
// text line animated by a 500 ms timer ("正在…。", "。。", "。。。") while a
// worker runs, and the worker's "done" message, which stops the animation.
// The message's payload is the worker's outcome (UpkeepOutcome).
//
// UI thread only. The dialog is the receiver of its role while it lives.

#include <QTimer>
#include <memory>

#include "dialogs/skinned_dialog.h"
#include "messaging/receiver_registry.h"

class QLabel;

enum class UpkeepOutcome { Done = 0, SaveFailed = 1, Failed = 2 };

// base followed by one to three full stops "。".
QString DottedText(const QString& base, int dots);

class CUpkeepDialog : public CSkinnedDialog {
    Q_OBJECT

  public:
    CUpkeepDialog(const QString& caption, ReceiverRole role, int doneMessage, QWidget* parent);

    QLabel* TextLine() const { return text_; }
    bool Animating() const { return animation_.isActive(); }
    // One animation step; the timer calls it.
    void Tick();

  protected:
    void StartAnimation();
    // The animated text for the n-th tick (from 1).
    virtual QString TickText(int tick) const = 0;
    // The worker ended with outcome: the animation has stopped.
    virtual void OnDone(UpkeepOutcome outcome) = 0;

    bool event(QEvent* event) override;

  private:
    QLabel* text_;
    QTimer animation_;
    int ticks_ = 0;
    int doneMessage_;
    std::unique_ptr<ReceiverRegistration> registration_;
};
