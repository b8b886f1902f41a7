#include "view/verero_view.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>

#include "catalogue/folder_stamps.h"
#include "catalogue/photo_catalogue.h"
#include "messaging/message_event.h"
#include "messaging/ui_messages.h"
#include "view/grid_painter.h"
#include "view/photo_status_text.h"
#include "view/report_details.h"

namespace {

CVereroView* instance = nullptr;
constexpr int kLibraryChangeCheckDelayMs = 2000;

}  // namespace

CVereroView::CVereroView(Library& library, QWidget* parent)
    : QAbstractScrollArea(parent), photos_(library), registration_(ReceiverRole::MainView, this) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    // The change check: once, two seconds after the pane asked for it.
    libraryChangeTimer_.setSingleShot(true);
    libraryChangeTimer_.setInterval(kLibraryChangeCheckDelayMs);
    connect(&libraryChangeTimer_, &QTimer::timeout, this, [this] {
        if (AnyFolderChanged(photos_.PhotoLibrary()))
            QCoreApplication::postEvent(this, new MessageEvent(UiMessage::kLibraryChanged));
    });
    setAcceptDrops(true);  // files dropped on the grid are imported
    instance = this;
}

CVereroView::~CVereroView() {
    if (instance == this) instance = nullptr;
}

CVereroView* CVereroView::Instance() {
    return instance;
}

int CVereroView::VerticalOffset() const {
    return verticalScrollBar()->value();
}

void CVereroView::ResetPhotoList(int n) {
    const bool had = HasPhotos();
    photos_.Reset(n);
    // The status bar named a photo of the old list.
    emit statusTextChanged(QString());
    if (had != HasPhotos()) emit commandStatesChanged();
}

void CVereroView::Lay() {
    layout_.Lay(viewport()->width(), viewport()->height(), photos_.Count());
    if (DetailMode()) {
        // The detail list scrolls itself.
        verticalScrollBar()->setRange(0, 0);
        return;
    }
    // One wheel line or page moves one row.
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, layout_.documentHeight - layout_.clientHeight));
    bar->setSingleStep(layout_.cellSize);
    bar->setPageStep(layout_.cellSize);
}

void CVereroView::ScrollTo(int offset) {
    verticalScrollBar()->setValue(offset);
}

void CVereroView::LoadFirstScreen() {
    const int n = layout_.FirstScreenCount(photos_.Count());
    for (int i = 0; i < n; ++i) photos_.EnsureThumbnail(i);
}

void CVereroView::ShowListFromTop() {
    if (DetailMode()) {
        savedScroll_.reset();
        ShowDetailList();
        return;
    }
    // A refresh that ends in a category rather than a photo leaves its saved
    // position unused; it must not move the next photo chosen in the pane.
    savedScroll_.reset();
    // An empty list is laid out too, so that no scroll range of the old list
    // stays behind.
    Lay();
    ScrollTo(0);
    if (photos_.Count() > 0) LoadFirstScreen();
    viewport()->update();
}

void CVereroView::ShowCurrentPhoto() {
    if (DetailMode()) {
        savedScroll_.reset();
        ShowDetailList();
        return;
    }
    Lay();
    if (photos_.Count() == 0) {
        viewport()->update();
        return;
    }
    if (savedScroll_) {
        ScrollTo(*savedScroll_);
        savedScroll_.reset();
    } else {
        ScrollTo(photos_.currentIndex / layout_.columns * layout_.cellSize);
    }
    viewport()->update();
}

void CVereroView::RefreshList(bool selectPrevious) {
    if (selectPrevious) photos_.reselectIndex = photos_.currentIndex - 1;
    // Without selectPrevious the index is left from an earlier refresh,
    // perhaps of a longer list; past the end it would name no photo, and the
    // pane would take that for an empty list and reselect from the start.
    if (photos_.reselectIndex >= photos_.Count()) photos_.reselectIndex = photos_.Count() - 1;
    if (photos_.reselectIndex < 0) photos_.reselectIndex = 0;
    savedScroll_ = VerticalOffset();
    emit refreshRequested(ListedRequest());
    emit prefetchRequested();
}

ListRefreshRequest CVereroView::ListedRequest() const {
    ListRefreshRequest request;
    request.categoryNode = photos_.categoryNode;
    request.reselectIndex = std::clamp(photos_.reselectIndex, 0, std::max(0, photos_.Count() - 1));
    if (photos_.IsValid(photos_.currentIndex))
        request.currentPhoto = photos_.Entry(photos_.currentIndex).ref;
    if (photos_.IsValid(request.reselectIndex))
        request.fallbackPhoto = photos_.Entry(request.reselectIndex).ref;
    return request;
}

void CVereroView::RefreshDetailRows() {
    if (report_ != nullptr) report_->RefreshRows();
}

void CVereroView::RedrawSelection() {
    viewport()->update();
}

void CVereroView::PhotoStatusText(PhotoRef photo) {
    if (const auto text = ReadPhotoStatusText(photos_.PhotoLibrary(), photo))
        emit statusTextChanged(QString::fromUtf8(*text));
}

void CVereroView::SelectAll() {
    if (DetailMode() && report_ != nullptr) report_->Table()->selectAll();
    selection_.SelectAll(photos_);
    viewport()->update();
}

int CVereroView::HitTest(const QPoint& point) const {
    if (DetailMode()) return report_ != nullptr ? report_->SelectedRow() : -1;
    return layout_.HitTest(point.x(), point.y(), horizontalScrollBar()->value(), VerticalOffset(),
                           photos_.Count());
}

std::optional<int> CVereroView::PickCommandPhoto(bool show) {
    if (DetailMode()) {
        rightClickPoint_.reset();
        if (report_ != nullptr && photos_.IsValid(report_->SelectedRow()))
            photos_.currentIndex = report_->SelectedRow();
    } else if (rightClickPoint_) {
        const int hit = HitTest(*rightClickPoint_);
        rightClickPoint_.reset();
        // A right click beside the photos shows nothing, and the current
        // photo stays: the selection, the status text and the viewer's
        // prefetch all read it.
        if (show && !photos_.IsValid(hit)) return std::nullopt;
        if (show) photos_.currentIndex = hit;
    }
    if (!photos_.IsValid(photos_.currentIndex)) return std::nullopt;
    return photos_.currentIndex;
}

void CVereroView::SwitchIconSize(int cellSize) {
    if (report_ != nullptr) report_->hide();
    layout_.cellSize = cellSize;
    Lay();
    ScrollTo(0);
    LoadFirstScreen();
    viewport()->update();
    setFocus();
}

void CVereroView::OnLargeIcons() {
    SwitchIconSize(kLargeIconCell);
}

void CVereroView::OnSmallIcons() {
    SwitchIconSize(kSmallIconCell);
}

void CVereroView::OnDetailList() {
    layout_.cellSize = kDetailListCell;
    Lay();
    ShowDetailList();
}

void CVereroView::ShowDetailList() {
    if (report_ == nullptr) report_ = new CDialog_ReportDetails(*this, viewport());
    report_->setGeometry(viewport()->rect());
    report_->Refill();
    report_->show();
    report_->Table()->setFocus();
}

void CVereroView::OnToggleKeywords() {
    showKeywords_ = HasPhotos() && !showKeywords_;
    viewport()->update();
    emit commandStatesChanged();
}

void CVereroView::OnToggleAutoOrient() {
    if (!HasPhotos()) {
        emit commandStatesChanged();  // the menu ticked its item; tick it back
        return;
    }
    photos_.autoOrient = !photos_.autoOrient;
    // The decoded thumbnails are turned the old way; the refresh refills the
    // list, and until then each is reloaded when next painted.
    for (int i = 0; i < photos_.AllocatedCount(); ++i) photos_.ReleaseThumbnail(i);
    emit imageCacheClearRequested();
    QCoreApplication::postEvent(this, new MessageEvent(UiMessage::kRefreshList));
    viewport()->update();
    emit commandStatesChanged();
}

void CVereroView::ArmLibraryChangeCheck() {
    libraryChangeTimer_.start();
}

bool CVereroView::event(QEvent* event) {
    if (!IsMessageEvent(event)) return QAbstractScrollArea::event(event);
    switch (static_cast<MessageEvent*>(event)->Number()) {
        case UiMessage::kRefreshList:
            RefreshList(false);
            return true;
        case UiMessage::kStartLibraryUpdate:
            emit libraryUpdateRequested();
            return true;
        case UiMessage::kStartSave:
            emit saveRequested();
            return true;
        case UiMessage::kLibraryChanged:
            emit libraryChanged();
            return true;
        case UiMessage::kStartRegionLookup:
            emit regionLookupRequested();
            return true;
        default:
            return QAbstractScrollArea::event(event);
    }
}

void CVereroView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    Lay();
    if (report_ != nullptr) report_->setGeometry(viewport()->rect());
}

void CVereroView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect area = event->rect();
    painter.fillRect(area, kViewBackground);
    if (photos_.Count() == 0 || DetailMode()) return;
    const int scrollY = VerticalOffset();
    painter.translate(-horizontalScrollBar()->value(), -scrollY);
    PaintGrid(painter, {photos_, layout_, selection_, showKeywords_, scrollY}, area.top() + scrollY,
              area.bottom() + 1 + scrollY);
}

void CVereroView::RepaintCell(int index) {
    if (!photos_.IsValid(index)) return;
    const GridRect cell = layout_.CellRect(index);
    viewport()->update(QRect(cell.left - horizontalScrollBar()->value(),
                             cell.top - VerticalOffset(), layout_.cellSize, layout_.cellSize));
}
