#include "view/photo_status_text.h"
#include "photo_catalogue_fixture.h"

using StatusText = PhotoCatalogueTest;

TEST_F(StatusText, OfAPhotoWithoutPositionOrTagsIsNameSizeDateAndPixels) {
    PhotoRecord r = Record("a.jpg", 4000, 3000);
    r.fSize = 2.5f;
    r.dwDateTime = 1337000000;  // 2012-05-14 20:53:20 in Shanghai
    Insert(1, r, JpegOf(SolidPicture(16, 12, 9, 9, 9)));
    EXPECT_EQ(ReadPhotoStatusText(library(), {1, false}).value_or(""),
              "名称：a.jpg;文件大小：2.50M;日期：2012-05-14 20:53:20;像素：4000×3000;");
}

TEST_F(StatusText, ListsSmallSizesInKilobytesThePositionLongitudeFirstAndTheTags) {
    PhotoRecord r = Record("b.jpg", 0, 0);
    r.fSize = 0.5f;
    r.fGPSLatitude = 39.9f;
    r.fGPSLongitude = 116.4f;
    SetField(r.strXpKeyword, "beach");
    SetField(r.strXpAuthor, "Li");
    SetField(r.strXpSubject, "trip");
    r.strXpComent = "fine";
    Insert(2, r, JpegOf(SolidPicture(16, 12, 9, 9, 9)));
    EXPECT_EQ(ReadPhotoStatusText(library(), {2, false}).value_or(""),
              "名称：b.jpg;文件大小：512KB;经纬度：116.4000,39.9000;关键词：beach "
              ";作者：Li;主题：trip;备注：fine;");
}

TEST_F(StatusText, StaysOneLineAndEndsTheAuthorListOnce) {
    PhotoRecord r = Record("c.jpg", 0, 0);
    SetField(r.strXpAuthor, "测试作者;");
    r.strXpComent = "海边\r\n日落\n";
    Insert(5, r, JpegOf(SolidPicture(16, 12, 9, 9, 9)));
    EXPECT_EQ(ReadPhotoStatusText(library(), {5, false}).value_or(""),
              "名称：c.jpg;作者：测试作者;备注：海边  日落 ;");
}

TEST_F(StatusText, ReadsDuplicatesFromTheirTableAndIsAbsentWithoutARow) {
    Insert(3, Record("main.jpg", 0, 0), JpegOf(SolidPicture(16, 12, 9, 9, 9)));
    Insert(3, Record("dup.jpg", 0, 0), JpegOf(SolidPicture(16, 12, 9, 9, 9)), true);
    EXPECT_EQ(ReadPhotoStatusText(library(), {3, true}).value_or(""), "名称：dup.jpg;");
    EXPECT_FALSE(ReadPhotoStatusText(library(), {4, false}));
}
