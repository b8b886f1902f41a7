#pragma once
// Writes the texts of recorded-track files for the tests: GPX with chosen
// segments and NMEA sentences with their checksums.

#include <cstdint>
#include <string>
#include <vector>

struct TestFix {
    std::int64_t timeMs;  // since 1970 UTC
    double latitude;
    double longitude;
};

// "2026-10-25T13:05:07Z", with ".250" when the time has milliseconds.
std::string IsoUtcText(std::int64_t timeMs);
// A GPX 1.1 document with one trk holding one trkseg per segment.
std::string GpxText(const std::vector<std::vector<TestFix>>& segments,
                    const std::string& name = "walk");
// "$<body>*<checksum>\r\n".
std::string NmeaSentence(const std::string& body);
