#pragma once
// The twelve columns of the detail list: headers, widths, and the text of
// each cell of a catalogue row. Pure formatting; local time follows TZ.

#include <array>
#include <string>

#include "catalogue/detail_rows.h"

struct DetailColumn {
    const char* header;  // UTF-8
    int width;           // pixels
    // The widest text of a fixed-format column, so that the column can be
    // widened for a larger font; null for free text.
    const char* widest = nullptr;
};

inline constexpr int kDetailColumnCount = 12;
extern const std::array<DetailColumn, kDetailColumnCount> kDetailColumns;

// The UTF-8 text of column for row: the date as local
// "YYYY-MM-DD hh:mm:ss" (empty when unknown), the size as "%.2f M", the
// pixels as "w × h", the position as "lon,lat" with four decimals (empty
// when both are 0), the id as a decimal number; the other columns as stored.
std::string DetailCellText(const DetailRow& row, int column);
