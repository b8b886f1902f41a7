// The group of duplicate photos appended to the trees.

#include <string>

#include "catalogue/duplicate_rows.h"
#include "tree/category_tree_builder.h"
#include "tree/tree_builders.h"
#include "tree/tree_labels.h"

void AppendDuplicatesGroup(Library& library, CategoryTree& tree) {
    if (tree.filtered) return;
    std::optional<NodeIndex> group;
    std::optional<NodeIndex> folder;
    std::string previousPath;  // a first row with an empty folder opens no folder child
    std::int64_t previousId = 0;
    ForEachDuplicateRow(library, [&](const DuplicateRow& row) {
        const std::int64_t id = row.photo.idPic;
        if (group && id == previousId) return;
        if (!group) group = tree.AddGroup(kRootNode, kDuplicatesLabel);
        previousId = id;
        if (row.folder != previousPath) {
            previousPath.assign(row.folder);
            folder = tree.AddGroup(*group, previousPath);
        }
        if (folder) tree.AddPhoto(*folder, row.photo, row.name);
    });
}
