#pragma once
// A large JPEG decoded on two cores: the picture is cut into an upper and a
// lower band of rows, decoded at the same time on the calling thread and a
// helper thread, each straight into its part of one picture. The result is
// the same, pixel for pixel, as one whole decode.
//
// Any thread (it starts and joins its own helper). No widgets.

#include <QImage>
#include <atomic>
#include <cstdint>
#include <vector>

struct BandedDecode {
    QImage picture;  // Format_RGB32; null when the file cannot be decoded
    bool cancelled = false;
};

// The JPEG at DCT scale scaleEighths/8 (1, 2, 4 or 8). Once *cancel turns
// true (when given), both bands stop and the result is null and cancelled.
BandedDecode DecodeJpegInBands(const std::vector<std::uint8_t>& bytes, int scaleEighths,
                               const std::atomic<bool>* cancel = nullptr);
// The first row of the lower band for a picture of `height` rows, 0 when it
// is decoded whole (small or progressive pictures).
int LowerBandStart(int width, int height, int scaleEighths, bool progressive);
