#pragma once
// Deleting a photo "from disk": the file goes to the desktop's trash (the
// recycle bin on Windows), so that a mistaken delete can be undone; only
// where its volume has no trash is it deleted for good.

#include <QString>

enum class PhotoDeletion { Trashed, Deleted, Failed };

PhotoDeletion DeletePhotoFile(const QString& path);
