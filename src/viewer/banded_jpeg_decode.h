#pragma once
// A large JPEG decoded on two cores: the picture is cut into an upper and a
// lower band of rows, decoded at the same time on the calling thread and a
// helper thread, each straight into its part of one picture. The result is
// the same, pixel for pixel, as one whole decode.
//
// When a smaller size is asked for, each band reduces its rows to that size
// (area averaging) as they are decoded, holding only a window of decoded
// rows; the result is the same, pixel for pixel, as one whole decode
// reduced at once by ReduceArea.
//
// Any thread (it starts and joins its own helper). No widgets.

#include <QImage>
#include <QSize>
#include <atomic>
#include <cstdint>
#include <vector>

struct BandedDecode {
    QImage picture;  // Format_RGB32; null when the file cannot be decoded
    bool cancelled = false;
};

// The JPEG at DCT scale scaleEighths/8 (1, 2, 4 or 8), reduced to `reduced`
// when that is given and no larger than the decode on either side. Once
// *cancel turns true (when given), both bands stop and the result is null
// and cancelled.
BandedDecode DecodeJpegInBands(const std::vector<std::uint8_t>& bytes, int scaleEighths,
                               const std::atomic<bool>* cancel = nullptr, QSize reduced = {});
// The first row of the lower band for a picture of `height` rows, 0 when it
// is decoded whole (small or progressive pictures).
int LowerBandStart(int width, int height, int scaleEighths, bool progressive);
