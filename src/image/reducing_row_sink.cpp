#include "image/reducing_row_sink.h"

namespace {

// libjpeg is asked for at most this many rows at a time (JpegRowSink::Row).
constexpr int kRowsPerRead = 16;

}  // namespace

ReducingRowSink::ReducingRowSink(const AreaReduction& plan, int firstRow, int endRow,
                                 std::uint8_t* pixels, std::ptrdiff_t bytesPerLine)
    : plan_(plan),
      first_(firstRow),
      next_(firstRow),
      end_(endRow),
      pixels_(pixels),
      bytesPerLine_(bytesPerLine),
      // The next destination row's source rows start at most MostSourceRows()
      // - 1 above the next row decoded, and a read writes up to
      // kRowsPerRead rows from there.
      ringRows_(plan.MostSourceRows() + kRowsPerRead),
      ringStride_(static_cast<std::size_t>(plan.SourceWidth()) * 4),
      ring_(static_cast<std::size_t>(ringRows_) * ringStride_),
      sources_(static_cast<std::size_t>(plan.MostSourceRows())) {
    // Sized here: Written runs inside libjpeg's calls, where nothing should throw.
    scratch_.resize(static_cast<std::size_t>(plan.SourceWidth()) * 4);
}

int ReducingRowSink::EndSourceRow() const {
    return plan_.FirstSourceRow(end_ - 1) + plan_.SourceRowCount(end_ - 1);
}

std::uint8_t* ReducingRowSink::Row(int y) {
    return ring_.data() + static_cast<std::size_t>(y % ringRows_) * ringStride_;
}

void ReducingRowSink::Written(int endRow) {
    for (; next_ < end_; ++next_) {
        const int first = plan_.FirstSourceRow(next_);
        const int count = plan_.SourceRowCount(next_);
        if (first + count > endRow) return;
        for (int k = 0; k < count; ++k) sources_[static_cast<std::size_t>(k)] = Row(first + k);
        plan_.ReduceRow(next_, sources_.data(), pixels_ + next_ * bytesPerLine_, scratch_);
    }
}
