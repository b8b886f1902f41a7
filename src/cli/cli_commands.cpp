#include "cli/cli_commands.h"

namespace {

const CliCommand kCommands[] = {
    {"edit", "[FIELDS] FILE...", "write metadata fields into JPEG files (see below)", RunEdit},
    {"import", "PATH...", "import folders (with their subfolders) and JPEG files", RunImport},
    {"info", "FILE", "show what reading one JPEG file gives, with its photo id", RunInfo, true},
    {"regions", "[--all]",
     "look up the regions of photos with a position and no region names (--all: every "
     "photo with a position) through the running companion map",
     RunRegions},
    {"track", "FILE...",
     "take positions from the running companion map's tracks by shot time and write them",
     RunTrack},
    {"search", "[OPTION]",
     "print the full paths of the photos found, newest first:\n"
     "                   --keyword K (twice: either matches), --from YYYY-MM-DD,\n"
     "                   --to YYYY-MM-DD, --lon MIN,MAX, --lat MIN,MAX",
     RunSearch, true},
    {"stats", "", "print the number of rows of each catalogue table", RunStats, true},
    {"tidy", "[--thorough]", "drop photos whose files are gone (--thorough: and rebuild the file)",
     RunTidyCommand},
    {"update", "", "re-read modified photos and drop vanished ones in changed folders", RunUpdate},
};

}  // namespace

const CliCommand* FindCommand(const std::string& name) {
    for (const CliCommand& command : kCommands)
        if (name == command.name) return &command;
    return nullptr;
}

void PrintUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: darazoz-cli [--data-dir DIR] COMMAND [ARGS...]\n"
                 "       darazoz-cli --help | --version\n\n"
                 "The data folder holds the catalogue myJpgdb.db. It is DIR, else\n"
                 "$DARAZOZ_DATA_DIR, else the program's data folder. While the program\n"
                 "uses it, info, search and stats read the last saved catalogue.\n\ncommands:\n");
    for (const CliCommand& command : kCommands)
        std::fprintf(out, "  %-7s %-8s %s\n", command.name, command.arguments, command.summary);
    std::fprintf(
        out,
        "\nedit fields (texts are UTF-8):\n"
        "  --keywords T   keywords, separated by \";\"\n"
        "  --subject T    --author T    --comment T    --make T    --model T\n"
        "  --title T      rename the file to T up to its first \".\", with \".JPG\" (as the\n"
        "                 properties dialog does), and set the title tag to that name;\n"
        "                 one FILE only\n"
        "  --shot-time \"YYYY-MM-DD HH:MM:SS\"   local time\n"
        "  --position LAT,LON[,ALT]            degrees (south, west negative), metres\n"
        "Only the named fields change; every other tag and segment of the file is kept.\n"
        "Each file is replaced in one step, so it is never left half written.\n"
        "Catalogued photos get their catalogue rows refreshed. Exit status: 0 all\n"
        "written, 1 some failed (one line each on standard error), 2 bad arguments.\n"
        "\ntrack exit status: 0 every photo named got a position, 1 some or all did not,\n"
        "2 none of the files can be asked about, 3 the companion map is not running.\n");
}
