#pragma once
// tKeyWord (one row per keyword of a photo) and tSubject (one row per photo
// with a subject). Rows copy the photo's date, position, model, name and
// folder so the category trees can group without joins.

#include <cstdint>
#include <string>
#include <vector>

#include "record/photo_record.h"

class Library;

// Replaces the keyword and subject rows of a photo: one keyword row per
// keyword of strXpKeyword as SplitKeywords reads it.
void WriteKeywordRows(Library& library, std::int64_t id, const PhotoRecord& record);

// The distinct keywords of tKeyWord, in the order the query returns them
// (UTF-8). Empty when the query fails.
std::vector<std::string> DistinctKeywords(Library& library);
