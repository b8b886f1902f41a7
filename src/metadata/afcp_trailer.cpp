#include "metadata/afcp_trailer.h"

#include <cstring>

#include "platform/file_ops.h"

namespace {

constexpr std::size_t kRecordSize = 12;  // header, directory entry and closing record alike

struct Order {
    bool bigEndian = true;
    std::uint32_t Get32(const std::uint8_t* p) const {
        return bigEndian ? std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 |
                               std::uint32_t{p[2]} << 8 | p[3]
                         : std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 |
                               std::uint32_t{p[1]} << 8 | p[0];
    }
    std::uint16_t Get16(const std::uint8_t* p) const {
        return static_cast<std::uint16_t>(bigEndian ? p[0] << 8 | p[1] : p[1] << 8 | p[0]);
    }
    void Put32(std::uint8_t* p, std::uint32_t v) const {
        for (int i = 0; i < 4; ++i)
            p[bigEndian ? i : 3 - i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
    }
};

// The byte order a signature announces; nullopt for no AFCP signature.
std::optional<Order> Signature(const std::uint8_t* p) {
    if (std::memcmp(p, "AXS", 3) != 0) return std::nullopt;
    if (p[3] == '!') return Order{true};
    if (p[3] == '*') return Order{false};
    return std::nullopt;
}

std::uint16_t EntryCount(const AfcpTrailer& t, const Order& order) {
    return order.Get16(&t.bytes[6]);
}

// The positions in bytes of every absolute offset: each entry's and the
// closing record's.
std::vector<std::size_t> OffsetFields(const AfcpTrailer& t, const Order& order) {
    std::vector<std::size_t> fields;
    const std::size_t entries = EntryCount(t, order);
    for (std::size_t i = 0; i < entries; ++i) fields.push_back(kRecordSize * (i + 1) + 8);
    fields.push_back(t.bytes.size() - kRecordSize + 4);
    return fields;
}

}  // namespace

AfcpCheck ReadAfcpTrailer(int fd, std::uint64_t size, std::uint64_t notBefore,
                          AfcpTrailer& trailer) {
    std::uint8_t closing[kRecordSize];
    if (size < kRecordSize || !ReadAt(fd, size - kRecordSize, closing)) return AfcpCheck::None;
    const std::optional<Order> order = Signature(closing);
    if (!order) return AfcpCheck::None;
    const std::uint64_t start = order->Get32(closing + 4);
    if (start < notBefore || start > size - 2 * kRecordSize || size - start > kMaxAfcpTrailerBytes)
        return AfcpCheck::Unusable;
    trailer.start = start;
    trailer.bytes.resize(static_cast<std::size_t>(size - start));
    if (!ReadAt(fd, start, trailer.bytes)) return AfcpCheck::Unusable;
    const std::optional<Order> header = Signature(trailer.bytes.data());
    if (!header || header->bigEndian != order->bigEndian) return AfcpCheck::Unusable;
    const std::uint64_t directoryEnd =
        kRecordSize * (std::uint64_t{EntryCount(trailer, *order)} + 1);
    if (directoryEnd > trailer.bytes.size() - kRecordSize) return AfcpCheck::Unusable;
    // Every entry's data lies in the file.
    for (std::size_t i = 1; i * kRecordSize < directoryEnd; ++i) {
        const std::uint8_t* entry = &trailer.bytes[i * kRecordSize];
        const std::uint64_t length = order->Get32(entry + 4);
        const std::uint64_t offset = order->Get32(entry + 8);
        if (offset > size || length > size - offset) return AfcpCheck::Unusable;
    }
    return AfcpCheck::Found;
}

bool ShiftAfcpOffsets(AfcpTrailer& trailer, std::uint64_t keptEnd, std::uint64_t from,
                      std::int64_t delta) {
    const Order order = *Signature(trailer.bytes.data());
    std::vector<std::size_t> fields = OffsetFields(trailer, order);
    // Checked first, so that a refusal leaves the bytes as they were.
    for (std::size_t field : fields) {
        const std::uint64_t offset = order.Get32(&trailer.bytes[field]);
        if (offset >= keptEnd && offset < from) return false;
        if (offset >= from && (static_cast<std::int64_t>(offset) + delta < 0 ||
                               static_cast<std::int64_t>(offset) + delta > 0xFFFFFFFFll))
            return false;
    }
    for (std::size_t field : fields) {
        const std::uint64_t offset = order.Get32(&trailer.bytes[field]);
        if (offset >= from)
            order.Put32(&trailer.bytes[field],
                        static_cast<std::uint32_t>(static_cast<std::int64_t>(offset) + delta));
    }
    return true;
}
