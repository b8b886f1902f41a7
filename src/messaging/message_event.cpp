#include "messaging/message_event.h"

MessageEvent::MessageEvent(int number, QVariant payload)
    : QEvent(static_cast<QEvent::Type>(number)), payload_(std::move(payload)) {}

bool IsMessageEvent(const QEvent* event) {
    return event != nullptr && dynamic_cast<const MessageEvent*>(event) != nullptr;
}
