#pragma once
// Which photos of the grid are selected, and how clicks change that. UI
// thread only.
//
// While multiSelectActive is clear the current photo counts as selected
// besides any listed photo; once set, only the SelectionList counts.

#include "browsemodel/selection_list.h"

class PhotoList;

struct ClickModifiers {
    bool control = false;
    bool shift = false;
};

// What a click changed, for repainting.
struct ClickOutcome {
    int oldIndex = 0;
    bool repaintAll = false;  // the selection changed beyond the two cells
};

class GridSelection {
  public:
    bool IsSelected(const PhotoList& list, int index) const;

    // A left click on hit (-1 for none): a valid hit becomes the current
    // photo; Ctrl toggles it into the selection (with the previous current
    // photo when no multi-selection was going on); Shift selects the range
    // between the previous and the new current photo, both included; a plain
    // click drops the multi-selection.
    ClickOutcome Click(PhotoList& list, int hit, ClickModifiers modifiers);

    // Ctrl+A: every photo of the list, in order, listed and drawn selected.
    void SelectAll(const PhotoList& list);

    void Clear();

    SelectionList list;
    bool multiSelectActive = false;
};
