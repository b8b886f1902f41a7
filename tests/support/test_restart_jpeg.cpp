#include "test_restart_jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
};

[[noreturn]] void OnJpegError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

void OnJpegMessage(j_common_ptr, int) {}

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

}  // namespace

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
