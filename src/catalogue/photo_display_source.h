#pragma once
// What the viewer needs to decode one catalogued photo: its file, the pixel
// size recorded at import and the EXIF orientation text. Any thread; takes
// the catalogue lock for the one query.

#include <cstdint>
#include <optional>
#include <string>

#include "record/photo_ref.h"

class Library;
struct PhotoDisplaySource {
    std::string fullPath;    // UTF-8
    std::int32_t width = 0;  // nWidth, nHeight as recorded; 0 when unknown
    std::int32_t height = 0;
    std::string orientation;  // strOrientation, e.g. "Right-top"
};

// The photo's row; nullopt when there is no such row.
std::optional<PhotoDisplaySource> LoadPhotoDisplaySource(Library& library, const PhotoRef& photo);
