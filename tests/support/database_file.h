#pragma once
// Reads a catalogue file on disk directly, read-only, as an outside program
// would: what a save or an import really left in the file.

#include <string>
#include <vector>

// The first column of every row of statement; empty when the file or the
// statement cannot be read.
std::vector<std::string> QueryFileColumn(const std::string& databasePath,
                                         const std::string& statement);

// Rows of a table in the file, -1 when it cannot be read.
int CountRowsInFile(const std::string& databasePath, const std::string& table);
