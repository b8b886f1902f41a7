#include "widgets/num_edit.h"

#include <QKeyEvent>

NumericFilterResult FilterTypedNumeric(const QString& text, int caret) {
    if (caret <= 0 || caret > text.size()) return {text, caret};
    const QChar typed = text.at(caret - 1);
    bool keep = false;
    if (typed.isDigit() && typed.unicode() < 128) {
        keep = true;
    } else if (typed == QLatin1Char('.')) {
        keep = text.count(QLatin1Char('.')) <= 1;
    } else if (typed == QLatin1Char('-')) {
        keep = text == QLatin1String("-");
    }
    if (keep) return {text, caret};
    QString filtered = text;
    filtered.remove(caret - 1, 1);
    return {filtered, caret - 1};
}

CnumEdit::CnumEdit(QWidget* parent) : COwnerEdit(parent) {}

void CnumEdit::keyPressEvent(QKeyEvent* event) {
    const bool typesCharacter = !event->text().isEmpty() && event->text().at(0).isPrint() &&
                                !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    COwnerEdit::keyPressEvent(event);
    if (!numeric_ || !typesCharacter) return;
    const NumericFilterResult result = FilterTypedNumeric(text(), cursorPosition());
    if (result.text != text()) {
        setText(result.text);
        setCursorPosition(result.caret);
    }
}
