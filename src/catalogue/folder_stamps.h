#pragma once
// The folder list: every folder holding catalogued photos with its
// last-write time, in memory (held by the Library) and in tFolder.
// A folder whose time on disk differs from the stored one is "changed": the
// library update offers to re-read it. Paths are UTF-8 and compared byte
// for byte.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/photo_catalogue.h"

// Sets a folder's stamp. time 0 means "read it from disk"; a drive root that
// gives no time takes the current time; a folder that still has no time
// loses its entry. A changed time clears the changed mark.
void PutFolderStamp(Library& library, const std::string& path, std::int64_t time);

// Fills the list from tFolder for every folder of tJpgMsg that has a row.
void LoadFolderList(Library& library);

// Fills the list from disk for every folder of tJpgMsg.
void RebuildFolderList(Library& library);

// Rewrites tFolder from the list, unless it is empty or tFolder holds it row for row.
void WriteFolderTable(Library& library);

// Marks the folders whose time on disk differs from their stamp (or that
// are gone) and tells whether any folder is marked.
bool AnyFolderChanged(Library& library);

// After the program rewrote a file in a catalogued folder: takes the
// folder's new time into the list and tFolder (loading the list first when
// it is empty), so that the own change is not taken for an outside one at
// the next start. The folder is marked for this session, as a check would
// mark it, and a mark stays.
void RefreshFolderStamp(Library& library, const std::string& path);

// The listed folders in list order (loading the list first when it is empty).
std::vector<std::string> ListedFolders(Library& library);

// A copy of the list as it is.
FolderStampList FolderStamps(Library& library);

// The marked folders after a check (loading the list first when it is
// empty); nullopt when there is no list at all.
std::optional<std::vector<std::string>> ChangedFolders(Library& library);

// Takes the mark off one folder (the update has re-read it).
void ClearFolderMark(Library& library, const std::string& folder);

// Empties the list in memory, as a new start finds it; tFolder stays.
void ForgetFolderList(Library& library);
