#pragma once
// A large catalogue for benchmarks, written straight into the working
// database: photos spread over 1,000 folders, 15 years, 20 camera models,
// 50 keywords (two per photo), 30 regions, a subject on every tenth photo and
// a position on four of five.

#include <cstdint>
#include <string>
#include <vector>

class Library;

// Fills the (open, empty) working database; thumbnails are taken in turn
// from the given blobs, photo ids run from 1 to photos. Photo id lives in
// <root>/<2010 + id % 15>/album<id % 1000>/IMG_<id>.jpg with the last-write
// time fileTime (seconds since 1970).
void GenerateLibrary(Library& library, int photos,
                     const std::vector<std::vector<std::uint8_t>>& thumbnails,
                     const std::string& root = "/photos", std::int32_t fileTime = 0);

// Generates the catalogue in the current data folder (opened here and
// closed again) and also the folders and one-byte files it names, at
// fileTime, with the folder list taken from the disk and saved: a library
// that an update finds unchanged.
void GenerateLibraryWithFiles(Library& library, int photos, const std::string& root,
                              std::int32_t fileTime);

// The folder and the full path of generated photo id.
std::string GeneratedFolder(const std::string& root, int id);
std::string GeneratedPath(const std::string& root, int id);

// Eight 160x120 JPEG thumbnails of different content.
std::vector<std::vector<std::uint8_t>> SampleThumbnails();

// Makes folder the data folder and, when it holds no catalogue file yet,
// generates one of photos photos there and saves it, saying how long that
// took. Later runs reuse the file.
void EnsureGeneratedCatalogue(Library& library, const std::string& folder, int photos);
