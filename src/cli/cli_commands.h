#pragma once
// The commands of darazoz-cli. Each returns the process exit status.

#include <cstdio>
#include <string>
#include <vector>

struct CliCommand {
    const char* name;
    const char* arguments;
    const char* summary;
    int (*run)(const std::vector<std::string>& args);
};

const CliCommand* FindCommand(const std::string& name);
void PrintUsage(std::FILE* out);

int RunStats(const std::vector<std::string>& args);
int RunImport(const std::vector<std::string>& args);
int RunInfo(const std::vector<std::string>& args);
int RunEdit(const std::vector<std::string>& args);
int RunSearch(const std::vector<std::string>& args);
int RunUpdate(const std::vector<std::string>& args);
int RunTidyCommand(const std::vector<std::string>& args);
int RunRegions(const std::vector<std::string>& args);
int RunTrack(const std::vector<std::string>& args);
