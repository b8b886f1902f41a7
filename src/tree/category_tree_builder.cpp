#include "tree/category_tree_builder.h"

#include "catalogue/photo_catalogue.h"
#include "tree/tree_builders.h"

namespace {

// While searching only the shot-time rows can be filtered; the keyword,
// subject and region groupings show that tree, the others none.
std::unique_ptr<CategoryTree> BuildFiltered(SortMode mode, const SearchFilter& filter) {
    switch (mode) {
        case SortMode::ShotTime:
        case SortMode::KeywordGroups:
        case SortMode::SubjectGroups:
        case SortMode::RegionGroups: {
            CatalogueSession session;
            return BuildSearchTree(session, filter);
        }
        default:
            return nullptr;
    }
}

}  // namespace

std::unique_ptr<CategoryTree> BuildCategoryTree(SortMode mode, const SearchFilter* search) {
    if (search) return BuildFiltered(mode, *search);
    if (mode == SortMode::FolderTree) return BuildFolderTree(MountTable::FromSystem());
    if (mode == SortMode::FromMap) return nullptr;
    CatalogueSession session;
    if (!session.ok()) return mode == SortMode::ShotTime ? NoPhotosTree() : nullptr;
    if (mode == SortMode::RegionGroups) return BuildRegionTree(session);
    return BuildDatedTree(session, mode);
}

std::unique_ptr<CategoryTree> BuildFolderTree(const MountTable& mounts) {
    CatalogueSession session;
    if (!session.ok()) return nullptr;
    return BuildFolderTree(session, mounts);
}
