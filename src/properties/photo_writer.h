#pragma once
// The one place where the properties dialog and its batch worker write a
// photo: WritePhotoEdit, unless a test put a recorder in its place.
//
// Threads: any (the batch worker writes through it too); replace it only
// while no dialog is open.

#include <cstdint>
#include <functional>
#include <string>

#include "import/photo_edit.h"

using PhotoWriter = std::function<PhotoEditResult(const std::string& path, const PhotoEdit& edit,
                                                  std::int64_t catalogueId, bool isDuplicate)>;

PhotoEditResult WriteDialogPhoto(const std::string& path, const PhotoEdit& edit,
                                 std::int64_t catalogueId, bool isDuplicate);

// An empty writer restores WritePhotoEdit.
void ReplacePhotoWriter(PhotoWriter writer);
