#pragma once
// The command line of zidevu.

#include <string>
#include <vector>

struct ZidevuOptions {
    bool headless = false;  // no window (QCoreApplication)
    bool install = false;   // write the install settings and exit
    bool help = false;
    std::string regionDataFile;             // empty: the one shipped beside the program
    std::vector<std::string> importTracks;  // --import-track: store these and exit
    std::string trackStoreFile;             // empty: the one beside the settings
};

inline constexpr const char* kZidevuUsage =
    "usage: zidevu [--headless] [--region-data FILE]\n"
    "       zidevu --install\n"
    "       zidevu --import-track FILE... [--track-store FILE]\n"
    "The companion map program of Darazoz: answers the album's map link requests\n"
    "(region names of GPS positions, offline; positions from recorded tracks).\n"
    "  --headless           run without a window (also chosen when there is no display)\n"
    "  --region-data FILE   region data file instead of the shipped zidevu-regions.db\n"
    "  --install            record this program in the settings the album reads, then exit\n"
    "  --import-track FILE...  store the tracks of GPX, KML or NMEA files, then exit\n"
    "  --track-store FILE   track store instead of zidevu-tracks.db beside the settings\n"
    "  --help               this text\n";

// False for an unknown option or a missing value.
bool ParseZidevuOptions(const std::vector<std::string>& args, ZidevuOptions& options);
