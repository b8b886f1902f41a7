#pragma once
// The reference to one photo that the trees, the photo list and the
// selection hand to each other.

#include <cstdint>

struct PhotoRef {
    std::int64_t idPic = 0;       // photo id, never negative
    bool fromDuplicates = false;  // the id names the duplicate row, not the catalogued photo

    // One signed value: the id, negated for duplicates (ids are never
    // negative, and the duplicates never hold id 0).
    std::int64_t Packed() const { return fromDuplicates ? -idPic : idPic; }
    static PhotoRef FromPacked(std::int64_t packed) {
        return packed < 0 ? PhotoRef{-packed, true} : PhotoRef{packed, false};
    }

    friend bool operator==(const PhotoRef&, const PhotoRef&) = default;
};
