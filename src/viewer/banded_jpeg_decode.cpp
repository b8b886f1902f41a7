#include "viewer/banded_jpeg_decode.h"

#include <functional>
#include <system_error>
#include <thread>
#include <utility>

#include "image/jpeg_restart_band.h"
#include "image/raster_image.h"
#include "image/reducing_row_sink.h"

namespace {

// Below this many pixels a second thread costs about what it saves.
constexpr std::int64_t kBandedMinimumPixels = 1 << 20;

// The upper band's share of the rows, in percent, in a file without restart
// markers. The lower band's thread first reads through the upper band's
// entropy-coded data (one sequential stream that only the reconstruction can
// skip), so the upper band takes more rows; these shares balance the two
// threads' processor time on camera files reduced to a screen's size as they
// are decoded. At the reduced scales reconstruction is cheaper next to that
// reading, so the share grows.
int UpperBandPercent(int scaleEighths) {
    return scaleEighths == 8 ? 62 : 75;
}

// What a band decodes: whole is the file; lower, when it has restart markers,
// the file from the one nearest the middle on, its row 0 the picture's row
// `shift`, so that the lower band's thread reads none of the upper band's data.
struct Sources {
    const std::vector<std::uint8_t>& whole;
    JpegRestartBand lower;
    int shift = 0;  // rows of the decode above lower's row 0, at the decode's scale
};

struct Source {
    const std::vector<std::uint8_t>& bytes;
    int shift;
};

// Rows [first, end) of the picture, as one band; false when the decode failed.
using Band = std::function<bool(int first, int end, Source source, JpegBitmapDecode& result)>;

// Runs band over [0, cut) here and over [cut, height) on a helper thread
// (cut 0: one band). picture is kept when both bands succeeded.
BandedDecode RunBands(QImage picture, int cut, const Sources& sources, const Band& band) {
    const int height = picture.height();
    const Source lowerSource = sources.lower.bytes.empty()
                                   ? Source{sources.whole, 0}
                                   : Source{sources.lower.bytes, sources.shift};
    JpegBitmapDecode upper, lower;
    bool lowerDone = true;
    std::thread helper;
    if (cut > 0) {
        try {
            helper = std::thread([&] { lowerDone = band(cut, height, lowerSource, lower); });
        } catch (const std::system_error&) {
            cut = 0;  // no thread to be had: one band
        }
    }
    const bool upperDone = band(0, cut > 0 ? cut : height, {sources.whole, 0}, upper);
    if (helper.joinable()) helper.join();
    BandedDecode decoded;
    decoded.cancelled = upper.cancelled || lower.cancelled;
    if (upperDone && lowerDone) decoded.picture = std::move(picture);
    return decoded;
}

// A sink's rows as a decode that starts `shift` rows lower sees them.
class ShiftedRowSink final : public JpegRowSink {
  public:
    ShiftedRowSink(JpegRowSink& rows, int shift) : rows_(rows), shift_(shift) {}
    std::uint8_t* Row(int y) override { return rows_.Row(y + shift_); }
    void Written(int endRow) override { rows_.Written(endRow + shift_); }

  private:
    JpegRowSink& rows_;
    const int shift_;
};

}  // namespace

int LowerBandStart(int width, int height, int scaleEighths, bool progressive) {
    if (progressive || static_cast<std::int64_t>(width) * height < kBandedMinimumPixels) return 0;
    if (std::thread::hardware_concurrency() < 2) return 0;
    return static_cast<int>(static_cast<std::int64_t>(height) * UpperBandPercent(scaleEighths) /
                            100);
}

BandedDecode DecodeJpegInBands(const std::vector<std::uint8_t>& bytes, int scaleEighths,
                               const std::atomic<bool>* cancel, QSize reduced) {
    JpegLayout layout;
    if (!ReadJpegLayout(bytes.data(), bytes.size(), scaleEighths, layout)) return {};
    const QSize decodedSize(layout.width, layout.height);
    const bool reducing = !reduced.isEmpty() && reduced.width() <= layout.width &&
                          reduced.height() <= layout.height && reduced != decodedSize;
    const QSize size = reducing ? reduced : decodedSize;
    const int stride = BitmapStride(size.width(), 32);
    if (stride == 0 ||
        static_cast<std::uint64_t>(stride) * static_cast<std::uint64_t>(size.height()) >
            RasterImage::kMaxPixelBytes)
        return {};
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "B,G,R,X bytes are Format_RGB32 here only");
    // Not cleared: every row is written by one of the bands (a cut-off file
    // gets libjpeg's grey), and the threads touch their own pages first.
    QImage picture(size, QImage::Format_RGB32);
    if (picture.isNull()) return {};

    // The rows' addresses are taken here once: scanLine() may not be called
    // from two threads.
    std::uint8_t* const pixels = picture.bits();
    const qsizetype bytesPerLine = picture.bytesPerLine();
    Sources sources{bytes, {}, 0};
    int sourceCut = LowerBandStart(layout.width, layout.height, scaleEighths, layout.progressive);
    // With restart markers neither thread reads the other's data: the bands
    // meet near the middle.
    if (sourceCut > 0 && CutJpegAtRestart(bytes.data(), bytes.size(),
                                          layout.height * 4 / scaleEighths, sources.lower)) {
        sources.shift = sources.lower.start * scaleEighths / 8;
        sourceCut = sources.lower.exactFrom * scaleEighths / 8;
    }
    if (!reducing) {
        return RunBands(std::move(picture), sourceCut, sources,
                        [&](int first, int end, Source source, JpegBitmapDecode& result) {
                            JpegRows rows;
                            rows.pixels = pixels + first * bytesPerLine;
                            rows.stride = bytesPerLine;
                            rows.width = layout.width;
                            rows.firstRow = first - source.shift;
                            rows.endRow = end - source.shift;
                            rows.cancel = cancel;
                            return DecodeJpegRows(source.bytes.data(), source.bytes.size(),
                                                  scaleEighths, rows, result);
                        });
    }
    // Each band decodes the source rows of its own destination rows, the
    // one or two rows under the cut on both threads.
    const AreaReduction plan(layout.width, layout.height, size.width(), size.height());
    int cut = 0;
    if (sourceCut > 0)
        while (cut < size.height() && plan.FirstSourceRow(cut) < sourceCut) ++cut;
    if (cut == size.height()) cut = 0;
    return RunBands(std::move(picture), cut, sources,
                    [&](int first, int end, Source source, JpegBitmapDecode& result) {
                        ReducingRowSink rows(plan, first, end, pixels, bytesPerLine);
                        ShiftedRowSink shifted(rows, source.shift);
                        return DecodeJpegRowsTo(source.bytes.data(), source.bytes.size(),
                                                scaleEighths, rows.FirstSourceRow() - source.shift,
                                                rows.EndSourceRow() - source.shift, cancel, shifted,
                                                result) &&
                               rows.Complete();
                    });
}
