#include "view/photo_removal.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "catalogue/photo_rows.h"
#include "view/verero_view.h"

PhotoFileDisposal DiscardPhotoFile(const std::string& utf8Path) {
    const QString path = QString::fromStdString(utf8Path);
    // The home trash lives in the data folder; when that folder is missing,
    // Qt would set up a trash in the working folder instead.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    if (QFile::moveToTrash(path)) return PhotoFileDisposal::Trashed;
    // moveToTrash fails when the volume has no trash it may use; a file that
    // is still there is then deleted outright, as the user confirmed.
    if (QFile::exists(path) && QFile::remove(path)) return PhotoFileDisposal::Deleted;
    return PhotoFileDisposal::Failed;
}

bool CVereroView::RemovePhotoAt(int index, bool deleteFile) {
    if (!photos_.IsValid(index)) return false;
    photos_.EnsureThumbnail(index);  // the entry's path is read with its row
    const PhotoListEntry& entry = photos_.Entry(index);
    if (deleteFile && !entry.fullPath.empty()) DiscardPhotoFile(entry.fullPath);
    DeletePhotoRows(std::nullopt, entry.idPic, entry.fromDuplicates);
    if (selection_.list.Contains(entry.Ref())) selection_.list.Toggle(entry.Ref());
    photos_.RemoveAt(index);
    if (photos_.currentIndex > index ||
        (photos_.currentIndex >= photos_.Count() && photos_.currentIndex > 0))
        --photos_.currentIndex;
    const int scroll = VerticalOffset();
    Lay();
    ScrollTo(scroll);
    viewport()->update();
    return true;
}
