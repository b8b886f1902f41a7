#pragma once
// The statement that selects the photos matching the search filter, as rows
// (dwDateTime, strName, idPic) ordered by shot time descending. Keyword
// searches read tKeyWord, so a photo carrying both keywords yields two rows.
// Bounds are exclusive; keywords are quoted safely. Internal to this folder
// (the benchmarks run it through the sqlite3 shell too).

#include <string>

#include "catalogue/search_filter.h"

std::string SearchStatement(const SearchFilter& filter);
