#include "metadata/tiff_patch.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

namespace {

constexpr std::uint16_t kTagCompression = 0x0103;
constexpr std::uint16_t kTagXResolution = 0x011A;
constexpr std::uint16_t kTagYResolution = 0x011B;
constexpr std::uint16_t kTagResolutionUnit = 0x0128;
constexpr std::uint16_t kTagThumbnailOffset = 0x0201;
constexpr std::uint16_t kTagThumbnailLength = 0x0202;
constexpr std::uint16_t kTagExifPointer = 0x8769;
constexpr std::uint16_t kTagGpsPointer = 0x8825;
constexpr std::uint16_t kTagInteropPointer = 0xA005;
constexpr std::uint16_t kTypeShort = 3;
constexpr std::uint16_t kTypeLong = 4;
constexpr std::uint16_t kTypeRational = 5;
constexpr std::uint16_t kTypeSignedLong = 9;
constexpr std::uint16_t kTypeIfd = 13;
constexpr std::uint8_t kCompressionJpeg = 6;
constexpr std::uint8_t kResolutionUnitInch = 2;
constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kEntrySize = 12;
constexpr std::uint64_t kMaxTiffSize = 0xFFFFFFFFu;

// Bytes per component of a TIFF field type; 0 for unknown types.
std::size_t TypeSize(std::uint16_t type) {
    switch (type) {
        case 1:
        case 2:
        case 6:
        case 7:
            return 1;
        case 3:
        case 8:
            return 2;
        case 4:
        case 9:
        case 11:
        case 13:
            return 4;
        case 5:
        case 10:
        case 12:
            return 8;
        default:
            return 0;
    }
}

// The unit whose bytes a change of byte order reverses (a rational is two
// 32-bit numbers).
std::size_t SwapUnit(std::uint16_t type) {
    std::size_t size = TypeSize(type);
    return type == 5 || type == 10 ? 4 : std::max<std::size_t>(size, 1);
}

std::vector<std::uint8_t> LittleEndian32(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

TiffEntryValue LongValue(TiffIfd ifd, std::uint16_t tag, std::uint32_t value) {
    return {ifd, tag, kTypeLong, 1, LittleEndian32(value)};
}

struct Ifd {
    bool present = false;
    std::uint32_t offset = 0;
    std::uint16_t count = 0;  // entries that lie within the data
    bool nextReadable = false;
    std::uint32_t next = 0;
};

using RawEntry = std::array<std::uint8_t, kEntrySize>;

class Patcher {
  public:
    explicit Patcher(std::vector<std::uint8_t>& tiff) : t_(tiff) {}

    bool ReadHeader() {
        if (t_.size() < kHeaderSize || t_.size() > kMaxTiffSize) return false;
        if (t_[0] == 'I' && t_[1] == 'I')
            bigEndian_ = false;
        else if (t_[0] == 'M' && t_[1] == 'M')
            bigEndian_ = true;
        else
            return false;
        return Get16(2) == 42;
    }

    bool Apply(std::span<const TiffEntryValue> values, std::span<const std::uint8_t> thumbnail);
    std::uint64_t Extent() const;

  private:
    bool InBounds(std::uint64_t pos, std::uint64_t length) const {
        return pos <= t_.size() && length <= t_.size() - pos;
    }
    std::uint16_t Get16(std::size_t pos) const {
        return bigEndian_ ? static_cast<std::uint16_t>(t_[pos] << 8 | t_[pos + 1])
                          : static_cast<std::uint16_t>(t_[pos + 1] << 8 | t_[pos]);
    }
    std::uint32_t Get32(std::size_t pos) const {
        std::uint32_t a = Get16(pos), b = Get16(pos + 2);
        return bigEndian_ ? a << 16 | b : b << 16 | a;
    }
    void Put16(std::uint8_t* p, std::uint16_t v) const {
        p[bigEndian_ ? 0 : 1] = static_cast<std::uint8_t>(v >> 8);
        p[bigEndian_ ? 1 : 0] = static_cast<std::uint8_t>(v);
    }
    void Put32(std::uint8_t* p, std::uint32_t v) const {
        Put16(p + (bigEndian_ ? 0 : 2), static_cast<std::uint16_t>(v >> 16));
        Put16(p + (bigEndian_ ? 2 : 0), static_cast<std::uint16_t>(v));
    }

    Ifd ReadIfd(std::uint32_t offset) const {
        Ifd ifd;
        if (offset < kHeaderSize || !InBounds(offset, 2)) return ifd;
        ifd.present = true;
        ifd.offset = offset;
        const std::uint16_t declared = Get16(offset);
        const std::size_t fit = (t_.size() - offset - 2) / kEntrySize;
        ifd.count = static_cast<std::uint16_t>(std::min<std::size_t>(declared, fit));
        const std::uint64_t nextPos = std::uint64_t{offset} + 2 + kEntrySize * declared;
        ifd.nextReadable = declared <= fit && InBounds(nextPos, 4);
        if (ifd.nextReadable) ifd.next = Get32(static_cast<std::size_t>(nextPos));
        return ifd;
    }

    std::optional<std::size_t> FindEntry(const Ifd& ifd, std::uint16_t tag) const {
        if (!ifd.present) return std::nullopt;
        for (std::size_t i = 0; i < ifd.count; ++i) {
            std::size_t pos = ifd.offset + 2 + kEntrySize * i;
            if (Get16(pos) == tag) return pos;
        }
        return std::nullopt;
    }

    // The offset an IFD pointer entry holds; 0 (no IFD) for an entry that is
    // not one 32-bit value, such as a pointer tag with count 0.
    std::uint32_t PointerValue(const Ifd& ifd, std::uint16_t tag) const {
        auto pos = FindEntry(ifd, tag);
        if (!pos || Get32(*pos + 4) != 1) return 0;
        const std::uint16_t type = Get16(*pos + 2);
        return type == kTypeLong || type == kTypeSignedLong || type == kTypeIfd ? Get32(*pos + 8)
                                                                                : 0;
    }

    std::vector<std::uint8_t> ToFileOrder(const TiffEntryValue& value) const {
        std::vector<std::uint8_t> bytes = value.littleEndian;
        const std::size_t unit = SwapUnit(value.type);
        if (bigEndian_ && unit > 1)
            for (std::size_t i = 0; i + unit <= bytes.size(); i += unit)
                std::reverse(bytes.begin() + i, bytes.begin() + i + unit);
        return bytes;
    }

    // Appends bytes at an even offset and returns that offset.
    std::uint32_t Append(std::span<const std::uint8_t> bytes) {
        if (t_.size() + 1 + bytes.size() > kMaxTiffSize) {
            failed_ = true;
            return 0;
        }
        if (t_.size() % 2 != 0) t_.push_back(0);
        const auto offset = static_cast<std::uint32_t>(t_.size());
        t_.insert(t_.end(), bytes.begin(), bytes.end());
        return offset;
    }

    // An entry record for value; a value over four bytes is appended.
    RawEntry MakeEntry(const TiffEntryValue& value) {
        RawEntry entry{};
        Put16(entry.data(), value.tag);
        Put16(entry.data() + 2, value.type);
        Put32(entry.data() + 4, value.count);
        std::vector<std::uint8_t> bytes = ToFileOrder(value);
        if (bytes.size() <= 4)
            std::copy(bytes.begin(), bytes.end(), entry.begin() + 8);
        else
            Put32(entry.data() + 8, Append(bytes));
        return entry;
    }

    // Rewrites the existing entry record at pos. A value of the same byte
    // size as the old one takes the old one's place; any other goes to the
    // end of the data.
    void SetEntryInPlace(std::size_t pos, const TiffEntryValue& value) {
        std::vector<std::uint8_t> bytes = ToFileOrder(value);
        const std::uint64_t oldSize = std::uint64_t{TypeSize(Get16(pos + 2))} * Get32(pos + 4);
        const std::uint32_t oldOffset = Get32(pos + 8);
        if (bytes.size() > 4 && oldSize == bytes.size() && oldOffset >= kHeaderSize &&
            InBounds(oldOffset, oldSize)) {
            std::copy(bytes.begin(), bytes.end(), t_.begin() + oldOffset);
            Put16(&t_[pos + 2], value.type);
            Put32(&t_[pos + 4], value.count);
            return;
        }
        RawEntry entry = MakeEntry(value);
        std::copy(entry.begin(), entry.end(), t_.begin() + static_cast<std::ptrdiff_t>(pos));
    }

    std::uint16_t TagOf(const RawEntry& e) const {
        return static_cast<std::uint16_t>(bigEndian_ ? e[0] << 8 | e[1] : e[1] << 8 | e[0]);
    }

    // IFD1 describing a thumbnail of another kind (uncompressed strips):
    // left as it is rather than mixed with a JPEG one.
    bool HasOtherThumbnail(const Ifd& ifd1) const {
        auto pos = FindEntry(ifd1, kTagCompression);
        return pos && Get16(*pos + 8) != kCompressionJpeg;
    }

    bool HasThumbnail(const Ifd& ifd1) const {
        auto offsetPos = FindEntry(ifd1, kTagThumbnailOffset);
        auto lengthPos = FindEntry(ifd1, kTagThumbnailLength);
        if (!offsetPos || !lengthPos) return false;
        std::uint32_t length = Get32(*lengthPos + 8);
        return length > 0 && InBounds(Get32(*offsetPos + 8), length);
    }

    std::optional<std::uint32_t> Commit(const Ifd& ifd, const std::vector<TiffEntryValue>& values,
                                        std::optional<std::uint32_t> next);

    std::vector<std::uint8_t>& t_;
    bool bigEndian_ = false;
    bool failed_ = false;
};

// Sets values in one IFD. Entries that exist change in place; when entries
// must be added (or the IFD is new, or its next link cannot be rewritten in
// place) the IFD is copied to the end with them, and its new offset is
// returned for the parent to point at.
std::optional<std::uint32_t> Patcher::Commit(const Ifd& ifd,
                                             const std::vector<TiffEntryValue>& values,
                                             std::optional<std::uint32_t> next) {
    std::vector<const TiffEntryValue*> missing;
    for (const TiffEntryValue& value : values) {
        if (auto pos = FindEntry(ifd, value.tag))
            SetEntryInPlace(*pos, value);
        else
            missing.push_back(&value);
    }
    const bool nextInPlace = !next || (ifd.present && ifd.nextReadable);
    if (ifd.present && missing.empty() && nextInPlace) {
        if (next) Put32(&t_[ifd.offset + 2 + kEntrySize * Get16(ifd.offset)], *next);
        return std::nullopt;
    }
    if (!ifd.present && missing.empty() && !next) return std::nullopt;

    std::vector<RawEntry> entries;
    for (std::size_t i = 0; i < ifd.count; ++i) {
        RawEntry raw;
        std::copy_n(t_.begin() + ifd.offset + 2 + kEntrySize * i, kEntrySize, raw.begin());
        entries.push_back(raw);
    }
    for (const TiffEntryValue* value : missing) {
        // Keep the tags ascending where the IFD had them so: each new entry
        // goes before the first one with a larger tag.
        auto at = std::find_if(entries.begin(), entries.end(),
                               [&](const RawEntry& e) { return TagOf(e) > value->tag; });
        entries.insert(at, MakeEntry(*value));
    }
    if (entries.size() > 0xFFFF) {
        failed_ = true;
        return std::nullopt;
    }
    std::vector<std::uint8_t> block(2 + kEntrySize * entries.size() + 4);
    Put16(block.data(), static_cast<std::uint16_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i)
        std::copy(entries[i].begin(), entries[i].end(), block.begin() + 2 + kEntrySize * i);
    Put32(block.data() + block.size() - 4,
          next ? *next : (ifd.present && ifd.nextReadable ? ifd.next : 0));
    return Append(block);
}

bool Patcher::Apply(std::span<const TiffEntryValue> values,
                    std::span<const std::uint8_t> thumbnail) {
    std::array<std::vector<TiffEntryValue>, 5> pending;
    for (const TiffEntryValue& value : values) {
        auto index = static_cast<std::size_t>(value.ifd);
        if (index < pending.size()) pending[index].push_back(value);
    }

    const Ifd ifd0 = ReadIfd(Get32(4));
    // A pointer to an IFD already found (a loop, or two pointers sharing one
    // IFD) counts as no IFD: a new one is made rather than mixing the two.
    std::vector<std::uint32_t> seen = {ifd0.offset};
    auto readChild = [&](std::uint32_t offset) {
        if (std::find(seen.begin(), seen.end(), offset) != seen.end()) return Ifd{};
        Ifd child = ReadIfd(offset);
        if (child.present) seen.push_back(offset);
        return child;
    };
    const Ifd exif = readChild(PointerValue(ifd0, kTagExifPointer));
    // The GPS and interoperability pointers belong in IFD0 and the EXIF IFD;
    // some writers put them in the other one.
    const bool gpsInExif = !FindEntry(ifd0, kTagGpsPointer) && FindEntry(exif, kTagGpsPointer);
    const Ifd gps = readChild(PointerValue(gpsInExif ? exif : ifd0, kTagGpsPointer));
    const bool interopInIfd0 =
        !FindEntry(exif, kTagInteropPointer) && FindEntry(ifd0, kTagInteropPointer);
    const Ifd interop = readChild(PointerValue(interopInIfd0 ? ifd0 : exif, kTagInteropPointer));
    const Ifd ifd1 = ifd0.nextReadable ? readChild(ifd0.next) : Ifd{};

    auto& ifd1Values = pending[static_cast<std::size_t>(TiffIfd::Ifd1)];
    if (!thumbnail.empty() && !HasThumbnail(ifd1) && !HasOtherThumbnail(ifd1)) {
        std::uint32_t offset = Append(thumbnail);
        ifd1Values.push_back(LongValue(TiffIfd::Ifd1, kTagThumbnailOffset, offset));
        ifd1Values.push_back(LongValue(TiffIfd::Ifd1, kTagThumbnailLength,
                                       static_cast<std::uint32_t>(thumbnail.size())));
        // What a thumbnail IFD must state: JPEG compression, 72 dots per inch.
        const std::vector<TiffEntryValue> required = {
            {TiffIfd::Ifd1, kTagCompression, kTypeShort, 1, {kCompressionJpeg, 0}},
            {TiffIfd::Ifd1, kTagXResolution, kTypeRational, 1, {72, 0, 0, 0, 1, 0, 0, 0}},
            {TiffIfd::Ifd1, kTagYResolution, kTypeRational, 1, {72, 0, 0, 0, 1, 0, 0, 0}},
            {TiffIfd::Ifd1, kTagResolutionUnit, kTypeShort, 1, {kResolutionUnitInch, 0}}};
        for (const TiffEntryValue& value : required)
            if (!FindEntry(ifd1, value.tag)) ifd1Values.push_back(value);
    }

    // Children first: a moved or new child adds its pointer to the parent.
    auto commitChild = [&](const Ifd& child, TiffIfd which, TiffIfd parent, std::uint16_t tag) {
        if (auto moved = Commit(child, pending[static_cast<std::size_t>(which)], std::nullopt))
            pending[static_cast<std::size_t>(parent)].push_back(LongValue(parent, tag, *moved));
    };
    commitChild(interop, TiffIfd::Interop, interopInIfd0 ? TiffIfd::Ifd0 : TiffIfd::Exif,
                kTagInteropPointer);
    commitChild(gps, TiffIfd::Gps, gpsInExif ? TiffIfd::Exif : TiffIfd::Ifd0, kTagGpsPointer);
    commitChild(exif, TiffIfd::Exif, TiffIfd::Ifd0, kTagExifPointer);
    std::optional<std::uint32_t> ifd1Offset = Commit(ifd1, ifd1Values, std::nullopt);
    if (auto moved = Commit(ifd0, pending[0], ifd1Offset)) Put32(&t_[4], *moved);
    return !failed_;
}

// The end of the farthest byte the IFDs point at: their tables, the values
// that do not fit an entry, and the thumbnail. Offsets are taken as they
// are, so data cut short reaches past its own end.
std::uint64_t Patcher::Extent() const {
    std::uint64_t extent = kHeaderSize;
    std::vector<std::uint32_t> seen;
    auto walk = [&](std::uint32_t offset) {
        if (offset == 0 || std::find(seen.begin(), seen.end(), offset) != seen.end()) return Ifd{};
        seen.push_back(offset);
        const Ifd ifd = ReadIfd(offset);
        const std::uint64_t declared = ifd.present ? Get16(offset) : 0;
        extent = std::max(extent, std::uint64_t{offset} + 2 + kEntrySize * declared + 4);
        for (std::size_t i = 0; i < ifd.count; ++i) {
            const std::size_t pos = ifd.offset + 2 + kEntrySize * i;
            const std::uint64_t size = std::uint64_t{TypeSize(Get16(pos + 2))} * Get32(pos + 4);
            if (size > 4) extent = std::max(extent, Get32(pos + 8) + size);
        }
        return ifd;
    };
    const Ifd ifd0 = walk(Get32(4));
    const Ifd exif = walk(PointerValue(ifd0, kTagExifPointer));
    for (const Ifd* parent : {&ifd0, &exif}) {
        walk(PointerValue(*parent, kTagGpsPointer));
        walk(PointerValue(*parent, kTagInteropPointer));
    }
    if (ifd0.nextReadable) {
        const Ifd ifd1 = walk(ifd0.next);
        auto offsetPos = FindEntry(ifd1, kTagThumbnailOffset);
        auto lengthPos = FindEntry(ifd1, kTagThumbnailLength);
        if (offsetPos && lengthPos)
            extent = std::max(extent, std::uint64_t{Get32(*offsetPos + 8)} + Get32(*lengthPos + 8));
    }
    return extent;
}

}  // namespace

bool TiffReachesPastItsEnd(std::span<const std::uint8_t> tiff) {
    std::vector<std::uint8_t> copy(tiff.begin(), tiff.end());
    Patcher patcher(copy);
    return patcher.ReadHeader() && patcher.Extent() > copy.size();
}

std::vector<std::uint8_t> EmptyTiff() {
    return {'I', 'I', 42, 0, 0, 0, 0, 0};
}

bool PatchTiff(std::vector<std::uint8_t>& tiff, std::span<const TiffEntryValue> values,
               std::span<const std::uint8_t> thumbnail) {
    Patcher patcher(tiff);
    return patcher.ReadHeader() && patcher.Apply(values, thumbnail);
}
