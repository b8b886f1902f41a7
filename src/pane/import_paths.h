#pragma once
// The file lists the pane receives from drops and the clipboard.

#include <QList>
#include <QStringList>
#include <QUrl>

class QMimeData;

// The local paths among dropped or pasted URLs, in order.
QStringList LocalFilePaths(const QList<QUrl>& urls);

// Whether 黏贴 is offered: the clipboard holds a file list with a folder or
// a name ending in "jpg" or "jpeg" (any letter case).
bool ClipboardOffersImport(const QMimeData* data);
