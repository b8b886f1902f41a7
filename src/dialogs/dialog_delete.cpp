#include "dialogs/dialog_delete.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSignalBlocker>

#include "dialogs/dlg_msg.h"

namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 120;

}  // namespace

QString DiskDeleteQuestion(int photosWithoutTrash) {
    if (photosWithoutTrash <= 0)
        return QStringLiteral(
            "您选择将相片从磁盘中删除，相片将被移到回收站，\r\n"
            "可以从回收站中恢复。确定要执行此项操作？");
    return QStringLiteral(
               "您选择将相片从磁盘中删除。其中%1张相片所在的磁盘没有回收站，\r\n"
               "将被彻底删除，无法恢复。确定要执行此项操作？")
        .arg(photosWithoutTrash);
}

DialogDelete::DialogDelete(QWidget* parent, int photosWithoutTrash)
    : CSkinnedDialog(parent),
      diskBox_(new QCheckBox(QStringLiteral("同时将相片从磁盘中删除"), this)),
      ok_(new QPushButton(QStringLiteral("确定"), this)),
      cancel_(new QPushButton(QStringLiteral("取消"), this)) {
    SetCaption(QStringLiteral("删除照片"));
    setFixedSize(kWidth, kHeight);
    diskBox_->setGeometry(30, 45, kWidth - 60, 24);
    ok_->setGeometry(kWidth / 3 - 37, kHeight - 24, 75, 23);
    cancel_->setGeometry(kWidth * 2 / 3 - 37, kHeight - 24, 75, 23);
    ok_->setDefault(true);
    confirmDiskDelete = [this, photosWithoutTrash] {
        return ShowDlgMsg(this, QStringLiteral("提示"), DiskDeleteQuestion(photosWithoutTrash),
                          true) == kDlgMsgOk;
    };
    connect(diskBox_, &QCheckBox::toggled, this, &DialogDelete::OnDiskBoxToggled);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

bool DialogDelete::DeleteFiles() const {
    return diskBox_->isChecked();
}

void DialogDelete::OnDiskBoxToggled(bool ticked) {
    if (!ticked || !confirmDiskDelete || confirmDiskDelete()) return;
    const QSignalBlocker quiet(diskBox_);
    diskBox_->setChecked(false);
}
