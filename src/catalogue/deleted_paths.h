#pragma once
// tDelTable: paths of files the user removed from the album. Imports that
// are not forced skip them; a forced import takes the path off the list.

#include <string>

class Library;

bool IsDeletedPath(Library& library, const std::string& path);
// True when the import may go on with path.
bool PassDeletedPathCheck(Library& library, const std::string& path, bool force);
void AddDeletedPath(Library& library, const std::string& path);
void RemoveDeletedPath(Library& library, const std::string& path);
