#include "app/about_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QColor kAboutBackground(236, 232, 246);

const char* const kFeatures =
    "功能简介：\n"
    "1. 按拍摄时间、相机型号、文件夹、关键词、主题词和地区分类浏览照片；\n"
    "2. 全屏照片浏览器，可缩放、旋转、前后翻页；\n"
    "3. 查看并批量编辑照片的EXIF信息（标题、备注、作者、关键词、主题、拍摄时间、GPS位置）；\n"
    "4. 配合Darazoz地图：根据GPS获取地区信息、从地图中选取位置、"
    "根据地图轨迹自动选取位置、在地图中显示照片位置。";

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("关于 Verero"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kAboutBackground);
    palette.setColor(QPalette::Base, kAboutBackground);
    setPalette(palette);
    setAutoFillBackground(true);

    auto* icon = new QLabel;
    icon->setPixmap(QApplication::windowIcon().pixmap(48, 48));
    auto* version = new QLabel(QStringLiteral("Darazoz相册管理系统1.03版本"));
    auto* features = new QPlainTextEdit(QString::fromUtf8(kFeatures));
    features->setReadOnly(true);
    features->setFrameShape(QFrame::NoFrame);
    features->setMinimumSize(380, 160);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->addWidget(version);
    texts->addWidget(features);
    top->addLayout(texts);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
}
