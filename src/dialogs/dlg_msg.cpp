#include "dialogs/dlg_msg.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace {

const ThreeBandColours kDlgMsgColours{QColor(198, 118, 68), QColor(234, 238, 244),
                                      QColor(198, 205, 214)};
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;

QStringList MessageLines(const QString& message) {
    return message.split(QStringLiteral("\r\n"));
}

// Characters as the user counts them: code points, not UTF-16 units.
int CharacterCount(const QString& text) {
    return static_cast<int>(text.toUcs4().size());
}

}  // namespace

QSize DlgMsgSize(const QString& title, const QString& message, bool twoButtons) {
    const QStringList lines = MessageLines(message);
    int longest = 0;
    for (const QString& line : lines) longest = std::max(longest, CharacterCount(line));
    const int k = std::max(longest, CharacterCount(title) - 2);
    int width = k * 13 + 60;
    if (width < 300 && twoButtons) width = 300;
    return {width, static_cast<int>(lines.size()) * 20 + 70};
}

CDlgMsg::CDlgMsg(QWidget* parent) : CSkinnedDialog(parent, kDlgMsgColours) {
    ok_ = new QPushButton(QStringLiteral("确定"), this);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, [this] { done(kDlgMsgOk); });
    connect(cancel_, &QPushButton::clicked, this, [this] { done(kDlgMsgCancel); });
}

CDlgMsg::CDlgMsg(const QString& title, const QString& message, bool twoButtons, QWidget* parent)
    : CDlgMsg(parent) {
    SetTitle(title);
    SetMessage(message);
    SetTwoButtons(twoButtons);
}

QRect DlgMsgArea(const QWidget* parent) {
    const QWidget* window = parent ? parent->window() : nullptr;
    const QScreen* screen = window ? window->screen() : QGuiApplication::primaryScreen();
    const QRect screenArea = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    if (window && window->isVisible()) return window->frameGeometry() & screenArea;
    return screenArea;
}

QPoint DlgMsgPosition(const QRect& area, const QSize& size) {
    return {area.left() + (area.width() - size.width()) / 2,
            area.top() + (area.height() - size.height()) / 2};
}

void CDlgMsg::InitDialog() {
    const QSize size = DlgMsgSize(Caption(), message_, twoButtons_);
    setFixedSize(size);
    move(DlgMsgPosition(DlgMsgArea(parentWidget()), size));

    const int right = size.width();
    const int top = size.height() - 24;
    ok_->setGeometry(right / 3 - kButtonWidth / 2, top, kButtonWidth, kButtonHeight);
    cancel_->setGeometry(right * 2 / 3 - kButtonWidth / 2, top, kButtonWidth, kButtonHeight);
    cancel_->setVisible(twoButtons_);
    if (!twoButtons_) ok_->setGeometry(cancel_->geometry());
}

int CDlgMsg::LineCount() const {
    return static_cast<int>(MessageLines(message_).size());
}

void CDlgMsg::reject() {
    done(kDlgMsgCancel);
}

void CDlgMsg::showEvent(QShowEvent* event) {
    InitDialog();
    CSkinnedDialog::showEvent(event);
}

void CDlgMsg::PaintBody(QPainter& painter) {
    painter.setPen(Qt::black);
    const QStringList lines = MessageLines(message_);
    for (int i = 0; i < lines.size(); ++i)
        painter.drawText(QRect(LineOrigin(i), QSize(width() - 35, 20)),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, lines[i]);
}

int ShowDlgMsg(QWidget* parent, const QString& title, const QString& message, bool twoButtons) {
    CDlgMsg box(title, message, twoButtons, parent);
    return box.exec();
}
