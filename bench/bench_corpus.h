#pragma once
// Benchmark corpora of 12-megapixel photos, each with its own thumbnail
// (copies of one file would all be duplicates of one photo).

#include <string>
#include <vector>

// Camera-like files: one shared 4000 x 3000 image body behind a different
// EXIF block per file, each with its own 160 x 120 embedded thumbnail.
std::vector<std::string> MakeCameraCorpus(const std::string& folder, int count);
// The same at another size (a 24-megapixel camera: 6000 x 4000), with a
// restart marker every restartMcus MCUs when that is given, as many cameras
// write them.
std::vector<std::string> MakeCameraCorpus(const std::string& folder, int count, int width,
                                          int height, int restartMcus = 0);

// Camera files (12 megapixels) that also hold a GPS position each, so that
// importing them ends with the region question.
std::vector<std::string> MakePositionedCameraCorpus(const std::string& folder, int count);

// Files without EXIF, each a distinct 4000 x 3000 image.
std::vector<std::string> MakePlainCorpus(const std::string& folder, int count);

// Reads every file once so that the timed runs find them in the page cache.
void WarmFileCache(const std::vector<std::string>& files);
