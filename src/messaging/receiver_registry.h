#pragma once
// The receivers of application-defined messages, registered by role. A
// window registers itself when it is created and unregisters before it is
// destroyed (ReceiverRegistration does both), so a message sent to a role
// whose window is gone is dropped instead of reaching a dead object.
//
// Threads: Register/Unregister run on the receiver's own thread (the UI
// thread). Post may be called from any thread; the event is handled
// later on the receiver's thread. Send delivers at once and is for
// the receiver's thread only.
//
// Process-wide on purpose: it is the one way a worker reaches a window that
// may already be gone, and every window registers itself.

#include <QObject>
#include <QVariant>

enum class ReceiverRole {
    MainFrame,
    CategoryPane,
    MainView,
    PropertiesDialog,
    FoundPhotosCounter,
    SaveDialog,
    UpdateDialog,
    TidyDialog,
    RegionResultDialog,
    TrackResultDialog,
    Count
};

namespace ReceiverRegistry {
// Replaces any earlier receiver of the role.
void Register(ReceiverRole role, QObject* receiver);
// Clears the role only when receiver is the one registered.
void Unregister(ReceiverRole role, QObject* receiver);
QObject* Receiver(ReceiverRole role);

// False when no receiver is registered for the role.
bool Post(ReceiverRole role, int number, const QVariant& payload = {});
bool Send(ReceiverRole role, int number, const QVariant& payload = {});
}  // namespace ReceiverRegistry

// Registers receiver for the role for its own lifetime; keep it as a member
// of the receiving window so it unregisters before the window's QObject part
// is destroyed.
class ReceiverRegistration {
  public:
    ReceiverRegistration(ReceiverRole role, QObject* receiver);
    ~ReceiverRegistration();
    ReceiverRegistration(const ReceiverRegistration&) = delete;
    ReceiverRegistration& operator=(const ReceiverRegistration&) = delete;

  private:
    ReceiverRole role_;
    QObject* receiver_;
};
