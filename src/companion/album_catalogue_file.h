#pragma once
// Where the album keeps its catalogue, as the album chooses its data folder:
// the DARAZOZ_DATA_DIR environment variable (the album sets it for the
// programs it starts), else <program folder>/data when it holds a catalogue,
// else $XDG_DATA_HOME/darazoz/data (default ~/.local/share/darazoz/data).

#include <string>

std::string AlbumCatalogueFile(const std::string& programFolder);
