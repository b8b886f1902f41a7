#pragma once
// Editing a loaded photo's EXIF data and writing it back into the file.
//
// The setters change only the reader (its EXIF data and record); nothing
// reaches the file until RewriteJpegExif. Each setter first makes sure the
// reader has EXIF data with a thumbnail, and fails (reader unchanged) when
// that is impossible.
//
// Threads: a reader belongs to one thread at a time; rewrites of different
// files may run at once (each writes its own temporary file beside its photo).

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/file_replace.h"

class MetadataReader;

bool SetExifMake(MetadataReader& reader, std::string_view text);
bool SetExifModel(MetadataReader& reader, std::string_view text);
// UTF-8 text; the record keeps the UTF-8 text itself, and nbKeyword becomes 1
// when the text holds a keyword (0 for "" or ";").
bool SetExifKeywords(MetadataReader& reader, std::string_view utf8);
// An empty text does nothing and returns false: these tags are not cleared.
bool SetExifSubject(MetadataReader& reader, std::u16string_view text);
bool SetExifAuthor(MetadataReader& reader, std::u16string_view text);
bool SetExifTitle(MetadataReader& reader, std::u16string_view text);
bool SetExifComment(MetadataReader& reader, std::u16string_view text);
// Seconds since 1970 UTC, written as the local wall-clock time.
bool SetExifShotTime(MetadataReader& reader, std::int32_t time);
// Degrees (negative south and west) and whole metres (negative below sea level).
bool SetExifPosition(MetadataReader& reader, float latitude, float longitude,
                     std::int32_t altitude);

// Why a rewrite failed; the file is unchanged in every case.
enum class RewriteFailure {
    None,
    NotLoaded,            // the reader holds no photo
    DestinationOccupied,  // a non-empty file exists at the new name
    Unreadable,           // the photo could not be read (gone, not a JPEG, no memory)
    SegmentTooLarge,      // the EXIF data would exceed one 64 KiB segment
    WriteFailed,          // the new file could not be written or flushed (disk full, no access)
    ReplaceFailed,        // the new file could not be renamed into place
    TrailerOffsets,       // an AFCP trailer after the image whose offsets cannot be adjusted
    WouldNotReadBack,     // the file's damaged EXIF data would not read back as edited
};

// Rewrites the reader's file with the reader's EXIF data. With an empty
// destination the file is replaced in place; otherwise the result is written
// to destination and the reader's file is removed (a rename with new
// metadata). Crash-safe: the new content goes to a temporary file in the
// destination's folder, is flushed, and is renamed into place; until that
// rename the original is untouched. why (optional) receives the reason.
bool RewriteJpegExif(MetadataReader& reader, const std::string& destination = {},
                     RewriteFailure* why = nullptr);

// Rewrites of many files with one disk flush per group (darazoz-cli edit):
// PrepareRewrite writes the new file beside the photo without flushing it,
// FlushPreparedRewrites flushes a group at once, CompleteRewrite puts each
// in place, and FlushRewrittenFolders makes the renames durable. A photo is
// still replaced only after its new content is on disk; until then a failure
// or a crash leaves it as it was.
struct PreparedRewrite {
    PendingReplace replace;
    std::string source;   // the photo's file (UTF-8)
    bool moving = false;  // the result goes to another name
};

bool PrepareRewrite(MetadataReader& reader, const std::string& destination,
                    PreparedRewrite& prepared, RewriteFailure* why = nullptr);
// False when the flush fails; the caller then abandons every rewrite of the group.
bool FlushPreparedRewrites(std::span<PreparedRewrite* const> group);
bool CompleteRewrite(PreparedRewrite& prepared, RewriteFailure* why = nullptr);
void AbandonRewrite(PreparedRewrite& prepared);
void FlushRewrittenFolders(std::span<PreparedRewrite* const> group);
