#pragma once
// The main view: the photos of the category selected in the category pane,
// painted as a grid of thumbnails (large or small icons), with the current
// photo, a multi-selection and a one-line status text for the current photo.
//
// UI thread only. One instance, published as CVereroView::Instance() and as
// the MainView receiver of application-defined messages (it handles
// UiMessage::kRefreshList itself).
//
// The view never decides which photos it shows: the category pane fills
// Photos() (ResetPhotoList, then PhotoList::Append in tree order, the
// current index and the category node) and calls ShowListFromTop, or
// PhotoStatusText and ShowCurrentPhoto for a chosen photo. What the view
// cannot do itself it asks for through its signals, which the shell
// connects to the pane, the viewer, the status bar and the command table.

#include <QAbstractScrollArea>
#include <QList>
#include <QPoint>
#include <QTimer>
#include <QUrl>
#include <optional>

#include "browsemodel/photo_browser.h"
#include "messaging/receiver_registry.h"
#include "view/grid_layout.h"
#include "view/list_refresh_request.h"

class CDialog_ReportDetails;

// cellSize of the detail list (详细列表); the icon modes use larger cells.
inline constexpr int kDetailListCell = 1;

class CVereroView : public QAbstractScrollArea, public PhotoBrowser {
    Q_OBJECT

  public:
    explicit CVereroView(Library& library, QWidget* parent = nullptr);
    ~CVereroView() override;

    static CVereroView* Instance();

    // --- The list, as the category pane fills it.
    PhotoList& Photos() override { return photos_; }
    const PhotoList& Photos() const override { return photos_; }
    // Releases the old entries and their thumbnails and makes room for n.
    void ResetPhotoList(int n);
    // Shows the list from its first photo, loading the first screen.
    void ShowListFromTop();
    // Shows the list with the current photo's row at the top, or at the
    // scroll position saved by RefreshList.
    void ShowCurrentPhoto();
    // Asks the pane to rebuild the tree and reselect (refreshRequested),
    // remembering the scroll position; with selectPrevious the photo before
    // the current one is the fallback. Then asks for the viewer prefetch.
    void RefreshList(bool selectPrevious) override;
    // The detail list, when it was ever shown, reads its rows again.
    void RefreshDetailRows() override;
    // Where the list stands now, as a refresh hands it to the pane.
    ListRefreshRequest ListedRequest() const;
    // Sets the status text of the photo (statusTextChanged) when its row is
    // found exactly once; otherwise the status bar keeps its text.
    void PhotoStatusText(PhotoRef photo) override;

    // --- Selection.
    GridSelection& Selection() override { return selection_; }
    const GridSelection& Selection() const override { return selection_; }
    void RedrawSelection() override;
    void SelectAll();

    // Index under a viewport point, or -1; in the detail list the row
    // last clicked there.
    int HitTest(const QPoint& point) const;
    // The photo a 显示照片 (show) or 查看照片属性 (properties) command acts on:
    // after a right click, show takes the photo under that point, properties
    // the current one; the recorded point is used once. nullopt when the
    // index is not a photo of the list.
    std::optional<int> PickCommandPhoto(bool show) override;
    QWidget* DialogParent() override { return window(); }

    // --- Display state.
    int CellSize() const { return layout_.cellSize; }
    const GridLayout& Layout() const { return layout_; }
    bool ShowKeywords() const { return showKeywords_; }
    bool DetailMode() const { return layout_.cellSize < 2; }
    // The detail list, null before 详细列表 was first chosen.
    CDialog_ReportDetails* Report() const { return report_; }
    int VerticalOffset() const;

    // Arms the one-shot 2 s check whether a catalogued folder changed
    // (one-shot timer); when one did, the view posts itself UiMessage::kLibraryChanged.
    void ArmLibraryChangeCheck();

  public slots:
    void OnLargeIcons();        // 大图标
    void OnSmallIcons();        // 小图标
    void OnDetailList();        // 详细列表
    void OnToggleKeywords();    // 显示关键词
    void OnToggleAutoOrient();  // 自动调整照片方向

  signals:
    // The status bar's text; empty for its idle text (a new list names no photo).
    void statusTextChanged(const QString& text);
    // The pane drops its trees, rebuilds the current one and reselects.
    void refreshRequested(const ListRefreshRequest& request);
    // Start the viewer prefetch worker, or reset its cache if it runs.
    void prefetchRequested();
    // The viewer's image cache holds pictures turned the old way.
    void imageCacheClearRequested();
    // Open the viewer on the photo at index (double click).
    void openPhotoRequested(int index);
    // Show context menu 119 at the global position.
    void contextMenuRequested(const QPoint& globalPos);
    // A command carried elsewhere was asked for from the keyboard (Ctrl+C
    // copy, Ctrl+X cut), by its command id.
    void commandRequested(int commandId);
    // Check marks of 显示关键词 and 自动调整照片方向 changed, or the list
    // went from no photos to some or back (which enables the photo commands).
    void commandStatesChanged();
    // UiMessage::kStartLibraryUpdate, kStartSave and kLibraryChanged
    // arrived: the shell starts the worker or asks.
    void libraryUpdateRequested();
    void saveRequested();
    void libraryChanged();
    // Message UiMessage::kStartRegionLookup arrived: start the region lookup.
    void regionLookupRequested();
    // Files were dropped on the grid (the import decides which it takes).
    void urlsDropped(const QList<QUrl>& urls);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // Columns, document height and scroll ranges for the current client size.
    void Lay();
    void ScrollTo(int offset);
    void LoadFirstScreen();
    void SwitchIconSize(int cellSize);
    // Shows the detail list over the client area, creating it the first
    // time, with the list's rows anew.
    void ShowDetailList();
    void LeftButtonDown(const QPoint& point, Qt::KeyboardModifiers modifiers);
    void RepaintCell(int index);

    PhotoList photos_;
    GridLayout layout_;
    GridSelection selection_;
    bool showKeywords_ = false;
    std::optional<int> savedScroll_;
    std::optional<QPoint> rightClickPoint_;
    QTimer libraryChangeTimer_;  // the start-up change check, 2 s once
    CDialog_ReportDetails* report_ = nullptr;
    ReceiverRegistration registration_;
};
