#pragma once
// RewriteJpegExif with its file operations given, so that tests can make
// each step of the replace fail (this folder and its tests only).

#include <string>

#include "metadata/exif_writer.h"
#include "metadata/file_replace.h"

bool RewriteJpegExifWith(MetadataReader& reader, const std::string& destination,
                         RewriteFailure* why, const FileOperations& ops);
