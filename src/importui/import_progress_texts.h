#pragma once
// The text lines of the import progress dialog, computed from the import
// counters. Pure, any thread.

#include <QString>

#include "import/import_state.h"

struct ImportProgressTexts {
    QString importedLine;     // "已导入照片：%d/%d张"
    QString duplicateLine;    // "重复照片：%d张"
    QString notImportedLine;  // "未导入：%d张", with its reasons when there are any
    QString doneLine;         // "已完成：%d%"
};

// The lines shown before the first refresh.
ImportProgressTexts InitialImportProgressTexts();

// The lines of one refresh. The percentage is (imported + not imported) * 100
// / total, truncated; 0 while nothing was counted.
ImportProgressTexts MakeImportProgressTexts(const ImportCounts& counts);

// The walk has handled every counted file: the refresh stops and OK is
// enabled. Never true for an empty count. Files that appear between the
// count and the walk can push the handled number past the total; that still
// counts as finished.
bool ImportProgressComplete(const ImportCounts& counts);
