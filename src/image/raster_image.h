// RasterImage: the one image type of the system, plus RotateBitmap for the
// viewer's top-down display bitmaps.
//
// Pixel layout (a Windows DIB without the header, so that a converter to QImage is one call):
//   * Rows are stored bottom-up: Row(0) is the bottom row, Row(Height() - 1) the top row.
//   * Stride() = ((Width() * BitDepth() + 31) / 32) * 4 bytes: every row starts 4-byte aligned;
//     padding bytes are zero.
//   * 24-bit rows hold B,G,R byte triples (QImage::Format_BGR888 with bytesPerLine = Stride(),
//     then mirrored vertically).
//   * 8-bit rows hold palette indices; Palette() of an 8-bit image always has exactly 256 entries
//     (unused entries are black), so every index byte is a valid palette index. Greyscale images
//     (grey JPEGs, grey PNGs, FromGreyTopDown) have the identity grey ramp palette[i] = (i,i,i).
//   * Optional alpha plane (only from PNGs with transparency): HasAlpha(), AlphaRow(y) give one
//     byte per pixel, bottom-up, Width() bytes per row, 255 = opaque. Resample and Rotate carry it
//     (rotated-in background is transparent); Light leaves it unchanged; EncodeJpeg ignores it.
//
// Failures: every operation returns false (or an empty image) and never throws, never prints and
// never exits; LastError() then holds a short English reason. Operations writing into a
// destination build the result aside and only then replace the destination, so on failure the
// destination is untouched and the destination may be the source object itself.
//
// Threads: a RasterImage is a plain value. Different images may be used on different threads at
// the same time; one image must not be used by two threads at once (const operations record
// LastError()).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class ImageFormat { Jpeg, Png, Bmp };

struct RgbColor {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const RgbColor&) const = default;
};

class RasterImage {
  public:
    // Largest pixel buffer any operation allocates (rows including padding); larger images are
    // refused ("image too large"), so hostile headers cannot exhaust memory.
    static constexpr std::size_t kMaxPixelBytes = std::size_t{1} << 30;  // 1 GiB

    // JPEG: baseline, progressive, 8-bit grey (-> 8 bit), YCbCr/RGB (-> 24), CMYK/YCCK (-> 24).
    //   Data that ends inside the headers, or is not a JPEG, fails. Data that ends inside the
    //   compressed image decodes, as libjpeg does: the part that arrived
    //   is shown, the rest is grey, and IsTruncated() tells. Other corrupt-data warnings are
    //   tolerated. Trailing bytes after EOI are ignored (catalogue blobs end with a zero byte).
    // PNG: all colour types and depths (16-bit is reduced to 8). Grey without alpha -> 8-bit grey;
    //   palette without transparency -> 8-bit palette; otherwise 24-bit, with an alpha plane when
    //   the PNG has transparency.
    // BMP: a file image ("BM" header) or a packed DIB (header without the file header, as on the
    //   clipboard); 1/4/8-bit (uncompressed, RLE4, RLE8) -> 8-bit palette; 16/24/32-bit
    //   (uncompressed or bit fields) -> 24-bit (any alpha is dropped).
    // On failure the image is empty and false is returned.
    bool Decode(const std::uint8_t* bytes, std::size_t length, ImageFormat format);
    // JPEG only: decode with libjpeg's DCT scaling at the smallest scale (n/8) whose output is
    // still at least minWidth x minHeight; headerWidth/headerHeight receive the full size from the
    // header. When even 8/8 is smaller than the minimum, the full size is decoded.
    // headerWidth/headerHeight may be null; they are written as soon as the header has been read
    // (also when the rest of the decode then fails), otherwise left untouched. No full-resolution
    // buffer is allocated.
    bool DecodeJpegScaled(const std::uint8_t* bytes, std::size_t length, int minWidth,
                          int minHeight, int* headerWidth, int* headerHeight);
    bool IsEmpty() const;
    int Width() const;
    int Height() const;
    int BitDepth() const;  // 24 or 8; 0 when empty
    // Area averaging with fractional edge weights when a 24-bit image shrinks in
    // both directions, otherwise bilinear (corner-aligned: destination x samples source x * sx).
    // 8-bit images keep their palette: a greyscale image interpolates its grey levels, any other
    // palette interpolates colours and takes the nearest palette entry. Same size: a copy.
    // False when the source is empty or a new side is <= 0.
    bool Resample(int newWidth, int newHeight, RasterImage& destination) const;
    // Positive angles turn clockwise on screen. The destination is the bounding box
    // of the rotated corners; each destination pixel takes the nearest source pixel (sampled at
    // pixel centres, so multiples of 90 degrees are exact permutations of the pixels); pixels that
    // fall outside the source get BackgroundColor() (for 8-bit images its nearest palette entry).
    bool Rotate(double angleDegrees, RasterImage& destination) const;
    // The picture flipped left to right (each row reversed). False when the image is empty.
    bool Mirror(RasterImage& destination) const;
    // Adds brightness (clamped to -255..255) to R, G and B of every pixel (8-bit: of every palette
    // entry), clamping each to 0..255. False when the image is empty.
    bool Light(int brightness);
    // Appends a complete JPEG (JFIF, quality JpegQuality(), baseline, Huffman, 4:2:0: luminance
    // sampled 2x2, both chroma 1x1) to output, which must be empty: when it is not, or on any
    // failure, false is returned and output is untouched. 8-bit images whose palette is all grey
    // are written as one-component greyscale JPEGs; other 8-bit images are written in colour.
    bool EncodeJpeg(std::vector<std::uint8_t>& output) const;
    // y = 0 is the bottom row. Out of range or empty: RgbColor{} (black).
    RgbColor PixelColor(int x, int y) const;
    // 8-bit images: the palette index. 24-bit, out of range or empty: 0.
    std::uint8_t PixelIndex(int x, int y) const;
    const std::string& LastError() const;
    int JpegQuality() const;                       // 90
    const std::vector<RgbColor>& Palette() const;  // 256 entries for 8-bit images, else empty
    // Bottom-up row y (see the layout above); nullptr when y is out of range or the image is empty.
    const std::uint8_t* Row(int y) const;
    int Stride() const;  // bytes per row, 0 when empty
    // Builds an image from pixels (for tests and callers that make images): 24-bit from RGB rows
    // top-down. rgb holds height rows of width R,G,B triples without padding, top row first; grey
    // holds height rows of width bytes. Invalid arguments (null, sides <= 0, too large) give an
    // empty image.
    static RasterImage FromRgbTopDown(int width, int height, const std::uint8_t* rgb);
    static RasterImage FromGreyTopDown(int width, int height, const std::uint8_t* grey);

    // Additions for callers that need more than the basic operations.
    void Clear();  // back to empty (LastError() is kept)
    bool HasAlpha() const;
    const std::uint8_t* AlphaRow(int y) const;  // bottom-up, Width() bytes; nullptr without alpha
    RgbColor BackgroundColor() const;           // used by Rotate; initially black
    void SetBackgroundColor(RgbColor color);
    std::uint8_t* MutableRow(int y);  // for callers that make images
    // True when the last successful JPEG decode ran out of data before the end-of-image marker
    // (the picture may be partly grey). False for other images and after other operations.
    bool IsTruncated() const;
    // True when the image is 8-bit with the identity grey ramp palette.
    bool IsGreyscale() const;
    static int StrideFor(int width, int bitDepth);  // DWORD-aligned row size, 0 on overflow

  private:
    friend struct RasterImageAccess;  // the codec and algorithm files (not part of the interface)

    bool Allocate(int width, int height, int bitDepth, bool withAlpha);
    bool Fail(const char* reason) const;
    void SetGreyPalette();

    int width_ = 0;
    int height_ = 0;
    int bitDepth_ = 0;
    int stride_ = 0;
    std::vector<std::uint8_t> pixels_;  // stride_ * height_ bytes, bottom-up
    std::vector<std::uint8_t> alpha_;   // width_ * height_ bytes, bottom-up; empty when opaque
    std::vector<RgbColor> palette_;     // 256 entries for 8-bit images
    int jpegQuality_ = 90;
    RgbColor background_{};
    bool truncated_ = false;
    mutable std::string lastError_;
};

// Top-down bitmap used by the viewer and the main view for display rotation.
// pixels holds height rows, top row first, each BitmapStride(width, bitDepth) bytes
// (((width * bitDepth + 31) / 32) * 4, DWORD-aligned like a GDI DIB section); 24-bit pixels are
// B,G,R triples, 32-bit pixels B,G,R,X quadruples (QImage::Format_RGB32 on little-endian machines),
// 8-bit pixels index colorTable.
struct Bitmap {
    int width = 0, height = 0, bitDepth = 24;
    std::vector<RgbColor> colorTable;
    std::vector<std::uint8_t> pixels; /* top-down rows, stride documented */
};
int BitmapStride(int width, int bitDepth);  // 0 on overflow or unsupported depth
// RotateBitmap, with its exact arithmetic (theta = angle * 3.1415926 / 180, integer
// halves, bounding half-sizes + 0.5, destination origin (int(e - hw), int(d - hh))): positive
// angles turn clockwise on screen; a quarter turn of a W x H image with odd W and H gives H x W,
// even sides give one pixel more. Pixels without a source stay 0. A greyscale 8-bit source
// (256-entry increasing grey ramp) is interpolated bilinearly, others take the nearest pixel.
// Supports bit depths 8, 24 and 32. False (destination untouched) for an empty or inconsistent
// source (pixels shorter than height * stride) or an unsupported depth.
bool RotateBitmap(const Bitmap& source, Bitmap& destination, double angleDegrees);

// JPEG straight into a display bitmap, for the viewer.
//
// The full size from the header. False (width and height untouched) when the data is not a JPEG
// or ends inside the headers.
bool ReadJpegSize(const std::uint8_t* bytes, std::size_t length, int& width, int& height);
// True exactly when RasterImage::DecodeJpegScaled(bytes, length, 1, 1, ...) would succeed. A
// single-scan image whose scan runs to its end is judged from its headers alone, without decoding
// the scan's data (which cannot make the decode fail); any other decodes at 1/8 scale.
bool JpegDecodes(const std::uint8_t* bytes, std::size_t length);
// n of the DCT scale n/8 (1, 2, 4 or 8) for decoding a width x height JPEG: the smallest whose
// output still covers minWidth x minHeight, 8 when no smaller one does. libjpeg-turbo decodes
// these four scales with SIMD; the other eighths gain nothing: 3/8 decodes slower than 1/2, and
// 5/8 to 7/8 about as slowly as the whole picture or slower.
int FastJpegScaleCovering(int width, int height, int minWidth, int minHeight);
struct JpegBitmapDecode {
    bool truncated = false;  // as RasterImage::IsTruncated()
    bool cancelled = false;  // stopped because JpegRows::cancel was set
    std::string error;       // why the decode failed
};
// Decodes a JPEG at scale scaleEighths/8 (1, 2, 4 or 8) into a 32-bit top-down bitmap (B,G,R,255
// quadruples, no colour table); grey and CMYK JPEGs come out in the same layout. Same limits as
// RasterImage::Decode, and truncated data decodes the same way. On failure out is empty and
// result.error tells why.
bool DecodeJpegBitmap(const std::uint8_t* bytes, std::size_t length, int scaleEighths, Bitmap& out,
                      JpegBitmapDecode& result);
// The output of a JPEG decoded at scale n/8 (1, 2, 4 or 8). A progressive JPEG gives its first row
// only after every scan was read, so decoding it in bands gains nothing.
struct JpegLayout {
    int width = 0, height = 0;
    bool progressive = false;
};
// False when the data is not a JPEG, ends inside the headers, or the scale is not one of the four.
bool ReadJpegLayout(const std::uint8_t* bytes, std::size_t length, int scaleEighths,
                    JpegLayout& layout);
// Output rows firstRow..endRow-1 at a scale, into memory the caller owns: pixels holds row
// firstRow, each row stride bytes on, in DecodeJpegBitmap's B,G,R,255 layout. width must be the
// layout's.
struct JpegRows {
    std::uint8_t* pixels = nullptr;
    std::ptrdiff_t stride = 0;
    int width = 0;
    int firstRow = 0, endRow = 0;
    // Polled while decoding; once true the decode stops (result.cancelled).
    const std::atomic<bool>* cancel = nullptr;
};
// The rows above firstRow are read through but not reconstructed, so calls for adjacent bands on
// different threads together give exactly the pixels of one whole decode. Failures as
// DecodeJpegBitmap; the rows are then partly written.
bool DecodeJpegRows(const std::uint8_t* bytes, std::size_t length, int scaleEighths,
                    const JpegRows& rows, JpegBitmapDecode& result);
