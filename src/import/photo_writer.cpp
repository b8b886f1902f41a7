#include "import/photo_writer.h"

PhotoWriter RoutedPhotoWriter(Library& library, RegionRoute regions) {
    return [&library, regions](const std::string& path, const PhotoEdit& edit,
                               const PhotoRef& catalogued) {
        return WritePhotoEdit(library, path, edit, catalogued, regions);
    };
}
