#pragma once
// The arrangement of the standard toolbar "标准" chosen with 自定义...: its
// buttons and separators in order, each shown or hidden. Kept in the same
// settings as the look, under "StandardToolbar".

#include <vector>

struct ToolbarSlot {
    int id = 0;  // a command of the standard toolbar, 0 = separator
    bool shown = true;
    bool operator==(const ToolbarSlot&) const = default;
};
using ToolbarLayout = std::vector<ToolbarSlot>;

// Every button and separator of the standard toolbar in its first order, shown.
ToolbarLayout DefaultToolbarLayout();

// Makes a stored layout sound: ids that are not toolbar commands and repeated
// buttons are dropped, and buttons missing from it are appended, shown, so
// that no command is ever lost from the toolbar's reach.
ToolbarLayout NormalizedToolbarLayout(const ToolbarLayout& stored);

// The saved layout, normalised; the default when none was saved.
ToolbarLayout ReadToolbarLayout();
void WriteToolbarLayout(const ToolbarLayout& layout);
