#include "viewer/banded_jpeg_decode.h"

#include <system_error>
#include <thread>

#include "image/raster_image.h"

namespace {

// Below this many pixels a second thread costs about what it saves.
constexpr std::int64_t kBandedMinimumPixels = 1 << 20;

// The upper band's share of the rows, in percent. The lower band's thread
// first reads through the upper band's entropy-coded data (one sequential
// stream that only the reconstruction can skip), so the upper band takes more
// rows; these shares balance the two threads on camera files. At the reduced
// scales reconstruction is cheaper next to that reading, so the share grows.
int UpperBandPercent(int scaleEighths) {
    return scaleEighths == 8 ? 64 : 72;
}

}  // namespace

int LowerBandStart(int width, int height, int scaleEighths, bool progressive) {
    if (progressive || static_cast<std::int64_t>(width) * height < kBandedMinimumPixels) return 0;
    if (std::thread::hardware_concurrency() < 2) return 0;
    return static_cast<int>(static_cast<std::int64_t>(height) * UpperBandPercent(scaleEighths) /
                            100);
}

BandedDecode DecodeJpegInBands(const std::vector<std::uint8_t>& bytes, int scaleEighths,
                               const std::atomic<bool>* cancel) {
    BandedDecode decoded;
    JpegLayout layout;
    if (!ReadJpegLayout(bytes.data(), bytes.size(), scaleEighths, layout)) return decoded;
    const int stride = BitmapStride(layout.width, 32);
    if (stride == 0 ||
        static_cast<std::uint64_t>(stride) * static_cast<std::uint64_t>(layout.height) >
            RasterImage::kMaxPixelBytes)
        return decoded;
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "B,G,R,X bytes are Format_RGB32 here only");
    // Not cleared: every row is written by one of the bands (a cut-off file
    // gets libjpeg's grey), and the threads touch their own pages first.
    QImage picture(layout.width, layout.height, QImage::Format_RGB32);
    if (picture.isNull()) return decoded;

    // The rows' addresses are taken here once: scanLine() may not be called
    // from two threads.
    std::uint8_t* const pixels = picture.bits();
    const qsizetype bytesPerLine = picture.bytesPerLine();
    const auto band = [&](int firstRow, int endRow, JpegBitmapDecode& result) {
        JpegRows rows;
        rows.pixels = pixels + firstRow * bytesPerLine;
        rows.stride = bytesPerLine;
        rows.width = layout.width;
        rows.firstRow = firstRow;
        rows.endRow = endRow;
        rows.cancel = cancel;
        return DecodeJpegRows(bytes.data(), bytes.size(), scaleEighths, rows, result);
    };
    int cut = LowerBandStart(layout.width, layout.height, scaleEighths, layout.progressive);
    JpegBitmapDecode upper, lower;
    bool lowerDone = true;
    std::thread helper;
    if (cut > 0) {
        try {
            helper = std::thread([&] { lowerDone = band(cut, layout.height, lower); });
        } catch (const std::system_error&) {
            cut = 0;  // no thread to be had: one band
        }
    }
    const bool upperDone = band(0, cut > 0 ? cut : layout.height, upper);
    if (helper.joinable()) helper.join();
    decoded.cancelled = upper.cancelled || lower.cancelled;
    if (upperDone && lowerDone) decoded.picture = std::move(picture);
    return decoded;
}
