#pragma once
// The commands of darazoz-cli. Each returns the process exit status.

#include <cstdio>
#include <string>
#include <vector>

class Library;

// A command works on the library that main() constructed for it.
struct CliCommand {
    const char* name;
    const char* arguments;
    const char* summary;
    int (*run)(Library& library, const std::vector<std::string>& args);
    // Only reads: runs on the saved catalogue file while another process
    // holds the data folder.
    bool readsOnly = false;
};

const CliCommand* FindCommand(const std::string& name);
void PrintUsage(std::FILE* out);

int RunStats(Library& library, const std::vector<std::string>& args);
int RunImport(Library& library, const std::vector<std::string>& args);
int RunInfo(Library& library, const std::vector<std::string>& args);
int RunEdit(Library& library, const std::vector<std::string>& args);
int RunSearch(Library& library, const std::vector<std::string>& args);
int RunUpdate(Library& library, const std::vector<std::string>& args);
int RunTidyCommand(Library& library, const std::vector<std::string>& args);
int RunRegions(Library& library, const std::vector<std::string>& args);
int RunTrack(Library& library, const std::vector<std::string>& args);

// Opens the catalogue; when it cannot be opened, prints the catalogue file
// and the reason to standard error and returns false (the file is left as
// it is). Commands then exit with status 1.
bool OpenCatalogueOrReport(Library& library);

// Prints that the catalogue file could not be written (the old file is
// left as it was) and returns the exit status 1.
int ReportSaveFailure();
