#pragma once
// The browsing windows the program's frame hosts: the category pane, the
// main view and the import commands, and the wiring of the frame's commands
// to them. Kept out of the shell library so that the shell's tests need
// none of them.
//
// UI thread only.

#include "app/verero_app.h"

class CMainFrame;

// The factories for the frame's pane and view, which show library.
FrameParts MakeBrowsingParts(Library& library);

// Creates the import controller and connects the frame's commands and
// status bar to the browsing windows; call once after the frame exists.
void ConnectBrowsingWindows(CVereroApp& app);
