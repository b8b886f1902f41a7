#pragma once
// How the windows and the workers (the properties dialog, its batch, the
// track workflow) write a photo: they are handed a writer, normally
// RoutedPhotoWriter on the program's region route, or a recorder from a
// test.

#include <cstdint>
#include <functional>
#include <string>

#include "import/photo_edit.h"

using PhotoWriter = std::function<PhotoEditResult(const std::string& path, const PhotoEdit& edit,
                                                  const PhotoRef& catalogued)>;

// WritePhotoEdit taking the written photos' region names through regions
// (whose source and queue must outlive the writer).
PhotoWriter RoutedPhotoWriter(Library& library, RegionRoute regions);
