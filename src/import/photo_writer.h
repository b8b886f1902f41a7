#pragma once
// How the windows and the workers (the properties dialog, its batch, the
// track workflow) write a photo: they are handed a writer, WritePhotoEdit
// unless their opener (a test) gives a recorder instead.

#include <cstdint>
#include <functional>
#include <string>

#include "import/photo_edit.h"

using PhotoWriter = std::function<PhotoEditResult(const std::string& path, const PhotoEdit& edit,
                                                  const PhotoRef& catalogued)>;
