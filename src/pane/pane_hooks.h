#pragma once
// What the category pane asks of windows it does not own: the main view's
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
    // The import path list is not empty: an import is pending or running.
    std::function<bool()> importPending;
    // Queues the paths (JPEG files and folders, in order) and starts the
    // list import with its modal progress dialog.
    std::function<void(const QStringList& paths)> startListImport;
    // 添加文件夹: folder chooser, folder count and import.
    std::function<void()> startFolderImport;
};
