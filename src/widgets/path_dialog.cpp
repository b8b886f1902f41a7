#include "widgets/path_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

CPathDialog::CPathDialog(QWidget* owner, const QString& initialFolder) : QDialog(owner) {
    setWindowTitle(QStringLiteral("文件夹选择"));
    const QString start = initialFolder.isEmpty() ? QDir::currentPath() : initialFolder;

    auto* prompt = new QLabel(QStringLiteral("选择要打开的照片路径"));
    edit_ = new QLineEdit(start);
    edit_->setFixedHeight(23);
    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QDir::rootPath());
    tree_ = new QTreeView;
    tree_->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column) tree_->hideColumn(column);
    tree_->header()->hide();
    const QModelIndex startIndex = model_->index(start);
    if (startIndex.isValid()) {
        tree_->setCurrentIndex(startIndex);
        tree_->scrollTo(startIndex);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    ok_->setEnabled(!start.isEmpty());
    connect(buttons, &QDialogButtonBox::accepted, this, &CPathDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPathDialog::reject);
    connect(edit_, &QLineEdit::textEdited, this,
            [this](const QString& text) { ok_->setEnabled(!text.isEmpty()); });
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CPathDialog::OnTreeSelection);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(edit_);
    layout->addSpacing(4);  // the edit box ends 4 pixels above the tree
    layout->setSpacing(0);
    layout->addWidget(tree_, 1);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    resize(360, 420);
}

int CPathDialog::DoModal() {
    return exec();
}

void CPathDialog::OnTreeSelection() {
    const QModelIndex index = tree_->currentIndex();
    const bool folder = index.isValid() && model_->isDir(index);
    if (folder) edit_->setText(QDir::toNativeSeparators(model_->filePath(index)));
    ok_->setEnabled(folder);
}

void CPathDialog::accept() {
    const QString text = edit_->text();
    if (!QFileInfo(text).isDir()) {
        edit_->setFocus();
        return;
    }
    path_ = text;
    done(1);
}

void CPathDialog::reject() {
    done(-1);
}
