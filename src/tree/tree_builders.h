#pragma once
// The builders behind BuildCategoryTree, one per grouping. Each runs in a
// catalogue session the caller holds, and returns null when its
// first query fails.

#include <memory>
#include <string_view>

#include "catalogue/photo_catalogue.h"
#include "catalogue/search_filter.h"
#include "tree/category_tree.h"
#include "tree/mount_table.h"
#include "tree/sort_mode.h"

// ShotTime, CameraModel, KeywordGroups and SubjectGroups.
std::unique_ptr<CategoryTree> BuildDatedTree(const CatalogueSession& session, SortMode mode);
// The shot-time tree of the search rows; an empty tree when the search
// statement fails.
std::unique_ptr<CategoryTree> BuildSearchTree(const CatalogueSession& session,
                                              const SearchFilter& filter);
std::unique_ptr<CategoryTree> BuildRegionTree(const CatalogueSession& session);

// A tree holding only the notice "暂无照片".
std::unique_ptr<CategoryTree> NoPhotosTree();
