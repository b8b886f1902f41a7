#pragma once
// The fixed labels of the category trees, as the pane shows them.

inline constexpr char kNoPhotosLabel[] = "暂无照片";
inline constexpr char kUndatedLabel[] = "无日期标志";
inline constexpr char kNoCameraLabel[] = "暂无相机信息";
inline constexpr char kNoKeywordsLabel[] = "无关键词";
inline constexpr char kNoSubjectLabel[] = "无主题词";
inline constexpr char kNoRegionLabel[] = "无区域信息";
// The pane recognises the duplicates group by this prefix of its label.
inline constexpr char kDuplicatesLabel[] = "*重复照片列表*";
inline constexpr char kFromMapLabel[] = "来自Zidevu地图";
// Drive nodes without a file-system label: "本地磁盘(<mount point>)".
inline constexpr char kLocalDiskLabel[] = "本地磁盘";
