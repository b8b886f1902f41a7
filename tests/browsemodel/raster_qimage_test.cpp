#include <gtest/gtest.h>

#include "browsemodel/raster_qimage.h"
#include "photo_catalogue_fixture.h"

TEST(AConvertedThumbnail, KeepsItsTopRowOnTopAndItsColours) {
    // Top row red, the rest blue.
    RasterImage picture = SolidPicture(4, 3, 0, 0, 255);
    std::uint8_t* top = picture.MutableRow(2);  // rows run bottom-up
    for (int x = 0; x < 4; ++x) {
        top[x * 3] = 0;
        top[x * 3 + 1] = 0;
        top[x * 3 + 2] = 255;
    }
    const QImage image = ToQImage(picture);
    ASSERT_EQ(image.size(), QSize(4, 3));
    EXPECT_EQ(QColor(image.pixel(1, 0)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(image.pixel(1, 2)), QColor(0, 0, 255));
}

TEST(AConvertedThumbnail, ShowsGreyImagesThroughTheirPalette) {
    const std::uint8_t grey[] = {10, 20, 30, 40};
    const QImage image = ToQImage(RasterImage::FromGreyTopDown(2, 2, grey));
    EXPECT_EQ(QColor(image.pixel(1, 0)), QColor(20, 20, 20));
    EXPECT_EQ(QColor(image.pixel(0, 1)), QColor(30, 30, 30));
    EXPECT_TRUE(ToQImage(RasterImage{}).isNull());
}
