#pragma once
// Fills a record's tag fields from parsed EXIF data. Each tag is read
// independently; a missing tag or unusable text leaves its field alone.

#include <libexif/exif-data.h>

#include <optional>
#include <string>

#include "record/photo_record.h"

void ReadExifTags(ExifData* data, PhotoRecord& record);

// The whole UTF-8 text of a Windows XP tag, however long; nullopt without
// the tag.
std::optional<std::string> WholeXpText(ExifData* data, ExifTag tag);
