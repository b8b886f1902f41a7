#include <string>

#include "fuzz_entries.h"
#include "fuzz_scratch.h"
#include "metadata/exif_writer.h"
#include "metadata/metadata_reader.h"

// Reads the bytes as a photo, sets a text tag, a keyword list, a position
// and a shot time, and rewrites the file in place, as an edit does.
int FuzzExifRewrite(const std::uint8_t* data, std::size_t size) {
    static const std::string path = ScratchPath("rewrite.jpg");
    if (!WriteScratchFile(path, data, size)) return 0;
    MetadataReader reader;
    if (!ReadPhotoFile(reader, path, false)) return 0;
    SetExifSubject(reader, u"主题");
    SetExifKeywords(reader, "家人;旅游");
    SetExifPosition(reader, -33.5f, 151.25f, -12);
    SetExifShotTime(reader, 1337000000);
    RewriteJpegExif(reader);
    // The rewritten file must read again as a photo would.
    MetadataReader again;
    ReadPhotoFile(again, path, false);
    return 0;
}
