#include "metadata/exif_entry_edit.h"

#include <cstdlib>

#include "metadata/exif_document.h"
#include "metadata/metadata_reader.h"
#include "metadata/thumbnail_maker.h"

bool PrepareExifForEdit(MetadataReader& reader) {
    if (!reader.IsLoaded()) return false;
    if (!reader.Exif()) {
        auto fresh = ExifDocument::CreateEmpty();
        if (!fresh) return false;
        reader.ReplaceExif(std::move(fresh));
    }
    return MakeThumbnail(reader).has_value();
}

ExifEntry* FindEntryInAnyIfd(ExifData* data, ExifTag tag) {
    return exif_data_get_entry(data, tag);
}

ExifEntry* CreateEntry(ExifData* data, ExifIfd ifd, ExifTag tag, ExifFormat format,
                       unsigned int size, unsigned long components) {
    // libexif frees entry data with its default allocator, the C heap.
    auto* buffer = static_cast<unsigned char*>(std::calloc(size > 0 ? size : 1, 1));
    if (!buffer) return nullptr;
    ExifEntry* entry = exif_entry_new();
    if (!entry) {
        std::free(buffer);
        return nullptr;
    }
    entry->tag = tag;
    entry->format = format;
    entry->components = components;
    entry->size = size;
    entry->data = buffer;
    exif_content_add_entry(data->ifd[ifd], entry);
    // The content holds its own reference; it refuses a second entry with
    // the same tag, and the entry then goes with this unref.
    const bool added = entry->parent != nullptr;
    exif_entry_unref(entry);
    return added ? entry : nullptr;
}

bool ResizeEntry(ExifEntry* entry, unsigned int size) {
    auto* buffer = static_cast<unsigned char*>(std::calloc(size > 0 ? size : 1, 1));
    if (!buffer) return false;
    std::free(entry->data);
    entry->data = buffer;
    entry->size = size;
    return true;
}

void MarkEdited(MetadataReader& reader, const ExifEntry* entry) {
    reader.MarkEdited(static_cast<int>(exif_content_get_ifd(entry->parent)), entry->tag);
}
