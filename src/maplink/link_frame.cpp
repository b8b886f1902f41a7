#include "maplink/link_frame.h"

#include <cstring>

#include "maplink/little_endian.h"

namespace {
constexpr std::uint8_t kMagic[4] = {'D', 'Z', 'L', 'K'};
}

std::vector<std::uint8_t> EncodeRequestFrame(const LinkMessage& message) {
    if (message.data.size() > kMaxFrameData) return {};
    std::vector<std::uint8_t> frame(kFrameHeaderSize + message.data.size());
    std::uint8_t* p = frame.data();
    std::memcpy(p, kMagic, 4);
    StoreLittleEndian<std::uint32_t>(p + 4, kMessageCopyData);
    StoreLittleEndian<std::uint64_t>(p + 8, message.wParam);
    StoreLittleEndian<std::uint64_t>(p + 16, message.dwData);
    StoreLittleEndian<std::uint32_t>(p + 24, message.flags);
    StoreLittleEndian<std::uint32_t>(p + 28, static_cast<std::uint32_t>(message.data.size()));
    if (!message.data.empty())
        std::memcpy(p + kFrameHeaderSize, message.data.data(), message.data.size());
    return frame;
}

std::optional<FrameHeader> DecodeRequestHeader(const std::uint8_t* header) {
    if (std::memcmp(header, kMagic, 4) != 0) return std::nullopt;
    if (LoadLittleEndian<std::uint32_t>(header + 4) != kMessageCopyData) return std::nullopt;
    FrameHeader h;
    h.wParam = LoadLittleEndian<std::uint64_t>(header + 8);
    h.dwData = LoadLittleEndian<std::uint64_t>(header + 16);
    h.flags = LoadLittleEndian<std::uint32_t>(header + 24);
    h.cbData = LoadLittleEndian<std::uint32_t>(header + 28);
    if (h.cbData > kMaxFrameData) return std::nullopt;
    return h;
}

std::array<std::uint8_t, kReplyFrameSize> EncodeReplyFrame(std::int64_t result) {
    std::array<std::uint8_t, kReplyFrameSize> reply{};
    StoreLittleEndian<std::int64_t>(reply.data(), result);
    return reply;
}

std::int64_t DecodeReplyFrame(const std::uint8_t* reply) {
    return LoadLittleEndian<std::int64_t>(reply);
}
