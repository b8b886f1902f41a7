// The count pass: drops empty groups and appends the photo count to every
// group's label.

#include <algorithm>
#include <string>

#include "tree/category_tree_builder.h"

namespace {

// Counts the photos beneath a node that has children, unlinking the child
// groups that have none, and relabels the node "<label>[n]".
std::size_t CountAndRelabel(CategoryTree& tree, NodeIndex index) {
    std::size_t count = tree.Node(index).photos.size();
    std::vector<NodeIndex>& groups = tree.Node(index).groups;
    std::erase_if(groups, [&](NodeIndex child) {
        if (!tree.Node(child).HasChildren()) return true;
        count += CountAndRelabel(tree, child);
        return false;
    });
    CategoryNode& node = tree.Node(index);
    node.label += "[" + std::to_string(count) + "]";
    return count;
}

}  // namespace

// A top-level node without children stays only when it comes first, so that
// the tree never ends up with no node at all ("暂无照片", an empty map list);
// a group kept that way still shows its count, [0].
void ApplyGroupCounts(CategoryTree& tree) {
    std::vector<NodeIndex>& top = tree.Node(kRootNode).groups;
    std::vector<NodeIndex> kept;
    kept.reserve(top.size());
    for (std::size_t i = 0; i < top.size(); ++i) {
        NodeIndex node = top[i];
        if (tree.Node(node).HasChildren()) {
            CountAndRelabel(tree, node);
        } else if (i == 0) {
            if (tree.Node(node).kind == NodeKind::Group) tree.Node(node).label += "[0]";
        } else {
            continue;
        }
        kept.push_back(node);
    }
    tree.Node(kRootNode).groups = std::move(kept);
}
