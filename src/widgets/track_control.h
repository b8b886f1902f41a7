#pragma once
// Hover tracking for any widget: keeps whether the pointer is inside and
// repaints on entry and exit. Derived controls read Hovering() when they
// paint.
//
// UI thread only.

#include <QEnterEvent>
#include <QEvent>

template <class Base>
class CTrackControl : public Base {
  public:
    using Base::Base;

    bool Hovering() const { return hovering_; }

  protected:
    void enterEvent(QEnterEvent* event) override {
        hovering_ = true;
        this->update();
        Base::enterEvent(event);
    }
    void leaveEvent(QEvent* event) override {
        hovering_ = false;
        this->update();
        Base::leaveEvent(event);
    }

  private:
    bool hovering_ = false;
};
