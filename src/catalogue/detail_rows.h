#pragma once
// The catalogue columns the detail list and the status bar show for one
// photo.
//
// Threads: any thread; holds the catalogue session for the call.

#include <cstdint>
#include <optional>
#include <string>

#include "record/photo_ref.h"

class Library;
struct DetailRow {
    std::string name;           // strName, UTF-8 like every text here
    std::int32_t dateTime = 0;  // dwDateTime, 0 when unknown
    double sizeMegabytes = 0;   // fSize
    std::string folder;         // strPath
    std::string model;          // strModel
    int width = 0;              // nWidth, nHeight
    int height = 0;
    double longitude = 0;  // fGPSLongitude, fGPSLatitude; both 0 without a position
    double latitude = 0;
    std::string author;    // strXpAuthor
    std::string subject;   // strXpSubject
    std::string keywords;  // strXpKeyword
    std::string comment;   // strXpComent
    std::int64_t idPic = 0;
};

// The photo's row; nullopt when there is no such row. (The detail list asks
// for the catalogued copy, also of a listed duplicate.)
std::optional<DetailRow> ReadDetailRow(Library& library, const PhotoRef& photo);
