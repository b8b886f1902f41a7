#pragma once
// Helpers of the EXIF setters (this folder only): making sure a reader can be
// edited, and finding, creating and resizing libexif entries while
// recording which entries changed.

#include <cstdint>

#include <libexif/exif-data.h>

class MetadataReader;

// Gives a reader without EXIF data new data with a generated thumbnail, and
// one whose EXIF data lacks a thumbnail a generated one. False when the
// reader holds no photo or no thumbnail can be made.
bool PrepareExifForEdit(MetadataReader& reader);

// The first entry with tag in IFD 0, IFD 1, EXIF, GPS, interoperability
// order, or null.
ExifEntry* FindEntryInAnyIfd(ExifData* data, ExifTag tag);

// A new zero-filled entry in ifd; null when memory runs out.
ExifEntry* CreateEntry(ExifData* data, ExifIfd ifd, ExifTag tag, ExifFormat format,
                       unsigned int size, unsigned long components);

// Gives entry a new zero-filled buffer of size bytes. False (entry
// unchanged) when memory runs out.
bool ResizeEntry(ExifEntry* entry, unsigned int size);

// Records that entry's value changed so that the rewrite writes it.
void MarkEdited(MetadataReader& reader, const ExifEntry* entry);
