// darazoz-cli search: the photos the search panel would find, as full paths.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/found_photos.h"
#include "catalogue/photo_catalogue.h"
#include "cli/cli_commands.h"
#include "platform/text_codec.h"
#include "tree/search_criteria.h"

namespace {

constexpr const char* kPrefix = "darazoz-cli search: ";

// Reports a bad value; the command then exits with status 2.
bool Refuse(const std::string& message) {
    std::fprintf(stderr, "%s%s\n", kPrefix, message.c_str());
    return false;
}

std::optional<double> ParseDegrees(const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// "MIN,MAX" in either order. A bound of 0 cannot be searched for: 0 marks a
// photo without a position, and the filter takes it for "no range".
bool ParseRange(const std::string& option, const std::string& text, SearchAxis axis, float& first,
                float& second) {
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos)
        return Refuse(option + " takes MIN,MAX (two numbers and a comma), not '" + text + "'");
    const std::string bounds[2] = {text.substr(0, comma), text.substr(comma + 1)};
    float* fields[2] = {&first, &second};
    for (int i = 0; i < 2; ++i) {
        const auto value = ParseDegrees(bounds[i]);
        if (!value) return Refuse(option + ": '" + bounds[i] + "' is not a decimal number");
        if (!CoordinateInRange(axis, *value))
            return Refuse(option + ": " + bounds[i] + " is out of range (" +
                          (axis == SearchAxis::Longitude ? "-180 to 180" : "-90 to 90") + ")");
        if (*value == 0)
            return Refuse(option + ": a bound of 0 cannot be searched (0 means no position)");
        *fields[i] = static_cast<float>(*value);
    }
    return true;
}

bool ParseDayOption(const std::string& option, const std::string& text, CalendarDay& day) {
    const auto parsed = ParseDay(text);
    if (!parsed)
        return Refuse(option + " takes a day YYYY-MM-DD between 1970-01-01 and 2037-12-31, not '" +
                      text + "'");
    day = *parsed;
    return true;
}

// Reads the options into the filter the search panel would store.
bool ParseSearchOptions(const std::vector<std::string>& args, SearchFilter& filter) {
    std::vector<std::string> keywords;
    std::optional<CalendarDay> from;
    std::optional<CalendarDay> to;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string option = args[i];
        std::string value;
        if (const std::size_t equals = option.find('='); equals != std::string::npos) {
            value = option.substr(equals + 1);
            option.resize(equals);
        } else if (option.rfind("--", 0) == 0 && i + 1 < args.size()) {
            value = args[++i];
        } else {
            return Refuse(option.rfind("--", 0) == 0 ? option + " needs a value"
                                                     : "unexpected argument '" + option + "'");
        }
        bool ok = true;
        if (option == "--keyword") {
            if (value.empty()) return Refuse("--keyword needs a non-empty keyword");
            if (!KeywordFits(value))
                return Refuse("keyword '" + value + "' is longer than " +
                              std::to_string(kSearchKeywordBytes) + " bytes of UTF-8");
            keywords.push_back(value);
            if (keywords.size() > 2) return Refuse("at most two --keyword options");
        } else if (option == "--from") {
            ok = ParseDayOption(option, value, from.emplace());
        } else if (option == "--to") {
            ok = ParseDayOption(option, value, to.emplace());
        } else if (option == "--lon") {
            ok = ParseRange(option, value, SearchAxis::Longitude, filter.longitude1,
                            filter.longitude2);
        } else if (option == "--lat") {
            ok =
                ParseRange(option, value, SearchAxis::Latitude, filter.latitude1, filter.latitude2);
        } else {
            ok = Refuse("unknown option '" + option + "'");
        }
        if (!ok) return false;
    }
    // As in the panel, the range runs from the start day's midnight to the
    // end of the last day, both exclusive, and ends today when no end is
    // given. An end alone starts the range just after 1970-01-01 00:00:00
    // UTC, so that photos without a shot time (0) stay out.
    if (from || to) {
        const std::optional<std::int32_t> start = from ? LocalDayStart(*from) : 1;
        const std::optional<std::int32_t> end = LocalDayEnd(to ? *to : LocalToday());
        if (!start || !end) return Refuse("the days lie beyond what the local clock converts");
        if (from && to && *start > *end)
            return Refuse("--from " + FormatDay(*from) + " lies after --to " + FormatDay(*to));
        filter.start = std::max(*start, 1);
        filter.end = *end;
    }
    if (!keywords.empty()) CopyBounded(filter.keywordA, sizeof filter.keywordA, keywords[0]);
    if (keywords.size() > 1) CopyBounded(filter.keywordB, sizeof filter.keywordB, keywords[1]);
    return true;
}

constexpr const char* kSearchHelp =
    "usage: darazoz-cli [--data-dir DIR] search [OPTION]...\n\n"
    "Prints the full path of each photo found, newest first, one a line, then\n"
    "the count on standard error. Without options every photo is listed.\n\n"
    "  --keyword K       photos carrying keyword K (exactly); given twice,\n"
    "                    photos carrying either keyword\n"
    "  --from YYYY-MM-DD shot after the start of that day (local time)\n"
    "  --to YYYY-MM-DD   shot before the end of that day (default: today)\n"
    "  --lon MIN,MAX     longitude strictly between the bounds (-180 to 180)\n"
    "  --lat MIN,MAX     latitude strictly between the bounds (-90 to 90)\n\n"
    "Photos without a shot time or a position are never found by a day or\n"
    "position range. A malformed value exits with status 2.\n";

}  // namespace

int RunSearch(Library& library, const std::vector<std::string>& args) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::fputs(kSearchHelp, stdout);
        return 0;
    }
    SearchFilter filter;
    if (!ParseSearchOptions(args, filter)) return 2;
    // The file is the catalogue while this process holds the data folder:
    // reading it in place spares loading every thumbnail into memory. A file
    // that is missing or lacks a table is opened the usual way, which makes
    // it whole.
    auto found = ReadFoundPhotosInFile(CatalogueFilePath(), filter);
    if (!found) found = ReadFoundPhotos(library, filter);
    if (!found) {
        std::fprintf(stderr, "%sthe catalogue %s cannot be searched\n", kPrefix,
                     CatalogueFilePath().c_str());
        return 1;
    }
    for (const FoundPhoto& photo : *found) std::printf("%s\n", photo.fullPath.c_str());
    std::fflush(stdout);
    std::fprintf(stderr, "%zu photo%s found\n", found->size(), found->size() == 1 ? "" : "s");
    return 0;
}
