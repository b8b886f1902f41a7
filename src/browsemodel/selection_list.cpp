#include "browsemodel/selection_list.h"

#include <algorithm>

void SelectionList::Toggle(PhotoRef photo) {
    const auto found = counts_.find(photo.Packed());
    if (found == counts_.end()) {
        Append(photo);
        return;
    }
    order_.erase(std::find(order_.begin(), order_.end(), photo));
    if (--found->second == 0) counts_.erase(found);
}

void SelectionList::Append(PhotoRef photo) {
    order_.push_back(photo);
    ++counts_[photo.Packed()];
}

void SelectionList::Clear() {
    order_.clear();
    counts_.clear();
}
