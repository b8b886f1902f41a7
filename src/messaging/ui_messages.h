#pragma once
// Numbers of the application-defined messages. A message travels as a Qt
// event whose type is its number (all lie in Qt's user event range), see
// message_event.h and receiver_registry.h.

namespace UiMessage {
inline constexpr int kShowMapPhotos = 4470;       // category pane: tree of photos chosen on the map
inline constexpr int kStartLibraryUpdate = 6540;  // main view
inline constexpr int kRefreshList = 6542;         // main view
inline constexpr int kStartSave = 6544;           // main view
inline constexpr int kOpenKeywordEditor = 6545;   // properties dialog
inline constexpr int kRebuildCurrentTree = 6546;  // category pane
inline constexpr int kCancelFolderScan = 6552;    // category pane: stop the folder count
inline constexpr int kFoundCountChanged = 6559;   // found-photos counter
inline constexpr int kPaneRelayout = 6584;        // category pane
inline constexpr int kResultProgress = 6588;      // region and track result dialogs
inline constexpr int kDropTrees = 6589;           // category pane
inline constexpr int kStartRegionLookup = 6597;   // main view
inline constexpr int kRegionTreeStale = 6601;     // category pane
inline constexpr int kBatchApplyEnded = 6610;     // properties dialog: the batch worker ended
inline constexpr int kSaveFinished = 7031;        // save dialog
inline constexpr int kUpdateFinished = 7638;      // update dialog
inline constexpr int kLibraryChanged = 56538;     // main view
}  // namespace UiMessage
