#include "cli/cli_commands.h"

namespace {

const CliCommand kCommands[] = {
    {"import", "PATH...", "import folders (with their subfolders) and JPEG files", RunImport},
    {"info", "FILE", "show what reading one JPEG file gives, with its photo id", RunInfo},
    {"stats", "", "print the number of rows of each catalogue table", RunStats},
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
                 "usage: darazoz-cli [--data-dir DIR] COMMAND [ARGS...]\n\n"
                 "The data folder holds the catalogue myJpgdb.db. It is DIR, else\n"
                 "$DARAZOZ_DATA_DIR, else the program's data folder.\n\ncommands:\n");
    for (const CliCommand& command : kCommands)
        std::fprintf(out, "  %-7s %-12s %s\n", command.name, command.arguments, command.summary);
}
