#pragma once
// XMP packets through Exempi (this folder only): the captions they hold,
// and the same packet with an edit applied.

#include <optional>
#include <string>
#include <string_view>

#include "metadata/caption_forms.h"

// Most packet bytes one APP1 segment carries after the XMP signature.
inline constexpr std::size_t kMaxXmpPacketBytes = 65533 - 29;

// Adds the packet's captions to forms. False when it cannot be parsed.
bool ReadXmpCaptions(std::string_view packet, CaptionForms& forms);

// The packet with the edit applied, serialised anew, or a new packet when
// packet is empty; the packet itself when the edit changes nothing in it.
// Properties the edit does not name keep their values.
// nullopt when the packet cannot be parsed or the result is larger than
// kMaxXmpPacketBytes.
std::optional<std::string> EditXmpPacket(std::string_view packet, const CaptionEdit& edit);
