#include "tree/category_tree.h"

#include <utility>

CategoryTree::CategoryTree() {
    nodes_.emplace_back();
}

NodeIndex CategoryTree::AddGroup(NodeIndex parent, std::string label, NodeKind kind) {
    auto index = static_cast<NodeIndex>(nodes_.size());
    CategoryNode& node = nodes_.emplace_back();
    node.label = std::move(label);
    node.kind = kind;
    node.parent = parent;
    nodes_[parent].groups.push_back(index);
    return index;
}

void CategoryTree::AddPhoto(NodeIndex parent, PhotoRef ref, std::string_view name) {
    PhotoLeaf leaf{ref, static_cast<std::uint32_t>(names_.size()),
                   static_cast<std::uint32_t>(name.size())};
    names_.append(name);
    nodes_[parent].photos.push_back(leaf);
}

std::string_view CategoryTree::PhotoName(const PhotoLeaf& leaf) const {
    return std::string_view(names_).substr(leaf.nameOffset, leaf.nameLength);
}

std::size_t CategoryTree::PhotoCountBeneath(NodeIndex node) const {
    const CategoryNode& n = nodes_[node];
    std::size_t count = n.photos.size();
    for (NodeIndex child : n.groups) count += PhotoCountBeneath(child);
    return count;
}

void CategoryTree::AppendPhotosBeneath(NodeIndex node, std::vector<PhotoRef>& out) const {
    const CategoryNode& n = nodes_[node];
    for (NodeIndex child : n.groups) AppendPhotosBeneath(child, out);
    for (const PhotoLeaf& leaf : n.photos) out.push_back(leaf.ref);
}

namespace {

// Depth first in display order: a node's groups come before its photos.
std::optional<PhotoLocation> FindBeneath(const CategoryTree& tree, NodeIndex index, PhotoRef ref) {
    const CategoryNode& n = tree.Node(index);
    for (NodeIndex child : n.groups)
        if (auto found = FindBeneath(tree, child, ref)) return found;
    for (std::uint32_t i = 0; i < n.photos.size(); ++i)
        if (n.photos[i].ref == ref) return PhotoLocation{index, i};
    return std::nullopt;
}

}  // namespace

std::optional<PhotoLocation> CategoryTree::FindPhoto(PhotoRef ref) const {
    return FindBeneath(*this, kRootNode, ref);
}

NodeIndex CategoryTree::TopLevelAncestor(NodeIndex node) const {
    while (node != kRootNode && nodes_[node].parent != kRootNode) node = nodes_[node].parent;
    return node;
}
