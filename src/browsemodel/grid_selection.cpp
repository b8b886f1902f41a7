#include "browsemodel/grid_selection.h"

#include <algorithm>

#include "browsemodel/photo_list.h"

bool GridSelection::IsSelected(const PhotoList& photos, int index) const {
    if (list.Contains(photos.Entry(index).ref)) return true;
    return !multiSelectActive && index == photos.currentIndex;
}

ClickOutcome GridSelection::Click(PhotoList& photos, int hit, ClickModifiers modifiers) {
    ClickOutcome outcome{photos.currentIndex, false};
    const int old = photos.currentIndex;
    if (photos.IsValid(hit)) photos.currentIndex = hit;
    const int current = photos.currentIndex;

    if (modifiers.control) {
        // The previous current photo was drawn selected and stays selected.
        // When it is listed already (after select-all) toggling it would
        // drop it unseen, since only the clicked cell is repainted.
        if (!multiSelectActive && photos.IsValid(old) && !list.Contains(photos.Entry(old).ref)) {
            list.Toggle(photos.Entry(old).ref);
        }
        multiSelectActive = true;
        if (photos.IsValid(current)) list.Toggle(photos.Entry(current).ref);
    } else if (modifiers.shift) {
        outcome.repaintAll = true;
        multiSelectActive = true;
        list.Clear();
        const int from = std::max(0, std::min(old, current));
        const int to = std::min(photos.Count() - 1, std::max(old, current));
        for (int i = from; i <= to; ++i) list.Toggle(photos.Entry(i).ref);
    } else {
        // Listed photos are drawn selected even while multiSelectActive is
        // clear (after select-all, or a selection the pane filled), so any
        // listed photo means cells beyond the two clicked ones change.
        outcome.repaintAll = multiSelectActive || !list.Empty();
        multiSelectActive = false;
        list.Clear();
    }
    return outcome;
}

void GridSelection::SelectAll(const PhotoList& photos) {
    list.Clear();
    multiSelectActive = true;
    for (int i = 0; i < photos.Count(); ++i) list.Toggle(photos.Entry(i).ref);
    multiSelectActive = false;
}

void GridSelection::Clear() {
    list.Clear();
    multiSelectActive = false;
}
