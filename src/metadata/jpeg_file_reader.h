#pragma once
// Reading the parts of a JPEG file the metadata reader needs, without
// loading the whole file when the EXIF segment is enough.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Largest file the reader loads whole for decoding; bigger files are treated
// as undecodable rather than exhausting memory.
inline constexpr std::int64_t kMaxDecodedFileBytes = std::int64_t{1} << 30;

// Walks the JPEG segments from the start of the file and copies the payload
// of the first APP1 segment that starts with "Exif\0\0" (at most 65533 bytes,
// the segment limit). Only the segment headers up to the first scan are read.
// False when the file cannot be read, is not a JPEG, or has no such segment.
bool ReadExifSegment(const std::string& utf8Path, std::vector<std::uint8_t>& payload);

// The whole file, for decoding. False when it cannot be read or is larger
// than kMaxDecodedFileBytes.
bool ReadFileBytes(const std::string& utf8Path, std::vector<std::uint8_t>& bytes);
