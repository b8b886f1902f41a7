// JPEG decoding and encoding with libjpeg(-turbo). The only file that includes jpeglib.h.
//
// libjpeg reports fatal errors through error_exit, which must not return: ours longjmps back to
// the setjmp in RunDecode/RunEncode. Those two functions therefore hold no C++ objects with
// destructors and keep every value that changes after setjmp in a state struct owned by their
// caller (so nothing relies on non-volatile locals after the jump).
#include <atomic>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include <jerror.h>
#include <jpeglib.h>

#include "image/jpeg_row_sink.h"
#include "image/raster_image_internal.h"

namespace darazoz_image {
namespace {

// A progressive JPEG may announce any number of scans; each one re-walks the coefficients.
// Hostile files use thousands to make decoding crawl (libjpeg-turbo's own tools cap it likewise).
constexpr int kMaxScans = 500;

struct ErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool truncated;
    const std::atomic<bool>* cancel;  // set: the caller no longer wants the picture
    bool cancelled;
};

[[noreturn]] void FailWith(j_common_ptr cinfo, const char* text) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::snprintf(err->message, sizeof err->message, "%s", text);
    std::longjmp(err->jump, 1);
}

[[noreturn]] void OnErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void OnEmitMessage(j_common_ptr cinfo, int level) {
    if (level >= 0) return;  // trace messages
    // Corrupt-data warnings are tolerated, as in libjpeg's own tools. When the data ends early,
    // libjpeg fills the rest of the picture with grey: the decode succeeds (a viewer shows the
    // part that arrived) and the image records that it is truncated.
    if (cinfo->err->msg_code == JWRN_JPEG_EOF)
        reinterpret_cast<ErrorManager*>(cinfo->err)->truncated = true;
    cinfo->err->num_warnings++;
}

void OnOutputMessage(j_common_ptr) {}  // never print

[[noreturn]] void FailCancelled(j_common_ptr cinfo) {
    reinterpret_cast<ErrorManager*>(cinfo->err)->cancelled = true;
    FailWith(cinfo, "decoding cancelled");
}

bool Cancelled(j_common_ptr cinfo) {
    const auto* cancel = reinterpret_cast<ErrorManager*>(cinfo->err)->cancel;
    return cancel && cancel->load(std::memory_order_relaxed);
}

// Called per scan and per call of jpeg_read_scanlines.
void OnProgress(j_common_ptr cinfo) {
    if (Cancelled(cinfo)) FailCancelled(cinfo);
    if (cinfo->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
        FailWith(cinfo, "too many JPEG scans");
    }
}

void InstallErrorManager(ErrorManager& err) {
    jpeg_std_error(&err.pub);
    err.pub.error_exit = OnErrorExit;
    err.pub.emit_message = OnEmitMessage;
    err.pub.output_message = OnOutputMessage;
    err.message[0] = '\0';
    err.truncated = false;
    err.cancel = nullptr;
    err.cancelled = false;
}

struct DecodeState {
    const std::uint8_t* bytes = nullptr;
    std::size_t length = 0;
    int minWidth = 0;  // 0: full resolution
    int minHeight = 0;
    int* headerWidth = nullptr;
    int* headerHeight = nullptr;
    bool headerOnly = false;       // stop after the header
    bool verdictOnly = false;      // stop once the rest cannot change whether the decode succeeds
    int scaleEighths = 0;          // > 0: decode at exactly this n/8 instead of minWidth/minHeight
    JpegLayout* layout = nullptr;  // with headerOnly: the output at scaleEighths
    RasterImage* out = nullptr;
    Bitmap* bitmap = nullptr;     // set: decode into this 32-bit top-down bitmap instead of out
    JpegRowSink* sink = nullptr;  // set: decode rows firstRow..endRow-1 into the sink's rows
    int firstRow = 0;
    int endRow = 0;
    int rowWidth = 0;  // > 0: the output's width must be this
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    jpeg_progress_mgr progress;
};

// True when the bytes after the first scan's header are entropy-coded data that reach the
// end-of-image marker (or the data's end) without any other marker. libjpeg only warns about
// damaged entropy-coded data and reads nothing after EOI, so a single-scan image without restart
// markers decodes from here on whatever those bytes are. The walk finds markers as libjpeg does:
// 0xFF, any 0xFF fill bytes, then a byte other than 0x00 (0xFF 0x00 is a data byte 0xFF).
bool ScanRunsToImageEnd(const std::uint8_t* data, std::size_t length) {
    const std::uint8_t* const end = data + length;
    const std::uint8_t* at = data;
    for (;;) {
        at = static_cast<const std::uint8_t*>(std::memchr(at, 0xFF, std::size_t(end - at)));
        if (at == nullptr) return true;  // the data ends: libjpeg supplies EOI
        while (at < end && *at == 0xFF) ++at;
        if (at == end) return true;
        if (*at != 0x00) return *at == (JPEG_EOI & 0xFF);
        ++at;
    }
}

bool RestDecodesWhateverItHolds(j_decompress_ptr cinfo) {
    return !jpeg_has_multiple_scans(cinfo) && cinfo->restart_interval == 0 && !cinfo->arith_code &&
           ScanRunsToImageEnd(cinfo->src->next_input_byte, cinfo->src->bytes_in_buffer);
}

// pixelBytes 3 writes B,G,R; 4 writes B,G,R,255.
void ConvertCmykRow(const JSAMPLE* cmyk, std::uint8_t* bgr, JDIMENSION width, bool inverted,
                    int pixelBytes) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, bgr += pixelBytes) {
        int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        // Adobe-style (inverted) CMYK: each value is 255 - ink, so colour = value * (255 - ink_k).
        bgr[0] = static_cast<std::uint8_t>((y * k + 127) / 255);
        bgr[1] = static_cast<std::uint8_t>((m * k + 127) / 255);
        bgr[2] = static_cast<std::uint8_t>((c * k + 127) / 255);
        if (pixelBytes == 4) bgr[3] = 0xFF;
    }
}

// Sizes the bitmap's pixels; the reason when they cannot be had, else null. Kept out of
// RunDecode so that no exception or C++ object crosses its setjmp.
const char* AllocateBitmap(Bitmap& bitmap, int width, int height) {
    const int stride = BitmapStride(width, 32);
    if (stride == 0 || static_cast<std::uint64_t>(stride) * static_cast<std::uint64_t>(height) >
                           RasterImage::kMaxPixelBytes) {
        return "image too large";
    }
    try {
        bitmap.pixels.resize(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
    } catch (const std::bad_alloc&) {
        return "out of memory";
    }
    bitmap.width = width;
    bitmap.height = height;
    bitmap.bitDepth = 32;
    return nullptr;
}

// Returns 0 on success, 1 after a libjpeg error (message in s.err.message), 2 when the pixel
// buffer could not be allocated (reason in s.out->LastError()).
int RunDecode(DecodeState& s) {
    j_decompress_ptr cinfo = &s.cinfo;
    if (setjmp(s.err.jump)) {
        jpeg_destroy_decompress(cinfo);
        return 1;
    }
    jpeg_create_decompress(cinfo);
    // libjpeg's own allocations (coefficient buffers of progressive images are full-size even
    // when scaling) are capped like ours; it then fails instead of exhausting memory.
    cinfo->mem->max_memory_to_use = static_cast<long>(RasterImage::kMaxPixelBytes);
    s.progress.progress_monitor = OnProgress;
    cinfo->progress = &s.progress;
    jpeg_mem_src(cinfo, s.bytes, static_cast<unsigned long>(s.length));
    jpeg_read_header(cinfo, TRUE);
    if (s.headerWidth) *s.headerWidth = static_cast<int>(cinfo->image_width);
    if (s.headerHeight) *s.headerHeight = static_cast<int>(cinfo->image_height);
    if (s.headerOnly) {
        if (s.layout) {
            cinfo->scale_num = static_cast<unsigned>(s.scaleEighths);
            cinfo->scale_denom = 8;
            jpeg_calc_output_dimensions(cinfo);
            s.layout->width = static_cast<int>(cinfo->output_width);
            s.layout->height = static_cast<int>(cinfo->output_height);
            s.layout->progressive = cinfo->progressive_mode != 0;
        }
        jpeg_destroy_decompress(cinfo);
        return 0;
    }

    bool cmyk = false;
    const bool display = s.bitmap || s.sink;  // B,G,R,255 rows
    int bitDepth = display ? 32 : 24;
    switch (cinfo->jpeg_color_space) {
        case JCS_GRAYSCALE:
            if (display) {
                cinfo->out_color_space = JCS_EXT_BGRX;  // libjpeg-turbo spreads grey itself
            } else {
                cinfo->out_color_space = JCS_GRAYSCALE;
                bitDepth = 8;
            }
            break;
        case JCS_YCbCr:
        case JCS_RGB:
            // libjpeg-turbo sets the X byte to 255.
            cinfo->out_color_space = display ? JCS_EXT_BGRX : JCS_EXT_BGR;
            break;
        case JCS_CMYK:
        case JCS_YCCK:
            cinfo->out_color_space = JCS_CMYK;
            cmyk = true;
            break;
        default:
            FailWith(reinterpret_cast<j_common_ptr>(cinfo), "unsupported JPEG colour space");
    }
    cinfo->dct_method = JDCT_ISLOW;
    cinfo->scale_num = 8;
    cinfo->scale_denom = 8;
    if (s.scaleEighths > 0) {
        cinfo->scale_num = static_cast<unsigned>(s.scaleEighths);
    } else if (s.minWidth > 0) {
        // Smallest n/8 whose output still covers the minimum; 8/8 when none does.
        for (unsigned n = 1; n <= 8; ++n) {
            cinfo->scale_num = n;
            jpeg_calc_output_dimensions(cinfo);
            if (cinfo->output_width >= static_cast<JDIMENSION>(s.minWidth) &&
                cinfo->output_height >= static_cast<JDIMENSION>(s.minHeight)) {
                break;
            }
        }
    }
    jpeg_calc_output_dimensions(cinfo);
    if (cinfo->output_width == 0 || cinfo->output_height == 0 || cinfo->output_width > 65535 ||
        cinfo->output_height > 65535) {
        FailWith(reinterpret_cast<j_common_ptr>(cinfo), "invalid JPEG size");
    }
    const int outWidth = static_cast<int>(cinfo->output_width);
    const int outHeight = static_cast<int>(cinfo->output_height);
    // Output row y goes to pixels + (y - firstRow) * stride.
    std::uint8_t* pixels = nullptr;
    std::ptrdiff_t stride = 0;
    JDIMENSION firstRow = 0;
    JDIMENSION endRow = static_cast<JDIMENSION>(outHeight);
    if (s.sink) {
        if ((s.rowWidth > 0 && s.rowWidth != outWidth) || s.firstRow < 0 ||
            s.firstRow >= s.endRow || s.endRow > outHeight)
            FailWith(reinterpret_cast<j_common_ptr>(cinfo), "rows outside the JPEG's output");
        firstRow = static_cast<JDIMENSION>(s.firstRow);
        endRow = static_cast<JDIMENSION>(s.endRow);
    } else if (s.bitmap) {
        if (const char* reason = AllocateBitmap(*s.bitmap, outWidth, outHeight))
            FailWith(reinterpret_cast<j_common_ptr>(cinfo), reason);
        stride = BitmapStride(outWidth, 32);
        pixels = s.bitmap->pixels.data();  // top-down
    } else {
        if (!RasterImageAccess::Allocate(*s.out, outWidth, outHeight, bitDepth, false)) {
            jpeg_destroy_decompress(cinfo);
            return 2;  // reason in s.out->LastError()
        }
        if (bitDepth == 8) RasterImageAccess::SetGreyPalette(*s.out);
        // Bottom-up: scanline 0 goes into the last row.
        stride = -static_cast<std::ptrdiff_t>(s.out->Stride());
        pixels = RasterImageAccess::Pixels(*s.out) + (outHeight - 1) * -stride;
    }

    jpeg_start_decompress(cinfo);
    if (cinfo->output_width != static_cast<JDIMENSION>(outWidth) ||
        cinfo->output_height != static_cast<JDIMENSION>(outHeight) ||
        cinfo->output_components != (cmyk ? 4 : bitDepth / 8)) {
        FailWith(reinterpret_cast<j_common_ptr>(cinfo), "unexpected JPEG output format");
    }
    if (s.verdictOnly && RestDecodesWhateverItHolds(cinfo)) {
        jpeg_destroy_decompress(cinfo);
        return 0;
    }
    JSAMPARRAY cmykRow = nullptr;
    if (cmyk) {
        cmykRow = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                              cinfo->output_width * 4, 1);
    }
    // The rows above the band are entropy-decoded (the data is one sequential stream) but not
    // reconstructed, which is what lets a second thread start lower down.
    if (firstRow > 0 && jpeg_skip_scanlines(cinfo, firstRow) != firstRow)
        FailWith(reinterpret_cast<j_common_ptr>(cinfo), "JPEG decoding stalled");
    if (Cancelled(reinterpret_cast<j_common_ptr>(cinfo)))
        FailCancelled(reinterpret_cast<j_common_ptr>(cinfo));
    const auto rowAt = [&](JDIMENSION y) {
        return s.sink ? s.sink->Row(static_cast<int>(y))
                      : pixels + static_cast<std::ptrdiff_t>(y - firstRow) * stride;
    };
    while (cinfo->output_scanline < endRow) {
        if (cmyk) {
            std::uint8_t* row = rowAt(cinfo->output_scanline);
            if (jpeg_read_scanlines(cinfo, cmykRow, 1) != 1) {
                FailWith(reinterpret_cast<j_common_ptr>(cinfo), "JPEG decoding stalled");
            }
            ConvertCmykRow(cmykRow[0], row, cinfo->output_width, cinfo->saw_Adobe_marker,
                           bitDepth / 8);
        } else {
            // Write scanlines straight into the rows, several at a time.
            JSAMPROW rows[16];
            const JDIMENSION left = endRow - cinfo->output_scanline;
            const JDIMENSION count = left < 16 ? left : 16;
            for (JDIMENSION i = 0; i < count; ++i) rows[i] = rowAt(cinfo->output_scanline + i);
            if (jpeg_read_scanlines(cinfo, rows, count) == 0) {
                FailWith(reinterpret_cast<j_common_ptr>(cinfo), "JPEG decoding stalled");
            }
        }
        if (s.sink) s.sink->Written(static_cast<int>(cinfo->output_scanline));
    }
    // A band that ends above the bottom leaves the rest of the data unread.
    if (cinfo->output_scanline == cinfo->output_height)
        jpeg_finish_decompress(cinfo);
    else
        jpeg_abort_decompress(cinfo);
    jpeg_destroy_decompress(cinfo);
    return 0;
}

// Growing in-memory destination. The buffer lives in the caller's state, so it is freed on every
// path (libjpeg's jpeg_mem_dest would leak its buffer when an error interrupts it).
struct MemoryDestination {
    jpeg_destination_mgr pub;
    unsigned char* data;
    std::size_t capacity;
    std::size_t used;
};

void InitDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<MemoryDestination*>(cinfo->dest);
    constexpr std::size_t kInitial = 64 * 1024;
    dest->data = static_cast<unsigned char*>(std::malloc(kInitial));
    if (dest->data == nullptr) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    dest->capacity = kInitial;
    dest->pub.next_output_byte = dest->data;
    dest->pub.free_in_buffer = kInitial;
}

boolean GrowDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<MemoryDestination*>(cinfo->dest);
    const std::size_t newCapacity = dest->capacity * 2;
    if (newCapacity < dest->capacity || newCapacity > RasterImage::kMaxPixelBytes) {
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 1);
    }
    auto* grown = static_cast<unsigned char*>(std::realloc(dest->data, newCapacity));
    if (grown == nullptr) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 2);
    dest->data = grown;
    // The whole old buffer is full when empty_output_buffer is called.
    dest->pub.next_output_byte = grown + dest->capacity;
    dest->pub.free_in_buffer = newCapacity - dest->capacity;
    dest->capacity = newCapacity;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<MemoryDestination*>(cinfo->dest);
    dest->used = dest->capacity - dest->pub.free_in_buffer;
}

struct EncodeState {
    const RasterImage* image = nullptr;
    int quality = 90;
    bool grey = false;                // 8-bit image with an all-grey palette: one-component JPEG
    std::uint8_t* scratch = nullptr;  // one converted row for 8-bit images
    jpeg_compress_struct cinfo;
    ErrorManager err;
    MemoryDestination dest;
};

int RunEncode(EncodeState& s) {
    j_compress_ptr cinfo = &s.cinfo;
    if (setjmp(s.err.jump)) {
        jpeg_destroy_compress(cinfo);
        return 1;
    }
    jpeg_create_compress(cinfo);
    s.dest.pub.init_destination = InitDestination;
    s.dest.pub.empty_output_buffer = GrowDestination;
    s.dest.pub.term_destination = TermDestination;
    cinfo->dest = &s.dest.pub;

    const RasterImage& image = *s.image;
    cinfo->image_width = static_cast<JDIMENSION>(image.Width());
    cinfo->image_height = static_cast<JDIMENSION>(image.Height());
    if (s.grey) {
        cinfo->input_components = 1;
        cinfo->in_color_space = JCS_GRAYSCALE;
    } else {
        cinfo->input_components = 3;
        cinfo->in_color_space = JCS_EXT_BGR;
    }
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, s.quality, TRUE);  // TRUE: baseline-compatible quantisation tables
    cinfo->dct_method = JDCT_ISLOW;
    cinfo->optimize_coding = FALSE;
    if (!s.grey) {
        // 4:2:0, stated explicitly rather than relying on the library's defaults.
        cinfo->comp_info[0].h_samp_factor = 2;
        cinfo->comp_info[0].v_samp_factor = 2;
        for (int c = 1; c < 3; ++c) {
            cinfo->comp_info[c].h_samp_factor = 1;
            cinfo->comp_info[c].v_samp_factor = 1;
        }
    }
    jpeg_start_compress(cinfo, TRUE);
    const std::vector<RgbColor>& palette = image.Palette();
    const int height = image.Height();
    const int width = image.Width();
    while (cinfo->next_scanline < cinfo->image_height) {
        const int y = height - 1 - static_cast<int>(cinfo->next_scanline);  // top row first
        const std::uint8_t* row = image.Row(y);
        JSAMPROW line;
        if (image.BitDepth() == 24) {
            line = const_cast<JSAMPROW>(row);
        } else if (s.grey) {
            for (int x = 0; x < width; ++x) s.scratch[x] = palette[row[x]].r;
            line = s.scratch;
        } else {
            for (int x = 0; x < width; ++x) {
                const RgbColor c = palette[row[x]];
                s.scratch[3 * x] = c.b;
                s.scratch[3 * x + 1] = c.g;
                s.scratch[3 * x + 2] = c.r;
            }
            line = s.scratch;
        }
        jpeg_write_scanlines(cinfo, &line, 1);
    }
    jpeg_finish_compress(cinfo);
    jpeg_destroy_compress(cinfo);
    return 0;
}

}  // namespace

namespace {

// A decode state for bytes, its error manager installed; null when libjpeg cannot take the length.
std::unique_ptr<DecodeState> NewDecodeState(const std::uint8_t* bytes, std::size_t length,
                                            std::string& error) {
    if (length > 0xFFFFFFFFu) {
        error = "JPEG data too large";
        return nullptr;
    }
    auto state = std::make_unique<DecodeState>();
    std::memset(&state->cinfo, 0, sizeof state->cinfo);
    std::memset(&state->progress, 0, sizeof state->progress);
    InstallErrorManager(state->err);
    state->cinfo.err = &state->err.pub;
    state->bytes = bytes;
    state->length = length;
    return state;
}

const char* DecodeError(const DecodeState& s) {
    return s.err.message[0] ? s.err.message : "JPEG decoding failed";
}

}  // namespace

bool DecodeJpeg(const std::uint8_t* bytes, std::size_t length, int minWidth, int minHeight,
                int* headerWidth, int* headerHeight, RasterImage& out, std::string& error) {
    const auto state = NewDecodeState(bytes, length, error);
    if (!state) return false;
    DecodeState& s = *state;
    s.minWidth = minWidth;
    s.minHeight = minHeight;
    s.headerWidth = headerWidth;
    s.headerHeight = headerHeight;
    s.out = &out;
    const int result = RunDecode(s);
    if (result == 1) error = DecodeError(s);
    if (result == 2) error = out.LastError();
    if (result != 0) {
        out.Clear();
        return false;
    }
    RasterImageAccess::SetTruncated(out, s.err.truncated);
    return true;
}

bool EncodeJpeg(const RasterImage& image, int quality, std::vector<std::uint8_t>& out,
                std::string& error) {
    auto state = std::make_unique<EncodeState>();
    EncodeState& s = *state;
    std::memset(&s.cinfo, 0, sizeof s.cinfo);
    std::memset(&s.dest, 0, sizeof s.dest);
    InstallErrorManager(s.err);
    s.cinfo.err = &s.err.pub;
    s.image = &image;
    s.quality = quality < 1 ? 1 : (quality > 100 ? 100 : quality);
    std::vector<std::uint8_t> scratch;
    if (image.BitDepth() == 8) {
        s.grey = true;
        for (const RgbColor& c : image.Palette()) {
            if (c.r != c.g || c.g != c.b) {
                s.grey = false;
                break;
            }
        }
        try {
            scratch.resize(static_cast<std::size_t>(image.Width()) * 3);
        } catch (const std::bad_alloc&) {
            error = "out of memory";
            return false;
        }
        s.scratch = scratch.data();
    }
    const int result = RunEncode(s);
    bool ok = result == 0;
    if (!ok) {
        error = s.err.message[0] ? s.err.message : "JPEG encoding failed";
    } else {
        try {
            out.assign(s.dest.data, s.dest.data + s.dest.used);
        } catch (const std::bad_alloc&) {
            error = "out of memory";
            ok = false;
        }
    }
    std::free(s.dest.data);
    return ok;
}

}  // namespace darazoz_image

bool ReadJpegSize(const std::uint8_t* bytes, std::size_t length, int& width, int& height) {
    std::string error;
    if (bytes == nullptr || length == 0) return false;
    const auto state = darazoz_image::NewDecodeState(bytes, length, error);
    if (!state) return false;
    int w = 0;
    int h = 0;
    state->headerOnly = true;
    state->headerWidth = &w;
    state->headerHeight = &h;
    if (darazoz_image::RunDecode(*state) != 0 || w <= 0 || h <= 0) return false;
    width = w;
    height = h;
    return true;
}

bool JpegDecodes(const std::uint8_t* bytes, std::size_t length) {
    std::string error;
    if (bytes == nullptr || length == 0) return false;
    const auto state = darazoz_image::NewDecodeState(bytes, length, error);
    if (!state) return false;
    // The setup of a 1/8-scale decode, so that every check before the pixels is the same.
    RasterImage pixels;
    state->minWidth = 1;
    state->minHeight = 1;
    state->out = &pixels;
    state->verdictOnly = true;
    return darazoz_image::RunDecode(*state) == 0;
}

int FastJpegScaleCovering(int width, int height, int minWidth, int minHeight) {
    // libjpeg's output side at n/8 is ceil(side * n / 8).
    const auto scaled = [](int side, int n) {
        return (static_cast<std::int64_t>(side) * n + 7) / 8;
    };
    for (const int n : {1, 2, 4}) {
        if (scaled(width, n) >= minWidth && scaled(height, n) >= minHeight) return n;
    }
    return 8;
}

namespace {

bool IsFastScale(int scaleEighths) {
    return scaleEighths == 1 || scaleEighths == 2 || scaleEighths == 4 || scaleEighths == 8;
}

}  // namespace

bool ReadJpegLayout(const std::uint8_t* bytes, std::size_t length, int scaleEighths,
                    JpegLayout& layout) {
    std::string error;
    if (bytes == nullptr || length == 0 || !IsFastScale(scaleEighths)) return false;
    const auto state = darazoz_image::NewDecodeState(bytes, length, error);
    if (!state) return false;
    JpegLayout read;
    state->headerOnly = true;
    state->scaleEighths = scaleEighths;
    state->layout = &read;
    if (darazoz_image::RunDecode(*state) != 0 || read.width <= 0 || read.height <= 0) return false;
    layout = read;
    return true;
}

namespace {

// DecodeJpegRows' rows: contiguous in the caller's memory.
class ContiguousRows final : public JpegRowSink {
  public:
    explicit ContiguousRows(const JpegRows& rows) : rows_(rows) {}
    std::uint8_t* Row(int y) override {
        return rows_.pixels + static_cast<std::ptrdiff_t>(y - rows_.firstRow) * rows_.stride;
    }
    void Written(int) override {}

  private:
    const JpegRows& rows_;
};

bool DecodeRowsToSink(const std::uint8_t* bytes, std::size_t length, int scaleEighths, int firstRow,
                      int endRow, int width, const std::atomic<bool>* cancel, JpegRowSink& sink,
                      JpegBitmapDecode& result) {
    result = JpegBitmapDecode{};
    if (bytes == nullptr || length == 0 || !IsFastScale(scaleEighths)) {
        result.error = "no data or unsupported scale";
        return false;
    }
    const auto state = darazoz_image::NewDecodeState(bytes, length, result.error);
    if (!state) return false;
    state->scaleEighths = scaleEighths;
    state->sink = &sink;
    state->firstRow = firstRow;
    state->endRow = endRow;
    state->rowWidth = width;
    state->err.cancel = cancel;
    if (darazoz_image::RunDecode(*state) != 0) {
        result.error = darazoz_image::DecodeError(*state);
        result.cancelled = state->err.cancelled;
        return false;
    }
    result.truncated = state->err.truncated;
    return true;
}

}  // namespace

bool DecodeJpegRowsTo(const std::uint8_t* bytes, std::size_t length, int scaleEighths, int firstRow,
                      int endRow, const std::atomic<bool>* cancel, JpegRowSink& sink,
                      JpegBitmapDecode& result) {
    return DecodeRowsToSink(bytes, length, scaleEighths, firstRow, endRow, 0, cancel, sink, result);
}

bool DecodeJpegRows(const std::uint8_t* bytes, std::size_t length, int scaleEighths,
                    const JpegRows& rows, JpegBitmapDecode& result) {
    if (rows.pixels == nullptr) {
        result = JpegBitmapDecode{};
        result.error = "rows outside the JPEG's output";
        return false;
    }
    ContiguousRows sink(rows);
    return DecodeRowsToSink(bytes, length, scaleEighths, rows.firstRow, rows.endRow, rows.width,
                            rows.cancel, sink, result);
}

bool DecodeJpegBitmap(const std::uint8_t* bytes, std::size_t length, int scaleEighths, Bitmap& out,
                      JpegBitmapDecode& result) {
    out = Bitmap{};
    result = JpegBitmapDecode{};
    if (bytes == nullptr || length == 0) {
        result.error = "no data";
        return false;
    }
    if (!IsFastScale(scaleEighths)) {
        result.error = "unsupported scale";
        return false;
    }
    const auto state = darazoz_image::NewDecodeState(bytes, length, result.error);
    if (!state) return false;
    state->scaleEighths = scaleEighths;
    state->bitmap = &out;
    if (darazoz_image::RunDecode(*state) != 0) {
        result.error = darazoz_image::DecodeError(*state);
        out = Bitmap{};
        return false;
    }
    result.truncated = state->err.truncated;
    return true;
}
