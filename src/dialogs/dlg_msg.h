#pragma once
// The program's message box: a title band with the title, message lines
// (separated by "\r\n") and 确定, optionally also 取消. exec() returns 1 for
// 确定 and 2 for 取消 and for every other way of closing it.
//
// UI thread only.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include "dialogs/skinned_dialog.h"

class QPushButton;

inline constexpr int kDlgMsgOk = 1;
inline constexpr int kDlgMsgCancel = 2;

// Size of the box: k = max(longest line, title length - 2) characters;
// width k * 13 + 60, at least 300 with two buttons; height lines * 20 + 70.
QSize DlgMsgSize(const QString& title, const QString& message, bool twoButtons);

// Where a box is centred: over the window of its parent while that window is
// shown (clipped to its screen), else over the screen's free area.
QRect DlgMsgArea(const QWidget* parent);
QPoint DlgMsgPosition(const QRect& area, const QSize& size);

class CDlgMsg : public CSkinnedDialog {
    Q_OBJECT

  public:
    explicit CDlgMsg(QWidget* parent = nullptr);
    CDlgMsg(const QString& title, const QString& message, bool twoButtons = true,
            QWidget* parent = nullptr);

    void SetTitle(const QString& title) { SetCaption(title); }
    void SetMessage(const QString& message) { message_ = message; }
    void SetTwoButtons(bool twoButtons) { twoButtons_ = twoButtons; }

    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

    // Sizes and centres the box over its parent's window (else the screen)
    // and places the buttons; runs
    // when the box is shown.
    void InitDialog();

    // Where line i (from 0) of the message is drawn: (35, 35 + 20 * i).
    static QPoint LineOrigin(int line) { return {35, 35 + 20 * line}; }
    int LineCount() const;

    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void PaintBody(QPainter& painter) override;

  private:
    QString message_;
    bool twoButtons_ = true;
    QPushButton* ok_;
    QPushButton* cancel_;
};

// Shows a box modally and returns 1 or 2.
int ShowDlgMsg(QWidget* parent, const QString& title, const QString& message,
               bool twoButtons = false);
