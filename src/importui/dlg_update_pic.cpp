#include "importui/dlg_update_pic.h"

#include <QLabel>
#include <QPushButton>

#include "import/library_upkeep.h"
#include "importui/upkeep_dialog_layout.h"
#include "importui/upkeep_summary.h"
#include "messaging/ui_messages.h"

using namespace upkeep_layout;

namespace {

constexpr int kHeight = 100;

}  // namespace

CDlgUpdatePic::CDlgUpdatePic(UpkeepProgress& progress, QWidget* parent)
    : CUpkeepDialog(QStringLiteral("更新照片"), ReceiverRole::UpdateDialog,
                    UiMessage::kUpdateFinished, parent),
      progress_(progress) {
    setFixedSize(kWidth, kHeight);
    TextLine()->setGeometry(upkeep_layout::TextLine());
    ok_ = new QPushButton(QStringLiteral("确定"), this);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    PlaceButton(ok_, 1, kHeight);
    PlaceButton(cancel_, 2, kHeight);
    ok_->setEnabled(false);
    connect(ok_, &QPushButton::clicked, this, &CDlgUpdatePic::accept);
    connect(cancel_, &QPushButton::clicked, this, &CDlgUpdatePic::reject);
    progress_.stop.Clear();
    StartAnimation();
}

QString CDlgUpdatePic::TickText(int tick) const {
    // Ticks 1, 2, 3 show one, two, three stops, and so on.
    return DottedText(QStringLiteral("正在更新照片库"), (tick - 1) % 3 + 1);
}

void CDlgUpdatePic::OnDone(UpkeepOutcome outcome) {
    TextLine()->setText(outcome == UpkeepOutcome::SaveFailed
                            ? QStringLiteral("已更新照片库，但未能保存数据库!")
                            : UpdateSummary(progress_));
    ok_->setEnabled(true);
}

void CDlgUpdatePic::reject() {
    // After the end, 取消 only closes.
    if (!ok_->isEnabled()) progress_.stop.RequestStop();
    CUpkeepDialog::reject();
}
