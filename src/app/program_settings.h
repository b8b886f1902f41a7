#pragma once
// The program's per-user settings store (company "应用程序向导生成的本地应用程序",
// application "Darazoz图片浏览器"; QSettings in native format), shared by the
// look, the toolbar layout and the pane's width.

#include <QSettings>

QSettings ProgramSettings();

// The width the category pane had when the program last closed, or fallback
// when none was saved (or the saved one is not a usable width).
int ReadPaneWidth(int fallback);
void WritePaneWidth(int width);
