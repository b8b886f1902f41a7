#pragma once
// The Chinese wording of a photo edit's outcome, for the properties dialog.

#include <QString>
#include <vector>

#include "import/photo_edit.h"

// Why the edit of one photo failed, as a short phrase.
QString PhotoEditFailureReason(const PhotoEditResult& result);

// Whether the failure means the catalogue no longer matches the disk, so
// the user should tidy the catalogue.
bool FailureCallsForTidy(const PhotoEditResult& result);

struct PhotoEditFailure {
    QString name;  // the file's name as the user knows it
    PhotoEditResult result;
};

// How many reasons the batch summary lists before it stops listing.
inline constexpr int kSummaryReasons = 3;

// "有2张照片未能修改：" then one "name：reason" line per failure (at most
// kSummaryReasons, then "……"), lines separated by "\r\n".
QString BatchFailureSummary(const std::vector<PhotoEditFailure>& failures);

// The photos written whose XMP or IPTC could not be parsed: those were left
// as they were and the captions went into the Windows XP tags only, so other
// programs still show the old captions. Names listed as in the summary.
QString CaptionsInExifOnlyNotice(const std::vector<QString>& names);
