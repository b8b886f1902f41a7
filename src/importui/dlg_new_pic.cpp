#include "importui/dlg_new_pic.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

#include "import/import_state.h"
#include "importui/import_progress_texts.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 168;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kRefreshMs = 50;

QLabel* MakeLine(QWidget* parent, int top) {
    auto* line = new QLabel(parent);
    line->setGeometry(20, top, kWidth - 40, 16);
    line->setFont(SmallDialogFont(parent->font()));
    return line;
}

}  // namespace

CDlg_NewPic::CDlg_NewPic(ImportProgress& progress, QWidget* parent)
    : CSkinnedDialog(parent), progress_(progress) {
    SetCaption(QStringLiteral("导入照片"));
    setFixedSize(kWidth, kHeight);

    bar_ = new QProgressBar(this);
    bar_->setGeometry(20, 36, kWidth - 40, 16);
    bar_->setTextVisible(false);
    bar_->setRange(0, 100);
    bar_->setValue(0);
    importedLine_ = MakeLine(this, 60);
    duplicateLine_ = MakeLine(this, 78);
    notImportedLine_ = MakeLine(this, 96);
    doneLine_ = MakeLine(this, 114);
    ShowTexts(InitialImportProgressTexts());

    ok_ = new QPushButton(QStringLiteral("确定"), this);
    cancel_ = new QPushButton(QStringLiteral("取消"), this);
    const int top = kHeight - 24;
    ok_->setGeometry(kWidth / 3 - kButtonWidth / 2, top, kButtonWidth, kButtonHeight);
    cancel_->setGeometry(kWidth * 2 / 3 - kButtonWidth / 2, top, kButtonWidth, kButtonHeight);
    ok_->setEnabled(false);
    connect(ok_, &QPushButton::clicked, this, &CDlg_NewPic::accept);
    connect(cancel_, &QPushButton::clicked, this, &CDlg_NewPic::reject);

    refresh_.setInterval(kRefreshMs);
    connect(&refresh_, &QTimer::timeout, this, &CDlg_NewPic::OnTick);
}

void CDlg_NewPic::StartRefresh() {
    waitForCount_ = false;
    refresh_.start();
}

void CDlg_NewPic::StartRefreshWhenCounted() {
    waitForCount_ = true;
    refresh_.start();
}

void CDlg_NewPic::OnTick() {
    if (waitForCount_) {
        if (progress_.total.load() <= 0) return;
        waitForCount_ = false;
    }
    Refresh();
}

void CDlg_NewPic::showEvent(QShowEvent* event) {
    CSkinnedDialog::showEvent(event);
    if (refresh_.isActive()) OnTick();
}

void CDlg_NewPic::ShowTexts(const ImportProgressTexts& texts) {
    importedLine_->setText(texts.importedLine);
    duplicateLine_->setText(texts.duplicateLine);
    notImportedLine_->setText(texts.notImportedLine);
    doneLine_->setText(texts.doneLine);
}

void CDlg_NewPic::Refresh() {
    const ImportCounts counts = progress_.Counts();
    ShowTexts(MakeImportProgressTexts(counts));
    if (counts.total > 0) {
        if (!rangeSet_) {
            bar_->setRange(0, counts.total);
            rangeSet_ = true;
        }
        bar_->setValue(std::min(counts.imported + counts.NotImported(), counts.total));
    }
    if (ImportProgressComplete(counts)) {
        refresh_.stop();
        ok_->setEnabled(true);
    }
}

void CDlg_NewPic::reject() {
    progress_.stop.RequestStop();
    refresh_.stop();
    CSkinnedDialog::reject();
}
