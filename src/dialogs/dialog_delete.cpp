#include "dialogs/dialog_delete.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSignalBlocker>

#include "dialogs/dlg_msg.h"

namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 120;

}  // namespace

DialogDelete::DialogDelete(QWidget* parent)
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
    confirmDiskDelete = [this] {
        return ShowDlgMsg(this, QStringLiteral("提示"),
                          QStringLiteral("您选择将相片从磁盘中彻底删除，相片删除后将无法恢复，"
                                         "确定要执行此项操作？"),
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
