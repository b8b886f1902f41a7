#pragma once
// RewriteJpegExif with its file operations given, so that tests can make
// each step of the replace fail (this folder and its tests only).

#include <string>

#include "metadata/exif_writer.h"
#include "platform/file_replace.h"

bool RewriteJpegExifWith(MetadataReader& reader, const std::string& destination,
                         RewriteFailure* why, const FileOperations& ops);

// PrepareRewrite with its file operations given; flush flushes the new file
// at once (a single rewrite) instead of leaving it to FlushPreparedRewrites.
bool PrepareRewriteWith(MetadataReader& reader, const std::string& destination, bool flush,
                        PreparedRewrite& prepared, RewriteFailure* why, const FileOperations& ops);
bool CompleteRewriteWith(PreparedRewrite& prepared, bool flushFolder, RewriteFailure* why,
                         const FileOperations& ops);
