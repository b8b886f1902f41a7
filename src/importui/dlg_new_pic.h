#pragma once
// The import progress dialog "导入照片": a bar, four text lines, 确定
// (enabled once every counted file was handled) and 取消 (sets the
// progress's stop token; the worker stops at its next check and still runs
// its closing steps). Runs modally while an import worker runs; it only
// reads the import's progress, 20 times a second once the refresh was
// started (never per photo, so a fast import is not slowed by repaints).
//
// UI thread only.

#include <QTimer>

#include "dialogs/skinned_dialog.h"

class QLabel;
class QProgressBar;
class QPushButton;
struct ImportProgress;
struct ImportProgressTexts;

class CDlg_NewPic : public CSkinnedDialog {
    Q_OBJECT

  public:
    explicit CDlg_NewPic(ImportProgress& progress, QWidget* parent = nullptr);

    // Starts the 50 ms refresh (the folder import, once its count ended,
    // also when it found nothing).
    void StartRefresh();
    // Starts the refresh as soon as the counters hold a total (the list
    // import counts on its worker; an empty list never shows a total).
    void StartRefreshWhenCounted();
    bool Refreshing() const { return refresh_.isActive(); }

    // One refresh step; the timer calls it, and so does the import controller
    // once the walk has ended, so that the last counts are on the screen
    // before the closing question.
    void Refresh();

    QProgressBar* Bar() const { return bar_; }
    QLabel* ImportedLine() const { return importedLine_; }
    QLabel* DuplicateLine() const { return duplicateLine_; }
    QLabel* NotImportedLine() const { return notImportedLine_; }
    QLabel* DoneLine() const { return doneLine_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    // 取消, Escape and the close command: cancel the import and close.
    void reject() override;

  protected:
    // A dialog shown after its import already ended shows the last counts at
    // once, before a closing question can open over it.
    void showEvent(QShowEvent* event) override;

  private:
    void OnTick();
    void ShowTexts(const ImportProgressTexts& texts);

    ImportProgress& progress_;
    QTimer refresh_;
    bool waitForCount_ = false;
    bool rangeSet_ = false;
    QProgressBar* bar_;
    QLabel* importedLine_;
    QLabel* duplicateLine_;
    QLabel* notImportedLine_;
    QLabel* doneLine_;
    QPushButton* ok_;
    QPushButton* cancel_;
};
