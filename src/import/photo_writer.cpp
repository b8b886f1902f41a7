#include "import/photo_writer.h"

namespace {

PhotoWriter& Writer() {
    static PhotoWriter writer;
    return writer;
}

}  // namespace

PhotoEditResult WriteEditedPhoto(const std::string& path, const PhotoEdit& edit,
                                 std::int64_t catalogueId, bool isDuplicate) {
    const PhotoWriter& writer = Writer();
    return writer ? writer(path, edit, catalogueId, isDuplicate)
                  : WritePhotoEdit(path, edit, catalogueId, isDuplicate);
}

void ReplacePhotoWriter(PhotoWriter writer) {
    Writer() = std::move(writer);
}
