#pragma once
// Where the catalogue lives. In order of precedence: the --data-dir option,
// the DARAZOZ_DATA_DIR environment variable, <program folder>/data when that
// folder exists or can be created and written and the program is not an
// installed one (<prefix>/bin beside <prefix>/share/darazoz), else
// $XDG_DATA_HOME/darazoz/data (default ~/.local/share/darazoz/data).
//
// Process-wide on purpose: it is chosen once, before anything is opened, and
// the catalogue, the settings files and the folder lock all live in it.

#include <string>
#include <vector>

// Picks the data folder from the command line (removing --data-dir DIR or
// --data-dir=DIR from args) and the environment, and makes it current for
// the process. Returns the chosen folder.
std::string ConfigureDataFolder(std::vector<std::string>& args);
// The same for a folder already taken from the command line; empty: the
// environment's or the default folder.
std::string ConfigureDataFolder(const std::string& requested);

// Sets the data folder explicitly (tests, tools).
void SetDataFolder(const std::string& folder);

// The current data folder; resolved from the environment on first use when
// nobody configured it.
std::string DataFolder();

// Creates the folder (and its parents) when it is not a directory yet.
bool EnsureFolder(const std::string& folder);

// Folder of the running executable.
std::string ProgramFolder();
