#include "maplink/map_records.h"

#include <algorithm>
#include <cstring>

#include "maplink/link_message.h"
#include "maplink/little_endian.h"

namespace {
constexpr std::size_t kNamesOffset = 28;
}

std::string RegionLookupBlock::NameAt(int place) const {
    const auto& slot = names.at(static_cast<std::size_t>(place));
    const char* end = std::find(slot.begin(), slot.end(), '\0');
    return std::string(slot.data(), end);
}

void RegionLookupBlock::SetNameAt(int place, const std::string& name) {
    auto& slot = names.at(static_cast<std::size_t>(place));
    slot.fill('\0');
    std::memcpy(slot.data(), name.data(), std::min(name.size(), slot.size()));
}

std::vector<std::uint8_t> PackHandshakeText() {
    std::vector<std::uint8_t> text;
    for (const char* c = kAlbumLinkClass;; ++c) {
        text.push_back(static_cast<std::uint8_t>(*c));
        text.push_back(0);
        if (*c == '\0') break;
    }
    return text;
}

std::vector<std::uint8_t> PackRegionLookupBlock(const RegionLookupBlock& block) {
    std::vector<std::uint8_t> out(kRegionLookupBlockSize, 0);
    std::uint8_t* p = out.data();
    StoreLittleEndian(p + 0, block.latitude);
    StoreLittleEndian(p + 8, block.longitude);
    StoreLittleEndian(p + 16, block.requestKind);
    StoreLittleEndian(p + 24, block.nameCount);
    for (int i = 0; i < kRegionNamePlaces; ++i) {
        std::memcpy(p + kNamesOffset + i * kRegionNamePlaceSize, block.names[i].data(),
                    kRegionNamePlaceSize);
    }
    return out;
}

std::optional<RegionLookupBlock> UnpackRegionLookupBlock(const std::uint8_t* data,
                                                         std::size_t size) {
    if (!data || size < kRegionLookupBlockSize) return std::nullopt;
    RegionLookupBlock block;
    block.latitude = LoadLittleEndian<double>(data + 0);
    block.longitude = LoadLittleEndian<double>(data + 8);
    block.requestKind = LoadLittleEndian<std::int32_t>(data + 16);
    block.nameCount = LoadLittleEndian<std::int32_t>(data + 24);
    for (int i = 0; i < kRegionNamePlaces; ++i) {
        std::memcpy(block.names[i].data(), data + kNamesOffset + i * kRegionNamePlaceSize,
                    kRegionNamePlaceSize);
    }
    return block;
}

std::vector<std::uint8_t> PackMapPhotoRecords(const std::vector<MapPhotoRecord>& records) {
    std::vector<std::uint8_t> out(records.size() * kMapPhotoRecordSize, 0);
    std::uint8_t* p = out.data();
    for (const MapPhotoRecord& r : records) {
        StoreLittleEndian(p + 0, r.idPic);
        StoreLittleEndian(p + 8, r.dwDateTime);
        StoreLittleEndian(p + 16, r.latitude);
        StoreLittleEndian(p + 24, r.longitude);
        StoreLittleEndian(p + 32, r.kind);
        p += kMapPhotoRecordSize;
    }
    return out;
}

std::vector<MapPhotoRecord> UnpackMapPhotoRecords(const std::uint8_t* data, std::size_t size) {
    std::vector<MapPhotoRecord> records;
    if (!data) return records;
    records.reserve(size / kMapPhotoRecordSize);
    for (std::size_t at = 0; at + kMapPhotoRecordSize <= size; at += kMapPhotoRecordSize) {
        const std::uint8_t* p = data + at;
        MapPhotoRecord r;
        r.idPic = LoadLittleEndian<std::int64_t>(p + 0);
        r.dwDateTime = LoadLittleEndian<std::int32_t>(p + 8);
        r.latitude = LoadLittleEndian<double>(p + 16);
        r.longitude = LoadLittleEndian<double>(p + 24);
        r.kind = LoadLittleEndian<std::int32_t>(p + 32);
        records.push_back(r);
    }
    return records;
}

std::vector<std::uint8_t> PackPickedPosition(const PickedPosition& position) {
    std::vector<std::uint8_t> out(kPickedPositionMinSize);
    StoreLittleEndian(out.data() + 0, position.latitude);
    StoreLittleEndian(out.data() + 8, position.longitude);
    return out;
}

std::optional<PickedPosition> UnpackPickedPosition(const std::uint8_t* data, std::size_t size) {
    if (!data || size < kPickedPositionMinSize) return std::nullopt;
    return PickedPosition{LoadLittleEndian<double>(data + 0), LoadLittleEndian<double>(data + 8)};
}
