#pragma once
// Deleting a photo file "from disk": the file goes to the desktop trash (the
// freedesktop trash on Linux, the recycle bin on Windows); only where the
// volume has no trash is it deleted for good. UI thread or any thread.

#include <string>

enum class PhotoFileDisposal { Trashed, Deleted, Failed };

PhotoFileDisposal DiscardPhotoFile(const std::string& utf8Path);
