#include <gtest/gtest.h>

#include <cstring>

#include "maplink/link_frame.h"
#include "maplink/little_endian.h"
#include "maplink/map_records.h"

TEST(ARegionLookupBlock, packsEveryFieldAtItsOffset) {
    RegionLookupBlock block;
    block.latitude = 31.25;
    block.longitude = 121.5;
    block.nameCount = 3;
    block.SetNameAt(0, "上海市");
    block.SetNameAt(7, "last");
    const auto bytes = PackRegionLookupBlock(block);

    ASSERT_EQ(bytes.size(), 1056u);
    EXPECT_EQ(LoadLittleEndian<double>(&bytes[0]), 31.25);
    EXPECT_EQ(LoadLittleEndian<double>(&bytes[8]), 121.5);
    EXPECT_EQ(LoadLittleEndian<std::int32_t>(&bytes[16]), 1);
    EXPECT_EQ(LoadLittleEndian<std::int32_t>(&bytes[20]), 0);
    EXPECT_EQ(LoadLittleEndian<std::int32_t>(&bytes[24]), 3);
    EXPECT_EQ(std::memcmp(&bytes[28], "上海市", std::strlen("上海市") + 1), 0);
    EXPECT_EQ(std::memcmp(&bytes[28 + 7 * 128], "last", 5), 0);
    EXPECT_EQ(LoadLittleEndian<std::int32_t>(&bytes[1052]), 0);
}

TEST(ARegionLookupBlock, isRefusedWhenCutShortAndReadsNamesWithoutTerminator) {
    RegionLookupBlock block;
    block.SetNameAt(1, std::string(200, 'x'));  // fills the place, no NUL
    auto bytes = PackRegionLookupBlock(block);

    EXPECT_FALSE(UnpackRegionLookupBlock(bytes.data(), 1055));
    auto back = UnpackRegionLookupBlock(bytes.data(), bytes.size());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->NameAt(1), std::string(128, 'x'));
    EXPECT_EQ(back->NameAt(2), "");
}

TEST(AMapPhotoRecord, packsAtItsOffsetsAndIgnoresATrailingPartialRecord) {
    MapPhotoRecord r{0x123456789ABCDEFLL, 1700000000, -33.5, 151.25, 2};
    auto bytes = PackMapPhotoRecords({r, r});
    ASSERT_EQ(bytes.size(), 80u);
    EXPECT_EQ(LoadLittleEndian<std::int64_t>(&bytes[40]), 0x123456789ABCDEFLL);
    EXPECT_EQ(LoadLittleEndian<std::int32_t>(&bytes[48]), 1700000000);
    EXPECT_EQ(LoadLittleEndian<double>(&bytes[56]), -33.5);
    EXPECT_EQ(LoadLittleEndian<double>(&bytes[64]), 151.25);
    EXPECT_EQ(LoadLittleEndian<std::int32_t>(&bytes[72]), 2);

    bytes.resize(79);
    auto back = UnpackMapPhotoRecords(bytes.data(), bytes.size());
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].idPic, r.idPic);
    EXPECT_EQ(back[0].longitude, 151.25);
}

TEST(APickedPosition, needsSixteenBytesAndIgnoresMore) {
    auto bytes = PackPickedPosition({22.5, 114.0});
    EXPECT_FALSE(UnpackPickedPosition(bytes.data(), 15));
    bytes.resize(24, 0xFF);
    auto back = UnpackPickedPosition(bytes.data(), bytes.size());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->latitude, 22.5);
    EXPECT_EQ(back->longitude, 114.0);
}

TEST(ARequestFrame, carriesTheHeaderFieldsLittleEndian) {
    LinkMessage m;
    m.dwData = MakeDwData(20003, -2);
    m.flags = kFlagRestoreWindow;
    m.data = {1, 2, 3};
    auto frame = EncodeRequestFrame(m);
    ASSERT_EQ(frame.size(), 35u);
    EXPECT_EQ(std::memcmp(frame.data(), "DZLK", 4), 0);
    EXPECT_EQ(LoadLittleEndian<std::uint32_t>(&frame[4]), 0x4Au);
    EXPECT_EQ(LoadLittleEndian<std::uint64_t>(&frame[8]), 1001u);
    auto header = DecodeRequestHeader(frame.data());
    ASSERT_TRUE(header);
    LinkMessage back;
    back.dwData = header->dwData;
    EXPECT_EQ(back.Code(), 20003);
    EXPECT_EQ(back.LinkId(), -2);
    EXPECT_EQ(header->flags, kFlagRestoreWindow);
    EXPECT_EQ(header->cbData, 3u);
}

TEST(ARequestFrame, isRefusedForWrongMagicMessageOrSize) {
    LinkMessage m;
    auto frame = EncodeRequestFrame(m);
    auto bad = frame;
    bad[0] = 'X';
    EXPECT_FALSE(DecodeRequestHeader(bad.data()));
    bad = frame;
    bad[4] = 0x4B;
    EXPECT_FALSE(DecodeRequestHeader(bad.data()));
    bad = frame;
    StoreLittleEndian<std::uint32_t>(&bad[28], kMaxFrameData + 1);
    EXPECT_FALSE(DecodeRequestHeader(bad.data()));

    m.data.resize(kMaxFrameData + 1);
    EXPECT_TRUE(EncodeRequestFrame(m).empty());
}

// The companion relies on this limit: a frame of 1 MiB of data is a frame,
// one byte more is refused on both sides.
TEST(ARequestFrame, carriesAtMostOneMebibyteOfData) {
    LinkMessage m;
    m.data.resize(1024 * 1024);
    auto frame = EncodeRequestFrame(m);
    ASSERT_EQ(frame.size(), 32u + 1024 * 1024);
    EXPECT_TRUE(DecodeRequestHeader(frame.data()));
    StoreLittleEndian<std::uint32_t>(&frame[28], 1024 * 1024 + 1);
    EXPECT_FALSE(DecodeRequestHeader(frame.data()));
    m.data.resize(1024 * 1024 + 1);
    EXPECT_TRUE(EncodeRequestFrame(m).empty());
}
