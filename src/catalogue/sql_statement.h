#pragma once
// Formatting of SQL statements from fixed printf-style texts. Every text
// argument is written as the inside of an SQL string literal: its single
// quotes are doubled, so names such as "Tom's photo.jpg" are stored intact.
// Integers go through %d / %lld, floats through %f (six decimals, always
// with a '.' whatever the process locale: a "2,500000" would be read by
// SQLite as two values).

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>

#include "platform/c_locale_numbers.h"

std::string DoubleQuotes(std::string_view text);

namespace sql_detail {

template <typename T>
inline constexpr bool kIsText =
    std::is_convertible_v<const T&, std::string_view> && !std::is_arithmetic_v<T>;

template <typename T>
auto Prepared(const T& value) {
    if constexpr (kIsText<T>) {
        return DoubleQuotes(std::string_view(value));
    } else if constexpr (std::is_floating_point_v<T>) {
        return FixedText(static_cast<double>(value), 6);
    } else if constexpr (sizeof(T) == 8) {
        return static_cast<long long>(value);
    } else {
        return static_cast<int>(value);
    }
}

template <typename T>
auto Passed(const T& value) {
    if constexpr (std::is_same_v<T, std::string>) {
        return value.c_str();
    } else {
        return value;
    }
}

// The format with each %f turned into %s: floats arrive as their C-locale
// text, so that printf's own (locale-dependent) float conversion is never used.
std::string FloatsAsText(const char* format);

std::string FormatPrepared(const char* format, ...);

}  // namespace sql_detail

template <typename... Args>
std::string FormatStatement(const char* format, const Args&... args) {
    auto prepared = std::make_tuple(sql_detail::Prepared(args)...);
    const std::string textFormat = sql_detail::FloatsAsText(format);
    return std::apply(
        [&textFormat](const auto&... values) {
            return sql_detail::FormatPrepared(textFormat.c_str(), sql_detail::Passed(values)...);
        },
        prepared);
}
