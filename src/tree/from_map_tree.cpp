// The tree of the photos the companion map application sent.

#include "catalogue/catalogue_rows.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/sql_statement.h"
#include "tree/category_tree_builder.h"
#include "tree/tree_labels.h"

namespace {

constexpr const char* kPhotoName = "select strName from tJpgMsg where idPic=%lld";

}  // namespace

std::unique_ptr<CategoryTree> BuildFromMapTree(std::span<const std::int64_t> ids) {
    auto tree = std::make_unique<CategoryTree>();
    NodeIndex top = tree->AddGroup(kRootNode, kFromMapLabel);
    CatalogueSession session;
    if (!session.ok()) return tree;
    for (std::int64_t id : ids) {
        if (auto name = QueryText(session, FormatStatement(kPhotoName, id)))
            tree->AddPhoto(top, PhotoRef{id, false}, *name);
    }
    return tree;
}
