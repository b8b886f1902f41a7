#include "dialogs/dialog_num.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>

#include "messaging/ui_messages.h"

namespace {

// Dialog units of the counter's layout converted to pixels (horizontal 3/2, vertical 13/8).
QRect FromDialogUnits(int x, int y, int w, int h) {
    return QRect(x * 3 / 2, y * 13 / 8, w * 3 / 2, h * 13 / 8);
}

}  // namespace

CDialog_Num::CDialog_Num(QWidget* parent)
    : CSkinnedDialog(parent), registration_(ReceiverRole::FoundPhotosCounter, this) {
    SetCaption(QStringLiteral("搜索照片"));
    setFixedSize(FromDialogUnits(0, 0, 211, 58).size());

    auto* label = new QLabel(QStringLiteral("已找到照片(张)："), this);
    label->move(FromDialogUnits(28, 25, 0, 0).topLeft());
    count_ = new QLabel(QStringLiteral("0"), this);
    count_->setGeometry(FromDialogUnits(90, 20, 60, 14));
    count_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont countFont = count_->font();
    countFont.setPixelSize(16);
    countFont.setBold(true);
    count_->setFont(countFont);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    cancel_->setGeometry(FromDialogUnits(139, 43, 50, 14));
    // Keep the button inside the bottom band.
    cancel_->setGeometry(cancel_->x(), height() - 24, cancel_->width(), 23);
    connect(cancel_, &QPushButton::clicked, this, &CDialog_Num::reject);
}

void CDialog_Num::SetCountText(const QString& text) {
    QMutexLocker lock(&countMutex_);
    countText_ = text;
}

QString CDialog_Num::ShownCount() const {
    return count_->text();
}

void CDialog_Num::reject() {
    ReceiverRegistry::Send(ReceiverRole::CategoryPane, UiMessage::kCancelFolderScan);
    CSkinnedDialog::reject();
}

bool CDialog_Num::event(QEvent* event) {
    if (event->type() == static_cast<QEvent::Type>(UiMessage::kFoundCountChanged)) {
        QMutexLocker lock(&countMutex_);
        count_->setText(countText_);
        return true;
    }
    return CSkinnedDialog::event(event);
}
