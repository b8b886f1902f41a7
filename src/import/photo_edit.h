#pragma once
// Writing edited metadata into one photo file and bringing its catalogue
// rows along: the common core of the properties dialog, its batch worker and
// `darazoz-cli edit`.
//
// Threads: any thread; one call works on its own reader. The catalogue is
// reached through its own locking.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "import/photo_region.h"
#include "metadata/exif_writer.h"
#include "record/photo_ref.h"

struct GpsPosition {
    float latitude = 0;         // degrees, negative south
    float longitude = 0;        // degrees, negative west
    std::int32_t altitude = 0;  // whole metres, negative below sea level
};

// The fields to write; an empty optional leaves the field alone. Texts are
// UTF-8. A text equal to what the file already holds is not written again
// (keywords: the same keywords in any order and form; the comment is written
// whenever the file has none).
struct PhotoEdit {
    std::optional<std::string> subject;
    std::optional<std::string> keywords;
    std::optional<std::string> author;
    std::optional<std::string> comment;
    std::optional<std::string> make;
    std::optional<std::string> model;
    std::optional<std::int32_t> shotTime;  // seconds since 1970 UTC
    std::optional<GpsPosition> position;
    // A new file name in the photo's folder; the title tag gets the same
    // text. Equal to the current name means no rename.
    std::optional<std::string> newName;
};

enum class PhotoEditOutcome {
    Written,        // file rewritten and catalogue rows refreshed (or not catalogued)
    Unreadable,     // the file could not be read as a photo
    InvalidValue,   // a field could not be set (empty title/name, unusable name)
    RewriteFailed,  // see rewriteFailure; the file is unchanged
    RefreshFailed,  // the file was written but could not be read back into the catalogue
};

struct PhotoEditResult {
    PhotoEditOutcome outcome = PhotoEditOutcome::Unreadable;
    RewriteFailure rewriteFailure = RewriteFailure::None;
    std::string finalPath;     // the photo's path after the edit (changes with a rename)
    std::int64_t photoId = 0;  // the id of the refreshed rows, 0 when not catalogued
    // The file's XMP or IPTC could not be parsed: they were left as they
    // were and the captions went into the Windows XP tags only.
    bool captionsInExifOnly = false;
    bool Succeeded() const { return outcome == PhotoEditOutcome::Written; }
};

// Reads the photo at path, applies edit, rewrites the file crash-safely and,
// when catalogued names a photo (id non-zero), replaces its catalogue rows
// by rows read again from the written file.
// A written position takes the photo's region names through regions.
PhotoEditResult WritePhotoEdit(Library& library, const std::string& path, const PhotoEdit& edit,
                               const PhotoRef& catalogued, const RegionRoute& regions);

struct PhotoEditTarget {
    std::string path;
    PhotoRef catalogued;  // id 0: not catalogued
};

// WritePhotoEdit for many photos, flushing the disk once per group of files
// instead of once per file (the command-line edit over a folder of photos).
// Each photo is still replaced only after its new content is on disk.
// Results come in the order of targets.
std::vector<PhotoEditResult> WritePhotoEdits(Library& library,
                                             std::span<const PhotoEditTarget> targets,
                                             const PhotoEdit& edit, const RegionRoute& regions);
