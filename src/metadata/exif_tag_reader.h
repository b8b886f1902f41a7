#pragma once
// Fills a record's tag fields from parsed EXIF data. Each tag is read
// independently; a missing tag or unusable text leaves its field alone.

#include <libexif/exif-data.h>

#include "record/photo_record.h"

void ReadExifTags(ExifData* data, PhotoRecord& record);
