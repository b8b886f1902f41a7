// The group of duplicate photos (tReJpgMsg) appended to the trees.

#include <string>

#include "catalogue/catalogue_rows.h"
#include "catalogue/photo_catalogue.h"
#include "tree/category_tree_builder.h"
#include "tree/tree_builders.h"
#include "tree/tree_labels.h"

namespace {

constexpr const char* kDuplicatesQuery =
    "select dwDateTime,strName,idPic,strPath from tReJpgMsg order by strPath DESC,dwDateTime DESC";

}  // namespace

void AppendDuplicatesGroup(CategoryTree& tree) {
    if (tree.filtered) return;
    CatalogueSession session;
    if (!session.ok()) return;
    std::optional<NodeIndex> group;
    std::optional<NodeIndex> folder;
    std::string previousPath;  // a first row with an empty folder opens no folder child
    std::int64_t previousId = 0;
    ForEachRow(session, kDuplicatesQuery, [&](const CatalogueRow& row) {
        std::int64_t id = row.Int64(2);
        if (group && id == previousId) return;
        if (!group) group = tree.AddGroup(kRootNode, kDuplicatesLabel);
        previousId = id;
        std::string_view path = row.TextView(3);
        if (path != previousPath) {
            previousPath.assign(path);
            folder = tree.AddGroup(*group, previousPath);
        }
        if (folder) tree.AddPhoto(*folder, PhotoRef{id, true}, row.TextView(1));
    });
}
