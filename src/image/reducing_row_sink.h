#pragma once
// Decoded rows reduced to a smaller picture as they arrive: the sink for
// destination rows [firstRow, endRow) of an AreaReduction, holding the
// decoded rows in a ring just large enough for the source rows of the next
// destination row plus one read of libjpeg's. Bands of destination rows
// decoded this way on different threads give the bytes of ReduceArea over
// the whole decode.
//
// One thread per sink; the plan and the destination outlive it.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/area_reduction.h"
#include "image/jpeg_row_sink.h"

class ReducingRowSink final : public JpegRowSink {
  public:
    // Destination row y goes to pixels + y * bytesPerLine.
    ReducingRowSink(const AreaReduction& plan, int firstRow, int endRow, std::uint8_t* pixels,
                    std::ptrdiff_t bytesPerLine);
    // The decoded rows the band needs: FirstSourceRow() to EndSourceRow() - 1.
    int FirstSourceRow() const { return plan_.FirstSourceRow(first_); }
    int EndSourceRow() const;
    // True once every destination row of the band is written.
    bool Complete() const { return next_ == end_; }

    std::uint8_t* Row(int y) override;
    void Written(int endRow) override;

  private:
    const AreaReduction& plan_;
    const int first_;
    int next_;
    const int end_;
    std::uint8_t* const pixels_;
    const std::ptrdiff_t bytesPerLine_;
    const int ringRows_;
    const std::size_t ringStride_;
    std::vector<std::uint8_t> ring_;
    std::vector<const std::uint8_t*> sources_;
    AreaReduction::Scratch scratch_;
};
