// CDialog_Exif: 应用, 确定, 取消, and the batch over the multi-selection.

#include <QFileInfo>

#include "catalogue/process_flags.h"
#include "dialogs/dlg_msg.h"
#include "messaging/receiver_registry.h"
#include "messaging/ui_messages.h"
#include "messaging/worker_registry.h"
#include "properties/batch_apply.h"
#include "properties/dialog_exif.h"
#include "properties/photo_edit_texts.h"
#include "widgets/skin_button.h"

namespace {
const QString kNotice = QStringLiteral("提示");
}  // namespace

CDialog_Exif::ApplyOutcome CDialog_Exif::Apply() {
    if (!CommitAll()) return ApplyOutcome::Stopped;
    if (!changed_.Any()) return ApplyOutcome::Unchanged;
    if (session_.shownPhoto.fromDuplicates &&
        messageBox_(this, QStringLiteral("提示:此照片存在于*重复照片列表*"),
                    QStringLiteral("此照片为重复照片，\r\n点击[是]保存修改，并加入到照片列表中。"
                                   "\r\n点击[否],撤销编辑"),
                    true) != kDlgMsgOk)
        return ApplyOutcome::Declined;
    session_.photosModified = true;

    const std::optional<PhotoRecord>& record = session_.record;
    if (!record) {
        InvalidPhoto();
        return ApplyOutcome::Closed;
    }
    const PhotoRef shown = session_.shownPhoto;
    const PhotoEdit edit = BuildPhotoEdit(Values(), changed_, *record);
    const PhotoEditResult result = writer_(record->strFullPath, edit, shown);
    if (FailureCallsForTidy(result)) {
        InvalidPhoto();
        return ApplyOutcome::Closed;
    }
    if (result.Succeeded()) {
        if (result.photoId != 0) session_.shownPhoto.idPic = result.photoId;
        if (result.captionsInExifOnly) {
            const QString name = QFileInfo(QString::fromStdString(result.finalPath)).fileName();
            messageBox_(this, kNotice, CaptionsInExifOnlyNotice({name}), false);
        }
    } else {
        messageBox_(this, kNotice,
                    QStringLiteral("照片未能修改：") + PhotoEditFailureReason(result), false);
    }
    LoadSessionRecord(session_);

    std::vector<PhotoRef> others = BatchPhotos(session_.selection, shown);
    if (!others.empty()) {
        StartBatch(edit, std::move(others), result.Succeeded());
        return ApplyOutcome::BatchStarted;
    }
    if (!result.Succeeded()) return ApplyOutcome::Failed;
    // The grid shows the photo as written: its full new name, its new
    // change time; the preset position is in the file now.
    session_.preset.set = false;
    FillGrid();
    return ApplyOutcome::Saved;
}

void CDialog_Exif::InvalidPhoto() {
    messageBox_(this, kNotice, QStringLiteral("此照片已失效，请先整理数据库."), false);
    // The opener runs the tidy dialog once this window has closed.
    session_.tidyRequested = true;
    QDialog::reject();
}

void CDialog_Exif::StartBatch(const PhotoEdit& edit, std::vector<PhotoRef> photos,
                              bool shownWritten) {
    if (batchRunning_) return;
    WorkerSlot slot(WorkerKind::BatchApply);
    if (!slot.Held()) return;
    // The new name belongs to the shown photo only.
    changed_.Clear(EditField::Name);
    job_ = std::make_shared<BatchJob>();
    job_->library = session_.library;
    job_->edit = edit;
    job_->edit.newName.reset();
    job_->photos = std::move(photos);
    job_->writer = writer_;
    job_->modified = shownWritten ? 1 : 0;
    total_ = static_cast<int>(job_->photos.size()) + 1;
    batchRunning_ = true;
    ok_->setEnabled(false);
    apply_->setEnabled(false);
    progressTimer_.start();
    worker_ = std::thread([job = job_, slot = std::move(slot)]() mutable {
        RunBatchApply(*job, ExitToken);
        slot.Release();
        ReceiverRegistry::Post(ReceiverRole::PropertiesDialog, UiMessage::kBatchApplyEnded);
    });
}

void CDialog_Exif::OnProgressTimer() {
    if (!job_) return;
    const int modified = job_->modified;
    setWindowTitle(QStringLiteral("照片属性（EXIF） 已修改%1/%2.").arg(modified).arg(total_));
    if (modified == total_) progressTimer_.stop();
}

void CDialog_Exif::BatchEnded() {
    if (!batchRunning_) return;
    if (worker_.joinable()) worker_.join();
    batchRunning_ = false;
    OnProgressTimer();
    progressTimer_.stop();
    std::vector<PhotoEditFailure> failures;
    std::vector<QString> captionsInExifOnly;
    {
        std::lock_guard lock(job_->mutex);
        failures = job_->failures;
        captionsInExifOnly = job_->captionsInExifOnly;
    }
    changed_.ClearAll();
    ok_->setEnabled(true);
    apply_->setEnabled(true);
    if (!failures.empty()) {
        for (const PhotoEditFailure& failure : failures)
            session_.tidyRequested = session_.tidyRequested || FailureCallsForTidy(failure.result);
        messageBox_(this, kNotice, BatchFailureSummary(failures), false);
    }
    if (!captionsInExifOnly.empty())
        messageBox_(this, kNotice, CaptionsInExifOnlyNotice(captionsInExifOnly), false);
    endTimer_.start();
}

void CDialog_Exif::EndTimer() {
    if (job_) job_->proceed = false;
    QDialog::reject();
}

void CDialog_Exif::accept() {
    const ApplyOutcome outcome = Apply();
    // A refused value keeps the window open for the correction its message
    // asks for; an invalid photo has closed it already; a batch closes it
    // when it ends.
    if (outcome == ApplyOutcome::Stopped || outcome == ApplyOutcome::Closed || batchRunning_)
        return;
    QDialog::accept();
}

void CDialog_Exif::reject() {
    if (job_ && job_->proceed) {
        job_->proceed = false;
        return;
    }
    QDialog::reject();
}
