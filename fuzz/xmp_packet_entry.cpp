#include <string_view>

#include "caption_check.h"
#include "fuzz_entries.h"
#include "metadata/xmp_packet.h"

// Reads the bytes as an XMP packet, applies a caption edit, and reads the
// edited packet again: it must parse and hold the edit.
int FuzzXmpPacket(const std::uint8_t* data, std::size_t size) {
    const std::string_view packet(reinterpret_cast<const char*>(data), size);
    CaptionForms forms;
    if (!ReadXmpCaptions(packet, forms)) return 0;
    const std::optional<std::string> edited = EditXmpPacket(packet, FuzzCaptionEdit());
    if (!edited) return 0;  // grown beyond one segment
    CaptionForms again;
    if (!ReadXmpCaptions(*edited, again)) {
        std::fprintf(stderr, "FuzzXmpPacket: the edited packet does not parse\n");
        std::abort();
    }
    ExpectCaptionEdit(again, "FuzzXmpPacket", "XMP dc:subject", "XMP dc:title");
    return 0;
}
