#pragma once
// The photo id: the first eight bytes of the MD5 digest of the thumbnail's
// JPEG bytes, read little-endian, top bit cleared, so it is never negative.
// Byte-identical thumbnails give the same id: that is what makes a duplicate.

#include <cstddef>
#include <cstdint>

std::int64_t ComputePhotoId(const std::uint8_t* thumbnail, std::size_t length);
