#pragma once
// The folder chooser "文件夹选择": a folder tree with an edit box above it
// that holds the chosen path. 确定 accepts only a path that names an
// existing folder; otherwise the focus goes back to the edit box and the
// dialog stays open.
//
// UI thread only.

#include <QDialog>
#include <QString>

class QFileSystemModel;
class QLineEdit;
class QPushButton;
class QTreeView;

class CPathDialog : public QDialog {
    Q_OBJECT

  public:
    // initialFolder empty: the current directory.
    explicit CPathDialog(QWidget* owner = nullptr, const QString& initialFolder = {});

    // Runs modally: 1 when a folder was chosen, -1 otherwise.
    int DoModal();
    QString PathName() const { return path_; }

    QLineEdit* PathEdit() const { return edit_; }
    QPushButton* OkButton() const { return ok_; }

    void accept() override;
    void reject() override;

  private:
    void OnTreeSelection();

    QFileSystemModel* model_;
    QTreeView* tree_;
    QLineEdit* edit_;
    QPushButton* ok_;
    QString path_;
};
