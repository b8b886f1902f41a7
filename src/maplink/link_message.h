#pragma once
// One message of the local link between this program and the companion map
// application: the fields of a WM_COPYDATA send, independent of transport.

#include <cstdint>
#include <vector>

// Window classes by which the two programs address each other.
inline constexpr const char* kAlbumLinkClass = "RezidaDoz";
inline constexpr const char* kCompanionLinkClass = "zazadoRud";

inline constexpr std::uint32_t kMessageCopyData = 0x4A;  // WM_COPYDATA
inline constexpr std::uint64_t kMapLinkWParam = 1001;

// Request flags: what the receiver should do with its window first.
inline constexpr std::uint32_t kFlagRestoreWindow = 1u << 0;
inline constexpr std::uint32_t kFlagBringToTop = 1u << 1;

struct LinkMessage {
    std::uint64_t wParam = kMapLinkWParam;
    std::uint64_t dwData = 0;  // code in the low 16 bits, link id above
    std::uint32_t flags = 0;
    std::vector<std::uint8_t> data;

    std::uint16_t Code() const { return static_cast<std::uint16_t>(dwData & 0xFFFF); }
    // The link id as the sender shifted it in (sign restored from 32 bits).
    std::int32_t LinkId() const { return static_cast<std::int32_t>(dwData >> 16); }
};

// dwData for a code sent under a link id; a negative id is sign-extended as
// a pointer-sized value would be.
inline std::uint64_t MakeDwData(std::uint16_t code, std::int32_t linkId) {
    return static_cast<std::uint64_t>(static_cast<std::int64_t>(linkId)) << 16 | code;
}
