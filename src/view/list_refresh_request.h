#pragma once
// What the main view hands to the category pane when its list must be
// rebuilt after the catalogue changed (edits, removals, imports, map
// results): the pane drops its cached trees, rebuilds the current one and
// reselects, refilling the view through ResetPhotoList and the show calls.

#include <optional>

#include "record/photo_ref.h"
#include "tree/category_tree.h"

struct ListRefreshRequest {
    // The node whose photos were listed. The pane reads its label and the
    // label of its top-level ancestor before dropping the trees, to find the
    // same category again.
    std::optional<NodeIndex> categoryNode;
    // Selected again when it is still catalogued (id 0: none).
    PhotoRef currentPhoto;
    // Otherwise the photo at reselectIndex of the re-found category is
    // selected; this is the photo that was there (id 0: none).
    PhotoRef fallbackPhoto;
    int reselectIndex = 0;
};
