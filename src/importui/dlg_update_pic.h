#pragma once
// "更新照片": the progress dialog of the library update. 确定 is enabled when
// the update worker reports its end (kUpdateFinished); 取消 sets
// UpkeepProgress::stop and closes at once (the worker finishes its
// folder step, then rewrites the folder list and saves).
//
// UI thread only.

#include "importui/upkeep_dialog.h"

class QPushButton;
struct UpkeepProgress;

class CDlgUpdatePic : public CUpkeepDialog {
    Q_OBJECT

  public:
    // progress is the update's, which the dialog cancels and sums up.
    explicit CDlgUpdatePic(UpkeepProgress& progress, QWidget* parent = nullptr);

    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    void reject() override;

  protected:
    QString TickText(int tick) const override;
    void OnDone(UpkeepOutcome outcome) override;

  private:
    UpkeepProgress& progress_;
    QPushButton* ok_;
    QPushButton* cancel_;
};
