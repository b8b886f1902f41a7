#pragma once
// The found-photos counter "搜索照片": shows "已找到照片(张)：" and the number
// of photos a folder count has found so far, with 取消 to stop the count.
// The category pane owns it as a modeless window; the folder import shows
// and hides it.
//
// Threads: SetCountText may be called from any thread; then post message
// UiMessage::kFoundCountChanged to the FoundPhotosCounter receiver and the UI thread shows the
// text. Everything else is UI thread only.

#include <QMutex>
#include <QString>

#include "dialogs/skinned_dialog.h"
#include "messaging/receiver_registry.h"

class QLabel;
class QPushButton;

class CDialog_Num : public CSkinnedDialog {
    Q_OBJECT

  public:
    explicit CDialog_Num(QWidget* parent = nullptr);

    void SetCountText(const QString& text);
    QString ShownCount() const;
    QPushButton* CancelButton() const { return cancel_; }

    // 取消: tells the category pane to stop the count (UiMessage::kCancelFolderScan) and closes.
    void reject() override;

  protected:
    bool event(QEvent* event) override;

  private:
    ReceiverRegistration registration_;
    mutable QMutex countMutex_;
    QString countText_;
    QLabel* count_;
    QPushButton* cancel_;
};
