#pragma once
// The lower rows of a JPEG as a JPEG of their own, cut at a restart marker.
//
// A sequential Huffman-coded JPEG with restart markers resets its decoder
// state at each marker, so the entropy-coded data after one, behind the
// headers with the frame's height cut to the rows from there, is a complete
// JPEG of those rows. A second thread can then decode them without first
// reading through the data above (which a file without markers makes it do).
//
// Any thread; pure (no libjpeg, no Qt).

#include <cstddef>
#include <cstdint>
#include <vector>

struct JpegRestartBand {
    std::vector<std::uint8_t> bytes;  // a JPEG of the image's rows from `start` on
    int start = 0;                    // its row 0 is this image row (a multiple of the MCU height)
    // The first image row it decodes exactly as the whole file does: one MCU
    // row below start, because chroma upsampling at its top edge has no rows
    // above to blend with.
    int exactFrom = 0;
};

// The band at the restart marker whose exactFrom is nearest to `row` (image
// rows at full scale), taken only at a marker that starts a row of MCUs and
// is followed by RST0, as a decoder starting there expects. False (band
// unchanged) when there is no such marker below the first MCU row and above
// the last one: no restart interval, another coding, several scans, or data
// that ends or breaks the marker sequence before it.
bool CutJpegAtRestart(const std::uint8_t* bytes, std::size_t length, int row,
                      JpegRestartBand& band);
