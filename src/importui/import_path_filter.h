#pragma once
// Which of the paths handed over by a drop, a paste or the file chooser go
// into the import list. Reads the file system (folder tests); any thread.

#include <QString>
#include <QStringList>

// The name ends in ".jpg" or ".jpeg", ignoring case.
bool HasJpegExtension(const QString& path);

// Drops take folders and files with a JPEG extension, in order.
QStringList AcceptedDropPaths(const QStringList& paths);

// Pastes and the file chooser take files with a JPEG extension only.
QStringList AcceptedFilePaths(const QStringList& paths);

// Whether 黏贴 is offered for a clipboard file list: one entry is an existing
// folder, or one entry ends in "jpg" or "jpeg" (no dot needed).
bool PasteAvailable(const QStringList& paths);
