// Replays every input kept under tests/fixtures/fuzz/<target>/ (a small seed of
// each target, and the inputs the fuzzers found) through the target's own
// entry point. A regression shows as a crash, an entry's own abort (the EXIF
// rewrite checks that what it wrote reads back) or, in the sanitizer build, as
// a sanitizer report.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz_entries.h"

namespace {

struct FuzzTarget {
    const char* name;
    int (*entry)(const std::uint8_t*, std::size_t);
    friend void PrintTo(const FuzzTarget& target, std::ostream* out) { *out << target.name; }
};

class FuzzRegression : public testing::TestWithParam<FuzzTarget> {};

TEST_P(FuzzRegression, EveryKeptInputRunsCleanly) {
    const std::filesystem::path folder = std::filesystem::path(FUZZ_FIXTURES) / GetParam().name;
    int inputs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++inputs;
        SCOPED_TRACE(entry.path().string());
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        EXPECT_EQ(GetParam().entry(bytes.data(), bytes.size()), 0);
    }
    EXPECT_GT(inputs, 0) << "tools/fuzz_seeds.py --replay writes a seed for every target";
}

// Inputs every target must survive whether or not a fuzzer kept any.
TEST_P(FuzzRegression, EmptyAndTinyInputsRunCleanly) {
    const std::uint8_t bytes[] = {0xFF, 0xD8, 0xFF};
    for (std::size_t size = 0; size <= sizeof bytes; ++size)
        EXPECT_EQ(GetParam().entry(bytes, size), 0);
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzRegression,
                         testing::Values(FuzzTarget{"photo_read", FuzzPhotoRead},
                                         FuzzTarget{"image_decode", FuzzImageDecode},
                                         FuzzTarget{"link_frame", FuzzLinkFrame},
                                         FuzzTarget{"map_records", FuzzMapRecords},
                                         FuzzTarget{"companion_request", FuzzCompanionRequest},
                                         FuzzTarget{"catalogue_open", FuzzCatalogueOpen},
                                         FuzzTarget{"exif_rewrite", FuzzExifRewrite},
                                         FuzzTarget{"region_lookup", FuzzRegionLookup},
                                         FuzzTarget{"track_read", FuzzTrackRead}),
                         [](const testing::TestParamInfo<FuzzTarget>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
