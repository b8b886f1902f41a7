#pragma once
// What 更新照片库 and 整理数据库 did, in the words their dialogs end with:
// the counts the command-line tool prints too, left out where they are 0.

#include <QString>

struct UpkeepProgress;

// "已更新照片库!" when nothing changed, else e.g.
// "已更新照片库：刷新2张，移除1张，新照片3张".
QString UpdateSummary(const UpkeepProgress& progress);
// "已整理完数据库!" when nothing went, else e.g. "已整理完数据库：移除2张照片，1个文件夹".
QString TidySummary(const UpkeepProgress& progress);
// The offer to import the new files the update saw.
QString NewPhotosQuestion(int count);
