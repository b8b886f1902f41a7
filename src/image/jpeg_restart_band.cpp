#include "image/jpeg_restart_band.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace {

// What the headers say about the frame and its one scan.
struct Frame {
    std::size_t heightAt = 0;  // the frame height's two bytes in the SOF segment
    std::size_t dataAt = 0;    // the first entropy-coded byte, after the SOS segment
    int width = 0, height = 0;
    int mcusPerRow = 0, mcuHeight = 0;
    int restartMcus = 0;
};

int BigEndian16(const std::uint8_t* at) {
    return (at[0] << 8) | at[1];
}

// The SOF segment's body: 8-bit sequential Huffman frames only.
bool ReadFrameHeader(const std::uint8_t* body, int bodyLength, Frame& frame) {
    if (bodyLength < 6 || body[0] != 8) return false;
    frame.height = BigEndian16(body + 1);
    frame.width = BigEndian16(body + 3);
    const int components = body[5];
    if (frame.height == 0 || frame.width == 0 || components == 0 || bodyLength < 6 + 3 * components)
        return false;
    int mostH = 1, mostV = 1;
    for (int c = 0; c < components; ++c) {
        const int factors = body[6 + 3 * c + 1];
        mostH = std::max(mostH, factors >> 4);
        mostV = std::max(mostV, factors & 15);
    }
    // One component is coded one block per MCU whatever its factors; only
    // the common 1x1 keeps its MCU rows those of the frame.
    if (components == 1 && (mostH != 1 || mostV != 1)) return false;
    frame.mcusPerRow = (frame.width + mostH * 8 - 1) / (mostH * 8);
    frame.mcuHeight = mostV * 8;
    return true;
}

// Walks the segments up to the first scan, which must hold every component.
bool ReadFrame(const std::uint8_t* bytes, std::size_t length, Frame& frame) {
    if (length < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8) return false;
    bool haveFrame = false;
    int frameComponents = 0;
    std::size_t at = 2;
    while (at + 4 <= length) {
        if (bytes[at] != 0xFF) return false;
        const std::uint8_t marker = bytes[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        const std::size_t segment = static_cast<std::size_t>(BigEndian16(bytes + at + 2));
        if (segment < 2 || at + 2 + segment > length) return false;
        const std::uint8_t* body = bytes + at + 4;
        const int bodyLength = static_cast<int>(segment - 2);
        if (marker == 0xC0 || marker == 0xC1) {
            if (haveFrame || !ReadFrameHeader(body, bodyLength, frame)) return false;
            haveFrame = true;
            frameComponents = body[5];
            frame.heightAt = at + 5;
        } else if ((marker >= 0xC2 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                    marker != 0xCC) ||
                   (marker >= 0xD0 && marker <= 0xD9)) {
            return false;  // another coding, or a marker out of place
        } else if (marker == 0xDD) {
            if (bodyLength < 2) return false;
            frame.restartMcus = BigEndian16(body);
        } else if (marker == 0xDA) {
            if (!haveFrame || bodyLength < 1 || body[0] != frameComponents) return false;
            frame.dataAt = at + 2 + segment;
            return frame.restartMcus > 0;
        }
        at += 2 + segment;
    }
    return false;
}

// Just after the count-th restart marker of the data from `at`, or 0 when
// the data ends, another marker comes first or the markers are out of order.
std::size_t AfterRestartMarker(const std::uint8_t* bytes, std::size_t length, std::size_t at,
                               long count) {
    for (long seen = 0; seen < count;) {
        const void* found = std::memchr(bytes + at, 0xFF, length - at);
        if (found == nullptr) return 0;
        at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - bytes);
        while (at < length && bytes[at] == 0xFF) ++at;
        if (at == length) return 0;
        const std::uint8_t marker = bytes[at++];
        if (marker == 0x00) continue;  // a data byte 0xFF
        if (marker != 0xD0 + (seen & 7)) return 0;
        ++seen;
    }
    return at;
}

}  // namespace

bool CutJpegAtRestart(const std::uint8_t* bytes, std::size_t length, int row,
                      JpegRestartBand& band) {
    Frame frame;
    if (bytes == nullptr || !ReadFrame(bytes, length, frame)) return false;
    // A usable marker k ends a row of MCUs (k * restartMcus is a multiple of
    // mcusPerRow) and is RST7, so that the next one is RST0 (k % 8 == 0).
    const long perRow = frame.mcusPerRow / std::gcd(frame.mcusPerRow, frame.restartMcus);
    const long step = std::lcm(8L, perRow);
    const long stepRows = step * frame.restartMcus / frame.mcusPerRow * frame.mcuHeight;
    const long steps = std::min(std::max(1L, (row - frame.mcuHeight + stepRows / 2) / stepRows),
                                (frame.height - frame.mcuHeight - 1) / stepRows);
    if (steps < 1) return false;  // no exact row would be left below the marker
    const long start = steps * stepRows;
    const std::size_t after = AfterRestartMarker(bytes, length, frame.dataAt, steps * step);
    if (after == 0) return false;

    band.start = static_cast<int>(start);
    band.exactFrom = static_cast<int>(start) + frame.mcuHeight;
    band.bytes.assign(bytes, bytes + frame.dataAt);
    const int height = frame.height - band.start;
    band.bytes[frame.heightAt] = static_cast<std::uint8_t>(height >> 8);
    band.bytes[frame.heightAt + 1] = static_cast<std::uint8_t>(height & 0xFF);
    band.bytes.insert(band.bytes.end(), bytes + after, bytes + length);
    return true;
}
