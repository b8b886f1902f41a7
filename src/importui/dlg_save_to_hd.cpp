#include "importui/dlg_save_to_hd.h"

#include <QLabel>
#include <QPushButton>

#include "importui/upkeep_dialog_layout.h"
#include "messaging/ui_messages.h"

using namespace upkeep_layout;

namespace {

constexpr int kHeight = 100;
const QString kSaving = QStringLiteral("正在保存数据库");

}  // namespace

CDlgSaveToHd::CDlgSaveToHd(QWidget* parent)
    : CUpkeepDialog(QStringLiteral("保存到本地"), ReceiverRole::SaveDialog,
                    UiMessage::kSaveFinished, parent) {
    setFixedSize(kWidth, kHeight);
    TextLine()->setGeometry(upkeep_layout::TextLine());
    TextLine()->setText(DottedText(kSaving, 1));
    ok_ = new QPushButton(QStringLiteral("确定"), this);
    PlaceButton(ok_, 2, kHeight);
    ok_->setEnabled(false);
    connect(ok_, &QPushButton::clicked, this, &CDlgSaveToHd::accept);
    StartAnimation();
}

QString CDlgSaveToHd::TickText(int tick) const {
    // The first text shows before any tick; ticks 1, 2, 3 show two, three, one.
    return DottedText(kSaving, tick % 3 + 1);
}

void CDlgSaveToHd::OnDone(UpkeepOutcome outcome) {
    TextLine()->setText(outcome == UpkeepOutcome::Done ? QStringLiteral("已成功保存数据库!")
                                                       : QStringLiteral("保存数据库失败!"));
    ok_->setEnabled(true);
}

void CDlgSaveToHd::reject() {
    if (ok_->isEnabled()) CUpkeepDialog::reject();
}
