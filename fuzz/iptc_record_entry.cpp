#include <span>

#include "caption_check.h"
#include "fuzz_entries.h"
#include "metadata/iptc_record.h"

// Reads the bytes as a Photoshop resource stream with an IPTC record,
// applies a caption edit, and reads the edited stream again: it must parse
// and hold the edit.
int FuzzIptcRecord(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> stream(data, size);
    CaptionForms forms;
    if (ReadIptcCaptions(stream, forms) != PacketState::Read) return 0;
    const std::optional<std::vector<std::uint8_t>> edited =
        EditIptcStream(stream, FuzzCaptionEdit());
    if (!edited) return 0;
    CaptionForms again;
    if (ReadIptcCaptions(*edited, again) != PacketState::Read) {
        std::fprintf(stderr, "FuzzIptcRecord: the edited stream does not parse\n");
        std::abort();
    }
    ExpectCaptionEdit(again, "FuzzIptcRecord", "IPTC Keywords", "IPTC ObjectName");
    return 0;
}
