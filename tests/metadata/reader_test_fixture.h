#pragma once
// Shared set-up for the reader tests: a temporary folder, the local time
// zone the expected shot times are computed in, and a camera-like file.

#include <cstdlib>
#include <ctime>
#include <string>

#include <gtest/gtest.h>

#include "metadata/metadata_reader.h"
#include "temp_folder.h"
#include "test_jpeg_writer.h"

class ReaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("TZ", "Asia/Shanghai", 1);
        tzset();
    }

    // A file as a camera writes it: every tag the reader knows, with an
    // embedded thumbnail.
    static TestJpegOptions CameraOptions() {
        TestJpegOptions o;
        o.embedThumbnail = true;
        o.make = "Canon";
        o.model = "Canon EOS 40D";
        o.orientation = 6;
        o.xResolution = TestRational{72, 1};
        o.yResolution = TestRational{300, 1};
        o.dateTimeOriginal = "2012:05:15 10:20:30";
        o.pixelXDimension = 4000;
        o.pixelYDimension = 3000;
        o.fNumber = TestRational{28, 10};
        o.exposureTime = TestRational{1, 125};
        o.focalLength = TestRational{58, 10};
        o.iso = 200;
        o.latitudeRef = "S";
        o.latitude = TestDms{{{39, 1}, {54, 1}, {125, 10}}};
        o.longitudeRef = "W";
        o.longitude = TestDms{{{116, 1}, {23, 1}, {30, 1}}};
        o.altitude = TestRational{1235, 10};
        return o;
    }

    std::string Write(const std::string& name, const TestJpegOptions& options) {
        std::string path = folder.File(name);
        EXPECT_TRUE(WriteTestJpeg(path, options)) << name;
        return path;
    }

    TempFolder folder;
    MetadataReader reader;
};
