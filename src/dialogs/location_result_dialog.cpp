#include "dialogs/location_result_dialog.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>

#include "messaging/ui_messages.h"

namespace {

constexpr int kWidth = 340;
constexpr int kHeight = 130;

ReceiverRole RoleOf(LocationResultKind kind) {
    return kind == LocationResultKind::RegionLookup ? ReceiverRole::RegionResultDialog
                                                    : ReceiverRole::TrackResultDialog;
}

}  // namespace

QString LocationResultText(LocationResultKind kind, const ResultCounters& c) {
    const bool regions = kind == LocationResultKind::RegionLookup;
    QString text = (regions ? QStringLiteral("已解析经纬度对应区域的照片：%1/%2(张).")
                            : QStringLiteral("已修改照片经纬度：%1/%2(张)."))
                       .arg(c.done)
                       .arg(c.total);
    if (c.failed > 0) {
        text += (regions ? QStringLiteral("\r\n超出经纬度解析区域的照片：%1张.")
                         : QStringLiteral("\r\n拍摄时间没有轨迹位置的照片：%1张."))
                    .arg(c.failed);
    }
    return text;
}

QString RegionsKeptNote(bool companionMissing, int unanswered) {
    if (companionMissing) return QStringLiteral("地图程序未运行，位置信息已保留，将在下次解析。");
    if (unanswered > 0)
        return QStringLiteral("地图程序未应答%1张照片，位置信息已保留，将在下次解析。")
            .arg(unanswered);
    return {};
}

CLocationResultDialog::CLocationResultDialog(LocationResultKind kind, QWidget* parent)
    : CSkinnedDialog(parent), kind_(kind), registration_(RoleOf(kind), this) {
    SetCaption(kind == LocationResultKind::RegionLookup ? QStringLiteral("解析经纬度对应的区域")
                                                        : QStringLiteral("根据轨迹添加经纬度"));
    setFixedSize(kWidth, kHeight);
    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("1024"));
    text_->setGeometry(24, 36, kWidth - 48, 48);
    text_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    text_->setText(LocationResultText(kind, {}));
    ok_ = new QPushButton(QStringLiteral("确定"), this);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    ok_->setGeometry(kWidth - 180, kHeight - 26, 75, 23);
    cancel_->setGeometry(kWidth - 95, kHeight - 26, 75, 23);
    ok_->setEnabled(false);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void CLocationResultDialog::SetCounters(const ResultCounters& counters) {
    QMutexLocker lock(&countersMutex_);
    counters_ = counters;
}

void CLocationResultDialog::SetNote(const QString& note) {
    note_ = note;
    Redraw();
}

void CLocationResultDialog::Redraw() {
    QString text;
    {
        QMutexLocker lock(&countersMutex_);
        text = LocationResultText(kind_, counters_);
    }
    if (!note_.isEmpty()) text += QStringLiteral("\r\n") + note_;
    // The label breaks lines at "\n" alone.
    text_->setText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void CLocationResultDialog::EnableOk() {
    ok_->setEnabled(true);
    ok_->setDefault(true);
}

QString CLocationResultDialog::ShownText() const {
    return text_->text().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

bool CLocationResultDialog::event(QEvent* event) {
    if (event->type() == static_cast<QEvent::Type>(UiMessage::kResultProgress)) {
        Redraw();
        return true;
    }
    return CSkinnedDialog::event(event);
}
