#pragma once
// Builds the category trees from the catalogue.
//
// UI thread (or any one thread at a time); every call holds the catalogue
// lock for its whole duration and opens the catalogue when it is closed.
// A complete build as the pane runs it: BuildCategoryTree (or
// BuildFromMapTree), AppendDuplicatesGroup (not after a map list),
// ApplyGroupCounts.

#include <cstdint>
#include <memory>
#include <span>

#include "catalogue/search_filter.h"
#include "tree/category_tree.h"
#include "tree/mount_table.h"
#include "tree/sort_mode.h"

class Library;

// The tree of one grouping, or null when there is none to show (its query
// failed, or the grouping has no tree while searching). search is the pane's
// filter while the search is switched on, null otherwise. While searching,
// the shot-time, keyword, subject and region groupings all yield the filtered
// shot-time tree (the pane may show one tree for all four) and the camera and
// folder groupings yield none. FromMap trees come from BuildFromMapTree only.
// The folder grouping reads the system's mount table.
std::unique_ptr<CategoryTree> BuildCategoryTree(Library& library, SortMode mode,
                                                const SearchFilter* search);

// The folder grouping with a given mount table (tests, tools).
std::unique_ptr<CategoryTree> BuildFolderTree(Library& library, const MountTable& mounts);

// Appends the top-level group "*重复照片列表*" with the duplicate rows,
// one child per folder. Does nothing on a filtered tree, when the query fails
// or when there are no duplicates.
void AppendDuplicatesGroup(Library& library, CategoryTree& tree);

// The tree of the photos chosen on the map: one top-level node with a leaf
// per id that has a catalogue row, in the order given.
std::unique_ptr<CategoryTree> BuildFromMapTree(Library& library, std::span<const std::int64_t> ids);

// The count pass: removes childless nodes that are no photos (except a
// childless first top-level node) and appends "[n]" to every group's label,
// n being the photo leaves beneath it (a photo under two keywords counts in
// both). Runs once per tree, last.
void ApplyGroupCounts(CategoryTree& tree);
