#include "view/list_entry_loader.h"

#include <vector>

#include "catalogue/catalogue_rows.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/sql_statement.h"
#include "image/raster_image.h"
#include "metadata/display_thumbnail.h"
#include "platform/text_codec.h"
#include "view/letterbox.h"
#include "view/photo_list.h"
#include "view/raster_qimage.h"

namespace {

constexpr const char* kSelectMainEntry =
    "select strName,strFullPath,nWidth,nHeight,bJpgThumbData,strXpKeyword,strOrientation "
    "from tJpgMsg where idPic = %lld";
constexpr const char* kSelectDuplicateEntry =
    "select strName,strFullPath,nWidth,nHeight,bJpgThumbData,strXpKeyword,strOrientation "
    "from tReJpgMsg where idPic = %lld";

// Catalogue UTF-8 into a field of the entry, cut to the field's capacity the
// way the fixed fields of a record are.
std::string Bounded(const std::string& utf8, std::size_t capacity) {
    return utf8.substr(0, Utf8PrefixLength(utf8, capacity - 1));
}

}  // namespace

bool LoadThumbnail(std::int64_t idPic, bool duplicate, bool autoOrient, PhotoListEntry& entry) {
    bool found = false;
    std::vector<std::uint8_t> blob;
    {
        CatalogueSession session;
        if (!session.ok()) return false;
        const std::string statement =
            FormatStatement(duplicate ? kSelectDuplicateEntry : kSelectMainEntry, idPic);
        ForEachRow(session, statement, [&](const CatalogueRow& row) {
            if (found) return;
            found = true;
            entry.name = Bounded(row.Text(0), kEntryNameCapacity);
            entry.fullPath = Bounded(row.Text(1), kEntryFullPathCapacity);
            entry.width = row.Int(2);
            entry.height = row.Int(3);
            const auto bytes = row.Blob(4);
            blob.assign(bytes.begin(), bytes.end());
            entry.keywords = Bounded(row.Text(5), kEntryKeywordsCapacity);
            entry.orientation = Bounded(row.Text(6), kEntryOrientationCapacity);
        });
    }
    if (!found) return false;
    if (duplicate) entry.fromDuplicates = true;

    // Decoding runs outside the catalogue lock so that workers are not held
    // up by the UI thread's JPEG work.
    RasterImage image;
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
