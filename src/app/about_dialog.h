#pragma once
// The about box "关于 Verero": icon, version line, feature list, OK.
// UI thread only.

#include <QDialog>

class CAboutDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
