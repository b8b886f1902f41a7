#pragma once
// The view's multi-selection: photos in the order they were added. UI
// thread only.
//
// A photo is named by its PhotoRef, so the catalogued copy of a photo and
// its duplicate (same id, the other row) are selected independently.
// Membership tests are constant time, so painting and select-all stay cheap
// for very large lists.

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "record/photo_ref.h"

class SelectionList {
  public:
    // Removes the photo when listed, appends it otherwise.
    void Toggle(PhotoRef photo);
    // Appends without the test (the pane lists a photo twice when it is
    // selected itself and beneath a selected group).
    void Append(PhotoRef photo);
    void Clear();

    bool Contains(PhotoRef photo) const { return counts_.contains(photo.Packed()); }
    bool Empty() const { return order_.empty(); }
    std::size_t Size() const { return order_.size(); }
    const std::vector<PhotoRef>& Photos() const { return order_; }

  private:
    std::vector<PhotoRef> order_;
    std::unordered_map<std::int64_t, int> counts_;  // packed ref -> times listed
};
