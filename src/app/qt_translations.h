#pragma once
// The program speaks Chinese whatever the system's language, so Qt's own
// texts (the file chooser, the standard buttons and context menus) are
// loaded in Chinese too, from the translations that come with Qt.
//
// UI thread, once, after the application object exists.

class QCoreApplication;

// False when Qt's Chinese translations are not installed; Qt's texts then
// stay English.
bool InstallQtChineseTranslations(QCoreApplication& application);
