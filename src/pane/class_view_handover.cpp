// CClassView: handing tree selections to the main view.

#include <QScrollBar>
#include <algorithm>

#include "catalogue/photo_rows.h"
#include "pane/class_view.h"
#include "pane/tree_ctrl_ex.h"
#include "view/verero_view.h"

namespace {

// A label cut before its first "[" (the count the count pass appended).
QString LabelStem(const std::string& label) {
    const std::string_view stem = std::string_view(label).substr(0, label.find('['));
    return QString::fromUtf8(stem.data(), static_cast<qsizetype>(stem.size()));
}

// Position of a photo leaf in the list of its parent's photos: the photos
// of the parent's child groups come first.
int ListPosition(const CategoryTree& tree, const PhotoLocation& location) {
    std::size_t position = location.index;
    for (NodeIndex group : tree.Node(location.parent).groups)
        position += tree.PhotoCountBeneath(group);
    return static_cast<int>(position);
}

}  // namespace

void CClassView::FillViewFromNode(NodeIndex node) {
    if (current_ == nullptr || current_->Tree() == nullptr) return;
    std::vector<PhotoRef> photos;
    current_->Tree()->AppendPhotosBeneath(node, photos);
    view_.ResetPhotoList(static_cast<int>(photos.size()));
    for (const PhotoRef& photo : photos) view_.Photos().Append(photo);
}

void CClassView::SelectFirst() {
    pendingPlace_.reset();
    if (current_ == nullptr || current_->Tree() == nullptr) return;
    const CategoryTree& tree = *current_->Tree();
    view_.Photos().currentIndex = 0;
    if (!current_->HasItems()) {
        // A tree without items lists nothing, rather than leaving the photos
        // of another grouping in the view.
        view_.ResetPhotoList(0);
        view_.ShowListFromTop();
        return;
    }
    const NodeIndex first = tree.TopLevel().front();
    FillViewFromNode(first);
    if (view_.Photos().Count() == 0) {
        view_.ShowListFromTop();  // nothing of an older list stays on screen
        return;
    }
    view_.Photos().categoryNode = first;
    listedFrom_ = &tree;
    current_->SetCaret(current_->Model()->IndexOfGroup(first));
    view_.ShowListFromTop();
    emit prefetchRequested();
}

CClassView::ListedPlace CClassView::PlaceOf(const ListRefreshRequest& request) const {
    ListedPlace place;
    place.request = request;
    const std::optional<NodeIndex> node = request.categoryNode;
    if (current_ == nullptr || current_->Tree() == nullptr || current_->Tree() != listedFrom_ ||
        !node)
        return place;
    const CategoryTree& tree = *current_->Tree();
    for (NodeIndex at = *node; at != kRootNode; at = tree.Node(at).parent)
        place.labelPath.insert(place.labelPath.begin(), LabelStem(tree.Node(at).label));
    return place;
}

namespace {

// The node reached by following the label stems from the top level down.
std::optional<NodeIndex> FindByLabelPath(const CategoryTree& tree,
                                         const std::vector<QString>& path) {
    if (path.empty()) return std::nullopt;
    NodeIndex at = kRootNode;
    for (const QString& stem : path) {
        std::optional<NodeIndex> next;
        for (NodeIndex child : tree.Node(at).groups) {
            if (LabelStem(tree.Node(child).label).compare(stem, Qt::CaseInsensitive) == 0) {
                next = child;
                break;
            }
        }
        if (!next) return std::nullopt;
        at = *next;
    }
    return at;
}

int PositionInList(const PhotoList& list, PhotoRef photo) {
    if (photo.idPic == 0) return -1;
    for (int i = 0; i < list.Count(); ++i)
        if (list.Entry(i).ref == photo) return i;
    return -1;
}

}  // namespace

void CClassView::ReselectAfterRebuild(const ListedPlace& place) {
    pendingPlace_.reset();
    if (current_ == nullptr || current_->Tree() == nullptr) return;
    const ListRefreshRequest& request = place.request;
    if (request.fallbackPhoto.idPic == 0 || !current_->HasItems()) {
        SelectFirst();
        return;
    }
    const CategoryTree& tree = *current_->Tree();
    const PhotoRef current = request.currentPhoto;
    // The same category, found by its labels; else the group of the current
    // photo; else, for a photo that left the catalogue, the top-level group
    // of the same name.
    NodeIndex chosen = tree.TopLevel().front();
    if (const auto same = FindByLabelPath(tree, place.labelPath)) {
        chosen = *same;
    } else if (const auto found = current.idPic != 0 ? tree.FindPhoto(current) : std::nullopt) {
        chosen = found->parent;
    } else if (!place.labelPath.empty()) {
        if (const auto top = FindByLabelPath(tree, {place.labelPath.front()})) chosen = *top;
    }
    FillViewFromNode(chosen);
    view_.Photos().categoryNode = chosen;
    listedFrom_ = &tree;
    current_->SetCaret(current_->Model()->IndexOfGroup(chosen));
    // The current photo keeps its place when it is still listed; otherwise
    // the photo at the fallback position becomes current.
    PhotoList& list = view_.Photos();
    int index = PositionInList(list, current);
    if (index < 0) index = std::clamp(request.reselectIndex, 0, std::max(0, list.Count() - 1));
    list.currentIndex = index;
    view_.ShowCurrentPhoto();
    emit prefetchRequested();
}

void CClassView::OnRefreshRequested(const ListRefreshRequest& request) {
    const ListedPlace place = PlaceOf(request);
    listedFrom_ = nullptr;
    DropTrees();
    RebuildCurrent();
    ReselectAfterRebuild(place);
}

void CClassView::OnCaretReported(const QModelIndex& caret) {
    auto* control = qobject_cast<CTreeCtrlEx*>(sender());
    if (control == nullptr || control != current_ || !caret.isValid()) return;
    const CategoryTreeModel& model = *control->Model();
    const CategoryTree& tree = model.Tree();
    PhotoList& list = view_.Photos();
    if (const std::optional<NodeIndex> group = model.GroupOf(caret)) {
        list.categoryNode = *group;
        listedFrom_ = &tree;
        list.currentIndex = 0;
        FillViewFromNode(*group);
        view_.ShowListFromTop();
        if (list.Count() > 0) emit prefetchRequested();
        return;
    }
    const PhotoLeaf* leaf = model.LeafOf(caret);
    const NodeIndex parent = model.ParentNodeOf(caret);
    const PhotoLocation location{
        parent, static_cast<std::uint32_t>(leaf - tree.Node(parent).photos.data())};
    if (control->lastLeafHandled && control->lastLeafHandled->parent == location.parent &&
        control->lastLeafHandled->index == location.index)
        return;
    list.categoryNode = parent;
    listedFrom_ = &tree;
    FillViewFromNode(parent);
    list.currentIndex = ListPosition(tree, location);
    view_.PhotoStatusText(leaf->ref);
    view_.ShowCurrentPhoto();
    control->lastLeafHandled = location;
    emit prefetchRequested();
}

void CClassView::CollectSelection() {
    if (current_ == nullptr || current_->Tree() == nullptr) return;
    SelectionList& selection = view_.Selection().list;
    selection.Clear();
    const CategoryTreeModel& model = *current_->Model();
    std::vector<PhotoRef> photos;
    for (const QModelIndex& index : current_->SelectedInDisplayOrder()) {
        if (const PhotoLeaf* leaf = model.LeafOf(index)) {
            photos.push_back(leaf->ref);
        } else {
            model.Tree().AppendPhotosBeneath(*model.GroupOf(index), photos);
        }
    }
    for (const PhotoRef& photo : photos) selection.Append(photo);
}

void CClassView::ClearViewSelection() {
    view_.Selection().Clear();
    view_.viewport()->update();
}
