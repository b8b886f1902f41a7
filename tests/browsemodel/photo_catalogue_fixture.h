#pragma once
// Gives each test a fresh data folder with a closed catalogue, and writes
// photo rows whose thumbnails are real JPEGs of chosen pictures.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/photo_catalogue.h"
#include "catalogue/photo_rows.h"
#include "fresh_catalogue.h"
#include "image/raster_image.h"
#include "record/photo_record.h"

// A w x h picture of one colour, optionally with black bars of `bar`
// pixels at the left and right (vertical) or top and bottom.
inline RasterImage SolidPicture(int w, int h, std::uint8_t r, std::uint8_t g, std::uint8_t b,
                                int bar = 0, bool verticalBars = true) {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool dark = verticalBars ? (x < bar || x >= w - bar) : (y < bar || y >= h - bar);
            std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * w + x) * 3];
            p[0] = dark ? 0 : r;
            p[1] = dark ? 0 : g;
            p[2] = dark ? 0 : b;
        }
    }
    return RasterImage::FromRgbTopDown(w, h, rgb.data());
}

inline std::vector<std::uint8_t> JpegOf(const RasterImage& picture) {
    std::vector<std::uint8_t> bytes;
    picture.EncodeJpeg(bytes);
    return bytes;
}

class PhotoCatalogueTest : public ::testing::Test {
  protected:
    Library& library() { return fresh_.library(); }
    static PhotoRecord Record(const std::string& name, int width, int height) {
        PhotoRecord r = RecordOf("/photos", name);
        r.nWidth = width;
        r.nHeight = height;
        return r;
    }

    void Insert(std::int64_t id, const PhotoRecord& record,
                const std::vector<std::uint8_t>& thumbnail, bool duplicate = false) {
        ASSERT_EQ(InsertPhotoRow(library(), PhotoRef{id, duplicate}, record, thumbnail, {}),
                  InsertResult::Done);
    }

    FreshCatalogue fresh_;
};
