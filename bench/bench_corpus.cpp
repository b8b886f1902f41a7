#include "bench_corpus.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "image/raster_image.h"
#include "test_jpeg_writer.h"

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

struct BodySize {
    int width = kWidth;
    int height = kHeight;
};

// Smooth gradients with mild sensor-like noise: compresses to a few MB,
// like a camera's JPEG, rather than the tens of MB of pure noise.
std::vector<std::uint8_t> CameraLikePixels(std::uint32_t seed, BodySize size) {
    const int width = size.width;
    const int height = size.height;
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    std::minstd_rand random(seed);
    std::size_t i = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int noise = static_cast<int>(random() % 17) - 8;
            rgb[i++] = static_cast<std::uint8_t>(std::clamp((x * 255) / width + noise, 0, 255));
            rgb[i++] = static_cast<std::uint8_t>(std::clamp((y * 255) / height + noise, 0, 255));
            rgb[i++] =
                static_cast<std::uint8_t>(std::clamp(int((seed * 37) % 200) + noise, 0, 255));
        }
    }
    return rgb;
}

std::vector<std::uint8_t> EncodeBody(std::uint32_t seed, BodySize size = {}) {
    std::vector<std::uint8_t> pixels = CameraLikePixels(seed, size);
    std::vector<std::uint8_t> jpeg;
    RasterImage::FromRgbTopDown(size.width, size.height, pixels.data()).EncodeJpeg(jpeg);
    return jpeg;
}

// The APP1 segment (marker, length and payload) of a JPEG, or nothing.
std::vector<std::uint8_t> App1Segment(const std::vector<std::uint8_t>& jpeg) {
    std::size_t pos = 2;
    while (pos + 4 <= jpeg.size() && jpeg[pos] == 0xFF) {
        std::size_t length = (std::size_t(jpeg[pos + 2]) << 8) | jpeg[pos + 3];
        if (jpeg[pos + 1] == 0xE1)
            return {jpeg.begin() + long(pos), jpeg.begin() + long(pos + 2 + length)};
        pos += 2 + length;
    }
    return {};
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& head,
               const std::vector<std::uint8_t>& body) {
    std::ofstream out(path, std::ios::binary);
    out.write("\xFF\xD8", 2);
    out.write(reinterpret_cast<const char*>(head.data()), std::streamsize(head.size()));
    out.write(reinterpret_cast<const char*>(body.data() + 2), std::streamsize(body.size() - 2));
}

std::string Numbered(const std::string& folder, const char* prefix, int i) {
    char name[64];
    std::snprintf(name, sizeof name, "%s%05d.jpg", prefix, i);
    return folder + "/" + name;
}

// Removes the files a larger corpus left in folder beyond the first count, so
// that an import of the folder takes exactly this corpus.
void RemoveSurplus(const std::string& folder, const char* prefix, int count) {
    for (int i = count; std::filesystem::remove(Numbered(folder, prefix, i)); ++i) {
    }
}

// Camera files, each with its own EXIF block and embedded thumbnail; with
// positioned, each also holds a GPS position (spread over eastern China).
std::vector<std::string> WriteCameraCorpus(const std::string& folder, int count, BodySize size,
                                           bool positioned, int restartMcus = 0) {
    std::filesystem::create_directories(folder);
    std::vector<std::string> files;
    std::vector<std::uint8_t> body;
    for (int i = 0; i < count; ++i) {
        std::string path = Numbered(folder, "IMG_", i);
        files.push_back(path);
        if (std::filesystem::exists(path)) continue;
        if (body.empty()) {
            body = EncodeBody(1, size);
            if (restartMcus > 0) body = WithRestartMarkers(body, restartMcus);
        }
        TestJpegOptions exif;
        exif.width = 16;
        exif.height = 12;
        exif.seed = 10000 + std::uint32_t(i);
        exif.embedThumbnail = true;
        exif.make = "Canon";
        exif.model = "Canon EOS 5D Mark III";
        exif.orientation = 1;
        exif.dateTimeOriginal = "2019:07:01 08:00:00";
        exif.pixelXDimension = static_cast<std::uint32_t>(size.width);
        exif.pixelYDimension = static_cast<std::uint32_t>(size.height);
        exif.fNumber = TestRational{28, 10};
        exif.exposureTime = TestRational{1, 125};
        exif.focalLength = TestRational{50, 1};
        exif.iso = 200;
        exif.xResolution = TestRational{72, 1};
        exif.yResolution = TestRational{72, 1};
        if (positioned) {
            exif.latitudeRef = "N";
            exif.latitude = DmsFromDegrees(25.0 + (i % 100) * 0.1);
            exif.longitudeRef = "E";
            exif.longitude = DmsFromDegrees(105.0 + (i / 100) * 0.5);
        }
        std::vector<std::uint8_t> small;
        MakeTestJpeg(exif, small);
        WriteFile(path, App1Segment(small), body);
    }
    RemoveSurplus(folder, "IMG_", count);
    return files;
}

}  // namespace

std::vector<std::string> MakeCameraCorpus(const std::string& folder, int count) {
    return MakeCameraCorpus(folder, count, kWidth, kHeight);
}

std::vector<std::string> MakeCameraCorpus(const std::string& folder, int count, int width,
                                          int height, int restartMcus) {
    return WriteCameraCorpus(folder, count, {width, height}, false, restartMcus);
}

std::vector<std::string> MakePositionedCameraCorpus(const std::string& folder, int count) {
    return WriteCameraCorpus(folder, count, {}, true);
}

std::vector<std::string> MakePlainCorpus(const std::string& folder, int count) {
    std::filesystem::create_directories(folder);
    std::vector<std::string> files;
    for (int i = 0; i < count; ++i) {
        std::string path = Numbered(folder, "plain_", i);
        files.push_back(path);
        if (!std::filesystem::exists(path)) WriteFile(path, {}, EncodeBody(100 + std::uint32_t(i)));
    }
    RemoveSurplus(folder, "plain_", count);
    return files;
}

void WarmFileCache(const std::vector<std::string>& files) {
    std::vector<char> buffer(1 << 20);
    for (const std::string& file : files) {
        std::ifstream in(file, std::ios::binary);
        while (in.read(buffer.data(), std::streamsize(buffer.size()))) {
        }
    }
}
