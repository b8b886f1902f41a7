#pragma once
// 自定义...: shows, hides and reorders the buttons and separators of the
// standard toolbar. The dialog only edits a layout; the frame applies and
// saves it when the dialog is accepted.

#include <QDialog>
#include <functional>

#include "app/toolbar_layout.h"

class QListWidget;
class QListWidgetItem;

class CDlgCustomizeToolbar : public QDialog {
    Q_OBJECT

  public:
    // describe gives a command's icon and text for its row.
    CDlgCustomizeToolbar(const ToolbarLayout& layout,
                         std::function<QListWidgetItem*(int id)> describe, QWidget* parent);

    ToolbarLayout Layout() const;

    // The row buttons, for the keyboard and for tests.
    void MoveCurrent(int step);
    void Reset();
    QListWidget* List() const { return list_; }

  private:
    void Fill(const ToolbarLayout& layout);

    std::function<QListWidgetItem*(int id)> describe_;
    QListWidget* list_;
};
