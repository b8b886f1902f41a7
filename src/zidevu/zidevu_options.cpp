#include "zidevu/zidevu_options.h"

bool ParseZidevuOptions(const std::vector<std::string>& args, ZidevuOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--headless") {
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
    return true;
}
