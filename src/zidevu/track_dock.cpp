#include "zidevu/track_dock.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "companion/camera_clock.h"
#include "companion/track_positions.h"
#include "zidevu/track_settings.h"
#include "zidevu/track_texts.h"

namespace {

QSpinBox* SecondsBox(int minimum, int maximum, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(minimum, maximum);
    box->setSuffix(QStringLiteral(" 秒"));
    return box;
}

QString ImportLine(const QString& file, const TrackImport& r) {
    const QString name = QFileInfo(file).fileName();
    switch (r.outcome) {
        case StoreOutcome::Stored:
            return QStringLiteral("%1：已导入（%2 段，%3 个轨迹点）")
                .arg(name)
                .arg(r.segments)
                .arg(r.fixes);
        case StoreOutcome::AlreadyStored:
            return QStringLiteral("%1：此轨迹已导入过").arg(name);
        case StoreOutcome::Failed:
            break;
    }
    const QString why = r.status == TrackReadStatus::Ok ? QStringLiteral("无法保存")
                                                        : TrackReadStatusText(r.status);
    return QStringLiteral("%1：未导入，%2").arg(name, why);
}

}  // namespace

TrackDock::TrackDock(std::string storePath, QWidget* parent)
    : QDockWidget(QStringLiteral("轨迹"), parent), storePath_(std::move(storePath)) {
    setObjectName(QStringLiteral("trackDock"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    list_ = new QTreeWidget(body);
    list_->setObjectName(QStringLiteral("trackList"));
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setHeaderLabels({QStringLiteral("名称"), QStringLiteral("开始（本机时间）"),
                            QStringLiteral("结束"), QStringLiteral("轨迹点"),
                            QStringLiteral("文件")});
    layout->addWidget(list_);
    auto* actions = new QHBoxLayout;
    auto* import = new QPushButton(QStringLiteral("导入轨迹"), body);
    auto* remove = new QPushButton(QStringLiteral("删除轨迹"), body);
    actions->addWidget(import);
    actions->addWidget(remove);
    actions->addStretch();
    layout->addLayout(actions);
    connect(import, &QPushButton::clicked, this, &TrackDock::ChooseFiles);
    connect(remove, &QPushButton::clicked, this, &TrackDock::RemoveSelected);

    auto* form = new QFormLayout;
    offset_ = SecondsBox(-kMaxCameraOffsetSeconds, kMaxCameraOffsetSeconds, body);
    offset_->setObjectName(QStringLiteral("cameraOffset"));
    offset_->setToolTip(
        QStringLiteral("相机时钟比真实时间快为正，慢为负；"
                       "可在核对位置时根据一张照片校正"));
    zone_ = new QComboBox(body);
    zone_->setObjectName(QStringLiteral("cameraZone"));
    zone_->addItem(QStringLiteral("与电脑相同"), QString());
    for (const std::string& name : TimeZoneNames())
        zone_->addItem(QString::fromStdString(name), QString::fromStdString(name));
    maxGap_ = SecondsBox(0, kMaxGapSeconds, body);
    maxGap_->setObjectName(QStringLiteral("maxGap"));
    maxDistance_ = SecondsBox(0, kMaxGapSeconds, body);
    maxDistance_->setObjectName(QStringLiteral("maxDistance"));
    form->addRow(QStringLiteral("相机时钟偏差："), offset_);
    form->addRow(QStringLiteral("相机时区："), zone_);
    form->addRow(QStringLiteral("两点间最大插值间隔："), maxGap_);
    form->addRow(QStringLiteral("距最近点最大时间差："), maxDistance_);
    layout->addLayout(form);
    setWidget(body);

    LoadSettings();
    for (QSpinBox* box : {offset_, maxGap_, maxDistance_})
        connect(box, &QSpinBox::valueChanged, this, &TrackDock::SaveSettings);
    connect(zone_, &QComboBox::currentIndexChanged, this, &TrackDock::SaveSettings);
    Refresh();
}

void TrackDock::LoadSettings() {
    const TrackMatchSettings s = LoadTrackSettings();
    // Showing them is not a change to save half-way.
    const QSignalBlocker blockOffset(offset_), blockZone(zone_), blockGap(maxGap_),
        blockDistance(maxDistance_);
    offset_->setValue(static_cast<int>(s.clock.offsetSeconds));
    zone_->setCurrentIndex(std::max(0, zone_->findData(QString::fromStdString(s.clock.timeZone))));
    maxGap_->setValue(static_cast<int>(s.rules.maxGapMs / 1000));
    maxDistance_->setValue(static_cast<int>(s.rules.maxDistanceMs / 1000));
}

void TrackDock::SaveSettings() {
    TrackMatchSettings s;
    s.clock.offsetSeconds = offset_->value();
    s.clock.timeZone = zone_->currentData().toString().toStdString();
    s.rules.maxGapMs = maxGap_->value() * 1000LL;
    s.rules.maxDistanceMs = maxDistance_->value() * 1000LL;
    SaveTrackSettings(s);
}

void TrackDock::ChooseFiles() {
    const QStringList files = QFileDialog::getOpenFileNames(
        this, QStringLiteral("导入轨迹"), QString(),
        QStringLiteral("轨迹文件 (*.gpx *.kml *.nmea *.nma *.log *.txt);;所有文件 (*)"));
    if (!files.isEmpty()) ImportFiles(files);
}

void TrackDock::ImportFiles(const QStringList& files) {
    TrackStore store;
    if (!store.Open(storePath_)) {
        QMessageBox::warning(
            this, QStringLiteral("提示"),
            QStringLiteral("无法打开轨迹库：%1").arg(QString::fromStdString(store.ErrorText())));
        return;
    }
    QStringList lines;
    bool stored = false;
    for (const QString& file : files) {
        const TrackImport r = ImportTrackFile(store, file.toStdString());
        stored = stored || r.outcome == StoreOutcome::Stored;
        lines << ImportLine(file, r);
    }
    Refresh();
    if (stored) emit tracksChanged();
    // A message box would block the tests' own event loop; they read the list.
    if (isVisible()) QMessageBox::information(this, QStringLiteral("导入轨迹"), lines.join('\n'));
}

void TrackDock::RemoveSelected() {
    TrackStore store;
    if (!store.Open(storePath_)) return;
    bool removed = false;
    for (const QTreeWidgetItem* item : list_->selectedItems())
        removed = store.Remove(item->data(0, Qt::UserRole).toLongLong()) || removed;
    Refresh();
    if (removed) emit tracksChanged();
}

void TrackDock::Refresh() {
    list_->clear();
    TrackStore store;
    if (!store.Open(storePath_)) return;
    for (const StoredTrack& t : store.List()) {
        auto* item = new QTreeWidgetItem(
            list_, {QString::fromStdString(t.name), LocalInstantText(t.firstMs / 1000),
                    LocalInstantText(t.lastMs / 1000), QString::number(t.fixes),
                    QString::fromStdString(t.source)});
        item->setData(0, Qt::UserRole, static_cast<qlonglong>(t.id));
    }
}

std::vector<TrackPolyline> TrackDock::Polylines() const {
    TrackStore store;
    return store.Open(storePath_) ? store.Polylines() : std::vector<TrackPolyline>{};
}
