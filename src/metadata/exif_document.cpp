#include "metadata/exif_document.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

bool HasAnyEntry(const ExifData* data) {
    for (int ifd = 0; ifd < EXIF_IFD_COUNT; ++ifd)
        if (data->ifd[ifd] && data->ifd[ifd]->count > 0) return true;
    return false;
}

}  // namespace

std::unique_ptr<ExifDocument> ExifDocument::Load(const std::uint8_t* payload, std::size_t length) {
    if (!payload || length == 0 || length > std::numeric_limits<unsigned int>::max())
        return nullptr;
    ExifData* data = exif_data_new();
    if (!data) return nullptr;
    std::unique_ptr<ExifDocument> document(new ExifDocument(data));
    exif_data_load_data(data, payload, static_cast<unsigned int>(length));
    if (!HasAnyEntry(data) && !document->HasThumbnail()) return nullptr;
    return document;
}

std::unique_ptr<ExifDocument> ExifDocument::CreateEmpty() {
    ExifData* data = exif_data_new();
    if (!data) return nullptr;
    exif_data_set_option(data, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_set_data_type(data, EXIF_DATA_TYPE_COMPRESSED);
    exif_data_set_byte_order(data, EXIF_BYTE_ORDER_INTEL);
    exif_data_fix(data);
    return std::unique_ptr<ExifDocument>(new ExifDocument(data));
}

ExifDocument::~ExifDocument() {
    exif_data_unref(data_);
}

bool ExifDocument::HasThumbnail() const {
    return data_->data != nullptr && data_->size != 0;
}

std::span<const std::uint8_t> ExifDocument::Thumbnail() const {
    if (!HasThumbnail()) return {};
    return {data_->data, data_->size};
}

bool ExifDocument::SetThumbnail(std::span<const std::uint8_t> bytes) {
    if (bytes.size() > std::numeric_limits<unsigned int>::max()) return false;
    unsigned char* copy = nullptr;
    if (!bytes.empty()) {
        // ExifData frees its thumbnail through its default allocator, which is
        // the C heap.
        copy = static_cast<unsigned char*>(std::malloc(bytes.size()));
        if (!copy) return false;
        std::memcpy(copy, bytes.data(), bytes.size());
    }
    std::free(data_->data);
    data_->data = copy;
    data_->size = static_cast<unsigned int>(bytes.size());
    return true;
}

void ExifDocument::SetIntelByteOrder() {
    exif_data_set_byte_order(data_, EXIF_BYTE_ORDER_INTEL);
}
