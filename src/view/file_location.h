#pragma once
// 打开文件位置: shows a file in the desktop's file manager with the file
// selected (the FileManager1 interface on the session bus; Explorer on
// Windows), or opens its folder where no file manager answers.
//
// UI thread. The bus call does not block the window: the answer arrives
// later, and onFailure runs (on the UI thread, while context lives) when
// neither the file manager nor the desktop could show the folder.

#include <QString>
#include <functional>

class QObject;

void ShowFileInFileManager(const QString& path, QObject* context, std::function<void()> onFailure);
