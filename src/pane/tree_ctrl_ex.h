#pragma once
// The tree control of one grouping: a QTreeView over a CategoryTreeModel
// with the pane's own multi-selection rules for mouse and keyboard.
//
// Selection rules (the view's own selection handling is switched off):
// - plain click or plain keyboard move: only the item is selected, it becomes
//   the caret and the anchor; a plain click also empties the main view's
//   selection (selectionListCleared);
// - Ctrl+click toggles the item, Shift+click or Shift+arrow selects exactly
//   the visible items from the anchor to the item; both set the multi-select
//   flag, which keeps caret reports from refilling the main view;
// - a press on an already selected item is decided on release, so that a
//   multi-selection survives the press;
// - a right press selects the item only while fewer than two are selected;
// - collapsing a node deselects everything beneath it.
// Every selection ends with one caret report (caretReported), unless the
// multi-select flag is set.
//
// UI thread only. The control owns the tree it shows and its model.

#include <QPersistentModelIndex>
#include <QPoint>
#include <QTreeView>
#include <memory>
#include <optional>
#include <vector>

#include "pane/category_tree_model.h"
#include "tree/category_tree.h"

class CTreeCtrlEx : public QTreeView {
    Q_OBJECT

  public:
    explicit CTreeCtrlEx(QWidget* parent = nullptr);
    ~CTreeCtrlEx() override;

    // Shows a tree (null: an empty control). Selection state starts afresh.
    void SetTree(std::unique_ptr<CategoryTree> tree);
    void DropTree() { SetTree(nullptr); }
    const CategoryTree* Tree() const { return tree_.get(); }
    const CategoryTreeModel* Model() const { return model_.get(); }
    bool HasItems() const { return tree_ && !tree_->TopLevel().empty(); }

    // --- Caret and selection.
    QModelIndex Caret() const { return currentIndex(); }
    // Makes the item the caret and the only selected item, and the anchor;
    // sends no report (the pane fills the view itself).
    void SetCaret(const QModelIndex& index);
    // Moves the caret only (the selection stays); sends no report.
    void PointCaret(const QModelIndex& index) { MoveCaret(index); }
    bool IsSelected(const QModelIndex& index) const;
    int SelectedCount() const;
    // The selected items in display order.
    std::vector<QModelIndex> SelectedInDisplayOrder() const;
    // The rules of a click with these modifiers, as the mouse applies them.
    void SelectItem(const QModelIndex& index, Qt::KeyboardModifiers modifiers);
    bool MultiSelectActive() const { return multiSelect_; }
    // The caret or one of its ancestors is the duplicate-photos group.
    bool CaretInsideDuplicatesGroup() const;

    // The photo leaf last handed to the main view; a report for the same
    // leaf does not refill it.
    std::optional<PhotoLocation> lastLeafHandled;

  signals:
    // The caret moved to this item by a selection rule.
    void caretReported(const QModelIndex& caret);
    // A plain selection: the main view's selection list is to be emptied.
    void selectionListCleared();
    // A double click on an item (before it expands or collapses).
    void itemDoubleClicked(const QModelIndex& index);
    // Context menu at a global point; pointed is the item under the mouse
    // (invalid for a keyboard request or no item).
    void contextMenuAsked(const QPoint& globalPos, const QModelIndex& pointed);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    // Index whose icon or label lies under the point, or invalid.
    QModelIndex ItemAt(const QPoint& point) const;
    bool OnExpandButton(const QPoint& point, const QModelIndex& index) const;
    void MoveCaret(const QModelIndex& index);
    void SelectOnly(const QModelIndex& index);
    void SelectRange(const QModelIndex& from, const QModelIndex& to);
    void Report(const QModelIndex& index);
    void DeselectBeneath(const QModelIndex& parent);

    std::unique_ptr<CategoryTree> tree_;
    std::unique_ptr<CategoryTreeModel> model_;
    QPersistentModelIndex anchor_;
    QPersistentModelIndex pressed_;
    QPoint pressPoint_;
    bool selectOnRelease_ = false;
    bool multiSelect_ = false;
};
