#pragma once
// The search criteria held by the category pane and written by the search
// panel. A value of 0 (or an empty keyword) means "not used".

#include <cstdint>

struct SearchFilter {
    char keywordA[20] = {};  // UTF-8, zero-terminated
    char keywordB[20] = {};
    std::int32_t start = 0;  // shot-time range, seconds since 1970-01-01 00:00 UTC
    std::int32_t end = 0;
    float longitude1 = 0;
    float longitude2 = 0;
    float latitude1 = 0;
    float latitude2 = 0;
};
