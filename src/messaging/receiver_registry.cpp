#include "messaging/receiver_registry.h"

#include <QCoreApplication>
#include <array>
#include <mutex>

#include "messaging/message_event.h"

namespace {

// The mutex is held while an event is posted, so a receiver cannot finish
// unregistering (and then be destroyed) between the look-up and the post;
// events already queued for it are discarded by QObject's destructor.
std::mutex& RegistryMutex() {
    static std::mutex mutex;
    return mutex;
}

std::array<QObject*, static_cast<size_t>(ReceiverRole::Count)>& Slots() {
    static std::array<QObject*, static_cast<size_t>(ReceiverRole::Count)> receivers{};
    return receivers;
}

QObject*& Slot(ReceiverRole role) {
    return Slots()[static_cast<size_t>(role)];
}

}  // namespace

namespace ReceiverRegistry {

void Register(ReceiverRole role, QObject* receiver) {
    std::lock_guard lock(RegistryMutex());
    Slot(role) = receiver;
}

void Unregister(ReceiverRole role, QObject* receiver) {
    std::lock_guard lock(RegistryMutex());
    if (Slot(role) == receiver) Slot(role) = nullptr;
}

QObject* Receiver(ReceiverRole role) {
    std::lock_guard lock(RegistryMutex());
    return Slot(role);
}

bool Post(ReceiverRole role, int number, const QVariant& payload) {
    std::lock_guard lock(RegistryMutex());
    QObject* receiver = Slot(role);
    if (receiver == nullptr) return false;
    QCoreApplication::postEvent(receiver, new MessageEvent(number, payload));
    return true;
}

bool Send(ReceiverRole role, int number, const QVariant& payload) {
    QObject* receiver = Receiver(role);
    if (receiver == nullptr) return false;
    MessageEvent event(number, payload);
    QCoreApplication::sendEvent(receiver, &event);
    return true;
}

}  // namespace ReceiverRegistry

ReceiverRegistration::ReceiverRegistration(ReceiverRole role, QObject* receiver)
    : role_(role), receiver_(receiver) {
    ReceiverRegistry::Register(role, receiver);
}

ReceiverRegistration::~ReceiverRegistration() {
    ReceiverRegistry::Unregister(role_, receiver_);
}
