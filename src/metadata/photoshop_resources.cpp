#include "metadata/photoshop_resources.h"

#include <cstring>

namespace {

// Photoshop writes "8BIM"; older tools wrote these, and exiftool reads them all.
bool IsSignature(const std::uint8_t* bytes) {
    static const char* const kSignatures[] = {"8BIM", "PHUT", "DCSR", "AgHg", "MeSa"};
    for (const char* signature : kSignatures)
        if (std::memcmp(bytes, signature, 4) == 0) return true;
    return false;
}

std::uint32_t Big32(const std::uint8_t* bytes) {
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
           std::uint32_t{bytes[2]} << 8 | bytes[3];
}

// Some writers pad the stream's end with zeros.
bool OnlyPadding(std::span<const std::uint8_t> rest) {
    for (std::uint8_t byte : rest)
        if (byte != 0) return false;
    return true;
}

void AppendBlock(std::vector<std::uint8_t>& out, std::uint16_t id,
                 std::span<const std::uint8_t> data) {
    const auto size = static_cast<std::uint32_t>(data.size());
    const std::uint8_t head[] = {'8',
                                 'B',
                                 'I',
                                 'M',
                                 static_cast<std::uint8_t>(id >> 8),
                                 static_cast<std::uint8_t>(id),
                                 0,
                                 0,  // empty name, padded to even
                                 static_cast<std::uint8_t>(size >> 24),
                                 static_cast<std::uint8_t>(size >> 16),
                                 static_cast<std::uint8_t>(size >> 8),
                                 static_cast<std::uint8_t>(size)};
    out.insert(out.end(), std::begin(head), std::end(head));
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() % 2) out.push_back(0);
}

}  // namespace

std::optional<std::vector<PhotoshopResource>> ParsePhotoshopResources(
    std::span<const std::uint8_t> stream) {
    std::vector<PhotoshopResource> resources;
    std::size_t pos = 0;
    while (!OnlyPadding(stream.subspan(pos))) {
        PhotoshopResource block;
        block.start = pos;
        if (stream.size() - pos < 7 || !IsSignature(&stream[pos])) return std::nullopt;
        block.id = static_cast<std::uint16_t>(stream[pos + 4] << 8 | stream[pos + 5]);
        // The length byte and the name, padded to an even length.
        const std::size_t nameField = (std::size_t{stream[pos + 6]} + 2) & ~std::size_t{1};
        if (stream.size() - pos - 6 < nameField + 4) return std::nullopt;
        pos += 6 + nameField;
        block.dataSize = Big32(&stream[pos]);
        block.dataStart = pos + 4;
        if (block.dataSize > stream.size() - block.dataStart) return std::nullopt;
        pos = block.dataStart + block.dataSize;
        if (block.dataSize % 2 && pos < stream.size()) ++pos;
        block.end = pos;
        resources.push_back(block);
    }
    return resources;
}

const PhotoshopResource* FindResource(const std::vector<PhotoshopResource>& resources,
                                      std::uint16_t id) {
    for (const PhotoshopResource& resource : resources)
        if (resource.id == id) return &resource;
    return nullptr;
}

std::vector<std::uint8_t> ReplaceResource(std::span<const std::uint8_t> stream,
                                          const std::vector<PhotoshopResource>& resources,
                                          std::uint16_t id, std::span<const std::uint8_t> data) {
    const PhotoshopResource* old = FindResource(resources, id);
    std::vector<std::uint8_t> out;
    if (!old) {
        const std::size_t used = resources.empty() ? 0 : resources.back().end;
        out.assign(stream.begin(), stream.begin() + used);
        AppendBlock(out, id, data);
        return out;
    }
    // The block keeps its signature and name; its size and data are new.
    out.assign(stream.begin(), stream.begin() + old->dataStart - 4);
    const auto size = static_cast<std::uint32_t>(data.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(size >> shift));
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() % 2) out.push_back(0);
    out.insert(out.end(), stream.begin() + old->end, stream.end());
    return out;
}
