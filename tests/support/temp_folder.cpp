#include "temp_folder.h"

#include <filesystem>
#include <random>
#include <stdexcept>
#include <system_error>

TempFolder::TempFolder() {
    std::filesystem::path base = std::filesystem::temp_directory_path();
    std::random_device device;
    std::mt19937_64 random(device());
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path candidate = base / ("darazoz-test-" + std::to_string(random()));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            path_ = candidate.string();
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder under " + base.string());
}

TempFolder::~TempFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
}

std::string TempFolder::File(const std::string& name) const {
    return (std::filesystem::path(path_) / name).string();
}
