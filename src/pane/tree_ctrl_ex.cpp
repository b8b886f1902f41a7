#include "pane/tree_ctrl_ex.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>

#include "tree/tree_labels.h"

CTreeCtrlEx::CTreeCtrlEx(QWidget* parent) : QTreeView(parent) {
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);  // keeps large expanded groups fast
    setEditTriggers(NoEditTriggers);
    // Selection is decided by the rules of this class, never by QTreeView
    // (selected items are still drawn selected).
    setSelectionMode(NoSelection);
    connect(this, &QTreeView::collapsed, this, &CTreeCtrlEx::DeselectBeneath);
}

CTreeCtrlEx::~CTreeCtrlEx() {
    setModel(nullptr);
}

void CTreeCtrlEx::SetTree(std::unique_ptr<CategoryTree> tree) {
    std::unique_ptr<CategoryTreeModel> model =
        tree ? std::make_unique<CategoryTreeModel>(*tree, nullptr) : nullptr;
    setModel(model.get());  // before the old model and tree go away
    model_ = std::move(model);
    tree_ = std::move(tree);
    anchor_ = QPersistentModelIndex();
    pressed_ = QPersistentModelIndex();
    selectOnRelease_ = false;
    multiSelect_ = false;
    lastLeafHandled.reset();
}

void CTreeCtrlEx::SetCaret(const QModelIndex& index) {
    if (!index.isValid()) return;
    SelectOnly(index);
    anchor_ = index;
}

bool CTreeCtrlEx::IsSelected(const QModelIndex& index) const {
    return selectionModel() != nullptr && selectionModel()->isSelected(index);
}

int CTreeCtrlEx::SelectedCount() const {
    if (selectionModel() == nullptr) return 0;
    int count = 0;
    for (const QItemSelectionRange& range : selectionModel()->selection()) count += range.height();
    return count;
}

std::vector<QModelIndex> CTreeCtrlEx::SelectedInDisplayOrder() const {
    std::vector<QModelIndex> out;
    if (!model_ || SelectedCount() == 0) return out;
    for (QModelIndex index = model_->index(0, 0); index.isValid(); index = indexBelow(index)) {
        if (IsSelected(index)) out.push_back(index);
    }
    return out;
}

void CTreeCtrlEx::SelectItem(const QModelIndex& index, Qt::KeyboardModifiers modifiers) {
    if (!index.isValid()) return;
    if (modifiers & Qt::ShiftModifier) {
        multiSelect_ = true;
        if (!anchor_.isValid()) anchor_ = Caret().isValid() ? Caret() : index;
        MoveCaret(index);
        SelectRange(anchor_, index);
    } else if (modifiers & Qt::ControlModifier) {
        multiSelect_ = true;
        selectionModel()->select(index, QItemSelectionModel::Toggle);
        if (IsSelected(index)) MoveCaret(index);
        if (!anchor_.isValid()) anchor_ = index;
    } else {
        multiSelect_ = false;
        emit selectionListCleared();
        SetCaret(index);
    }
    Report(index);
}

bool CTreeCtrlEx::CaretInsideDuplicatesGroup() const {
    static const QString prefix = QString::fromUtf8(kDuplicatesLabel);
    for (QModelIndex index = Caret(); index.isValid(); index = index.parent()) {
        if (index.data().toString().startsWith(prefix, Qt::CaseInsensitive)) return true;
    }
    return false;
}

QModelIndex CTreeCtrlEx::ItemAt(const QPoint& point) const {
    const QModelIndex index = indexAt(point);
    // visualRect starts after the indentation: the icon and the label.
    return index.isValid() && visualRect(index).contains(point) ? index : QModelIndex();
}

bool CTreeCtrlEx::OnExpandButton(const QPoint& point, const QModelIndex& index) const {
    if (!index.isValid() || !model_->hasChildren(index)) return false;
    const QRect item = visualRect(index);
    return point.x() < item.left() && point.x() >= item.left() - indentation();
}

void CTreeCtrlEx::MoveCaret(const QModelIndex& index) {
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    scrollTo(index);
}

void CTreeCtrlEx::SelectOnly(const QModelIndex& index) {
    selectionModel()->clearSelection();
    MoveCaret(index);
    selectionModel()->select(index, QItemSelectionModel::Select);
}

void CTreeCtrlEx::SelectRange(const QModelIndex& from, const QModelIndex& to) {
    // Walk down from one end; if the other end is not below it, it is above.
    QModelIndex first = from;
    QModelIndex last = to;
    bool found = false;
    for (QModelIndex index = from; index.isValid(); index = indexBelow(index)) {
        if (index == to) {
            found = true;
            break;
        }
    }
    if (!found) std::swap(first, last);
    // Runs of consecutive siblings become one selection range each.
    QItemSelection selection;
    QModelIndex runStart = first;
    QModelIndex runEnd = first;
    for (QModelIndex index = first; index.isValid(); index = indexBelow(index)) {
        if (index != first) {
            if (index.parent() == runEnd.parent() && index.row() == runEnd.row() + 1) {
                runEnd = index;
            } else {
                selection.append(QItemSelectionRange(runStart, runEnd));
                runStart = runEnd = index;
            }
        }
        if (index == last) break;
    }
    selection.append(QItemSelectionRange(runStart, runEnd));
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void CTreeCtrlEx::Report(const QModelIndex& index) {
    if (!multiSelect_) emit caretReported(index);
}

void CTreeCtrlEx::DeselectBeneath(const QModelIndex& parent) {
    QItemSelection beneath;
    for (const QModelIndex& index : selectionModel()->selectedIndexes()) {
        for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) {
            if (up == parent) {
                beneath.select(index, index);
                break;
            }
        }
    }
    if (!beneath.isEmpty()) selectionModel()->select(beneath, QItemSelectionModel::Deselect);
}

void CTreeCtrlEx::mousePressEvent(QMouseEvent* event) {
    if (!model_) return;
    const QPoint point = event->position().toPoint();
    const QModelIndex item = ItemAt(point);
    if (event->button() == Qt::LeftButton) {
        if (item.isValid()) {
            setFocus(Qt::MouseFocusReason);
            pressed_ = item;
            pressPoint_ = point;
            selectOnRelease_ = IsSelected(item);
            if (!selectOnRelease_) SelectItem(item, event->modifiers());
        } else {
            const QModelIndex row = indexAt(point);
            if (OnExpandButton(point, row)) setExpanded(row, !isExpanded(row));
        }
    } else if (event->button() == Qt::RightButton) {
        if (item.isValid() && SelectedCount() < 2) SelectItem(item, Qt::NoModifier);
    }
}

void CTreeCtrlEx::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (selectOnRelease_ && pressed_.isValid()) SelectItem(pressed_, event->modifiers());
    selectOnRelease_ = false;
    pressed_ = QPersistentModelIndex();
}

void CTreeCtrlEx::mouseMoveEvent(QMouseEvent* event) {
    // No dragging out of the tree and no rubber band; hover only.
    if (event->buttons() == Qt::NoButton) QTreeView::mouseMoveEvent(event);
}

void CTreeCtrlEx::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !model_) return;
    const QModelIndex item = ItemAt(event->position().toPoint());
    if (!item.isValid()) return;
    emit itemDoubleClicked(item);
    if (model_->hasChildren(item)) setExpanded(item, !isExpanded(item));
}

void CTreeCtrlEx::keyPressEvent(QKeyEvent* event) {
    if (!model_) return;
    CursorAction action;
    switch (event->key()) {
        case Qt::Key_Up:
            action = MoveUp;
            break;
        case Qt::Key_Down:
            action = MoveDown;
            break;
        case Qt::Key_PageUp:
            action = MovePageUp;
            break;
        case Qt::Key_PageDown:
            action = MovePageDown;
            break;
        default: {
            // QAbstractItemView would put the caret's label on the clipboard
            // over the photos the pane's Ctrl+C has just copied there.
            if (event->matches(QKeySequence::Copy)) return;
            // Other keys (Home, End, Left to the parent, ...) move the caret
            // as a plain selection would.
            const QModelIndex before = Caret();
            QTreeView::keyPressEvent(event);
            if (Caret().isValid() && Caret() != before) {
                multiSelect_ = false;
                SetCaret(Caret());
                Report(Caret());
            }
            return;
        }
    }
    const QModelIndex next = moveCursor(action, event->modifiers());
    if (!next.isValid() || next == Caret()) return;
    if (event->modifiers() & Qt::ShiftModifier) {
        multiSelect_ = true;
        if (!anchor_.isValid()) anchor_ = Caret().isValid() ? Caret() : next;
        MoveCaret(next);
        SelectRange(anchor_, next);
    } else {
        multiSelect_ = false;
        SetCaret(next);
    }
    Report(next);
}

void CTreeCtrlEx::contextMenuEvent(QContextMenuEvent* event) {
    const QModelIndex pointed =
        event->reason() == QContextMenuEvent::Mouse ? ItemAt(event->pos()) : QModelIndex();
    emit contextMenuAsked(event->globalPos(), pointed);
}
