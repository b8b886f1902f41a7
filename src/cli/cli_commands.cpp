#include "cli/cli_commands.h"

namespace {

const CliCommand kCommands[] = {
    {"import", "PATH...", "import folders (with their subfolders) and JPEG files", RunImport},
    {"info", "FILE", "show what reading one JPEG file gives, with its photo id", RunInfo},
    {"regions", "[--all]",
     "look up the regions of photos with a position and no region names (--all: every "
     "photo with a position) through the running companion map",
     RunRegions},
    {"track", "FILE...",
     "take positions from the running companion map's tracks by shot time and write them",
     RunTrack},
    {"stats", "", "print the number of rows of each catalogue table", RunStats},
};

}  // namespace

const CliCommand* FindCommand(const std::string& name) {
    for (const CliCommand& command : kCommands)
        if (name == command.name) return &command;
    return nullptr;
}

void PrintUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: darazoz-cli [--data-dir DIR] COMMAND [ARGS...]\n\n"
                 "The data folder holds the catalogue myJpgdb.db. It is DIR, else\n"
                 "$DARAZOZ_DATA_DIR, else the program's data folder.\n\ncommands:\n");
    for (const CliCommand& command : kCommands)
        std::fprintf(out, "  %-7s %-8s %s\n", command.name, command.arguments, command.summary);
}
