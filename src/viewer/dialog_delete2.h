#pragma once
// CDialogDelete2: the viewer's confirmation for 删除. 确定 and 取消 and the
// check box 同时将相片从磁盘中删除 (unticked at the start); ticking it asks
// once more, and 取消 there unticks it again.
//
// UI thread only.

#include "dialogs/skinned_dialog.h"

class QCheckBox;
class QPushButton;

class CDialogDelete2 : public CSkinnedDialog {
    Q_OBJECT

  public:
    explicit CDialogDelete2(QWidget* parent = nullptr);

    // Whether the photo file is deleted too (valid after 确定).
    bool DeleteFromDisk() const;
    QCheckBox* DiskBox() const { return disk_; }

    // The question asked when the box is ticked; true for 确定. Replaceable
    // so that tests answer without a nested dialog.
    std::function<bool()> confirmDiskDelete;

  private:
    void OnDiskToggled(bool ticked);

    QCheckBox* disk_;
    QPushButton* ok_;
    QPushButton* cancel_;
};
