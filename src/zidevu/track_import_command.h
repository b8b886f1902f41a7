#pragma once
// `zidevu --import-track FILE...`: stores the tracks of the files and says
// per file what was stored or why not. Needs no display and no running
// companion.

#include <string>
#include <vector>

// 0 when every file's track is in the store (stored now or before), 1 when
// any file imported nothing or the store cannot be opened.
int RunTrackImport(const std::vector<std::string>& files, const std::string& storePath);
