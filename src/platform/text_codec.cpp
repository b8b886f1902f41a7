#include "platform/text_codec.h"

#include <cstring>

namespace {

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

}  // namespace

std::size_t Utf8PrefixLength(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text.size();
    std::size_t end = maxBytes;
    // Step back over continuation bytes to the lead byte of the cut character.
    while (end > 0 && IsContinuation(static_cast<unsigned char>(text[end]))) --end;
    return end;
}

std::size_t CopyBounded(char* field, std::size_t capacity, std::string_view text) {
    if (capacity == 0) return 0;
    std::size_t n = Utf8PrefixLength(text.substr(0, text.find('\0')), capacity - 1);
    if (n > 0) std::memcpy(field, text.data(), n);
    field[n] = '\0';
    return n;
}

std::string CodePageToUtf8(std::string_view text) {
    return std::string(text.substr(0, text.find('\0')));
}

std::size_t Utf8ToCodePage(std::string_view text, char* buffer, std::size_t limit) {
    return CopyBounded(buffer, limit, text);
}

std::u16string Utf8ToWide(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    while (i < text.size() && byte(i) != 0) {
        unsigned char c = byte(i);
        if (c < 0x80) {
            out.push_back(c);
            i += 1;
            continue;
        }
        std::size_t skip = 0;
        if (c >= 0xF0 && c <= 0xF7)
            skip = 4;
        else if (c >= 0xF8 && c <= 0xFB)
            skip = 5;
        else if (c >= 0xFC && c <= 0xFD)
            skip = 6;
        if (skip) {
            i += skip;
            continue;
        }
        if ((c & 0xE0) == 0xC0 && i + 1 < text.size() && IsContinuation(byte(i + 1))) {
            out.push_back(static_cast<char16_t>(((c & 0x1F) << 6) | (byte(i + 1) & 0x3F)));
            i += 2;
        } else if ((c & 0xF0) == 0xE0 && i + 2 < text.size() && IsContinuation(byte(i + 1)) &&
                   IsContinuation(byte(i + 2))) {
            out.push_back(static_cast<char16_t>(((c & 0x0F) << 12) | ((byte(i + 1) & 0x3F) << 6) |
                                                (byte(i + 2) & 0x3F)));
            i += 3;
        } else {
            break;  // malformed: the text ends here
        }
    }
    return out;
}

std::string WideToUtf8(std::u16string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::int64_t ParseInt64Text(std::string_view text) {
    std::uint64_t value = 0;
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        for (std::size_t i = 2; i < text.size() && i < 18; ++i) {
            char c = text[i];
            int digit = c >= '0' && c <= '9'   ? c - '0'
                        : c >= 'a' && c <= 'f' ? c - 'a' + 10
                        : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                               : -1;
            if (digit < 0) break;
            value = value * 16 + static_cast<std::uint64_t>(digit);
        }
        return static_cast<std::int64_t>(value);
    }
    bool negative = false;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    // Unsigned arithmetic wraps instead of overflowing on absurdly long input.
    for (std::size_t digits = 0; i < text.size() && digits < 23; ++i, ++digits) {
        char c = text[i];
        if (c < '0' || c > '9') break;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return static_cast<std::int64_t>(negative ? 0 - value : value);
}
