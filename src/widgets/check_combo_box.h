#pragma once
// A drop-down list with a check box in front of every item. The tick of an
// item (0 or 1) is its item data; the control shows the texts of the ticked
// items in item order, joined by "; " (its placeholder text while none is
// ticked). A click (press and release) or Space in the open list toggles
// the item and leaves the list open; the release of the click that opened
// the list toggles nothing. The open list reaches at most to the window's
// right edge; longer items are elided and carry their whole text as tooltip. The owner may name one
// special item that runs the owner's handler instead of toggling, and may be asked before an item
// gets ticked.
//
// UI thread only.

#include <QComboBox>
#include <functional>

class CCheckComboBox : public QComboBox {
    Q_OBJECT

  public:
    explicit CCheckComboBox(QWidget* parent = nullptr);

    int AddItem(const QString& text, bool ticked = false);
    void InsertItem(int index, const QString& text, bool ticked = false);
    void RemoveItem(int index) { removeItem(index); }

    bool Ticked(int index) const;
    void SetTicked(int index, bool ticked);

    // The ticked items' texts joined by "; ". What reading the control gives.
    QString DisplayText() const;

    // handler(index) returns true when index is the special item (it has
    // then been handled and is not toggled).
    void SetSpecialItemHandler(std::function<bool(int)> handler) { special_ = std::move(handler); }
    // allowTick(index) is asked before index gets ticked; false keeps it.
    void SetTickLimitCheck(std::function<bool(int)> allowTick) {
        allowTick_ = std::move(allowTick);
    }

    // What a click or Space on an item of the open list does.
    void ToggleItem(int index);

    void showPopup() override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<bool(int)> special_;
    std::function<bool(int)> allowTick_;
    bool pressedInList_ = false;  // a button went down in the open list
};
