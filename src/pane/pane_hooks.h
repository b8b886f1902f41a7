#pragma once
// What the category pane asks of objects it does not own: the main view's
// photo commands (carried by the frame's command table) and the import
// controller. Unset members leave the matching commands disabled or the
// action undone.

#include <QStringList>
#include <functional>

struct PaneHooks {
    // Whether a photo command of menu 119 can run now (its carrier exists
    // and enables it); commands nobody carries stay disabled.
    std::function<bool(int commandId)> commandAvailable;
    // Runs a photo command after the pane has prepared the selection.
    std::function<void(int commandId)> runCommand;
    // Dropped paths, in order; the import controller keeps folders and JPEG
    // files, or refuses while an import runs.
    std::function<void(const QStringList& paths)> acceptDroppedPaths;
    // Pasted paths; the controller takes JPEG files only.
    std::function<void(const QStringList& paths)> acceptPastedPaths;
    // 添加文件夹: folder chooser, folder count and import.
    std::function<void()> startFolderImport;
    // UiMessage::kCancelFolderScan: the counter's 取消 stops the folder count at once.
    std::function<void()> cancelFolderScan;
};
