#pragma once
// Entry points of the fuzz targets. The libFuzzer executables and the
// regression suite that replays the inputs they found call the same
// functions, so a fixed fault stays fixed in the normal build too.
//
// Each entry takes one input and returns 0. A fault shows as a crash, a hang
// or a sanitizer report, never as a return value.

#include <cstddef>
#include <cstdint>

// The bytes as a JPEG file read into a MetadataReader with its thumbnail,
// which is then decoded for display.
int FuzzPhotoRead(const std::uint8_t* data, std::size_t size);
// The bytes decoded as JPEG (scaled, and full size when small), PNG and BMP.
int FuzzImageDecode(const std::uint8_t* data, std::size_t size);
// A request frame as it arrives on the link: the 32-byte header, then the
// data it announces, unpacked as the message's code says.
int FuzzLinkFrame(const std::uint8_t* data, std::size_t size);
// A request frame as the companion program receives it (after the album's
// handshake), handled by its protocol with the shipped region data.
int FuzzCompanionRequest(const std::uint8_t* data, std::size_t size);
// The bytes unpacked as each of the companion's records.
int FuzzMapRecords(const std::uint8_t* data, std::size_t size);
// The bytes as a photo whose EXIF data is edited and written back in place.
int FuzzExifRewrite(const std::uint8_t* data, std::size_t size);
// The bytes as the catalogue file of a fresh data folder, opened and read.
int FuzzCatalogueOpen(const std::uint8_t* data, std::size_t size);
// The bytes as positions (pairs of doubles, and pairs of 32-bit fractions of
// the globe) looked up in the shipped region data, and as one polygon of a
// damaged data file.
int FuzzRegionLookup(const std::uint8_t* data, std::size_t size);
// The bytes as a recorded track file (GPX, KML or NMEA), matched at its
// fixes when it reads; and as a stored segment's blob.
int FuzzTrackRead(const std::uint8_t* data, std::size_t size);
