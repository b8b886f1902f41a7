#pragma once
// The IPTC IIM record of a Photoshop resource stream through libiptcdata
// (this folder only): the captions it holds, and the stream with an edit
// applied. Texts are UTF-8 on both sides.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "metadata/caption_forms.h"

// Adds the captions of the stream's IPTC record (resource 0x0404) to forms.
// Absent when the stream holds none; Unparsable when the stream or the
// record cannot be parsed.
PacketState ReadIptcCaptions(std::span<const std::uint8_t> stream, CaptionForms& forms);

// The stream with the edit applied to its IPTC record: the coded character
// set says UTF-8 (texts in another coding are converted), and a digest
// (resource 0x0425) that matched the old record matches the new one. Every
// other resource keeps its bytes. nullopt when the stream holds no IPTC
// record or it cannot be parsed.
std::optional<std::vector<std::uint8_t>> EditIptcStream(std::span<const std::uint8_t> stream,
                                                        const CaptionEdit& edit);
