#pragma once
// A JPEG's rows handed to the caller as they are decoded: the caller says
// where each row goes and hears after every few rows, so that it can use
// them (reduce them to screen size, say) while only a window of rows exists.
//
// Any thread; one sink per decode.

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "image/raster_image.h"

class JpegRowSink {
  public:
    // Where output row y goes: the layout's width of B,G,R,255 quadruples.
    // Asked for at most 16 rows before they are written.
    virtual std::uint8_t* Row(int y) = 0;
    // Every row below endRow (from the decode's first row) is written.
    virtual void Written(int endRow) = 0;

  protected:
    ~JpegRowSink() = default;
};

// Output rows firstRow..endRow-1 at scale n/8 (1, 2, 4 or 8) into the sink,
// as DecodeJpegRows decodes them (rows above firstRow read through, not
// reconstructed); polls cancel as it does.
bool DecodeJpegRowsTo(const std::uint8_t* bytes, std::size_t length, int scaleEighths, int firstRow,
                      int endRow, const std::atomic<bool>* cancel, JpegRowSink& sink,
                      JpegBitmapDecode& result);
