#include "catalogue/sql_statement.h"

#include <cstdarg>

std::string DoubleQuotes(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::string quoted;
    quoted.reserve(text.size() + 8);
    for (char c : text) {
        quoted += c;
        if (c == '\'') quoted += '\'';
    }
    return quoted;
}

namespace sql_detail {

std::string FloatsAsText(const char* format) {
    std::string out(format);
    for (std::size_t i = 0; i + 1 < out.size(); ++i) {
        if (out[i] != '%') continue;
        if (out[i + 1] == 'f') out[i + 1] = 's';
        ++i;  // "%%" stays a literal percent sign
    }
    return out;
}

std::string FormatPrepared(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (length > 0) {
        out.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(out.data(), out.size(), format, args);
        out.resize(static_cast<std::size_t>(length));
    }
    va_end(args);
    return out;
}

}  // namespace sql_detail
