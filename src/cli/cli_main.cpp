// darazoz-cli: the headless front of the photo catalogue. It works on the
// same data folder as the program and loads and saves the catalogue the same
// way; each command is a thin call into the core.

#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/photo_catalogue.h"
#include "cli/cli_commands.h"
#include "platform/data_folder.h"
#include "platform/data_folder_lock.h"
#include "platform/heap_growth.h"

int main(int argc, char** argv) {
    GrowHeapInLargeSteps();
    std::vector<std::string> args(argv + 1, argv + argc);
    // The option comes before the command; without its folder the default
    // data folder would be used silently.
    if (!args.empty() && (args[0] == "--data-dir" ? args.size() < 2 : args[0] == "--data-dir=")) {
        std::fprintf(stderr, "darazoz-cli: --data-dir needs a folder: --data-dir DIR\n\n");
        PrintUsage(stderr);
        return 2;
    }
    const std::string folder = ConfigureDataFolder(args);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintUsage(stdout);
        return args.empty() ? 2 : 0;
    }
    if (args[0] == "--version") {
        std::printf("darazoz-cli %s\n", DARAZOZ_VERSION);
        return 0;
    }
    const CliCommand* command = FindCommand(args[0]);
    if (!command) {
        std::fprintf(stderr, "darazoz-cli: unknown command '%s'\n\n", args[0].c_str());
        PrintUsage(stderr);
        return 2;
    }
    DataFolderLock lock(folder);
    if (!lock.held() && !command->readsOnly) {
        std::fprintf(stderr,
                     "darazoz-cli: the data folder %s is in use by another process "
                     "(the program or another darazoz-cli); close it and try again.\n",
                     folder.c_str());
        return 3;
    }
    Library library(lock.held() ? Library::Access::ReadWrite : Library::Access::ReadOnly);
    return command->run(library, std::vector<std::string>(args.begin() + 1, args.end()));
}
