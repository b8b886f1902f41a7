#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <thread>

#include "catalogue/catalogue_save.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/photo_rows.h"
#include "catalogue/position_rows.h"
#include "catalogue/process_flags.h"
#include "cli/cli_commands.h"
#include "import/region_lookup_worker.h"
#include "import/track_apply_worker.h"
#include "maplink/map_link.h"
#include "maplink/region_buffer.h"
#include "platform/c_locale_numbers.h"

namespace {

constexpr int kNoCompanion = 3;
// How long the tool waits for the companion's track answer.
constexpr std::chrono::seconds kTrackReplyWait{10};

// The program's link endpoint, hosted by the tool while a command runs.
struct ToolLink {
    RegionBuffer regionBuffer;
    MapLink link{regionBuffer};
};

bool CompanionRunningOrSay(const char* command, MapLink& link) {
    if (link.CompanionWindowExists()) return true;
    std::fprintf(stderr, "darazoz-cli %s: the companion map is not running; nothing changed\n",
                 command);
    return false;
}

// Runs work on a worker thread while this thread handles the companion's
// messages, as the program's UI thread does.
void RunBesideLink(MapLink& link, const std::function<void()>& work) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
        work();
        done = true;
        link.Endpoint().Interrupt();
    });
    while (!done) link.Endpoint().WaitAndProcess(std::chrono::milliseconds(100));
    worker.join();
}

int SaveOrSay(Library& library, bool changed) {
    if (!changed || SaveCatalogue(library) == 0) return 0;
    return ReportSaveFailure();
}

const char* SkipText(TrackSkip why) {
    switch (why) {
        case TrackSkip::NoPosition:
            return "no track position at its shot time";
        case TrackSkip::OutOfRange:
            return "the companion's position is out of range";
        case TrackSkip::NotCatalogued:
            return "no longer in the catalogue";
        case TrackSkip::WriteFailed:
            return "the file could not be written (left unchanged)";
    }
    return "";
}

}  // namespace

// Looks up the regions of catalogued photos with a position through the
// running companion map and stores the names it gives.
int RunRegions(Library& library, const std::vector<std::string>& args) {
    const bool all = args.size() == 1 && args[0] == "--all";
    if (!args.empty() && !all) {
        std::fprintf(stderr, "darazoz-cli regions: the only option is --all\n");
        return 2;
    }
    if (!OpenCatalogueOrReport(library)) return 1;
    ToolLink tool;
    if (!CompanionRunningOrSay("regions", tool.link)) return kNoCompanion;

    library.PendingRegions().Replace(PhotosWithPosition(library, !all));
    RegionLookupResult result;
    int retries = 0;
    const StopToken stop{&ExitToken};  // the tool has no 取消
    const RegionLookupJob job{library, library.PendingRegions(), stop, retries};
    RunBesideLink(tool.link, [&] { result = RunRegionLookup(tool.link, tool.regionBuffer, job); });
    if (result.end == RegionLookupEnd::NoCompanion) {
        std::fprintf(stderr, "darazoz-cli regions: the companion map went away; nothing changed\n");
        return kNoCompanion;
    }
    std::printf("resolved %d, outside the area %d, unanswered %d (of %d)\n", result.resolved,
                result.outside, result.unanswered, result.total);
    return SaveOrSay(library, result.resolved > 0);
}

// Asks the running companion map for the positions of photos at their shot
// times (from its recorded tracks) and writes them into the files and the
// catalogue.
int RunTrack(Library& library, const std::vector<std::string>& args) {
    if (args.empty()) {
        std::fprintf(stderr, "darazoz-cli track: name at least one catalogued JPEG file\n");
        return 2;
    }
    if (!OpenCatalogueOrReport(library)) return 1;
    ToolLink tool;
    if (!CompanionRunningOrSay("track", tool.link)) return kNoCompanion;

    bool allTaken = true;
    std::vector<MapPhotoRecord> request;
    for (const std::string& arg : args) {
        std::error_code ec;
        const std::string path = std::filesystem::absolute(arg, ec).lexically_normal().string();
        const auto id = PhotoIdByPath(library, path);
        const std::int32_t shotTime = id ? PhotoShotTime(library, PhotoRef{*id, false}) : 0;
        if (!id || shotTime == 0) {
            std::fprintf(stderr, "darazoz-cli track: %s: %s\n", arg.c_str(),
                         id ? "has no shot time" : "not in the catalogue");
            allTaken = false;
            continue;
        }
        request.push_back({*id, shotTime, 0, 0, 0});
    }
    if (request.empty()) return 2;

    std::optional<std::vector<MapPhotoRecord>> reply;
    tool.link.SetTrackPositionsReceiver(
        [&reply](std::vector<MapPhotoRecord> records) { reply = std::move(records); });
    tool.link.SendToCompanion(kCodeTrackPositions, PackMapPhotoRecords(request));
    // A reply without any position reaches no receiver; it shows in the count.
    const auto deadline = std::chrono::steady_clock::now() + kTrackReplyWait;
    while (!reply && tool.link.LastTrackRecordCount() == 0 &&
           std::chrono::steady_clock::now() < deadline)
        tool.link.Endpoint().WaitAndProcess(std::chrono::milliseconds(100));
    if (!reply && tool.link.LastTrackRecordCount() == 0) {
        std::fprintf(stderr,
                     "darazoz-cli track: the companion map did not answer; nothing changed\n");
        return 1;
    }
    if (!reply) {
        std::printf("written 0 of %zu: the companion has no track position for these photos\n",
                    request.size());
        return 1;
    }

    const StopToken stop{&ExitToken};  // the tool has no 取消
    const TrackApplyResult result =
        RunTrackApply(*reply, {library,
                               RoutedPhotoWriter(library, {nullptr, library.PendingRegions()}),
                               library.PendingRegions(),
                               stop,
                               {}});
    for (std::size_t i = 0; i < result.written.size(); ++i)
        std::printf("%s %s %s\n", result.writtenPaths[i].c_str(),
                    FixedText(result.written[i].latitude, 6).c_str(),
                    FixedText(result.written[i].longitude, 6).c_str());
    for (const TrackFailure& f : result.failures)
        std::fprintf(stderr, "darazoz-cli track: %s: %s\n",
                     f.path.empty() ? std::to_string(f.idPic).c_str() : f.path.c_str(),
                     SkipText(f.why));
    std::printf("written %d of %d\n", result.applied, result.total);
    if (const int saved = SaveOrSay(library, result.applied > 0)) return saved;
    // 0 only when every photo named got its position.
    return allTaken && result.applied == result.total ? 0 : 1;
}
