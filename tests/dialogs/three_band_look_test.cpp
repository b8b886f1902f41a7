#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "dialogs/three_band_look.h"

namespace {

TEST(ThreeBandLook, BandsAreLaidOutFromTheClientRectangle) {
    const ThreeBandRects rects = LayOutThreeBands(QRect(0, 0, 190, 90));
    EXPECT_EQ(rects.title, QRect(0, 0, 190, 25));
    EXPECT_EQ(rects.body, QRect(0, 26, 190, 90 - 26 - 26));
    EXPECT_EQ(rects.bottom, QRect(0, 65, 190, 25));
}

TEST(ThreeBandLook, PaintsTheThreeColours) {
    QImage image(120, 90, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        PaintThreeBands(painter, LayOutThreeBands(image.rect()), ThreeBandColours{}, QString());
    }
    EXPECT_EQ(QColor(image.pixel(60, 10)), QColor(68, 118, 198));
    EXPECT_EQ(QColor(image.pixel(60, 45)), QColor(234, 238, 244));
    EXPECT_EQ(QColor(image.pixel(60, 80)), QColor(198, 205, 214));
}

}  // namespace
