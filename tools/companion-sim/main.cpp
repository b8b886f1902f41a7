// companion-sim: runs the companion simulator until the command "quit" is
// given or SIGTERM / SIGINT arrives. When standard input ends (or there is
// none, as when the program starts the simulator), it keeps running.
// Commands on standard input, one a line:
//   select ID [ID...]          send a photo selection (kind 2) to the program
//   select-kind K ID [ID...]   the same with the first record of kind K
//   quit
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <sstream>
#include <string>

#include "companion_settings_writer.h"
#include "companion_sim.h"
#include "maplink/companion_locator.h"

namespace {

volatile std::sig_atomic_t gStop = 0;

void OnSignal(int) {
    gStop = 1;
}

constexpr const char* kUsage =
    "usage: companion-sim [options]\n"
    "  --regions FILE          region table (lat-min lat-max lon-min lon-max | name | ...)\n"
    "  --region-reply MODE     table (default), none (n = -2), zero (n = 0), silent\n"
    "  --outside MODE          answer outside every box: empty (one empty name, default) or none\n"
    "  --reply WHEN            after (reply after returning, default) or sync (from the handler)\n"
    "  --pick LAT,LON          position answered to a pick request\n"
    "  --track FILE.gpx        track for position requests by shot time\n"
    "  --link-id N             link id given by the handshake (default 7)\n"
    "  --log FILE              log received messages to FILE (default: standard output)\n"
    "  --install VERSION       write the install marker, LastVersion and LastRunPath\n";

bool ParseOptions(int argc, char** argv, CompanionSimOptions& options, std::string& logPath,
                  long& installVersion) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc) return false;
        const std::string value = argv[++i];
        if (option == "--regions") {
            auto table = RegionTable::Load(value);
            if (!table) return false;
            options.regions = std::move(*table);
        } else if (option == "--region-reply") {
            if (value == "table")
                options.regionMode = RegionReplyMode::Table;
            else if (value == "none")
                options.regionMode = RegionReplyMode::NoNames;
            else if (value == "zero")
                options.regionMode = RegionReplyMode::ZeroNames;
            else if (value == "silent")
                options.regionMode = RegionReplyMode::Silent;
            else
                return false;
        } else if (option == "--outside") {
            if (value != "empty" && value != "none") return false;
            options.noNamesOutsideTable = value == "none";
        } else if (option == "--reply") {
            if (value != "after" && value != "sync") return false;
            options.timing = value == "sync" ? ReplyTiming::Synchronous : ReplyTiming::AfterReturn;
        } else if (option == "--pick") {
            char comma = 0;
            std::istringstream in(value);
            if (!(in >> options.pickedPosition.latitude >> comma >>
                  options.pickedPosition.longitude) ||
                comma != ',') {
                return false;
            }
        } else if (option == "--track") {
            auto track = GpxTrack::Load(value);
            if (!track) return false;
            options.track = std::move(*track);
        } else if (option == "--link-id") {
            options.linkId = std::atoi(value.c_str());
        } else if (option == "--log") {
            logPath = value;
        } else if (option == "--install") {
            installVersion = std::atol(value.c_str());
        } else {
            return false;
        }
    }
    return true;
}

void RunCommand(const std::string& line, CompanionSim& sim) {
    std::istringstream in(line);
    std::string command;
    in >> command;
    std::int32_t kind = kMapPhotoSelectionKind;
    if (command == "select-kind") {
        in >> kind;
    } else if (command != "select") {
        std::cerr << "unknown command: " << command << "\n";
        return;
    }
    std::vector<std::int64_t> ids;
    for (std::int64_t id; in >> id;) ids.push_back(id);
    sim.SendPhotoSelection(ids, kind);
}

}  // namespace

int main(int argc, char** argv) {
    CompanionSimOptions options;
    std::string logPath;
    long installVersion = -1;
    if (!ParseOptions(argc, argv, options, logPath, installVersion)) {
        std::cerr << kUsage;
        return 2;
    }
    if (installVersion >= 0) {
        std::error_code error;
        const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
        if (!WriteCompanionSettings(CompanionSettingsPath(),
                                    static_cast<std::uint32_t>(installVersion),
                                    error ? argv[0] : self.string())) {
            std::cerr << "cannot write " << CompanionSettingsPath() << "\n";
            return 1;
        }
    }

    std::ofstream logFile;
    if (!logPath.empty()) logFile.open(logPath, std::ios::app);
    std::mutex logMutex;
    options.logLine = [&](const std::string& line) {
        std::lock_guard lock(logMutex);
        std::ostream& out = logFile.is_open() ? static_cast<std::ostream&>(logFile) : std::cout;
        out << line << std::endl;
    };

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    CompanionSim sim(std::move(options));
    if (!sim.IsListening()) {
        std::cerr
            << "cannot listen as zazadoRud (another one runs, or the link folder is unsafe)\n";
        return 1;
    }

    std::string pending;
    bool inputOpen = true;
    while (!gStop) {
        // Without input the poll only paces the check of the stop flag.
        pollfd input{inputOpen ? STDIN_FILENO : -1, POLLIN, 0};
        if (poll(&input, 1, 100) <= 0) continue;
        char buffer[512];
        const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            inputOpen = false;
            continue;
        }
        pending.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (line == "quit") return 0;
            if (!line.empty()) RunCommand(line, sim);
        }
    }
    return 0;
}
