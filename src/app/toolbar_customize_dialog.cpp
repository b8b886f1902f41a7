#include "app/toolbar_customize_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kIdRole = Qt::UserRole;

}  // namespace

CDlgCustomizeToolbar::CDlgCustomizeToolbar(const ToolbarLayout& layout,
                                           std::function<QListWidgetItem*(int id)> describe,
                                           QWidget* parent)
    : QDialog(parent), describe_(std::move(describe)), list_(new QListWidget) {
    setWindowTitle(QStringLiteral("自定义工具栏"));
    auto* up = new QPushButton(QStringLiteral("上移"));
    auto* down = new QPushButton(QStringLiteral("下移"));
    auto* reset = new QPushButton(QStringLiteral("重置"));
    connect(up, &QPushButton::clicked, this, [this] { MoveCurrent(-1); });
    connect(down, &QPushButton::clicked, this, [this] { MoveCurrent(1); });
    connect(reset, &QPushButton::clicked, this, &CDlgCustomizeToolbar::Reset);

    auto* side = new QVBoxLayout;
    side->addWidget(up);
    side->addWidget(down);
    side->addStretch();
    side->addWidget(reset);
    auto* rows = new QHBoxLayout;
    rows->addWidget(list_, 1);
    rows->addLayout(side);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* main = new QVBoxLayout(this);
    main->addLayout(rows);
    main->addWidget(buttons);
    Fill(layout);
}

void CDlgCustomizeToolbar::Fill(const ToolbarLayout& layout) {
    list_->clear();
    for (const ToolbarSlot& slot : layout) {
        QListWidgetItem* item = slot.id == 0 || !describe_ ? nullptr : describe_(slot.id);
        if (!item) item = new QListWidgetItem(QStringLiteral("———— 分隔符 ————"));
        item->setData(kIdRole, slot.id);
        item->setFlags((item->flags() | Qt::ItemIsUserCheckable) & ~Qt::ItemIsEditable);
        item->setCheckState(slot.shown ? Qt::Checked : Qt::Unchecked);
        list_->addItem(item);
    }
    list_->setCurrentRow(0);
}

ToolbarLayout CDlgCustomizeToolbar::Layout() const {
    ToolbarLayout layout;
    for (int row = 0; row < list_->count(); ++row) {
        const QListWidgetItem* item = list_->item(row);
        layout.push_back({item->data(kIdRole).toInt(), item->checkState() == Qt::Checked});
    }
    return layout;
}

void CDlgCustomizeToolbar::MoveCurrent(int step) {
    const int row = list_->currentRow();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= list_->count()) return;
    QListWidgetItem* item = list_->takeItem(row);
    list_->insertItem(target, item);
    list_->setCurrentRow(target);
}

void CDlgCustomizeToolbar::Reset() {
    Fill(DefaultToolbarLayout());
}
