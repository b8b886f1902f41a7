#pragma once
// Byte layout of the link's frames. A request frame is a 32-byte header
// ("DZLK", message, wParam, dwData, flags, cbData) followed by cbData bytes;
// a reply frame is the receiver's result as 8 bytes. All little-endian.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "maplink/link_message.h"

inline constexpr std::size_t kFrameHeaderSize = 32;
inline constexpr std::size_t kReplyFrameSize = 8;
inline constexpr std::uint32_t kMaxFrameData = 1048576;

struct FrameHeader {
    std::uint64_t wParam = 0;
    std::uint64_t dwData = 0;
    std::uint32_t flags = 0;
    std::uint32_t cbData = 0;
};

// The whole request frame; empty when the data exceeds kMaxFrameData.
std::vector<std::uint8_t> EncodeRequestFrame(const LinkMessage& message);

// Checks magic, message and size of a header of kFrameHeaderSize bytes;
// nothing when the frame must be refused.
std::optional<FrameHeader> DecodeRequestHeader(const std::uint8_t* header);

std::array<std::uint8_t, kReplyFrameSize> EncodeReplyFrame(std::int64_t result);
std::int64_t DecodeReplyFrame(const std::uint8_t* reply);
