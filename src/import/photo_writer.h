#pragma once
// The one entry through which the windows and the workers (the properties
// dialog, its batch, the track workflow) write a photo: WritePhotoEdit,
// unless a test put a recorder in its place.
//
// Threads: any; replace the writer only while nothing writes.

#include <cstdint>
#include <functional>
#include <string>

#include "import/photo_edit.h"

using PhotoWriter = std::function<PhotoEditResult(const std::string& path, const PhotoEdit& edit,
                                                  std::int64_t catalogueId, bool isDuplicate)>;

PhotoEditResult WriteEditedPhoto(const std::string& path, const PhotoEdit& edit,
                                 std::int64_t catalogueId, bool isDuplicate);

// An empty writer restores WritePhotoEdit.
void ReplacePhotoWriter(PhotoWriter writer);
