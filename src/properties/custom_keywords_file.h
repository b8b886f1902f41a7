#pragma once
// The user's own keywords, kept in "keywords.txt" in the data folder so that
// keywords made in the keyword editor are offered again in later runs, even
// before any photo carries them. UTF-8, one keyword per line.
//
// UI thread only (the properties dialog reads and writes it).

#include <QString>
#include <QStringList>

QString CustomKeywordsPath();

// The keywords of the file, in file order, each line read as a keyword list
// (KeywordItems); blank lines and repeats are dropped. A missing,
// unreadable or oversized file gives an empty list.
QStringList LoadCustomKeywords(const QString& path);

// Replaces the file by keywords (empty ones skipped). The new content is
// written to a temporary file and renamed over the old one, so a failed
// save leaves the old file as it was. False when it cannot be written.
bool SaveCustomKeywords(const QString& path, const QStringList& keywords);
