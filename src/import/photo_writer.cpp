#include "import/photo_writer.h"

PhotoWriter RoutedPhotoWriter(RegionRoute regions) {
    return [regions](const std::string& path, const PhotoEdit& edit, const PhotoRef& catalogued) {
        return WritePhotoEdit(path, edit, catalogued, regions);
    };
}
