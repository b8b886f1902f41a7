#include "pane/category_tree_model.h"

#include <QApplication>
#include <QStyle>

namespace {

// internalId of a photo leaf: tag bit, group in the high half, photo
// position in the low half. A group's internalId is its node index.
constexpr quintptr kPhotoTag = quintptr{1} << 63;

quintptr PhotoId(NodeIndex parent, std::uint32_t position) {
    return kPhotoTag | (quintptr{parent} << 32) | position;
}

}  // namespace

static_assert(sizeof(quintptr) == 8, "photo leaves are encoded in a 64-bit internal id");

CategoryTreeModel::CategoryTreeModel(const CategoryTree& tree, QObject* parent)
    : QAbstractItemModel(parent), tree_(tree) {
    // Walk the linked groups once; unlinked nodes (removed by the count
    // pass) are never reached and never addressed.
    std::vector<NodeIndex> pending{kRootNode};
    while (!pending.empty()) {
        const NodeIndex node = pending.back();
        pending.pop_back();
        const auto& groups = tree_.Node(node).groups;
        for (std::uint32_t row = 0; row < groups.size(); ++row) {
            if (groups[row] >= rowInParent_.size()) rowInParent_.resize(groups[row] + 1, 0);
            rowInParent_[groups[row]] = row;
            pending.push_back(groups[row]);
        }
    }
    QStyle* style = QApplication::style();
    groupIcon_ = style->standardIcon(QStyle::SP_DirIcon);
    photoIcon_ = style->standardIcon(QStyle::SP_FileIcon);
}

std::optional<NodeIndex> CategoryTreeModel::GroupOf(const QModelIndex& index) const {
    if (!index.isValid()) return kRootNode;
    if (index.internalId() & kPhotoTag) return std::nullopt;
    return static_cast<NodeIndex>(index.internalId());
}

const PhotoLeaf* CategoryTreeModel::LeafOf(const QModelIndex& index) const {
    if (!index.isValid() || !(index.internalId() & kPhotoTag)) return nullptr;
    const NodeIndex group = static_cast<NodeIndex>((index.internalId() & ~kPhotoTag) >> 32);
    const auto position = static_cast<std::uint32_t>(index.internalId() & 0xffffffffu);
    return &tree_.Node(group).photos[position];
}

NodeIndex CategoryTreeModel::ParentNodeOf(const QModelIndex& index) const {
    if (!index.isValid()) return kRootNode;
    if (index.internalId() & kPhotoTag)
        return static_cast<NodeIndex>((index.internalId() & ~kPhotoTag) >> 32);
    return tree_.Node(static_cast<NodeIndex>(index.internalId())).parent;
}

QModelIndex CategoryTreeModel::IndexOfGroup(NodeIndex node) const {
    if (node == kRootNode || node >= rowInParent_.size()) return {};
    return createIndex(static_cast<int>(rowInParent_[node]), 0, quintptr{node});
}

QModelIndex CategoryTreeModel::IndexOfPhoto(const PhotoLocation& location) const {
    const CategoryNode& group = tree_.Node(location.parent);
    if (location.index >= group.photos.size()) return {};
    return createIndex(static_cast<int>(group.groups.size() + location.index), 0,
                       PhotoId(location.parent, location.index));
}

QModelIndex CategoryTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) return {};
    const std::optional<NodeIndex> group = GroupOf(parent);
    if (!group) return {};
    const CategoryNode& node = tree_.Node(*group);
    const auto r = static_cast<std::size_t>(row);
    if (r < node.groups.size()) return createIndex(row, 0, quintptr{node.groups[r]});
    if (r < node.ChildCount())
        return createIndex(row, 0,
                           PhotoId(*group, static_cast<std::uint32_t>(r - node.groups.size())));
    return {};
}

QModelIndex CategoryTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid()) return {};
    return IndexOfGroup(ParentNodeOf(child));
}

int CategoryTreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    const std::optional<NodeIndex> group = GroupOf(parent);
    return group ? static_cast<int>(tree_.Node(*group).ChildCount()) : 0;
}

int CategoryTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

bool CategoryTreeModel::hasChildren(const QModelIndex& parent) const {
    const std::optional<NodeIndex> group = GroupOf(parent);
    return group && tree_.Node(*group).HasChildren();
}

QVariant CategoryTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const PhotoLeaf* leaf = LeafOf(index);
    if (role == Qt::DisplayRole) {
        if (leaf) {
            const std::string_view name = tree_.PhotoName(*leaf);
            return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
        }
        return QString::fromStdString(tree_.Node(*GroupOf(index)).label);
    }
    if (role == Qt::DecorationRole) return leaf ? photoIcon_ : groupIcon_;
    return {};
}

Qt::ItemFlags CategoryTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (IsPhoto(index)) flags |= Qt::ItemNeverHasChildren;
    return flags;
}
