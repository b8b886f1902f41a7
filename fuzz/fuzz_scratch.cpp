#include "fuzz_scratch.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

// Never destroyed: the exit handler that removes the folder runs after the
// destructors of statics constructed later than its registration.
const std::string& ScratchFolder() {
    static const std::string* folder = [] {
        auto* pattern = new std::string(
            (std::filesystem::temp_directory_path() / "darazoz-fuzz-XXXXXX").string());
        if (!::mkdtemp(pattern->data())) throw std::runtime_error("cannot create " + *pattern);
        std::atexit([] {
            std::error_code error;
            std::filesystem::remove_all(ScratchFolder(), error);
        });
        return pattern;
    }();
    return *folder;
}

}  // namespace

std::string ScratchPath(const std::string& name) {
    return (std::filesystem::path(ScratchFolder()) / name).string();
}

bool WriteScratchFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(out);
}
