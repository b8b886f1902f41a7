#include "import/catalogue_photo_read.h"

#include "catalogue/photo_id.h"
#include "metadata/metadata_reader.h"
#include "platform/text_codec.h"

namespace {

template <std::size_t N>
void ConvertField(char (&field)[N]) {
    std::string utf8 = CodePageToUtf8(field);
    SetField(field, utf8);
}

// Converts the record's text fields from the code page to UTF-8 in place,
// each within its field's capacity. False when the full path does not fit.
bool ConvertRecordToUtf8(PhotoRecord& r) {
    if (CodePageToUtf8(r.strFullPath).size() >= sizeof r.strFullPath) return false;
    ConvertField(r.strFullPath);
    ConvertField(r.strMake);
    ConvertField(r.strModel);
    ConvertField(r.strName);
    ConvertField(r.strPath);
    ConvertField(r.strXpAuthor);
    r.strXpComent = CodePageToUtf8(r.strXpComent);
    ConvertField(r.strXpKeyword);
    ConvertField(r.strXpSubject);
    ConvertField(r.strXpTitle);
    ConvertField(r.strOrientation);
    return true;
}

}  // namespace

std::optional<CataloguePhoto> ReadCataloguePhoto(const std::string& path) {
    MetadataReader reader;
    if (!ReadPhotoFile(reader, path, true) || !ConvertRecordToUtf8(reader.Record()))
        return std::nullopt;
    CataloguePhoto photo;
    photo.record = reader.Record();
    auto thumbnail = reader.Thumbnail();
    photo.thumbnail.assign(thumbnail.begin(), thumbnail.end());
    photo.id = ComputePhotoId(photo.thumbnail.data(), photo.thumbnail.size());
    return photo;
}
