#pragma once
// The parsed EXIF data of one file, owned as a libexif ExifData. Only code in
// this folder includes this header: it is the one place where libexif types
// meet the rest of the reader (the EXIF writer reaches the data through
// MetadataReader::Exif() and Data()).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include <libexif/exif-data.h>

class ExifDocument {
  public:
    // Parses an APP1 payload (starting with "Exif\0\0"). Returns null when
    // libexif finds nothing usable in it: no entry in any IFD and no
    // thumbnail, as for a garbage segment.
    static std::unique_ptr<ExifDocument> Load(const std::uint8_t* payload, std::size_t length);
    // Fresh EXIF data for a file without any, prepared the way a later write
    // expects it: libexif follows the EXIF standard strictly, compressed, Intel byte order,
    // mandatory entries in each IFD.
    static std::unique_ptr<ExifDocument> CreateEmpty();

    ~ExifDocument();
    ExifDocument(const ExifDocument&) = delete;
    ExifDocument& operator=(const ExifDocument&) = delete;

    ExifData* Data() const { return data_; }

    // The embedded thumbnail counts only when both its data and size are set.
    bool HasThumbnail() const;
    std::span<const std::uint8_t> Thumbnail() const;
    // Replaces the thumbnail with a copy of bytes (empty bytes clear it).
    bool SetThumbnail(std::span<const std::uint8_t> bytes);

    // Converts every entry to Intel byte order; all later writes rely on it.
    void SetIntelByteOrder();

  private:
    explicit ExifDocument(ExifData* data) : data_(data) {}
    ExifData* data_;
};
