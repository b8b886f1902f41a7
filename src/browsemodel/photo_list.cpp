#include "browsemodel/photo_list.h"

#include "browsemodel/list_entry_loader.h"

void PhotoList::Reset(int n) {
    entries_.clear();
    entries_.shrink_to_fit();
    entries_.resize(static_cast<std::size_t>(n > 0 ? n : 0));
    count_ = 0;
    loadedThumbnails_ = 0;
}

void PhotoList::Append(PhotoRef ref) {
    if (count_ >= AllocatedCount()) return;
    PhotoListEntry& entry = entries_[static_cast<std::size_t>(count_++)];
    entry.ref = ref;
}

void PhotoList::RemoveAt(int index) {
    if (!IsValid(index)) return;
    ReleaseThumbnail(index);
    entries_.erase(entries_.begin() + index);
    --count_;
}

bool PhotoList::EnsureThumbnail(int index) {
    if (!IsValid(index)) return false;
    PhotoListEntry& entry = Entry(index);
    if (!entry.thumbnail.isNull()) return true;
    if (!LoadListEntry(*library_, entry.ref, entry, autoOrient)) return false;
    ++loadedThumbnails_;
    return true;
}

void PhotoList::ReleaseThumbnail(int index) {
    if (index < 0 || index >= AllocatedCount()) return;
    PhotoListEntry& entry = Entry(index);
    if (entry.thumbnail.isNull()) return;
    entry.thumbnail = QImage();
    --loadedThumbnails_;
}
