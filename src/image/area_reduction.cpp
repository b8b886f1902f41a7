#include "image/area_reduction.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Weights of one destination row's source rows sum to kRowUnit and those of
// one pixel's source columns to kColumnUnit. A column sum of 8-bit values
// then stays below 2^15 and a pixel's total below 2^23.
constexpr int kRowUnit = 128;
constexpr int kColumnUnit = 256;
constexpr int kShift = 15;  // log2(kRowUnit * kColumnUnit)

}  // namespace

AreaReduction::Taps AreaReduction::MakeTaps(int sourceSize, int size, int unit) {
    // In units of 1/size source pixel: source pixel i covers [i * size,
    // (i + 1) * size), destination pixel d covers [d * sourceSize,
    // (d + 1) * sourceSize). Weights are differences of the rounded running
    // share, so each destination pixel's weights sum to exactly unit.
    Taps taps;
    taps.first.resize(static_cast<std::size_t>(size));
    taps.offset.reserve(static_cast<std::size_t>(size) + 1);
    const std::int64_t source = sourceSize;
    const std::int64_t n = size;
    for (std::int64_t d = 0; d < n; ++d) {
        const std::int64_t begin = d * source;
        const std::int64_t end = begin + source;
        const auto share = [&](std::int64_t at) {
            const std::int64_t covered = std::clamp(at, begin, end) - begin;
            return (covered * unit + source / 2) / source;
        };
        std::int64_t first = begin / n;
        std::int64_t last = (end + n - 1) / n - 1;
        while (first < last && share((first + 1) * n) == 0) ++first;
        while (last > first && share(last * n) == unit) --last;
        taps.first[static_cast<std::size_t>(d)] = static_cast<int>(first);
        taps.offset.push_back(static_cast<int>(taps.weights.size()));
        for (std::int64_t i = first; i <= last; ++i)
            taps.weights.push_back(static_cast<std::uint16_t>(share((i + 1) * n) - share(i * n)));
        taps.most = std::max(taps.most, static_cast<int>(last - first + 1));
    }
    taps.offset.push_back(static_cast<int>(taps.weights.size()));
    return taps;
}

AreaReduction::AreaReduction(int sourceWidth, int sourceHeight, int width, int height)
    : sourceWidth_(sourceWidth),
      columns_(MakeTaps(sourceWidth, width, kColumnUnit)),
      rows_(MakeTaps(sourceHeight, height, kRowUnit)),
      columnPairs_((columns_.most + 1) / 2) {
    pairedWeights_.reserve(static_cast<std::size_t>(width) * columnPairs_);
    for (int x = 0; x < width; ++x) {
        const auto from = columns_.weights.begin() + columns_.offset[static_cast<std::size_t>(x)];
        const auto to = columns_.weights.begin() + columns_.offset[static_cast<std::size_t>(x) + 1];
        std::vector<std::uint16_t> padded(from, to);
        padded.resize(static_cast<std::size_t>(columnPairs_) * 2, 0);
        const auto pair = [&](std::size_t a, std::size_t b) {
            pairedWeights_.push_back(padded[a] | static_cast<std::uint32_t>(padded[b]) << 16);
        };
        std::size_t k = 0;
        for (; k + 4 <= padded.size(); k += 4) {
            pair(k, k + 2);
            pair(k + 1, k + 3);
        }
        if (k < padded.size()) pair(k, k + 1);
    }
}

int AreaReduction::SourceRowCount(int y) const {
    const auto d = static_cast<std::size_t>(y);
    return rows_.offset[d + 1] - rows_.offset[d];
}

void AreaReduction::ReduceRow(int y, const std::uint8_t* const* sourceRows, std::uint8_t* out,
                              Scratch& scratch) const {
    // The rows first, into one row of column sums (a contiguous loop the
    // compiler vectorises), then each pixel's columns of that row.
    const std::size_t values = static_cast<std::size_t>(sourceWidth_) * 4;
    // The padding's zero weights may reach past the row.
    scratch.resize(values + static_cast<std::size_t>(columnPairs_) * 8);
    std::uint16_t* sums = scratch.data();
    const auto d = static_cast<std::size_t>(y);
    const std::uint16_t* rowWeights = rows_.weights.data() + rows_.offset[d];
    const int count = SourceRowCount(y);
    {
        const std::uint16_t w = rowWeights[0];
        const std::uint8_t* row = sourceRows[0];
        for (std::size_t i = 0; i < values; ++i) sums[i] = static_cast<std::uint16_t>(w * row[i]);
    }
    for (int k = 1; k < count; ++k) {
        const std::uint16_t w = rowWeights[k];
        const std::uint8_t* row = sourceRows[k];
        for (std::size_t i = 0; i < values; ++i)
            sums[i] = static_cast<std::uint16_t>(sums[i] + w * row[i]);
    }
    ReduceColumns(sums, out);
}

#if defined(__SSE2__)
namespace {

// One destination pixel's four channel totals, scaled back to 8 bits, from
// the column sums of its source pixels at p. Four source pixels a step: the
// unpacked halves of two loads put each channel of pixels 0 and 2, then 1 and
// 3, side by side for one multiply-add each with their two weights (the sums
// and weights fit signed 16 bits); a last odd pair is unpacked against itself.
template <int Pairs>
inline __m128i PixelTotal(const std::uint16_t* p, const std::uint32_t*& weights, int pairs) {
    const int n = Pairs > 0 ? Pairs : pairs;
    __m128i total = _mm_set1_epi32(1 << (kShift - 1));
    const auto add = [&](__m128i interleaved) {
        total = _mm_add_epi32(
            total, _mm_madd_epi16(interleaved, _mm_set1_epi32(static_cast<int>(*weights++))));
    };
    int k = 0;
    for (; k + 2 <= n; k += 2, p += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
        add(_mm_unpacklo_epi16(a, b));
        add(_mm_unpackhi_epi16(a, b));
    }
    if (k < n) {
        const __m128i two = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        add(_mm_unpacklo_epi16(two, _mm_srli_si128(two, 8)));
    }
    return _mm_srli_epi32(total, kShift);
}

}  // namespace

template <int Pairs>
void AreaReduction::ReduceColumnsSse2(const std::uint16_t* sums, std::uint8_t* out) const {
    const int width = Width();
    const std::uint32_t* weights = pairedWeights_.data();
    const int* firsts = columns_.first.data();
    const auto at = [&](int x) { return sums + static_cast<std::size_t>(firsts[x]) * 4; };
    // Two pixels a step, packed and stored together.
    int x = 0;
    for (; x + 2 <= width; x += 2, out += 8) {
        const __m128i first = PixelTotal<Pairs>(at(x), weights, columnPairs_);
        const __m128i second = PixelTotal<Pairs>(at(x + 1), weights, columnPairs_);
        const __m128i words = _mm_packs_epi32(first, second);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(words, words));
    }
    if (x < width) {
        const __m128i last = PixelTotal<Pairs>(at(x), weights, columnPairs_);
        const __m128i words = _mm_packs_epi32(last, last);
        const int bytes = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
        std::memcpy(out, &bytes, 4);
    }
}
#endif

void AreaReduction::ReduceColumns(const std::uint16_t* sums, std::uint8_t* out) const {
#if defined(__SSE2__)
    // The common reductions to a screen (by less than 2 to 1 or 3 to 1, so
    // one or two pairs a pixel) with their steps unrolled.
    switch (columnPairs_) {
        case 1:
            return ReduceColumnsSse2<1>(sums, out);
        case 2:
            return ReduceColumnsSse2<2>(sums, out);
        default:
            return ReduceColumnsSse2<0>(sums, out);
    }
#else
    const std::uint32_t* pairs = pairedWeights_.data();
    for (int x = 0; x < Width(); ++x) {
        const std::uint16_t* p =
            sums + static_cast<std::size_t>(columns_.first[static_cast<std::size_t>(x)]) * 4;
        std::uint32_t total[4] = {1u << (kShift - 1), 1u << (kShift - 1), 1u << (kShift - 1),
                                  1u << (kShift - 1)};
        const auto add = [&](std::uint32_t w, int a, int b) {
            for (int c = 0; c < 4; ++c) total[c] += (w & 0xFFFF) * p[a + c] + (w >> 16) * p[b + c];
        };
        int k = 0;
        for (; k + 2 <= columnPairs_; k += 2, p += 16, pairs += 2) {
            add(pairs[0], 0, 8);
            add(pairs[1], 4, 12);
        }
        if (k < columnPairs_) add(*pairs++, 0, 4);
        for (int c = 0; c < 4; ++c) *out++ = static_cast<std::uint8_t>(total[c] >> kShift);
    }
#endif
}

void ReduceArea(const std::uint8_t* source, std::ptrdiff_t sourceStride, int sourceWidth,
                int sourceHeight, std::uint8_t* out, std::ptrdiff_t stride, int width, int height) {
    const AreaReduction plan(sourceWidth, sourceHeight, width, height);
    AreaReduction::Scratch scratch;
    std::vector<const std::uint8_t*> rows(static_cast<std::size_t>(plan.MostSourceRows()));
    for (int y = 0; y < height; ++y) {
        for (int k = 0; k < plan.SourceRowCount(y); ++k)
            rows[static_cast<std::size_t>(k)] =
                source + (plan.FirstSourceRow(y) + k) * sourceStride;
        plan.ReduceRow(y, rows.data(), out + y * stride, scratch);
    }
}
