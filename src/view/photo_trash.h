#pragma once
// Deleting a photo "from disk": the file goes to the desktop's trash (the
// recycle bin on Windows), so that a mistaken delete can be undone; only
// where its volume has no trash is it deleted for good.

#include <QString>

enum class PhotoDeletion { Trashed, Deleted, Failed };

PhotoDeletion DeletePhotoFile(const QString& path);

// Whether DeletePhotoFile would find a trash for this file: the home trash on
// the home volume; elsewhere the volume's own .Trash or .Trash-<uid>, or a
// volume root where one can be made. The removal question words its warning
// from this.
bool VolumeHasTrash(const QString& path);
