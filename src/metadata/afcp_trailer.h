#pragma once
// The AFCP trailer some programs (IPTC tools) append after a JPEG's image
// data: a header "AXS!" (big-endian) or "AXS*" (little-endian) with a
// directory of entries {tag, size, offset}, their data, and a closing
// 12-byte record {signature, offset of the header, checksum} at the very end
// of the file. Every offset is absolute, so it goes wrong as soon as the
// bytes before it change length; this keeps it valid across an EXIF rewrite.
//
// Threads: any (works on what it is given).

#include <cstdint>
#include <optional>
#include <vector>

struct AfcpTrailer {
    std::uint64_t start = 0;          // file offset of the "AXS" header
    std::vector<std::uint8_t> bytes;  // from the header to the end of the file
};

enum class AfcpCheck {
    None,      // the file does not end in an AFCP record
    Found,     // trailer holds a consistent trailer
    Unusable,  // an AFCP record whose header or entries do not add up
};

// Trailers larger than this are not loaded (treated as Unusable).
inline constexpr std::uint64_t kMaxAfcpTrailerBytes = 64ull << 20;

// Looks at the last bytes of the open file fd of size bytes. A trailer must
// start at or after notBefore (the end of the segments the rewrite replaces).
AfcpCheck ReadAfcpTrailer(int fd, std::uint64_t size, std::uint64_t notBefore,
                          AfcpTrailer& trailer);

// The bytes before the trailer change length: every absolute offset in
// bytes at or after from moves by delta, offsets before keptEnd stay. False,
// with bytes unchanged, when an offset points into [keptEnd, from) (the
// bytes that are replaced) or would leave 32 bits. start stays the old one.
bool ShiftAfcpOffsets(AfcpTrailer& trailer, std::uint64_t keptEnd, std::uint64_t from,
                      std::int64_t delta);
