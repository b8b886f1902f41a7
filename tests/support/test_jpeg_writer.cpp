#include "test_jpeg_writer.h"

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>

#include <filesystem>
#include <system_error>

#include <jpeglib.h>
#include <libexif/exif-data.h>

namespace {

// ---- pixels -------------------------------------------------------------

std::vector<std::uint8_t> MakePixels(int width, int height, TestPattern pattern,
                                     std::uint32_t seed) {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    std::uint32_t state = seed * 2654435761u + 12345u;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
            if (pattern == TestPattern::RedCorner) {
                const bool corner = x < width / 2 && y < height / 2;
                p[0] = corner ? 255 : 128;
                p[1] = p[2] = corner ? 0 : 128;
            } else if (pattern == TestPattern::Noise) {
                state = state * 1664525u + 1013904223u;  // LCG: deterministic per seed
                p[0] = static_cast<std::uint8_t>(state >> 24);
                p[1] = static_cast<std::uint8_t>(state >> 16);
                p[2] = static_cast<std::uint8_t>(state >> 8);
            } else {
                // Ramps of 0..199 plus a seed offset below 56: monotonic, never wrapping.
                const int offset = static_cast<int>(seed % 56);
                const int rx = x * 199 / (width > 1 ? width - 1 : 1);
                const int ry = y * 199 / (height > 1 ? height - 1 : 1);
                p[0] = static_cast<std::uint8_t>(rx + offset);
                p[1] = static_cast<std::uint8_t>(ry + offset);
                p[2] = static_cast<std::uint8_t>((rx + ry) / 2 + offset);
            }
        }
    }
    return rgb;
}

// ---- libjpeg --------------------------------------------------------------

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
};

[[noreturn]] void OnJpegError(j_common_ptr info) {
    // Fixture writing must not exit the test process.
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

void OnJpegMessage(j_common_ptr, int) {}

// Only C objects live between setjmp and the libjpeg calls, so the jump
// skips no destructor.
bool Compress(jpeg_compress_struct& info, ErrorManager& error, int width, int height,
              const std::uint8_t* rgb, int quality, bool jfif, const std::uint8_t* app1,
              std::size_t app1Size, unsigned char** buffer, unsigned long* size) {
    if (setjmp(error.escape)) return false;
    jpeg_mem_dest(&info, buffer, size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.write_JFIF_header = jfif ? TRUE : FALSE;
    jpeg_start_compress(&info, TRUE);
    if (app1Size > 0)
        jpeg_write_marker(&info, JPEG_APP0 + 1, app1, static_cast<unsigned int>(app1Size));
    while (info.next_scanline < info.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(rgb + static_cast<std::size_t>(info.next_scanline) * width * 3);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

bool EncodeJpeg(int width, int height, const std::vector<std::uint8_t>& rgb, int quality, bool jfif,
                const std::vector<std::uint8_t>& app1, std::vector<std::uint8_t>& out) {
    if (width <= 0 || height <= 0 || app1.size() > 65533) return false;
    jpeg_compress_struct info{};
    ErrorManager error{};
    info.err = jpeg_std_error(&error.base);
    error.base.error_exit = OnJpegError;
    error.base.emit_message = OnJpegMessage;
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    bool ok = Compress(info, error, width, height, rgb.data(), quality, jfif, app1.data(),
                       app1.size(), &buffer, &size);
    jpeg_destroy_compress(&info);
    ok = ok && buffer && size > 0;
    if (ok) out.assign(buffer, buffer + size);
    std::free(buffer);
    return ok;
}

// The same coefficients written again with a restart interval.
struct Transcode {
    jpeg_decompress_struct in{};
    jpeg_compress_struct out{};
    ErrorManager error{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
};

// Only C objects live between setjmp and the libjpeg calls.
bool Rewrite(Transcode& t, const std::vector<std::uint8_t>& jpeg, int restartMcus) {
    if (setjmp(t.error.escape)) return false;
    jpeg_mem_src(&t.in, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&t.in, TRUE);
    jvirt_barray_ptr* coefficients = jpeg_read_coefficients(&t.in);
    jpeg_copy_critical_parameters(&t.in, &t.out);
    t.out.restart_interval = static_cast<unsigned>(restartMcus);
    jpeg_mem_dest(&t.out, &t.buffer, &t.size);
    jpeg_write_coefficients(&t.out, coefficients);
    jpeg_finish_compress(&t.out);
    jpeg_finish_decompress(&t.in);
    return true;
}

// ---- libexif --------------------------------------------------------------

struct ExifDataUnref {
    void operator()(ExifData* data) const { exif_data_unref(data); }
};

class ExifBuilder {
  public:
    explicit ExifBuilder(bool bigEndian) : data_(exif_data_new()) {
        // Exactly the tags the test asks for: no automatic additions.
        exif_data_unset_option(data_.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
        exif_data_set_data_type(data_.get(), EXIF_DATA_TYPE_COMPRESSED);
        exif_data_set_byte_order(data_.get(),
                                 bigEndian ? EXIF_BYTE_ORDER_MOTOROLA : EXIF_BYTE_ORDER_INTEL);
        order_ = exif_data_get_byte_order(data_.get());
    }

    void Ascii(ExifIfd ifd, int tag, const std::string& text) {
        ExifEntry* e = Add(ifd, tag, EXIF_FORMAT_ASCII, text.size() + 1);
        std::memcpy(e->data, text.c_str(), text.size() + 1);
    }
    void Short(ExifIfd ifd, int tag, std::uint16_t value) {
        exif_set_short(Add(ifd, tag, EXIF_FORMAT_SHORT, 1)->data, order_, value);
    }
    void Long(ExifIfd ifd, int tag, std::uint32_t value) {
        exif_set_long(Add(ifd, tag, EXIF_FORMAT_LONG, 1)->data, order_, value);
    }
    void Rationals(ExifIfd ifd, int tag, const TestRational* values, std::size_t count) {
        ExifEntry* e = Add(ifd, tag, EXIF_FORMAT_RATIONAL, count);
        for (std::size_t i = 0; i < count; ++i)
            exif_set_rational(e->data + 8 * i, order_,
                              ExifRational{values[i].numerator, values[i].denominator});
    }
    void Ucs2(ExifIfd ifd, int tag, const std::u16string& text) {
        ExifEntry* e = Add(ifd, tag, EXIF_FORMAT_BYTE, (text.size() + 1) * 2);
        for (std::size_t i = 0; i <= text.size(); ++i) {
            char16_t c = i < text.size() ? text[i] : u'\0';
            e->data[2 * i] = static_cast<unsigned char>(c & 0xFF);
            e->data[2 * i + 1] = static_cast<unsigned char>(c >> 8);
        }
    }
    void Bytes(ExifIfd ifd, int tag, const std::vector<std::uint8_t>& bytes) {
        ExifEntry* e = Add(ifd, tag, EXIF_FORMAT_UNDEFINED, bytes.size());
        std::memcpy(e->data, bytes.data(), bytes.size());
    }
    void Thumbnail(const std::vector<std::uint8_t>& bytes) {
        auto* copy = static_cast<unsigned char*>(std::malloc(bytes.size()));
        std::memcpy(copy, bytes.data(), bytes.size());
        data_->data = copy;  // freed by exif_data_unref through the C heap
        data_->size = static_cast<unsigned int>(bytes.size());
    }

    bool Save(std::vector<std::uint8_t>& payload) {
        unsigned char* buffer = nullptr;
        unsigned int size = 0;
        exif_data_save_data(data_.get(), &buffer, &size);
        if (!buffer || size == 0) return false;
        payload.assign(buffer, buffer + size);
        std::free(buffer);
        return true;
    }

  private:
    ExifEntry* Add(ExifIfd ifd, int tag, ExifFormat format, std::size_t components) {
        ExifEntry* e = exif_entry_new();
        std::size_t size = exif_format_get_size(format) * components;
        e->data =
            static_cast<unsigned char*>(std::calloc(size, 1));  // entry frees it via the C heap
        e->size = static_cast<unsigned int>(size);
        e->components = components;
        e->format = format;
        e->tag = static_cast<ExifTag>(tag);
        exif_content_add_entry(data_->ifd[ifd], e);
        exif_entry_unref(e);
        return e;
    }

    std::unique_ptr<ExifData, ExifDataUnref> data_;
    ExifByteOrder order_;
};

constexpr int kTagXpTitle = 0x9c9b, kTagXpComment = 0x9c9c, kTagXpAuthor = 0x9c9d,
              kTagXpKeywords = 0x9c9e, kTagXpSubject = 0x9c9f;

void AddIfd0(ExifBuilder& b, const TestJpegOptions& o) {
    if (o.make) b.Ascii(EXIF_IFD_0, EXIF_TAG_MAKE, *o.make);
    if (o.model) b.Ascii(EXIF_IFD_0, EXIF_TAG_MODEL, *o.model);
    if (o.orientation) b.Short(EXIF_IFD_0, EXIF_TAG_ORIENTATION, *o.orientation);
    if (o.xResolution) b.Rationals(EXIF_IFD_0, EXIF_TAG_X_RESOLUTION, &*o.xResolution, 1);
    if (o.yResolution) b.Rationals(EXIF_IFD_0, EXIF_TAG_Y_RESOLUTION, &*o.yResolution, 1);
    if (o.xpTitle) b.Ucs2(EXIF_IFD_0, kTagXpTitle, *o.xpTitle);
    if (o.xpComment) b.Ucs2(EXIF_IFD_0, kTagXpComment, *o.xpComment);
    if (o.xpAuthor) b.Ucs2(EXIF_IFD_0, kTagXpAuthor, *o.xpAuthor);
    if (o.xpKeywords) b.Ucs2(EXIF_IFD_0, kTagXpKeywords, *o.xpKeywords);
    if (o.xpSubject) b.Ucs2(EXIF_IFD_0, kTagXpSubject, *o.xpSubject);
}

void AddExifIfd(ExifBuilder& b, const TestJpegOptions& o) {
    if (o.dateTimeOriginal)
        b.Ascii(EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL, *o.dateTimeOriginal);
    if (o.pixelXDimension) b.Long(EXIF_IFD_EXIF, EXIF_TAG_PIXEL_X_DIMENSION, *o.pixelXDimension);
    if (o.pixelYDimension) b.Long(EXIF_IFD_EXIF, EXIF_TAG_PIXEL_Y_DIMENSION, *o.pixelYDimension);
    if (o.fNumber) b.Rationals(EXIF_IFD_EXIF, EXIF_TAG_FNUMBER, &*o.fNumber, 1);
    if (o.exposureTime) b.Rationals(EXIF_IFD_EXIF, EXIF_TAG_EXPOSURE_TIME, &*o.exposureTime, 1);
    if (o.focalLength) b.Rationals(EXIF_IFD_EXIF, EXIF_TAG_FOCAL_LENGTH, &*o.focalLength, 1);
    if (o.iso) b.Short(EXIF_IFD_EXIF, EXIF_TAG_ISO_SPEED_RATINGS, *o.iso);
    if (o.makerNote) b.Bytes(EXIF_IFD_EXIF, EXIF_TAG_MAKER_NOTE, *o.makerNote);
}

void AddGpsIfd(ExifBuilder& b, const TestJpegOptions& o) {
    if (o.latitudeRef) b.Ascii(EXIF_IFD_GPS, 1, *o.latitudeRef);
    if (o.latitude) b.Rationals(EXIF_IFD_GPS, 2, o.latitude->data(), 3);
    if (o.longitudeRef) b.Ascii(EXIF_IFD_GPS, 3, *o.longitudeRef);
    if (o.longitude) b.Rationals(EXIF_IFD_GPS, 4, o.longitude->data(), 3);
    if (o.altitude) b.Rationals(EXIF_IFD_GPS, 6, &*o.altitude, 1);
}

bool MakeApp1(const TestJpegOptions& o, std::vector<std::uint8_t>& app1) {
    app1.clear();
    if (!o.withExif) return true;
    if (o.garbageExif) {
        app1 = {'E', 'x', 'i', 'f', 0, 0};
        app1.insert(app1.end(), o.garbageExif->begin(), o.garbageExif->end());
        return true;
    }
    ExifBuilder builder(o.bigEndian);
    AddIfd0(builder, o);
    AddExifIfd(builder, o);
    AddGpsIfd(builder, o);
    if (o.embedThumbnail) {
        std::vector<std::uint8_t> thumbnail = o.thumbnailBytes;
        if (thumbnail.empty())
            thumbnail = MakePlainJpeg(o.thumbnailWidth, o.thumbnailHeight, o.seed + 1);
        if (thumbnail.empty()) return false;
        builder.Thumbnail(thumbnail);
    }
    return builder.Save(app1);
}

}  // namespace

std::vector<std::uint8_t> MakePlainJpeg(int width, int height, std::uint32_t seed,
                                        TestPattern pattern) {
    std::vector<std::uint8_t> out;
    if (width <= 0 || height <= 0) return out;
    EncodeJpeg(width, height, MakePixels(width, height, pattern, seed), 85, false, {}, out);
    return out;
}

bool MakeTestJpeg(const TestJpegOptions& options, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    if (options.width <= 0 || options.height <= 0) return false;
    std::vector<std::uint8_t> app1;
    if (!MakeApp1(options, app1)) return false;
    return EncodeJpeg(options.width, options.height,
                      MakePixels(options.width, options.height, options.pattern, options.seed),
                      options.quality, options.jfifHeader, app1, bytes);
}

bool WriteTestJpeg(const std::string& path, const TestJpegOptions& options) {
    std::vector<std::uint8_t> bytes;
    return MakeTestJpeg(options, bytes) && WriteBytesFile(path, bytes);
}

bool WriteBytesFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::vector<std::uint8_t> ReadBytesFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>());
}

bool TruncateFile(const std::string& path, std::size_t length) {
    std::error_code error;
    std::filesystem::resize_file(path, length, error);
    return !error;
}

TestDms DmsFromDegrees(double degrees) {
    const auto hundredths = static_cast<std::uint32_t>(std::lround(degrees * 360000));
    return {{{hundredths / 360000, 1}, {hundredths / 6000 % 60, 1}, {hundredths % 6000, 100}}};
}

std::vector<std::uint8_t> WithRestartMarkers(const std::vector<std::uint8_t>& jpeg,
                                             int restartMcus) {
    Transcode t;
    t.in.err = t.out.err = jpeg_std_error(&t.error.base);
    t.error.base.error_exit = OnJpegError;
    t.error.base.emit_message = OnJpegMessage;
    jpeg_create_decompress(&t.in);
    jpeg_create_compress(&t.out);
    const bool ok = Rewrite(t, jpeg, restartMcus) && t.buffer && t.size > 0;
    std::vector<std::uint8_t> out;
    if (ok) out.assign(t.buffer, t.buffer + t.size);
    jpeg_destroy_compress(&t.out);
    jpeg_destroy_decompress(&t.in);
    std::free(t.buffer);
    return out;
}
