#pragma once
// A read-only item model over one CategoryTree, one column.
//
// Nothing is copied per photo: a group is addressed by its node index, a
// photo leaf by its group and its position among that group's photos (see
// category_tree.h), so a tree of 100,000 photos costs one small vector of
// row numbers here. UI thread only; the tree must outlive the model and must
// not change while the model shows it.

#include <QAbstractItemModel>
#include <QIcon>
#include <optional>

#include "tree/category_tree.h"

class CategoryTreeModel : public QAbstractItemModel {
    Q_OBJECT

  public:
    explicit CategoryTreeModel(const CategoryTree& tree, QObject* parent = nullptr);

    const CategoryTree& Tree() const { return tree_; }

    // The group an index stands for; nullopt for a photo leaf. The invalid
    // index stands for the root.
    std::optional<NodeIndex> GroupOf(const QModelIndex& index) const;
    // The photo leaf of an index, or null for a group.
    const PhotoLeaf* LeafOf(const QModelIndex& index) const;
    bool IsPhoto(const QModelIndex& index) const { return LeafOf(index) != nullptr; }
    // The group above a photo leaf, or above a group (kRootNode at the top).
    NodeIndex ParentNodeOf(const QModelIndex& index) const;

    QModelIndex IndexOfGroup(NodeIndex node) const;
    QModelIndex IndexOfPhoto(const PhotoLocation& location) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    const CategoryTree& tree_;
    std::vector<std::uint32_t> rowInParent_;  // per node; only linked nodes are set
    QIcon groupIcon_;
    QIcon photoIcon_;
};
