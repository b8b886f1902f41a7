#pragma once
// The three text lines of the import progress dialog, computed from the
// import counters. Pure, any thread.

#include <QString>

struct ImportProgressTexts {
    QString importedLine;   // "已导入照片：%d/%d张"
    QString duplicateLine;  // "重复照片：%d张"
    QString doneLine;       // "已完成：%d%"
};

// The lines shown before the first refresh.
ImportProgressTexts InitialImportProgressTexts();

// The lines of one refresh. The percentage is (imported + notImported) * 100
// / total, truncated; 0 while nothing was counted.
ImportProgressTexts MakeImportProgressTexts(int total, int imported, int notImported);

// The walk has handled every counted file: the refresh stops and OK is
// enabled. Never true for an empty count. Files that appear between the
// count and the walk can push the handled number past the total; that still
// counts as finished.
bool ImportProgressComplete(int total, int imported, int notImported);
