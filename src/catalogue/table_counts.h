#pragma once
// The number of rows of each catalogue table, for darazoz-cli stats.

#include <cstdint>
#include <vector>

class Library;
struct TableRowCount {
    const char* table;      // in schema order
    std::int64_t rows = 0;  // 0 also when the table cannot be counted
};

std::vector<TableRowCount> CountTableRows(Library& library);
