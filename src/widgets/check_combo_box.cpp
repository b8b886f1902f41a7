#include "widgets/check_combo_box.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <algorithm>

namespace {

constexpr int kTickRole = Qt::UserRole;

// A check box in a square as high as the item, the text to its right.
class CheckItemDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QFontMetrics metrics(option.font);
        const QSize base = QStyledItemDelegate::sizeHint(option, index);
        return {base.width() + metrics.height(), metrics.height() + metrics.leading() + 2};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QWidget* widget = option.widget;
        QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
        if (item.state & QStyle::State_Selected)
            painter->fillRect(item.rect, item.palette.highlight());

        const int side = item.rect.height();
        QStyleOptionButton box;
        box.rect = QRect(item.rect.left(), item.rect.top(), side, side).adjusted(2, 2, -2, -2);
        box.state = QStyle::State_Enabled |
                    (index.data(kTickRole).toInt() != 0 ? QStyle::State_On : QStyle::State_Off);
        style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, widget);

        painter->setPen(item.palette.color(
            item.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        const QRect text = item.rect.adjusted(side + 2, 0, 0, 0);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                          item.fontMetrics.elidedText(item.text, Qt::ElideRight, text.width()));
    }
};

}  // namespace

CCheckComboBox::CCheckComboBox(QWidget* parent) : QComboBox(parent) {
    setItemDelegate(new CheckItemDelegate(this));
    // Installed after the popup's own filter, so it sees the events first.
    view()->viewport()->installEventFilter(this);
    view()->installEventFilter(this);
}

int CCheckComboBox::AddItem(const QString& text, bool ticked) {
    InsertItem(count(), text, ticked);
    return count() - 1;
}

void CCheckComboBox::InsertItem(int index, const QString& text, bool ticked) {
    insertItem(index, text, ticked ? 1 : 0);
    setItemData(index, text, Qt::ToolTipRole);  // the whole text of an elided item
    update();
}

bool CCheckComboBox::Ticked(int index) const {
    return itemData(index, kTickRole).toInt() != 0;
}

void CCheckComboBox::SetTicked(int index, bool ticked) {
    if (index < 0 || index >= count()) return;
    setItemData(index, ticked ? 1 : 0, kTickRole);
    update();
}

QString CCheckComboBox::DisplayText() const {
    QStringList ticked;
    for (int i = 0; i < count(); ++i)
        if (Ticked(i)) ticked << itemText(i);
    return ticked.join(QStringLiteral("; "));
}

void CCheckComboBox::ToggleItem(int index) {
    if (index < 0 || index >= count()) return;
    if (special_ && special_(index)) return;
    const bool tick = !Ticked(index);
    if (tick && allowTick_ && !allowTick_(index)) return;
    SetTicked(index, tick);
    view()->update(view()->model()->index(index, 0));
}

void CCheckComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText = DisplayText();
    if (option.currentText.isEmpty()) option.currentText = placeholderText();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void CCheckComboBox::showPopup() {
    // The list opens under the pointer: the release of the opening click
    // lands on an item and must not toggle it.
    pressedInList_ = false;
    QComboBox::showPopup();
    // One long item must not stretch the list past the window's right edge;
    // the items are elided instead.
    QWidget* list = view()->window();
    const int room = window()->mapToGlobal(QPoint(window()->width(), 0)).x() - list->x();
    const int widest = std::max(width(), room);
    if (list->width() > widest) list->resize(widest, list->height());
}

bool CCheckComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick)
            pressedInList_ = true;
        else if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const QModelIndex index = view()->indexAt(mouse->position().toPoint());
            // Only a click made in the open list toggles.
            if (pressedInList_ && index.isValid()) ToggleItem(index.row());
            pressedInList_ = false;
            return true;  // the list stays open
        }
    }
    if (watched == view() && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        ToggleItem(view()->currentIndex().row());
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}
