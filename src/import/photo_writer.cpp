#include "import/photo_writer.h"

PhotoWriter RoutedPhotoWriter(RegionRoute regions) {
    return [regions](const std::string& path, const PhotoEdit& edit, std::int64_t catalogueId,
                     bool isDuplicate) {
        return WritePhotoEdit(path, edit, catalogueId, isDuplicate, regions);
    };
}
