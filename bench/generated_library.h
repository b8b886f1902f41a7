#pragma once
// A large catalogue for benchmarks, written straight into the working
// database: photos spread over 1,000 folders, 15 years, 20 camera models,
// 50 keywords (two per photo), 30 regions, a subject on every tenth photo and
// a position on four of five.

#include <cstdint>
#include <vector>

// Fills the (open, empty) working database; thumbnails are taken in turn
// from the given blobs, photo ids run from 1 to photos.
void GenerateLibrary(int photos, const std::vector<std::vector<std::uint8_t>>& thumbnails);
