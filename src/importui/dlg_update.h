#pragma once
// "整理数据库": the tidy dialog. 开始整理 reads the check box (thorough tidy)
// and asks its starter for the tidy worker; while the worker runs both
// buttons are disabled. 关闭 asks the main view to reload its list (kRefreshList)
// and closes.
//
// UI thread only.

#include <functional>

#include "importui/upkeep_dialog.h"

class QCheckBox;
class QPushButton;

struct UpkeepProgress;

class CDlgUpdate : public CUpkeepDialog {
    Q_OBJECT

  public:
    // startTidy(thorough) starts the tidy worker; false when one runs
    // already. progress is the tidy's, summed up at its end.
    CDlgUpdate(std::function<bool(bool thorough)> startTidy, const UpkeepProgress& progress,
               QWidget* parent = nullptr);

    QCheckBox* ThoroughBox() const { return thorough_; }
    QPushButton* StartButton() const { return start_; }
    QPushButton* CloseButton() const { return close_; }

    void reject() override;

  protected:
    QString TickText(int tick) const override;
    void OnDone(UpkeepOutcome outcome) override;

  private:
    void Start();

    std::function<bool(bool)> startTidy_;
    const UpkeepProgress& progress_;
    QCheckBox* thorough_;
    QPushButton* start_;
    QPushButton* close_;
};
