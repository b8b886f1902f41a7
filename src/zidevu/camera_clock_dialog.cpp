#include "zidevu/camera_clock_dialog.h"

#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QTimeZone>

#include "companion/camera_clock.h"
#include "zidevu/track_texts.h"

CameraClockDialog::CameraClockDialog(std::int32_t dwDateTime, QWidget* parent)
    : QDialog(parent), dwDateTime_(dwDateTime) {
    setWindowTitle(QStringLiteral("校正相机时钟"));
    auto* layout = new QFormLayout(this);
    layout->addRow(new QLabel(QStringLiteral("选一张知道真实时间的照片（例如拍下的GPS屏幕或时钟），"
                                             "输入照片上显示的时间。"),
                              this));
    const auto cameraWall = CatalogueWallSeconds(dwDateTime);
    layout->addRow(
        QStringLiteral("相机记录的时间："),
        new QLabel(cameraWall ? WallClockText(*cameraWall) : QStringLiteral("无"), this));
    trueTime_ = new QDateTimeEdit(this);
    trueTime_->setObjectName(QStringLiteral("trueTime"));
    trueTime_->setTimeSpec(Qt::UTC);  // wall seconds: the fields only
    trueTime_->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (cameraWall) SetTrueWallSeconds(*cameraWall);
    layout->addRow(QStringLiteral("真实时间："), trueTime_);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addRow(buttons);
}

void CameraClockDialog::SetTrueWallSeconds(std::int64_t wallSeconds) {
    trueTime_->setDateTime(QDateTime::fromSecsSinceEpoch(wallSeconds, QTimeZone::utc()));
}

std::optional<std::int64_t> CameraClockDialog::Offset() const {
    return OffsetFromTrueTime(dwDateTime_, trueTime_->dateTime().toSecsSinceEpoch());
}
