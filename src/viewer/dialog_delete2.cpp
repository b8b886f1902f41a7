#include "viewer/dialog_delete2.h"

#include <QCheckBox>
#include <QPushButton>

#include "dialogs/dlg_msg.h"

namespace {

constexpr int kDiskBoxId = 1025;

}  // namespace

CDialogDelete2::CDialogDelete2(QWidget* parent) : CSkinnedDialog(parent) {
    SetCaption(QStringLiteral("删除照片"));
    setFixedSize(300, 130);
    disk_ = new QCheckBox(QStringLiteral("同时将相片从磁盘中删除"), this);
    disk_->setObjectName(QStringLiteral("check%1").arg(kDiskBoxId));
    disk_->setGeometry(30, 45, 240, 24);
    ok_ = new QPushButton(QStringLiteral("确定"), this);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    ok_->setGeometry(60, 103, 75, 23);
    cancel_->setGeometry(165, 103, 75, 23);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(disk_, &QCheckBox::toggled, this, &CDialogDelete2::OnDiskToggled);
    confirmDiskDelete = [this] {
        return ShowDlgMsg(this, QStringLiteral("提示"),
                          QStringLiteral("您选择将相片从磁盘中彻底删除，相片删除后将无法恢复，"
                                         "确定要执行此项操作？"),
                          true) == kDlgMsgOk;
    };
}

bool CDialogDelete2::DeleteFromDisk() const {
    return disk_->isChecked();
}

void CDialogDelete2::OnDiskToggled(bool ticked) {
    if (ticked && confirmDiskDelete && !confirmDiskDelete()) disk_->setChecked(false);
}
