#include "properties/my_key_word_edit.h"

#include <QAbstractItemDelegate>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int kEditCommand = 32839;
constexpr int kInsertCommand = 32840;
constexpr int kDeleteCommand = 32841;
}  // namespace

CMyKeyWordEdit::CMyKeyWordEdit(const QString& list, std::function<void(const QString&)> onConfirmed,
                               QWidget* parent)
    : QDialog(parent),
      list_(new QTreeWidget(this)),
      rows_(list),
      onConfirmed_(std::move(onConfirmed)) {
    setWindowTitle(QStringLiteral("编辑自定义关键词"));
    list_->setObjectName(QStringLiteral("1023"));
    list_->setColumnCount(1);
    list_->setHeaderLabels({QStringLiteral("自定义关键词")});
    list_->headerItem()->setTextAlignment(0, Qt::AlignCenter);
    list_->setColumnWidth(0, 150);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::SelectedClicked);
    // The placeholder says "click to add": one click opens its editor.
    connect(list_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        const int row = list_->indexOfTopLevelItem(item);
        if (row == rows_.Count() - 1) StartEdit(row);
    });
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_->itemDelegate(), &QAbstractItemDelegate::closeEditor, this,
            &CMyKeyWordEdit::EditorClosed);
    connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        const std::pair<int, const char*> commands[] = {
            {kEditCommand, "编辑"}, {kInsertCommand, "插入"}, {kDeleteCommand, "删除"}};
        for (const auto& [id, text] : commands)
            menu.addAction(QString::fromUtf8(text))->setData(id);
        QAction* chosen = menu.exec(list_->viewport()->mapToGlobal(at));
        if (chosen == nullptr) return;
        const int id = chosen->data().toInt();
        if (id == kEditCommand) EditMarkedRow();
        if (id == kInsertCommand) InsertAtMarkedRow();
        if (id == kDeleteCommand) DeleteSelectedRows();
    });

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(200, 260);
    ShowRows();
}

void CMyKeyWordEdit::ShowRows() {
    list_->clear();
    for (const QString& text : rows_.Rows()) {
        auto* item = new QTreeWidgetItem(list_, {text});
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
}

void CMyKeyWordEdit::StartEdit(int row) {
    QTreeWidgetItem* item = list_->topLevelItem(row);
    if (item == nullptr) return;
    editedRow_ = row;
    list_->setCurrentItem(item);
    list_->editItem(item, 0);
}

void CMyKeyWordEdit::EditorClosed() {
    const int row = editedRow_ >= 0 ? editedRow_ : list_->indexOfTopLevelItem(list_->currentItem());
    editedRow_ = -1;
    if (QTreeWidgetItem* item = list_->topLevelItem(row)) rows_.EndEdit(row, item->text(0));
    // The view is still closing its editor: rebuild the items after it.
    QTimer::singleShot(0, this, &CMyKeyWordEdit::ShowRows);
}

void CMyKeyWordEdit::EditMarkedRow() {
    StartEdit(list_->indexOfTopLevelItem(list_->currentItem()));
}

void CMyKeyWordEdit::InsertAtMarkedRow() {
    const int row = rows_.InsertPlaceholder(list_->indexOfTopLevelItem(list_->currentItem()));
    ShowRows();
    StartEdit(row);
}

void CMyKeyWordEdit::DeleteSelectedRows() {
    std::set<int> rows;
    for (QTreeWidgetItem* item : list_->selectedItems())
        rows.insert(list_->indexOfTopLevelItem(item));
    rows_.Delete(rows);
    ShowRows();
}

void CMyKeyWordEdit::accept() {
    if (onConfirmed_) onConfirmed_(rows_.ToList());
    QDialog::accept();
}
