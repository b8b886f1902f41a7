#include "tree/category_tree_builder.h"

#include "catalogue/photo_catalogue.h"
#include "tree/tree_builders.h"

namespace {

// While searching only the shot-time rows can be filtered; the keyword,
// subject and region groupings show that tree, the others none.
std::unique_ptr<CategoryTree> BuildFiltered(Library& library, SortMode mode,
                                            const SearchFilter& filter) {
    switch (mode) {
        case SortMode::ShotTime:
        case SortMode::KeywordGroups:
        case SortMode::SubjectGroups:
        case SortMode::RegionGroups: {
            CatalogueSession session(library);
            return BuildSearchTree(session, filter);
        }
        default:
            return nullptr;
    }
}

}  // namespace

std::unique_ptr<CategoryTree> BuildCategoryTree(Library& library, SortMode mode,
                                                const SearchFilter* search) {
    if (search) return BuildFiltered(library, mode, *search);
    if (mode == SortMode::FolderTree) return BuildFolderTree(library, MountTable::FromSystem());
    if (mode == SortMode::FromMap) return nullptr;
    CatalogueSession session(library);
    if (!session.ok()) return mode == SortMode::ShotTime ? NoPhotosTree() : nullptr;
    if (mode == SortMode::RegionGroups) return BuildRegionTree(session);
    return BuildDatedTree(session, mode);
}
