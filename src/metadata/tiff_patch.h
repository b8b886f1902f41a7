#pragma once
// Changing entries of a TIFF structure (the body of an EXIF segment) without
// moving any byte that is already there. Changed values and copies of the
// IFDs that gain entries are appended at the end, and the pointers that lead
// to them (header, IFD0's next-IFD link, the EXIF/GPS/interoperability
// pointer entries) are redirected. Everything else, maker notes and tags
// unknown to any library included, keeps its bytes and offsets.
//
// The data is hostile: every offset and count is checked, and an IFD whose
// pointer leads outside the data counts as absent (it is then created anew).

#include <cstdint>
#include <span>
#include <vector>

// The IFDs in libexif's numbering (ExifIfd).
enum class TiffIfd { Ifd0 = 0, Ifd1 = 1, Exif = 2, Gps = 3, Interop = 4 };

// One entry to set: the value bytes are little-endian whatever the file's
// byte order; the patch converts them per component.
struct TiffEntryValue {
    TiffIfd ifd = TiffIfd::Ifd0;
    std::uint16_t tag = 0;
    std::uint16_t type = 0;  // TIFF field type (1 BYTE ... 12 DOUBLE)
    std::uint32_t count = 0;
    std::vector<std::uint8_t> littleEndian;
};

// Whether the IFDs of tiff point at bytes beyond its end (an IFD table,
// a value or the thumbnail): data cut short, as in the first of several
// segments that carry one EXIF block. False for data without a TIFF header.
bool TiffReachesPastItsEnd(std::span<const std::uint8_t> tiff);

// The header of an empty little-endian TIFF (no IFD at all), the start for a
// file that had no EXIF data.
std::vector<std::uint8_t> EmptyTiff();

// Applies values to tiff. When thumbnail is not empty and tiff carries no
// usable thumbnail, the bytes are appended and IFD1 points at them. False
// when tiff has no valid header or would outgrow 32-bit offsets; tiff may
// then be partly changed and must be dropped.
bool PatchTiff(std::vector<std::uint8_t>& tiff, std::span<const TiffEntryValue> values,
               std::span<const std::uint8_t> thumbnail);
