#pragma once
// The companion's answers to the program's map link messages, without any
// transport: the handshake gives the program a link id; a request under any
// other id (or before the handshake) is refused with a negative result, so
// that the program introduces itself again; a region request (20003) is
// answered by a 20003 message of our own to the program, holding the names
// of the position from the largest administrative level down (a country
// alone repeated at the city level), or n = -2 when there are none. The map
// requests (20001, 20004, 20005) go to their handlers, which answer later
// through the service; a request without a handler, and any other code,
// returns 0.
//
// Threads: Handle, and so every handler, runs on one thread at a time (the
// service's): a handler hands its work on and returns at once. Status may be
// read from any thread.

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "maplink/link_message.h"
#include "maplink/map_records.h"

// Region names of a position, largest level first; empty when none.
using RegionNamer = std::function<std::vector<std::string>(double latitude, double longitude)>;

struct RegionLookupRecord {
    double latitude = 0;
    double longitude = 0;
    std::vector<std::string> names;  // empty: answered n = -2
};

// What the map window and the track matcher do with the program's requests.
// flags are the request's window flags (kFlagRestoreWindow, kFlagBringToTop).
struct MapRequestHandlers {
    // 20004: show these photos at their positions.
    std::function<void(std::vector<MapPhotoRecord> photos, std::uint32_t flags)> showPhotos;
    // 20001: let the user pick a position; answered later with a 20001 PickedPosition.
    std::function<void(std::uint32_t flags)> pickPosition;
    // 20005: positions from the recorded tracks at the records' shot times;
    // answered later with a 20005 holding every record, 0,0 where none was found.
    std::function<void(std::vector<MapPhotoRecord> records, std::uint32_t flags)> findPositions;
};

struct CompanionStatus {
    int lookupsAnswered = 0;
    std::optional<RegionLookupRecord> lastLookup;
};

class CompanionProtocol {
  public:
    CompanionProtocol(RegionNamer namer, std::int32_t linkId, MapRequestHandlers map = {});

    // Returns the result for the sender; messages to send to the program
    // once the sender has its result are appended to toProgram.
    std::int64_t Handle(const LinkMessage& message, std::vector<LinkMessage>& toProgram);

    std::int32_t LinkId() const { return linkId_; }
    CompanionStatus Status() const;

  private:
    std::int64_t AnswerRegionLookup(const LinkMessage& request,
                                    std::vector<LinkMessage>& toProgram);
    std::int64_t HandOnMapRequest(const LinkMessage& request) const;

    RegionNamer namer_;
    MapRequestHandlers map_;
    const std::int32_t linkId_;
    bool introduced_ = false;  // the handshake has run
    mutable std::mutex statusMutex_;
    CompanionStatus status_;
};

// True for a latitude in -90..90 and a longitude in -180..180 (no NaN).
bool IsValidPosition(double latitude, double longitude);
