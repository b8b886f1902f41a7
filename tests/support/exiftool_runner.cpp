#include "exiftool_runner.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

bool HaveExiftool() {
    static const bool have = std::system("exiftool -ver >/dev/null 2>&1") == 0;
    return have;
}

std::string RunExiftool(const std::vector<std::string>& arguments) {
    char name[] = "/tmp/darazoz-exiftool-args-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) return {};
    close(fd);
    {
        std::ofstream file(name, std::ios::binary);
        for (const std::string& argument : arguments) file << argument << '\n';
    }
    std::string out;
    const std::string command = std::string("exiftool -charset UTF8 -@ ") + name + " 2>&1";
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
        pclose(pipe);
    }
    std::remove(name);
    return out;
}

std::string ExiftoolValue(const std::string& path, const std::string& tag) {
    std::string value = RunExiftool({"-q", "-q", "-s3", "-sep", ",", "-" + tag, path});
    while (!value.empty() && value.back() == '\n') value.pop_back();
    return value;
}
