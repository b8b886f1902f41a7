#pragma once
// Area-averaging reduction of 32-bit B,G,R,X pictures (the viewer's display
// format), one destination row at a time. Each destination row depends only
// on the source rows it covers, so bands of rows reduced on different
// threads, each from the source rows it decoded itself, give the bytes of
// one whole reduction.
//
// Any thread; a plan is read-only once made and may be shared between threads.

#include <cstddef>
#include <cstdint>
#include <vector>

class AreaReduction {
  public:
    // From sourceWidth x sourceHeight to width x height; each side at least 1
    // and no larger than the source's.
    AreaReduction(int sourceWidth, int sourceHeight, int width, int height);

    int Width() const { return static_cast<int>(columns_.first.size()); }
    int Height() const { return static_cast<int>(rows_.first.size()); }
    int SourceWidth() const { return sourceWidth_; }
    // The source rows destination row y averages: FirstSourceRow(y) to
    // FirstSourceRow(y) + SourceRowCount(y) - 1, both nondecreasing in y.
    int FirstSourceRow(int y) const { return rows_.first[static_cast<std::size_t>(y)]; }
    int SourceRowCount(int y) const;
    // The largest SourceRowCount.
    int MostSourceRows() const { return rows_.most; }

    // Working memory for ReduceRow, one per thread.
    using Scratch = std::vector<std::uint16_t>;
    // Writes destination row y (Width() pixels) to out. sourceRows holds
    // SourceRowCount(y) pointers to its source rows, top first.
    void ReduceRow(int y, const std::uint8_t* const* sourceRows, std::uint8_t* out,
                   Scratch& scratch) const;

  private:
    // For each destination pixel along one side: its first source pixel and
    // weights[offset[d] .. offset[d + 1]) for the source pixels from there.
    struct Taps {
        std::vector<int> first;
        std::vector<int> offset;
        std::vector<std::uint16_t> weights;
        int most = 0;
    };
    static Taps MakeTaps(int sourceSize, int size, int unit);
    // One row of column sums (SourceWidth() pixels) to Width() pixels.
    void ReduceColumns(const std::uint16_t* sums, std::uint8_t* out) const;
    // The same with SIMD, Pairs (or, when 0, columnPairs_) pairs a pixel.
    template <int Pairs>
    void ReduceColumnsSse2(const std::uint16_t* sums, std::uint8_t* out) const;

    int sourceWidth_;
    Taps columns_;
    Taps rows_;
    // The columns' weights in pairs (first | second << 16), columnPairs_ for
    // every destination pixel, padded with zero weights: every pixel then
    // takes the same steps. Each four source pixels' weights w0..w3 are
    // paired (w0, w2), (w1, w3), the order in which ReduceColumns unpacks two
    // loads of their sums; a last two as (w0, w1).
    int columnPairs_ = 0;
    std::vector<std::uint32_t> pairedWeights_;
};

// The whole picture at once, rows top-down; strides in bytes.
void ReduceArea(const std::uint8_t* source, std::ptrdiff_t sourceStride, int sourceWidth,
                int sourceHeight, std::uint8_t* out, std::ptrdiff_t stride, int width, int height);
