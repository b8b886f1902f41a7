#include "importui/upkeep_dialog.h"

#include <QLabel>

#include "messaging/message_event.h"

namespace {

constexpr int kTickMs = 500;

}  // namespace

QString DottedText(const QString& base, int dots) {
    return base + QString(dots, QChar(0x3002));
}

CUpkeepDialog::CUpkeepDialog(const QString& caption, ReceiverRole role, int doneMessage,
                             QWidget* parent)
    : CSkinnedDialog(parent), doneMessage_(doneMessage) {
    SetCaption(caption);
    text_ = new QLabel(this);
    text_->setFont(SmallDialogFont(font()));
    animation_.setInterval(kTickMs);
    connect(&animation_, &QTimer::timeout, this, &CUpkeepDialog::Tick);
    registration_ = std::make_unique<ReceiverRegistration>(role, this);
}

void CUpkeepDialog::StartAnimation() {
    ticks_ = 0;
    animation_.start();
}

void CUpkeepDialog::Tick() {
    text_->setText(TickText(++ticks_));
}

bool CUpkeepDialog::event(QEvent* event) {
    if (IsMessageEvent(event) && static_cast<MessageEvent*>(event)->Number() == doneMessage_) {
        animation_.stop();
        OnDone(static_cast<UpkeepOutcome>(static_cast<MessageEvent*>(event)->Payload().toInt()));
        return true;
    }
    return CSkinnedDialog::event(event);
}
