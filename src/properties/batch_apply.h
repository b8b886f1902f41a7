#pragma once
// The batch worker (BatchApply): writes the properties dialog's edit into
// every other photo of the multi-selection, one after another.
//
// Threads: RunBatchApply runs on the worker's own thread and touches no
// widget; the dialog reads modified and proceed from the UI thread (its
// progress timer and Cancel) and reads failures once the worker has ended.

#include <atomic>
#include <mutex>
#include <vector>

#include "import/photo_edit.h"
#include "import/photo_writer.h"
#include "platform/stop_token.h"
#include "properties/photo_edit_texts.h"
#include "record/photo_ref.h"

struct BatchJob {
    Library* library = nullptr;    // the catalogue the photos are in
    PhotoEdit edit;                // the same for every photo; never a new name
    std::vector<PhotoRef> photos;  // in selection order, without the shown photo
    PhotoWriter writer;            // the dialog's
    std::atomic<int> modified{0};  // photos written, the shown one included
    // BatchContinue: Cancel clears it; the worker stops before its next photo.
    std::atomic<bool> proceed{true};

    std::mutex mutex;  // guards failures and captionsInExifOnly
    std::vector<PhotoEditFailure> failures;
    std::vector<QString> captionsInExifOnly;  // names of photos written so
};

// The photos a batch writes besides shown: selection in order, without
// repeats, without shown and without invalid ids (-1).
std::vector<PhotoRef> BatchPhotos(const std::vector<PhotoRef>& selection, PhotoRef shown);

// Writes job.edit into each photo while job.proceed is set and stop (the
// starter's; it stops when the program closes) is not requested. A photo
// that fails is recorded and the batch goes on. Clears job.proceed at its end.
void RunBatchApply(BatchJob& job, const StopToken& stop);
