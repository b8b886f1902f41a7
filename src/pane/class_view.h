#pragma once
// The category pane "照片列表": the sort toolbar, a seam for the search
// panel, and one tree control per grouping, of which one is shown. It keeps
// the built trees until told to drop them, hands the photos of the selected
// category to the main view, carries the photo context menu 119 and the
// Ctrl+A/C/X/V keys, and queues dropped or pasted files for import.
//
// UI thread only. One instance, published as CClassView::Instance() and as
// the CategoryPane receiver of the messages kShowMapPhotos,
// kRebuildCurrentTree, kCancelFolderScan, kPaneRelayout, kDropTrees and
// kRegionTreeStale. Workers reach it only through those messages.

#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/search_filter.h"
#include "messaging/receiver_registry.h"
#include "pane/pane_hooks.h"
#include "tree/sort_mode.h"
#include "view/list_refresh_request.h"

class CTreeCtrlEx;
class CVereroView;
class QAction;
class QActionGroup;
class QMenu;
class QToolBar;

class CClassView : public QWidget {
    Q_OBJECT

  public:
    // When the shot-time tree is built and its first group handed to the
    // view: at once, or right after the pane is first drawn, so that a
    // program with a large catalogue shows its window first and a note that
    // the photos are being read.
    enum class FirstTree { Now, AfterFirstPaint };
    explicit CClassView(CVereroView& view, QWidget* parent = nullptr,
                        FirstTree firstTree = FirstTree::Now);
    ~CClassView() override;

    static CClassView* Instance();

    void SetHooks(PaneHooks hooks) { hooks_ = std::move(hooks); }

    // --- Groupings and their trees.
    SortMode CurrentMode() const { return mode_; }
    // The toolbar command of a grouping; nothing when it is shown already.
    void ShowMode(SortMode mode);
    // Shows the current grouping's tree, building it when it was dropped.
    // Selecting is left to the caller.
    void RebuildCurrent();
    // Drops every tree but the map list; no tree is current afterwards.
    void DropTrees();
    // Builds and shows the list of photos chosen on the map.
    void ShowMapPhotos(std::vector<std::int64_t> ids);
    // The shown tree control, or null when no tree is current.
    CTreeCtrlEx* CurrentTree() const { return current_; }
    // The control of a grouping, or null before it was first needed.
    CTreeCtrlEx* TreeOf(SortMode mode) const;
    QToolBar* SortToolBar() const { return toolbar_; }

    // --- Hand-over to the main view.
    // Lists the photos beneath a node of the current tree in the view.
    void FillViewFromNode(NodeIndex node);
    // The first top-level group becomes the caret and fills the view.
    void SelectFirst();
    // Where the view's list stands: the refresh request and the label stems
    // of its category from the top level down, read while its tree stands.
    struct ListedPlace {
        ListRefreshRequest request;
        std::vector<QString> labelPath;
    };
    ListedPlace PlaceOf(const ListRefreshRequest& request) const;
    // After the trees were rebuilt: the same category (by its labels), else
    // the group of the current photo, is listed again and the photo of the
    // request made current (see ListRefreshRequest).
    void ReselectAfterRebuild(const ListedPlace& place);
    // Writes the selected items' photos into the view's selection list.
    void CollectSelection();

    // --- Search (the search panel is created elsewhere and placed here).
    SearchFilter& Filter() { return filter_; }
    bool SearchActive() const { return searchActive_; }
    // Switching on shows the panel; switching off hides it, rebuilds the
    // current tree unfiltered and selects its first group.
    void SetSearchActive(bool active);
    void SetSearchPanel(QWidget* panel);
    QWidget* SearchPanel() const { return searchPanel_; }
    // The search panel's 搜索: stores the filter, drops the trees, rebuilds
    // the current grouping from the filtered rows and selects its first group.
    void Search(const SearchFilter& filter);

    // --- Commands (menu 119, keys, 添加文件夹).
    QMenu* ContextMenu() const { return menu_; }
    // Enables the entries of menu 119 as they stand now.
    void UpdateMenuStates();
    void RunMenuCommand(int commandId);
    void Paste();
    void AddFolder();
    // Hands dropped files to the import controller.
    void DropPaths(const QList<QUrl>& urls);

    // Lays out the toolbar, the search panel and the current tree.
    void Relayout();

  signals:
    // Start the viewer prefetch worker, or reset its cache when it runs.
    void prefetchRequested();

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // The control a grouping is shown in: while searching, the keyword,
    // subject and region groupings share the filtered shot-time tree.
    SortMode SlotOf(SortMode mode) const;
    CTreeCtrlEx* EnsureControl(SortMode slot);
    // Builds the grouping's tree into its control; false when none results.
    bool BuildTree(SortMode mode);
    // The shot-time tree shown first, with its first group listed.
    void BuildFirstTree();
    void MakeCurrent(CTreeCtrlEx* control);
    void DropRegionTree();
    void OnRefreshRequested(const ListRefreshRequest& request);
    void OnCaretReported(const QModelIndex& caret);
    void OnContextMenuAsked(const QPoint& globalPos, const QModelIndex& pointed);
    void OnDoubleClicked();
    void ClearViewSelection();
    // Ctrl+A, Ctrl+C, Ctrl+X and Ctrl+V; the key goes on afterwards.
    void HandleControlKey(int key);
    bool ViewHasPhotos() const;
    bool CommandAvailable(int commandId) const;
    void RunViewCommand(int commandId);
    void CreateToolBar();
    void CreateContextMenu();
    void CheckModeButton();
    void MarkOverflow();

    CVereroView& view_;
    PaneHooks hooks_;
    SortMode mode_ = SortMode::ShotTime;
    std::array<CTreeCtrlEx*, kSortModeCount> controls_{};
    CTreeCtrlEx* current_ = nullptr;
    bool firstTreePending_ = true;
    // The tree whose node the view's categoryNode names (it may have been
    // dropped since).
    const void* listedFrom_ = nullptr;
    // Where the list stood when the trees were dropped, until a rebuild or
    // another selection uses or forgets it.
    std::optional<ListedPlace> pendingPlace_;
    std::vector<std::int64_t> mapIds_;
    SearchFilter filter_;
    bool searchActive_ = false;
    QWidget* searchPanel_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QActionGroup* modeButtons_ = nullptr;
    QAction* mapButton_ = nullptr;  // shown once photos came from the map
    QMenu* menu_ = nullptr;
    ReceiverRegistration registration_;
};
