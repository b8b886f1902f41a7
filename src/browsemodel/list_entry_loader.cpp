#include "browsemodel/list_entry_loader.h"

#include <vector>

#include "browsemodel/letterbox.h"
#include "browsemodel/photo_list.h"
#include "browsemodel/raster_qimage.h"
#include "catalogue/list_entry_row.h"
#include "image/raster_image.h"
#include "metadata/display_thumbnail.h"
#include "platform/text_codec.h"

namespace {

// Catalogue UTF-8 into a field of the entry, cut to the field's capacity the
// way the fixed fields of a record are.
std::string Bounded(const std::string& utf8, std::size_t capacity) {
    return utf8.substr(0, Utf8PrefixLength(utf8, capacity - 1));
}

}  // namespace

bool LoadListEntry(Library& library, const PhotoRef& photo, PhotoListEntry& entry,
                   bool autoOrient) {
    const std::optional<ListEntryRow> row = ReadListEntryRow(library, photo);
    if (!row) return false;
    entry.ref = photo;
    entry.name = Bounded(row->name, kEntryNameCapacity);
    entry.fullPath = Bounded(row->fullPath, kEntryFullPathCapacity);
    entry.width = row->width;
    entry.height = row->height;
    entry.keywords = Bounded(row->keywords, kEntryKeywordsCapacity);
    entry.orientation = Bounded(row->orientation, kEntryOrientationCapacity);

    // Decoding runs outside the catalogue lock (the read has let it go) so
    // that workers are not held up by the UI thread's JPEG work.
    RasterImage image;
    const std::vector<std::uint8_t>& blob = row->thumbnail;
    if (blob.empty() || !DecodeDisplayThumbnail(blob.data(), blob.size(), entry.width, entry.height,
                                                entry.orientation, autoOrient, image)) {
        entry.thumbnail = QImage();
        return false;
    }
    entry.letterboxed = IsLetterboxed(image);
    entry.bars = entry.letterboxed ? MeasureLetterboxBars(image) : LetterboxBars{};
    entry.thumbnail = ToQImage(image);
    return !entry.thumbnail.isNull();
}
