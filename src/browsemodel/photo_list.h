#pragma once
// The photos of the category shown in the main view, one entry per photo,
// and the view's bookkeeping over them (current photo, loaded thumbnails).
//
// UI thread only: entries, and above all their thumbnails, are created and
// released on the user-interface thread. A worker that needs the list (the
// viewer prefetch) takes a copy of what it reads.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QImage>

#include "browsemodel/letterbox.h"
#include "record/photo_ref.h"
#include "tree/category_tree.h"

class Library;

// Capacities of the entry's text fields in bytes, terminator included; a
// longer catalogue value is cut at a character boundary to fit.
inline constexpr std::size_t kEntryNameCapacity = 100;
inline constexpr std::size_t kEntryFullPathCapacity = 256;
inline constexpr std::size_t kEntryKeywordsCapacity = 256;
inline constexpr std::size_t kEntryOrientationCapacity = 20;

// One photo of the list. The text fields and the thumbnail are empty until
// the entry is first painted (LoadListEntry); only the photo it refers to
// is known from the start, which keeps filling a large list cheap.
struct PhotoListEntry {
    PhotoRef ref;
    // The decoded thumbnail, upright and ready to draw (32-bit, so that
    // painting a screen is a plain blit); null until loaded and after trimming.
    QImage thumbnail;
    // Black bars found in the thumbnail when it was loaded.
    bool letterboxed = false;
    LetterboxBars bars;
    std::string name;        // file name, system code page
    std::string fullPath;    // of the catalogued file
    std::int32_t width = 0;  // pixel size of the photo
    std::int32_t height = 0;
    std::string keywords;     // as stored, ';'-separated
    std::string orientation;  // EXIF orientation text, e.g. "Left-top"
};

class PhotoList {
  public:
    // The entries load their rows and thumbnails from library.
    explicit PhotoList(Library& library) : library_(&library) {}

    Library& PhotoLibrary() const { return *library_; }

    // ResetPhotoList: releases every entry of the old list and makes room
    // for n new ones; count starts at 0.
    void Reset(int n);
    // Writes the next entry (the pane fills in tree order). Ignored once
    // all allocated entries are written.
    void Append(PhotoRef ref);

    int AllocatedCount() const { return static_cast<int>(entries_.size()); }
    int Count() const { return count_; }
    bool IsValid(int index) const { return index >= 0 && index < count_; }
    PhotoListEntry& Entry(int index) { return entries_[static_cast<std::size_t>(index)]; }
    const PhotoListEntry& Entry(int index) const {
        return entries_[static_cast<std::size_t>(index)];
    }

    // Loads the entry's row and thumbnail when it has no thumbnail yet.
    // True when the entry holds a thumbnail afterwards.
    // Takes the entry at index out of the list: its thumbnail is released,
    // the entries after it move down by one with theirs.
    void RemoveAt(int index);

    bool EnsureThumbnail(int index);
    void ReleaseThumbnail(int index);
    int LoadedThumbnails() const { return loadedThumbnails_; }

    int currentIndex = 0;
    // Thumbnails and the viewer turn photos by their EXIF orientation (the
    // view's 自动旋转 option; it lasts for the run).
    bool autoOrient = true;
    // The tree node whose photos are listed; set by the category pane.
    std::optional<NodeIndex> categoryNode;
    // Entry selected after the next refresh when the current photo is gone.
    int reselectIndex = 0;

  private:
    Library* library_;
    std::vector<PhotoListEntry> entries_;
    int count_ = 0;
    int loadedThumbnails_ = 0;
};
