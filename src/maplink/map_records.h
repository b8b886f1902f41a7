#pragma once
// The fixed-layout records exchanged with the companion map application,
// packed and unpacked at their exact little-endian offsets.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Message codes; the same code is used for a request and its answer.
enum MapLinkCode : std::uint16_t {
    kCodeHandshake = 20000,
    kCodePickPosition = 20001,
    kCodeRegionLookup = 20003,
    kCodeShowPhotos = 20004,  // from the companion: photos selected on the map
    kCodeTrackPositions = 20005,
};

inline constexpr std::size_t kRegionLookupBlockSize = 1056;
inline constexpr std::size_t kMapPhotoRecordSize = 40;
inline constexpr std::size_t kPickedPositionMinSize = 16;
inline constexpr int kRegionNamePlaces = 8;
inline constexpr std::size_t kRegionNamePlaceSize = 128;
inline constexpr std::int32_t kRegionRequestKind = 1;
inline constexpr std::int32_t kRegionNoNames = -2;  // "no names will come"
inline constexpr std::int32_t kMapPhotoSelectionKind = 2;

// Request and reply of a region lookup. names holds the raw places: each is
// NUL-terminated UTF-8 unless a hostile sender filled all 128 bytes.
struct RegionLookupBlock {
    double latitude = 0;
    double longitude = 0;
    std::int32_t requestKind = kRegionRequestKind;
    std::int32_t nameCount = 0;
    std::array<std::array<char, kRegionNamePlaceSize>, kRegionNamePlaces> names{};

    // Place i as text: up to its first NUL, at most 128 bytes.
    std::string NameAt(int place) const;
    // Writes up to 128 bytes of name into place i, NUL-padded.
    void SetNameAt(int place, const std::string& name);
};

struct MapPhotoRecord {
    std::int64_t idPic = 0;
    std::int32_t dwDateTime = 0;  // seconds since 1970; only in track requests
    double latitude = 0;          // 0 when absent
    double longitude = 0;
    std::int32_t kind = 0;  // 0 in requests, 2 in the companion's selection
};

struct PickedPosition {
    double latitude = 0;
    double longitude = 0;
};

// The handshake's payload: "RezidaDoz" as UTF-16LE with its terminating NUL
// (20 bytes), the class the companion answers to.
std::vector<std::uint8_t> PackHandshakeText();

std::vector<std::uint8_t> PackRegionLookupBlock(const RegionLookupBlock& block);
// Nothing when fewer than kRegionLookupBlockSize bytes are given.
std::optional<RegionLookupBlock> UnpackRegionLookupBlock(const std::uint8_t* data,
                                                         std::size_t size);

std::vector<std::uint8_t> PackMapPhotoRecords(const std::vector<MapPhotoRecord>& records);
// size / 40 records; a trailing partial record is ignored.
std::vector<MapPhotoRecord> UnpackMapPhotoRecords(const std::uint8_t* data, std::size_t size);

std::vector<std::uint8_t> PackPickedPosition(const PickedPosition& position);
// Nothing when fewer than 16 bytes are given; bytes beyond 16 are ignored.
std::optional<PickedPosition> UnpackPickedPosition(const std::uint8_t* data, std::size_t size);
