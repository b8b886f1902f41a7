#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_entries.h"
#include "fuzz_scratch.h"
#include "metadata/exif_writer.h"
#include "metadata/metadata_reader.h"

namespace {

constexpr char kKeywords[] = "家人;旅游";
constexpr char16_t kSubject[] = u"主题";
constexpr char kSubjectUtf8[] = "主题";
constexpr float kLatitude = -33.5f, kLongitude = 151.25f;
constexpr int kAltitude = -12;
constexpr int kShotTime = 1337000000;

// Why the file read again does not hold what was written; null when it does.
const char* Mismatch(const std::string& path) {
    MetadataReader again;
    if (!ReadPhotoFile(again, path, false)) return "the rewritten file does not read";
    const PhotoRecord& r = again.Record();
    if (std::strcmp(r.strXpSubject, kSubjectUtf8) != 0) return "subject";
    if (std::strcmp(r.strXpKeyword, kKeywords) != 0) return "keywords";
    if (std::fabs(r.fGPSLatitude - kLatitude) > 1e-4f) return "latitude";
    if (std::fabs(r.fGPSLongitude - kLongitude) > 1e-4f) return "longitude";
    if (r.nGPSAlititude != kAltitude) return "altitude";
    if (r.dwDateTime != kShotTime) return "shot time";
    return nullptr;
}

}  // namespace

// Reads the bytes as a photo, sets a text tag, a keyword list, a position
// and a shot time, and rewrites the file in place, as an edit does. A
// rewrite that reports success must read back with every edited tag as
// written; otherwise the entry aborts, which the fuzzer and the replay
// suite report.
int FuzzExifRewrite(const std::uint8_t* data, std::size_t size) {
    static const std::string path = ScratchPath("rewrite.jpg");
    if (!WriteScratchFile(path, data, size)) return 0;
    MetadataReader reader;
    if (!ReadPhotoFile(reader, path, false)) return 0;
    bool edited = SetExifSubject(reader, kSubject);
    edited = SetExifKeywords(reader, kKeywords) && edited;
    edited = SetExifPosition(reader, kLatitude, kLongitude, kAltitude) && edited;
    edited = SetExifShotTime(reader, kShotTime) && edited;
    if (!RewriteJpegExif(reader)) return 0;
    if (const char* what = edited ? Mismatch(path) : nullptr) {
        std::fprintf(stderr, "FuzzExifRewrite: a successful rewrite reads back wrong: %s\n", what);
        std::abort();
    }
    return 0;
}
