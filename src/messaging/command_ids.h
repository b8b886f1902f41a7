#pragma once
// Command ids of the menus, the toolbar and the context menus. Windows keep
// these numbers so that commands can be addressed by id (CMainFrame::Command).

namespace CommandId {
// 文件
inline constexpr int kAddFolder = 32866;
inline constexpr int kAddPhotos = 32867;
inline constexpr int kUpdateLibrary = 32890;
inline constexpr int kSaveCatalogue = 32886;
inline constexpr int kTidyCatalogue = 32887;
inline constexpr int kClearCatalogue = 32804;
inline constexpr int kExit = 57665;
// 编辑
inline constexpr int kShowPhoto = 32786;
inline constexpr int kProperties = 32787;
inline constexpr int kPropertiesAlternate = 32826;
inline constexpr int kSearch = 32806;
inline constexpr int kPickPositionOnMap = 32858;
inline constexpr int kPositionsFromTracks = 32872;
inline constexpr int kShowOnMap = 32859;
inline constexpr int kRegionsFromGps = 32878;
inline constexpr int kCut = 32855;
inline constexpr int kCopy = 57634;
inline constexpr int kPaste = 57637;
inline constexpr int kOpenFileLocation = 32811;
inline constexpr int kRemoveFromAlbumContext = 32812;
inline constexpr int kRemoveFromAlbum = 32814;
inline constexpr int kAddDuplicatesToCatalogue = 32862;
// 视图
inline constexpr int kLargeIcons = 32815;
inline constexpr int kSmallIcons = 32816;
inline constexpr int kDetailList = 32817;
inline constexpr int kShowKeywords = 32835;
inline constexpr int kAutoOrient = 32892;
inline constexpr int kViewToolbar = 59392;
inline constexpr int kViewStatusBar = 59393;
inline constexpr int kCustomizeToolbar = 126;
// 程序外观: 205 to 219, see application_look.h
// 帮助
inline constexpr int kAbout = 57664;
inline constexpr int kAboutCompanion = 32875;
// Sort toolbar of the category pane
inline constexpr int kSortByTime = 144;
inline constexpr int kSortByCamera = 32821;
inline constexpr int kSortByFolder = 32822;
inline constexpr int kSortByKeyword = 32833;
inline constexpr int kSortBySubject = 32842;
inline constexpr int kSortByRegion = 32873;
}  // namespace CommandId
