#pragma once
// "保存到本地": the progress dialog of the save command. 确定 is enabled when
// the save worker reports its end (kSaveFinished); a failed save says so.
//
// UI thread only.

#include "importui/upkeep_dialog.h"

class QPushButton;

class CDlgSaveToHd : public CUpkeepDialog {
    Q_OBJECT

  public:
    explicit CDlgSaveToHd(QWidget* parent = nullptr);

    QPushButton* OkButton() const { return ok_; }

    // Escape and the close command do nothing while the save runs.
    void reject() override;

  protected:
    QString TickText(int tick) const override;
    void OnDone(UpkeepOutcome outcome) override;

  private:
    QPushButton* ok_;
};
