#pragma once
// One category tree: group nodes in one vector linked by index, photo
// leaves stored compactly inside their group.
//
// Layout, chosen so that a QAbstractItemModel can expose it as it stands:
// - Node 0 is the invisible root; its child groups are the top-level nodes.
// - A node's children are its child groups (indices into the node vector),
//   in order, followed by its photo leaves, in order. The builders never
//   append a group to a node that already holds photos, so this is the
//   order in which every builder appends.
// - The child at row r of node n is the group n.groups[r] when
//   r < n.groups.size(), else the photo leaf n.photos[r - n.groups.size()].
// - A model can use the node index as internalId of a group and encode a
//   photo leaf as (parent node index, photo row) with a tag bit. Indices stay
//   valid for the tree's lifetime: nodes are never moved; the count pass only
//   unlinks groups, and it runs before the tree is shown.
// - Photo names share one text pool, so 100,000 photos cost a handful of
//   allocations, not one per photo.
//
// Labels are UTF-8 (catalogue strings as stored). Not thread-safe: a tree is
// built and used on one thread (the UI thread).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "record/photo_ref.h"

using NodeIndex = std::uint32_t;
inline constexpr NodeIndex kRootNode = 0;

// Group: shown with the group icon, relabelled "[n]" by the count pass.
// Notice: a message in place of photos ("暂无照片"); group icon, never
// relabelled.
enum class NodeKind : std::uint8_t { Group, Notice };

struct PhotoLeaf {
    PhotoRef ref;
    std::uint32_t nameOffset = 0;  // into the tree's name pool
    std::uint32_t nameLength = 0;
};

struct CategoryNode {
    std::string label;
    NodeKind kind = NodeKind::Group;
    NodeIndex parent = kRootNode;
    // Folder and drive nodes of the folder tree only: the path as stored in
    // the folder list (drive nodes: the mount point).
    std::optional<std::string> folderPath;
    std::vector<NodeIndex> groups;
    std::vector<PhotoLeaf> photos;

    std::size_t ChildCount() const { return groups.size() + photos.size(); }
    bool HasChildren() const { return ChildCount() != 0; }
};

// Where a photo leaf sits: its group and its index in that group's photos.
struct PhotoLocation {
    NodeIndex parent = kRootNode;
    std::uint32_t index = 0;
};

class CategoryTree {
  public:
    CategoryTree();

    NodeIndex AddGroup(NodeIndex parent, std::string label, NodeKind kind = NodeKind::Group);
    void AddPhoto(NodeIndex parent, PhotoRef ref, std::string_view name);

    const CategoryNode& Node(NodeIndex index) const { return nodes_[index]; }
    CategoryNode& Node(NodeIndex index) { return nodes_[index]; }
    const std::vector<NodeIndex>& TopLevel() const { return nodes_[kRootNode].groups; }
    std::string_view PhotoName(const PhotoLeaf& leaf) const;

    // Photo leaves beneath a node, depth first in tree order (what the view
    // lists for a selected group).
    std::size_t PhotoCountBeneath(NodeIndex node) const;
    void AppendPhotosBeneath(NodeIndex node, std::vector<PhotoRef>& out) const;

    // The first leaf of a photo, depth first over the top-level nodes.
    std::optional<PhotoLocation> FindPhoto(PhotoRef ref) const;

    // The top-level node above (or at) a node; kRootNode for the root.
    NodeIndex TopLevelAncestor(NodeIndex node) const;

    // Built from the search rows: no duplicates group is appended to it.
    bool filtered = false;

  private:
    std::vector<CategoryNode> nodes_;
    std::string names_;
};
