#pragma once
// The custom keyword editor "编辑自定义关键词": one editable column of
// keywords ending in the placeholder "点击添加...", with 编辑 / 插入 / 删除
// in its context menu. A click on the placeholder starts adding a keyword
// (typing then goes into the new row, and Enter ends that edit). 确定 hands
// the edited list to the owner's callback.
//
// UI thread only.

#include <QDialog>
#include <functional>

#include "properties/keyword_list_rows.h"

class QTreeWidget;
class QTreeWidgetItem;

class CMyKeyWordEdit : public QDialog {
    Q_OBJECT

  public:
    // list: the custom keywords, each followed by ";". onConfirmed receives
    // the edited list in the same form when the user presses 确定.
    CMyKeyWordEdit(const QString& list, std::function<void(const QString&)> onConfirmed,
                   QWidget* parent = nullptr);

    QTreeWidget* List() const { return list_; }
    const KeywordListRows& Rows() const { return rows_; }

    // The context menu's commands (32839, 32840, 32841).
    void EditMarkedRow();
    void InsertAtMarkedRow();
    void DeleteSelectedRows();

    void accept() override;

  private:
    void ShowRows();
    void StartEdit(int row);
    void EditorClosed();

    QTreeWidget* list_;
    KeywordListRows rows_;
    int editedRow_ = -1;
    std::function<void(const QString&)> onConfirmed_;
};
