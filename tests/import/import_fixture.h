#pragma once
// A fresh data folder and photo folder per test, and the region route the
// imports are handed (no companion unless a test sets source_).

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "catalogue/pending_region_queue.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/process_flags.h"
#include "fresh_catalogue.h"
#include "import/add_photo_file.h"
#include "import/import_state.h"
#include "platform/file_status.h"
#include "temp_folder.h"
#include "test_jpeg_writer.h"

class ImportTest : public ::testing::Test {
  protected:
    Library& library() { return fresh_.library(); }
    void TearDown() override { ExitToken.Clear(); }

    // The companion (source_) or the library's queue.
    RegionRoute Regions() { return {source_, fresh_.library().PendingRegions()}; }
    // An import that counts into progress_ and tells receivers_.
    ImportJob Job() { return {library(), progress_, receivers_, Regions()}; }

    // Writes a camera-like photo with its own embedded thumbnail.
    std::string WritePhoto(const std::string& relativePath, std::uint32_t seed,
                           TestJpegOptions options = {}) {
        std::string path = photos_.File(relativePath);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        options.seed = seed;
        options.embedThumbnail = true;
        options.thumbnailWidth = 16;
        options.thumbnailHeight = 12;
        if (!options.make) options.make = "Canon";
        if (!options.model) options.model = "EOS 5D";
        if (!options.dateTimeOriginal) options.dateTimeOriginal = "2019:07:01 08:00:00";
        if (!options.pixelXDimension) options.pixelXDimension = 4000;
        if (!options.pixelYDimension) options.pixelYDimension = 3000;
        EXPECT_TRUE(WriteTestJpeg(path, options));
        return path;
    }

    // Catalogues a/p.jpg written at firstTime and makes a byte copy of it at
    // copyName written at copyTime, not yet imported. Returns both paths.
    std::pair<std::string, std::string> PhotoAndCopy(std::int64_t firstTime, std::int64_t copyTime,
                                                     const std::string& copyName = "b/p.jpg") {
        std::string first = WritePhoto("a/p.jpg", 1);
        SetModified(first, firstTime);
        EXPECT_TRUE(AddPhotoFile(library(), first, true, Regions()));
        std::string copy = photos_.File(copyName);
        std::filesystem::create_directories(std::filesystem::path(copy).parent_path());
        std::filesystem::copy_file(first, copy);
        SetModified(copy, copyTime);
        return {first, copy};
    }

    static void SetModified(const std::string& path, std::int64_t seconds) {
        ASSERT_TRUE(SetFileLastWriteTime(path, seconds));
    }

    FreshCatalogue fresh_;
    TempFolder photos_;
    ImportProgress progress_;
    ImportReceivers receivers_;
    RegionSource* source_ = nullptr;
};
