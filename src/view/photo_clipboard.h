#pragma once
// Photo files on the clipboard in the forms the desktop's file managers use:
// a URI list, the "copy"/"cut" marker of GNOME-style managers
// (x-special/gnome-copied-files), KDE's cut marker and, on Windows, the
// "Preferred DropEffect" value (1 copy, 2 move). Pasting reads any URI list.
//
// UI thread only (the clipboard belongs to it).

#include <QStringList>

class QMimeData;

// The clipboard contents for paths (local files); cut marks them to be moved.
QMimeData* MakePhotoFilesMimeData(const QStringList& paths, bool cut);

// Whether mime data written by MakePhotoFilesMimeData, or by a file manager,
// asks for a move.
bool IsCutMimeData(const QMimeData& data);
