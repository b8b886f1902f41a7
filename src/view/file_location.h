#pragma once
// 打开文件位置: shows a file in the desktop's file manager with the file
// selected (the FileManager1 interface on the session bus; Explorer on
// Windows), or opens its folder where no file manager answers.

#include <QString>

void ShowFileInFileManager(const QString& path);
