#pragma once
// The keywords the catalogue's photos carry, for pickers that offer them.
//
// Threads: any thread; holds the catalogue session for the call.

#include <string>
#include <vector>

// Every distinct keyword of tKeyWord in the index's (binary) order, UTF-8;
// empty when the catalogue cannot be opened.
std::vector<std::string> DistinctKeywords();
