#pragma once
// One photo's metadata columns as read from its file or loaded from the
// catalogue. Text fields are zero-terminated within their capacity; a new
// record is zero-filled, so every field not found reads 0 or empty.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text_codec.h"

struct PhotoRecord {
    char strXpTitle[100] = {};
    std::string strXpComent;      // Windows comment tag; empty when absent
    std::int32_t szOfComent = 0;  // capacity of the comment as read from the file, 0 if none
    char strXpAuthor[100] = {};
    char strXpKeyword[100] = {};  // keywords separated by ";"
    char strXpSubject[100] = {};
    char strName[100] = {};  // file name with extension
    char strPath[256] = {};  // folder, without trailing separator
    char strFullPath[356] = {};
    float fSize = 0;           // megabytes
    std::int32_t dwCTime = 0;  // seconds since 1970-01-01 00:00 UTC, low 32 bits
    std::int32_t dwMTime = 0;
    std::int32_t nbKeyword = 0;   // 1 when the file's keywords tag holds a keyword
    std::int32_t dwDateTime = 0;  // shot time; 0 when unknown
    float fGPSLatitude = 0;       // north positive
    float fGPSLongitude = 0;      // east positive
    std::int32_t nGPSAlititude = 0;
    char strMake[32] = {};
    char strModel[40] = {};
    std::int32_t nWidth = 0;
    std::int32_t nHeight = 0;
    std::int32_t nFocalLength = 0;
    float fExposureTime = 0;
    float fApertureFNumber = 0;
    std::int32_t nISOequivalent = 0;
    std::int32_t nFocalplaneXRes = 0;
    std::int32_t nFocalplaneYRes = 0;
    char strOrientation[20] = {};  // "Top-left", "Right-top", ...

    bool HasPosition() const { return fGPSLatitude != 0 || fGPSLongitude != 0; }
};

// Copies text into one of the record's fixed fields, cut at a character
// boundary so that it always fits with its terminator.
template <std::size_t N>
void SetField(char (&field)[N], std::string_view text) {
    CopyBounded(field, N, text);
}
