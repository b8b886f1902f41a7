#pragma once
// COwnerEdit with an optional numeric mode: after each typed character the
// character before the caret is checked; a digit stays, a "." stays while
// the text holds at most one ".", a "-" stays only as the whole text, and
// anything else is taken out again with the caret put back.
//
// UI thread only.

#include <QString>

#include "widgets/owner_edit.h"

struct NumericFilterResult {
    QString text;
    int caret;
};

// Applies the rule to text after a character was typed before caret.
NumericFilterResult FilterTypedNumeric(const QString& text, int caret);

class CnumEdit : public COwnerEdit {
    Q_OBJECT

  public:
    explicit CnumEdit(QWidget* parent = nullptr);

    void SetNumericMode(bool on) { numeric_ = on; }
    bool NumericMode() const { return numeric_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool numeric_ = false;
};
