#include "zidevu/track_review_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "zidevu/camera_clock_dialog.h"
#include "zidevu/track_settings.h"
#include "zidevu/track_texts.h"

namespace {

QString NearestText(const TrackMatch& match) {
    if (!match.nearestFixMs) return QStringLiteral("无轨迹");
    return QStringLiteral("%1 秒").arg(static_cast<double>(*match.nearestFixMs) / 1000, 0, 'f', 1);
}

QString PositionText(const PositionRow& row) {
    if (row.match.kind == MatchKind::None) return QStringLiteral("无位置");
    const QString how = row.match.kind == MatchKind::Interpolated ? QStringLiteral("插值")
                                                                  : QStringLiteral("最近点");
    return QStringLiteral("%1, %2（%3）")
        .arg(row.record.latitude, 0, 'f', 6)
        .arg(row.record.longitude, 0, 'f', 6)
        .arg(how);
}

QString ClockText(const TrackMatchSettings& s) {
    const QString zone = s.clock.timeZone.empty() ? QStringLiteral("与电脑相同")
                                                  : QString::fromStdString(s.clock.timeZone);
    return QStringLiteral("%1；相机时区：%2").arg(OffsetText(s.clock.offsetSeconds), zone);
}

}  // namespace

TrackReviewDialog::TrackReviewDialog(TrackRequest request, TrackMatchSettings settings,
                                     TrackRequestHandler::Answer reply, QWidget* parent,
                                     PhotoNamer nameOf)
    : QDialog(parent),
      request_(std::move(request)),
      settings_(std::move(settings)),
      reply_(std::move(reply)),
      nameOf_(std::move(nameOf)) {
    setWindowTitle(QStringLiteral("核对根据轨迹找到的位置"));
    auto* layout = new QVBoxLayout(this);
    clock_ = new QLabel(this);
    clock_->setObjectName(QStringLiteral("clock"));
    layout->addWidget(clock_);
    rows_ = new QTreeWidget(this);
    rows_->setRootIsDecorated(false);
    rows_->setHeaderLabels({QStringLiteral("照片"), QStringLiteral("拍摄时间"),
                            QStringLiteral("匹配时间"), QStringLiteral("与最近轨迹点相差"),
                            QStringLiteral("位置（纬度, 经度）")});
    rows_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(rows_);
    auto* buttons = new QDialogButtonBox(this);
    auto* correct =
        buttons->addButton(QStringLiteral("校正相机时钟…"), QDialogButtonBox::ActionRole);
    correct->setObjectName(QStringLiteral("correctClock"));
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(correct, &QPushButton::clicked, this,
            &TrackReviewDialog::CorrectClockFromSelectedPhoto);
    layout->addWidget(buttons);
    resize(820, 420);
    Fill();
}

void TrackReviewDialog::Fill() {
    clock_->setText(ClockText(settings_));
    matched_ = MatchRecords(*request_.matcher, request_.records, settings_);
    rows_->clear();
    for (const PositionRow& row : matched_) {
        const auto wall =
            row.record.dwDateTime ? CatalogueWallSeconds(row.record.dwDateTime) : std::nullopt;
        auto* item = new QTreeWidgetItem(
            rows_, {nameOf_ ? nameOf_(row.record.idPic) : QString::number(row.record.idPic),
                    wall ? WallClockText(*wall) : QStringLiteral("无拍摄时间"),
                    row.shotInstant ? LocalInstantText(*row.shotInstant) : QString(),
                    NearestText(row.match), PositionText(row)});
        const bool found = row.match.kind != MatchKind::None;
        item->setCheckState(0, found ? Qt::Checked : Qt::Unchecked);
        if (!found) item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
    }
    if (rows_->topLevelItemCount() > 0) rows_->setCurrentItem(rows_->topLevelItem(0));
}

std::vector<bool> TrackReviewDialog::Ticked() const {
    std::vector<bool> ticked;
    for (int i = 0; i < rows_->topLevelItemCount(); ++i)
        ticked.push_back(rows_->topLevelItem(i)->checkState(0) == Qt::Checked);
    return ticked;
}

void TrackReviewDialog::ApplySettings(const TrackMatchSettings& settings) {
    settings_ = settings;
    SaveTrackSettings(settings_);
    Fill();
    emit settingsChanged();
}

void TrackReviewDialog::CorrectClockFromSelectedPhoto() {
    const int at = rows_->indexOfTopLevelItem(rows_->currentItem());
    if (at < 0 || request_.records[static_cast<std::size_t>(at)].dwDateTime == 0) return;
    CameraClockDialog helper(request_.records[static_cast<std::size_t>(at)].dwDateTime, this);
    if (helper.exec() != QDialog::Accepted) return;
    if (const auto offset = helper.Offset()) {
        TrackMatchSettings s = settings_;
        s.clock.offsetSeconds = *offset;
        ApplySettings(s);
    }
}

void TrackReviewDialog::done(int result) {
    if (reply_) {
        // 取消 answers too, with no positions, so that the album stops waiting.
        const std::vector<bool> ticked =
            result == QDialog::Accepted ? Ticked() : std::vector<bool>(matched_.size(), false);
        reply_(ReplyRecords(matched_, ticked));
        reply_ = nullptr;
    }
    QDialog::done(result);
}
