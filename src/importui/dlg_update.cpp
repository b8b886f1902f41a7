#include "importui/dlg_update.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "import/library_upkeep.h"
#include "importui/upkeep_dialog_layout.h"
#include "importui/upkeep_summary.h"
#include "messaging/ui_messages.h"

using namespace upkeep_layout;

namespace {

constexpr int kHeight = 124;

}  // namespace

CDlgUpdate::CDlgUpdate(std::function<bool(bool thorough)> startTidy, const UpkeepProgress& progress,
                       QWidget* parent)
    : CUpkeepDialog(QStringLiteral("整理数据库"), ReceiverRole::TidyDialog,
                    UiMessage::kUpdateFinished, parent),
      startTidy_(std::move(startTidy)),
      progress_(progress) {
    setFixedSize(kWidth, kHeight);
    TextLine()->setGeometry(upkeep_layout::TextLine());
    thorough_ = new QCheckBox(QStringLiteral("彻底整理数据库，可以释放多余空间。"), this);
    thorough_->setGeometry(20, 64, kWidth - 40, 18);
    thorough_->setFont(SmallDialogFont(font()));
    start_ = new QPushButton(QStringLiteral("开始整理"), this);
    close_ = new QPushButton(QStringLiteral("关闭"), this);
    PlaceButton(start_, 1, kHeight);
    PlaceButton(close_, 2, kHeight);
    connect(start_, &QPushButton::clicked, this, &CDlgUpdate::Start);
    connect(close_, &QPushButton::clicked, this, &CDlgUpdate::reject);
}

void CDlgUpdate::Start() {
    if (!startTidy_ || !startTidy_(thorough_->isChecked())) return;
    start_->setEnabled(false);
    close_->setEnabled(false);
    thorough_->setEnabled(false);
    StartAnimation();
}

QString CDlgUpdate::TickText(int tick) const {
    return DottedText(QStringLiteral("正在整理数据库"), (tick - 1) % 3 + 1);
}

void CDlgUpdate::OnDone(UpkeepOutcome outcome) {
    switch (outcome) {
        case UpkeepOutcome::Done:
            TextLine()->setText(TidySummary(progress_));
            break;
        case UpkeepOutcome::SaveFailed:
            TextLine()->setText(QStringLiteral("已整理完数据库，但未能保存数据库!"));
            break;
        case UpkeepOutcome::Failed:
            TextLine()->setText(QStringLiteral("整理数据库失败!"));
            break;
    }
    close_->setEnabled(true);
}

void CDlgUpdate::reject() {
    // The tidy worker cannot be stopped: the dialog stays until it ends.
    if (!close_->isEnabled()) return;
    ReceiverRegistry::Post(ReceiverRole::MainView, UiMessage::kRefreshList);
    CUpkeepDialog::reject();
}
