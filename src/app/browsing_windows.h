#pragma once
// The browsing windows the program's frame hosts: the main view (and, as
// they are built, the category pane and the import commands). Kept out of
// the shell library so that the shell's tests need none of them.
//
// UI thread only.

#include "app/verero_app.h"

class CMainFrame;

// The factories for the frame's pane and view.
FrameParts MakeBrowsingParts();

// Connects the frame's commands and status bar to the browsing windows;
// call once after the frame exists.
void ConnectBrowsingWindows(CMainFrame& frame);
