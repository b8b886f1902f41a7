#pragma once
// The grouping buttons of the pane's sort toolbar: command id, tooltip and
// button text (the two halves of the "tooltip\ntext" string), grouping.

#include <array>

#include "messaging/command_ids.h"
#include "tree/sort_mode.h"

struct SortButton {
    int commandId;
    const char* tip;   // UTF-8
    const char* text;  // UTF-8
    SortMode mode;
};

inline constexpr std::array<SortButton, 6> kSortButtons{{
    {CommandId::kSortByTime, "按时间排序", "时间", SortMode::ShotTime},
    {CommandId::kSortByCamera, "按相机类型排序", "相机", SortMode::CameraModel},
    {CommandId::kSortByFolder, "按文件夹排序", "文件夹", SortMode::FolderTree},
    {CommandId::kSortByKeyword, "按关键词排序", "关键词", SortMode::KeywordGroups},
    {CommandId::kSortBySubject, "按主题词排序", "主题词", SortMode::SubjectGroups},
    {CommandId::kSortByRegion, "按地区排序", "地区", SortMode::RegionGroups},
}};
