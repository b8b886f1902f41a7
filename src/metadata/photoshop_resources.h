#pragma once
// The image resource blocks of a Photoshop APP13 stream (its signature left
// out): each "8BIM", a 16-bit id, a padded Pascal name, a 32-bit size and
// the data padded to an even length. The IPTC record is resource 0x0404 and
// its MD5 digest resource 0x0425.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

inline constexpr std::uint16_t kIptcResource = 0x0404;
inline constexpr std::uint16_t kIptcDigestResource = 0x0425;

struct PhotoshopResource {
    std::uint16_t id = 0;
    std::size_t start = 0;  // of its signature
    std::size_t dataStart = 0;
    std::size_t dataSize = 0;
    std::size_t end = 0;  // after its padding
};

// Every block, in order. nullopt when a block is cut short or does not
// start with a known signature: such a stream is left as it is.
std::optional<std::vector<PhotoshopResource>> ParsePhotoshopResources(
    std::span<const std::uint8_t> stream);

const PhotoshopResource* FindResource(const std::vector<PhotoshopResource>& resources,
                                      std::uint16_t id);

// The stream with the data of resource id replaced, or a new block with that
// data (no name) appended when it has none. Every other block keeps its bytes.
std::vector<std::uint8_t> ReplaceResource(std::span<const std::uint8_t> stream,
                                          const std::vector<PhotoshopResource>& resources,
                                          std::uint16_t id, std::span<const std::uint8_t> data);
