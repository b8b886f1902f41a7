// The tree of the photos the companion map application sent.

#include "catalogue/photo_rows.h"
#include "tree/category_tree_builder.h"
#include "tree/tree_labels.h"

std::unique_ptr<CategoryTree> BuildFromMapTree(Library& library,
                                               std::span<const std::int64_t> ids) {
    auto tree = std::make_unique<CategoryTree>();
    NodeIndex top = tree->AddGroup(kRootNode, kFromMapLabel);
    for (std::int64_t id : ids) {
        if (std::optional<std::string> name = PhotoName(library, id))
            tree->AddPhoto(top, PhotoRef{id, false}, *name);
    }
    return tree;
}
