#pragma once
// One application-defined message as a Qt event: the event type is the
// message number, the payload is whatever the sender attaches (a count, a
// list of photo ids, ...). Receivers test IsMessageEvent and read the number
// with event->type().

#include <QEvent>
#include <QVariant>

class MessageEvent : public QEvent {
  public:
    MessageEvent(int number, QVariant payload = {});

    int Number() const { return static_cast<int>(type()); }
    const QVariant& Payload() const { return payload_; }

  private:
    QVariant payload_;
};

// True when the event carries an application-defined message.
bool IsMessageEvent(const QEvent* event);
