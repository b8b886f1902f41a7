#include "zidevu/zidevu_options.h"

bool ParseZidevuOptions(const std::vector<std::string>& args, ZidevuOptions& options) {
    bool importing = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (importing && !arg.starts_with("--")) {
            options.importTracks.push_back(arg);
        } else if (arg == "--import-track") {
            importing = true;
        } else if (arg == "--track-store" && i + 1 < args.size()) {
            options.trackStoreFile = args[++i];
        } else if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "--install") {
            options.install = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--region-data" && i + 1 < args.size()) {
            options.regionDataFile = args[++i];
        } else {
            return false;
        }
    }
    return !importing || !options.importTracks.empty();
}
