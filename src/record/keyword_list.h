#pragma once
// The one reading of a keyword text, as the Windows keywords tag holds it:
// keywords separated by ";", with or without a closing ";". Explorer writes
// "海;山", this program writes "海;山;"; both are the same two keywords, and
// a single keyword needs no ";" at all. The catalogue's keyword rows, the
// photo writer's comparison, the properties dialog, its keyword picker and
// the search all read keyword texts through these functions.
//
// Plain functions over UTF-8 (or code-page) bytes; any thread.

#include <string>
#include <string_view>
#include <vector>

// The keywords of text in order: split at each ";", blanks around each
// keyword trimmed, empty keywords and repeats (exact comparison) left out.
std::vector<std::string> SplitKeywords(std::string_view text);

// Each keyword followed by ";" ("海;山;"); empty for no keywords.
std::string JoinKeywords(const std::vector<std::string>& keywords);

// Whether both texts hold the same keywords, in any order.
bool SameKeywords(std::string_view a, std::string_view b);
