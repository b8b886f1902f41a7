#include "companion_settings_writer.h"

#include <filesystem>
#include <fstream>

#include "maplink/ini_settings_file.h"

bool WriteCompanionSettings(const std::string& settingsPath, std::uint32_t version,
                            const std::string& runPath) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(settingsPath).parent_path(), error);
    if (error) return false;
    std::ofstream out(settingsPath, std::ios::binary | std::ios::trunc);
    out << "[MainFrm]\n"
        << "LastVersion=" << version << "\n"
        << "LastRunPath=" << EncodeIniValue(runPath) << "\n";
    out.flush();
    return static_cast<bool>(out);
}
