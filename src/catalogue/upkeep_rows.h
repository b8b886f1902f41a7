#pragma once
// The lookups of the library update and tidy.

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class Library;
struct CataloguedFile {
    std::string fullPath;  // UTF-8
    std::string folder;    // UTF-8, strPath
    std::int64_t id = 0;
};

// The main rows of one folder, or of the whole catalogue ordered by folder
// (descending), so that the rows of one folder are consecutive. nullopt when
// the query fails.
std::optional<std::vector<CataloguedFile>> CataloguedFiles(
    Library& library, const std::optional<std::string>& folder);

// The last-write time stored for a file: its main row's, else its duplicate
// row's; 0 when neither has one. nullopt when the catalogue cannot be asked.
std::optional<std::int32_t> StoredFileTime(Library& library, const std::string& utf8Path);

// StoredFileTime of every catalogued file of one folder, by full path, in
// two indexed queries (there is no index on the full path).
std::unordered_map<std::string, std::int32_t> StoredFileTimesInFolder(Library& library,
                                                                      const std::string& folder);

// The ids of the main rows that name this file (normally one); folder is
// the file's folder, which lets the query use its index.
std::vector<std::int64_t> MainPhotoIdsOfFile(Library& library, const std::string& folder,
                                             const std::string& utf8Path);
