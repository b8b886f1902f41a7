#include "cli/edit_arguments.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>
#include <string_view>

#include <algorithm>
#include <cctype>

#include "import/jpeg_name.h"
#include "import/position_range.h"
#include "platform/c_locale_numbers.h"
#include "platform/local_time.h"

namespace {

// "YYYY-MM-DD HH:MM:SS" as local wall-clock time -> seconds since 1970 UTC.
bool ParseShotTime(const std::string& text, std::int32_t& seconds) {
    int year, month, day, hour, minute, second, end = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%n", &year, &month, &day, &hour, &minute,
                    &second, &end) != 6 ||
        end != static_cast<int>(text.size()))
        return false;
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59)
        return false;
    // Exact: 31 April is refused rather than taken for 1 May.
    const std::optional<std::int64_t> t =
        LocalWallSeconds(year, month, day, hour, minute, second, true);
    if (!t || *t < std::numeric_limits<std::int32_t>::min() ||
        *t > std::numeric_limits<std::int32_t>::max())
        return false;
    seconds = static_cast<std::int32_t>(*t);
    return true;
}

// "LAT,LON" or "LAT,LON,ALT"; the degrees are read with a '.' whatever the
// locale.
bool ReadPositionFields(std::string_view text, double& latitude, double& longitude,
                        long long& altitude) {
    std::size_t used = ReadDouble(text, latitude);
    if (used == 0 || used >= text.size() || text[used] != ',') return false;
    text.remove_prefix(used + 1);
    used = ReadDouble(text, longitude);
    if (used == 0) return false;
    text.remove_prefix(used);
    if (text.empty()) return true;
    if (text[0] != ',') return false;
    const std::string rest(text.substr(1));
    int end = 0;
    return std::sscanf(rest.c_str(), "%lld%n", &altitude, &end) == 1 &&
           end == static_cast<int>(rest.size());
}

bool ParsePosition(const std::string& text, GpsPosition& position, std::string& error) {
    double latitude = 0, longitude = 0;
    long long altitude = 0;
    if (!ReadPositionFields(text, latitude, longitude, altitude) || !std::isfinite(latitude) ||
        !std::isfinite(longitude)) {
        error =
            "--position takes LAT,LON or LAT,LON,ALT (degrees, whole metres), e.g. "
            "-33.5,151.25,12";
        return false;
    }
    // The same ranges as the properties dialog's rows.
    if (const std::optional<PositionPart> part =
            PositionOutOfRange(latitude, longitude, static_cast<double>(altitude))) {
        const char* what = *part == PositionPart::Latitude    ? "latitude"
                           : *part == PositionPart::Longitude ? "longitude"
                                                              : "altitude";
        const char* unit = *part == PositionPart::Altitude ? "metres" : "degrees";
        const double limit = PositionLimit(*part);
        char message[96];
        std::snprintf(message, sizeof message, "the %s must lie between -%.0f and %.0f %s", what,
                      limit, limit, unit);
        error = message;
        return false;
    }
    position = {static_cast<float>(latitude), static_cast<float>(longitude),
                static_cast<std::int32_t>(altitude)};
    return true;
}

}  // namespace

std::string FileNameForTitle(const std::string& title) {
    return RenamedPhotoFileName(title);
}

bool ParseEditArguments(const std::vector<std::string>& args, EditArguments& arguments,
                        std::string& error) {
    PhotoEdit& edit = arguments.edit;
    bool anyField = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option.rfind("--", 0) != 0) {
            arguments.files.push_back(option);
            continue;
        }
        if (i + 1 >= args.size()) {
            error = option + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        anyField = true;
        if (option == "--keywords") {
            edit.keywords = value;
        } else if (option == "--subject") {
            edit.subject = value;
        } else if (option == "--author") {
            edit.author = value;
        } else if (option == "--comment") {
            edit.comment = value;
        } else if (option == "--make") {
            edit.make = value;
        } else if (option == "--model") {
            edit.model = value;
        } else if (option == "--title") {
            edit.newName = FileNameForTitle(value);
        } else if (option == "--shot-time") {
            std::int32_t seconds = 0;
            if (!ParseShotTime(value, seconds)) {
                error =
                    "--shot-time takes a valid local time \"YYYY-MM-DD HH:MM:SS\" between "
                    "1901 and 2038, not \"" +
                    value + "\"";
                return false;
            }
            edit.shotTime = seconds;
        } else if (option == "--position") {
            GpsPosition position;
            if (!ParsePosition(value, position, error)) return false;
            edit.position = position;
        } else {
            error = "unknown option " + option;
            return false;
        }
    }
    if (!anyField) {
        error = "name at least one field to write (see darazoz-cli help)";
        return false;
    }
    if (arguments.files.empty()) {
        error = "name at least one JPEG file";
        return false;
    }
    if (edit.newName && arguments.files.size() > 1) {
        error = "--title renames the file, so it takes exactly one FILE";
        return false;
    }
    return true;
}
