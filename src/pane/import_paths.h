#pragma once
// Which dropped or pasted paths the pane hands to the list import. Pure
// functions over the paths; folder tests look at the file system.

#include <QList>
#include <QStringList>
#include <QUrl>

class QMimeData;

// The name ends in ".jpg" or ".jpeg", in any letter case.
bool HasJpegExtension(const QString& path);

// Dropped paths that are queued, in order: JPEG files and folders.
QStringList DroppedImportPaths(const QList<QUrl>& urls);

// Whether 黏贴 is offered: the clipboard holds a file list with a folder or
// a name ending in "jpg" or "jpeg" (any letter case).
bool ClipboardOffersImport(const QMimeData* data);

// The paths 黏贴 imports: JPEG files only, folders are not taken.
QStringList PastedImportPaths(const QMimeData* data);
