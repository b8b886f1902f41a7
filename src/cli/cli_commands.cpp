#include "cli/cli_commands.h"

namespace {

const CliCommand kCommands[] = {
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
        std::fprintf(out, "  %-8s %-12s %s\n", command.name, command.arguments, command.summary);
}
