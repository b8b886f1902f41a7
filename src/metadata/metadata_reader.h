#pragma once
// MetadataReader: one JPEG file's path, PhotoRecord, parsed EXIF data and
// thumbnail bytes, filled by ReadPhotoFile.
//
// Threads: a reader is a plain object that one thread uses at a time; every
// user makes its own.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "metadata/caption_forms.h"
#include "record/photo_record.h"

class ExifDocument;  // libexif data; see exif_document.h (this folder only)

class MetadataReader {
  public:
    MetadataReader();
    ~MetadataReader();
    MetadataReader(MetadataReader&&) noexcept;
    MetadataReader& operator=(MetadataReader&&) noexcept;
    MetadataReader(const MetadataReader&) = delete;
    MetadataReader& operator=(const MetadataReader&) = delete;

    // True after a successful ReadPhotoFile until Discard or the next read.
    bool IsLoaded() const { return loaded_; }
    // The file's full path in the code page, as passed to ReadPhotoFile.
    const std::string& Path() const { return path_; }
    PhotoRecord& Record() { return record_; }
    const PhotoRecord& Record() const { return record_; }
    // The thumbnail's JPEG bytes: the embedded EXIF thumbnail byte for byte,
    // or the generated one. Empty for an image too elongated to give one
    // (such a file still reads successfully). Valid until the reader changes.
    std::span<const std::uint8_t> Thumbnail() const;

    // The EXIF data (Intel byte order once loaded), null when empty. For the
    // EXIF writer and the thumbnail code of this folder.
    ExifDocument* Exif() { return exif_.get(); }
    const ExifDocument* Exif() const { return exif_.get(); }

    // Replaces the EXIF data (the EXIF writer gives a reader without any
    // new, empty data).
    void ReplaceExif(std::unique_ptr<ExifDocument> exif);

    // The entries the EXIF writer changed since the file was read, as
    // (libexif IFD number, tag): a rewrite writes only these into the file's
    // own EXIF data and leaves every other byte of it alone. Writing them
    // again is harmless, so a rewrite keeps the list.
    struct EditedTag {
        int ifd;
        std::uint16_t tag;
    };
    void MarkEdited(int ifd, std::uint16_t tag);
    const std::vector<EditedTag>& EditedTags() const { return edited_; }

    // What the setters changed that the file's XMP and IPTC also hold; the
    // rewrite writes it there (caption_forms.h).
    CaptionEdit& CaptionChanges() { return captionChanges_; }
    const CaptionEdit& CaptionChanges() const { return captionChanges_; }
    // Set by a rewrite whose file holds XMP or IPTC that cannot be parsed
    // (or would no longer fit its segment): those were left as they were and
    // only the EXIF tags were written.
    bool CaptionsInExifOnly() const { return captionsInExifOnly_; }
    void SetCaptionsInExifOnly(bool exifOnly) { captionsInExifOnly_ = exifOnly; }

    // Frees everything and returns the reader to empty.
    void Discard();

  private:
    friend bool ReadPhotoFile(MetadataReader& reader, const std::string& path,
                              bool decodeWhenNoSize);

    std::string path_;
    PhotoRecord record_;
    std::unique_ptr<ExifDocument> exif_;
    std::vector<EditedTag> edited_;
    CaptionEdit captionChanges_;
    bool captionsInExifOnly_ = false;
    bool loaded_ = false;
};

// Reads one JPEG file (path in the code page) into the reader: file status,
// name and folder, EXIF tags, and the embedded or a generated thumbnail.
// The pixel size is the frame header's; the size tags count only when the
// frame header cannot be read, and decodeWhenNoSize decodes the image when
// neither gives a size.
// False, with the reader empty, for an empty or missing path, a path of 356
// bytes or more, a name over 99 or a folder over 255 bytes, no obtainable
// thumbnail, or (with decodeWhenNoSize) an undecodable file without size.
bool ReadPhotoFile(MetadataReader& reader, const std::string& path, bool decodeWhenNoSize);

// The file's keywords text (UTF-8) however long, from all its forms as the
// record takes them (caption_forms.h): the record keeps only the whole
// keywords that fit its 100 bytes. nullopt when the file has no keywords
// in any form and no XPKeywords tag.
std::optional<std::string> ReadWholeKeywords(const std::string& path);
