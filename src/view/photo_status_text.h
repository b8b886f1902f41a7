#pragma once
// The one-line summary of a photo shown in the first pane of the status bar.
// Any thread; takes the catalogue lock for the query.

#include <optional>
#include <string>

#include "record/photo_ref.h"

class Library;

// Builds the summary from the photo's catalogue row (the duplicate's for a
// duplicate): name, file size, shot date, pixel size, position (longitude
// first) and the non-empty tags. UTF-8. nullopt unless the query returns
// exactly one row, so that the status bar then keeps its text.
std::optional<std::string> ReadPhotoStatusText(Library& library, PhotoRef photo);
