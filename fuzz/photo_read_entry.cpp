#include <string>

#include "fuzz_entries.h"
#include "fuzz_scratch.h"
#include "image/raster_image.h"
#include "metadata/display_thumbnail.h"
#include "metadata/metadata_reader.h"

int FuzzPhotoRead(const std::uint8_t* data, std::size_t size) {
    static const std::string path = ScratchPath("photo.jpg");
    if (!WriteScratchFile(path, data, size)) return 0;
    MetadataReader reader;
    if (!ReadPhotoFile(reader, path, true)) return 0;
    const PhotoRecord& record = reader.Record();
    const auto thumbnail = reader.Thumbnail();
    RasterImage shown;
    DecodeDisplayThumbnail(thumbnail.data(), thumbnail.size(), record.nWidth, record.nHeight,
                           record.strOrientation, true, shown);
    return 0;
}
