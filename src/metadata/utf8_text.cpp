#include "metadata/utf8_text.h"

bool IsUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t length = c < 0x80                ? 1
                                   : c >= 0xC2 && c < 0xE0 ? 2
                                   : c >= 0xE0 && c < 0xF0 ? 3
                                   : c >= 0xF0 && c < 0xF5 ? 4
                                                           : 0;
        if (length == 0 || text.size() - i < length) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}
