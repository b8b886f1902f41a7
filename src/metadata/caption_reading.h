#pragma once
// Collecting a file's caption forms and taking the record's captions from
// them (this folder only: it reaches the libexif data).

#include <libexif/exif-data.h>

#include "metadata/caption_forms.h"
#include "metadata/jpeg_file_reader.h"
#include "record/photo_record.h"

// Every form of every caption field the file holds: the EXIF tags (exif may
// be null), the main XMP packet and the IPTC record of head.
CaptionForms CollectCaptionForms(ExifData* exif, const JpegHead& head);

// Fills the caption fields that the Windows XP tags left empty from the
// other forms, and adds the keywords the XP tag lacks. A file whose XP
// tags hold everything keeps the record exactly as they gave it.
void ApplyCaptionForms(const CaptionForms& forms, PhotoRecord& record);

// The file's keywords text however long: the XP tag's own text when the
// other forms add nothing to it, else all keywords joined with ";".
// nullopt when the file holds no keywords in any form and no XP tag.
std::optional<std::string> WholeKeywordText(ExifData* exif, const CaptionForms& forms);
