#pragma once
// exiftool as the independent reader and writer of the tests: fixtures in
// other programs' conventions are made with it, and what the program wrote
// is read back with it. Tests skip when it is not installed.

#include <string>
#include <vector>

bool HaveExiftool();

// Runs exiftool with these arguments, one per element (passed through an
// argument file, so any text goes as it is), and returns what it printed on
// standard output and standard error.
std::string RunExiftool(const std::vector<std::string>& arguments);

// The value of one tag as exiftool prints it with -s3 (no trailing newline,
// list items separated by ","; empty when the file has no such tag).
std::string ExiftoolValue(const std::string& path, const std::string& tag);
