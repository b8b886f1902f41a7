#pragma once
// Fills a record's tag fields from parsed EXIF data. Each tag is read
// independently; a missing tag or unusable text leaves its field alone.

#include <libexif/exif-data.h>

#include <optional>
#include <string>

#include "record/photo_record.h"

void ReadExifTags(ExifData* data, PhotoRecord& record);

// Puts a keyword text (UTF-8) into the record: as many whole keywords as
// fit its field, and nbKeyword 1 when the text holds a keyword.
void StoreKeywordText(std::string text, PhotoRecord& record);

// The whole UTF-8 text of a Windows XP tag, however long; nullopt without
// the tag.
std::optional<std::string> WholeXpText(ExifData* data, ExifTag tag);
