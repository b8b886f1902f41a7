#pragma once
// The texts of the main frame's menus and the commands under them, in menu
// order. A command id of 0 stands for a separator; a submenu entry names
// the submenu's title and holds no id.

#include <vector>

struct MenuEntry {
    int id;            // 0 = separator
    const char* text;  // UTF-8
    bool checkable = false;
};

struct MenuDefinition {
    const char* title;
    std::vector<MenuEntry> entries;
};

// 文件(&F), 编辑(&E), 视图(&V) and 帮助(&H); the look submenu is separate.
const std::vector<MenuDefinition>& MainMenus();

// The commands of the standard toolbar "标准", 0 = separator.
const std::vector<int>& StandardToolbarCommands();

// The photo context menu 119 "编辑" of the category pane and the main view.
const std::vector<int>& EditContextMenuCommands();

// Toolbar tooltips that differ from the menu text.
const char* ToolbarText(int id);
