#pragma once
// The builders behind BuildCategoryTree, one per grouping. Each runs on a
// connection whose catalogue lock the caller holds, and returns null when its
// first query fails.

#include <sqlite3.h>

#include <memory>
#include <string_view>

#include "tree/category_tree.h"
#include "tree/mount_table.h"
#include "tree/search_filter.h"
#include "tree/sort_mode.h"

// ShotTime, CameraModel, KeywordGroups and SubjectGroups.
std::unique_ptr<CategoryTree> BuildDatedTree(sqlite3* db, SortMode mode);
// The shot-time tree of the search rows; an empty tree when the search
// statement fails.
std::unique_ptr<CategoryTree> BuildSearchTree(sqlite3* db, const SearchFilter& filter);
std::unique_ptr<CategoryTree> BuildFolderTree(sqlite3* db, const MountTable& mounts);
std::unique_ptr<CategoryTree> BuildRegionTree(sqlite3* db);

// A tree holding only the notice "暂无照片".
std::unique_ptr<CategoryTree> NoPhotosTree();

// A text cell of the current row; valid until the next step.
inline std::string_view TextCell(sqlite3_stmt* row, int column) {
    const unsigned char* text = sqlite3_column_text(row, column);
    if (!text) return {};
    return {reinterpret_cast<const char*>(text),
            static_cast<std::size_t>(sqlite3_column_bytes(row, column))};
}
