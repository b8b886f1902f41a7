#include "platform/c_locale_numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// strtod's result for a number beyond the type's range: infinity (with the
// sign) when it is too large, 0 when it is too small.
template <typename T>
T OutOfRange(const char* first, const char* end) {
    long double wide = 0;
    bool tiny = false;
    if (std::from_chars(first, end, wide).ec == std::errc()) {
        tiny = std::fabs(wide) < 1;
    } else {
        const char* e = std::find_if(first, end, [](char c) { return c == 'e' || c == 'E'; });
        tiny = e != end && e + 1 != end && e[1] == '-';
    }
    const bool negative = *first == '-';
    if (tiny) return negative ? -T(0) : T(0);
    return negative ? -std::numeric_limits<T>::infinity() : std::numeric_limits<T>::infinity();
}

// from_chars takes neither blanks nor a '+' sign; strtod does.
template <typename T>
std::size_t ReadNumber(std::string_view text, T& value) {
    std::size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) ++start;
    std::size_t digits = start;
    if (digits < text.size() && text[digits] == '+') ++digits;
    if (digits < text.size() && text[digits] == '-' && digits != start) return 0;  // "+-1"
    T parsed{};
    const char* first = text.data() + digits;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, parsed);
    if (end == first) return 0;
    if (error == std::errc::result_out_of_range) parsed = OutOfRange<T>(first, end);
    value = parsed;
    return static_cast<std::size_t>(end - text.data());
}

}  // namespace

std::string FixedText(double value, int decimals) {
    decimals = std::clamp(decimals, 0, 60);
    // A double has at most 309 integer digits.
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) return {};
    return std::string(buffer, result.ptr);
}

std::size_t ReadDouble(std::string_view text, double& value) {
    return ReadNumber(text, value);
}

std::size_t ReadFloat(std::string_view text, float& value) {
    return ReadNumber(text, value);
}

double LeadingDouble(std::string_view text) {
    double value = 0;
    ReadDouble(text, value);
    return value;
}

float LeadingFloat(std::string_view text) {
    float value = 0;
    ReadFloat(text, value);
    return value;
}
