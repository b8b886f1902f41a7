#pragma once
// The removal confirmation "删除照片" of the main view (and, as the viewer's
// delete dialog, of the viewer): 确定, 取消 and the check box
// "同时将相片从磁盘中删除", unticked at the start. Ticking it asks once more,
// saying what happens to the files: they go to the trash, except those on a
// volume without one, which are deleted for good; 取消 there unticks it again.
//
// UI thread only.

#include <QString>
#include <functional>

#include "dialogs/skinned_dialog.h"

class QCheckBox;
class QPushButton;

// The second question's text for that many photos on volumes without trash.
QString DiskDeleteQuestion(int photosWithoutTrash);

class DialogDelete : public CSkinnedDialog {
    Q_OBJECT

  public:
    // photosWithoutTrash: how many of the photos to remove sit on a volume
    // without a trash.
    explicit DialogDelete(QWidget* parent = nullptr, int photosWithoutTrash = 0);

    // True when the photo files are to be deleted too (box ticked on 确定).
    bool DeleteFiles() const;

    QCheckBox* DiskBox() const { return diskBox_; }
    QPushButton* OkButton() const { return ok_; }

    // Asks the extra question when the box is ticked; true keeps it ticked.
    // Tests replace it; by default a CDlgMsg asks.
    std::function<bool()> confirmDiskDelete;

  private:
    void OnDiskBoxToggled(bool ticked);

    QCheckBox* diskBox_;
    QPushButton* ok_;
    QPushButton* cancel_;
};
