#pragma once
// Little-endian reads and writes at byte offsets, independent of the host's
// byte order. Callers check the buffer size.

#include <bit>
#include <cstdint>
#include <cstring>
#include <type_traits>

template <typename T>
T LoadLittleEndian(const std::uint8_t* p) {
    static_assert(sizeof(T) <= 8);
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) v |= std::uint64_t{p[i]} << (8 * i);
    if constexpr (std::is_floating_point_v<T>) {
        return std::bit_cast<T>(
            static_cast<std::conditional_t<sizeof(T) == 8, std::uint64_t, std::uint32_t>>(v));
    } else {
        return static_cast<T>(v);
    }
}

template <typename T>
void StoreLittleEndian(std::uint8_t* p, T value) {
    static_assert(sizeof(T) <= 8);
    std::uint64_t v;
    if constexpr (std::is_floating_point_v<T>) {
        v = std::bit_cast<std::conditional_t<sizeof(T) == 8, std::uint64_t, std::uint32_t>>(value);
    } else {
        v = static_cast<std::uint64_t>(value);
    }
    for (std::size_t i = 0; i < sizeof(T); ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
