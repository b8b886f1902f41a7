#pragma once
// Formatting of SQL statements from fixed printf-style texts. Every text
// argument is written as the inside of an SQL string literal: its single
// quotes are doubled, so names such as "Tom's photo.jpg" are stored intact.
// Integers go through %d / %lld, floats through %f (six decimals).

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>

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
        return static_cast<double>(value);
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

std::string FormatPrepared(const char* format, ...);

}  // namespace sql_detail

template <typename... Args>
std::string FormatStatement(const char* format, const Args&... args) {
    auto prepared = std::make_tuple(sql_detail::Prepared(args)...);
    return std::apply(
        [format](const auto&... values) {
            return sql_detail::FormatPrepared(format, sql_detail::Passed(values)...);
        },
        prepared);
}
