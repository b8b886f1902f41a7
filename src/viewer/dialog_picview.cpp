#include "viewer/dialog_picview.h"

#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QMetaMethod>
#include <QScreen>
#include <QTimer>
#include <QTimerEvent>

#include "browsemodel/photo_list.h"
#include "metadata/display_thumbnail.h"
#include "viewer/prefetch_worker.h"
#include "viewer/viewer_geometry.h"
#include "viewer/viewer_image_cache.h"
#include "viewer/viewer_skin.h"
#include "widgets/skin_button.h"

namespace {

// The viewer's tick: polls the cache while a thumbnail stands in.
constexpr int kViewerTickMs = 20;

QRect ScreenGeometry() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) return screen->geometry();
    return {0, 0, 1024, 768};
}

}  // namespace

CDialogPICVIEW::CDialogPICVIEW(const Services& services, DisplayImagePtr opening,
                               const QImage& backdrop, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint),
      services_(services),
      backdrop_(backdrop),
      closeIcon_(ViewerCloseIcon()) {
    setObjectName(QStringLiteral("PhotoViewer"));
    setWindowTitle(QStringLiteral("显示照片"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setGeometry(ScreenGeometry());
    screen_ = ScreenGeometry().size();
    CreateButtons();

    PhotoList& photos = *services_.photos;
    if (!photos.IsValid(photos.currentIndex)) {
        QTimer::singleShot(0, this, &CDialogPICVIEW::CloseViewer);
        return;
    }
    if (opening) {
        displayed_ = std::move(opening);
        displayedIndex_ = photos.currentIndex;
        ResetView();
    } else {
        ShowPhotoAt(photos.currentIndex);
    }
    if (services_.worker)
        connect(services_.worker->Notices(), &PrefetchNotices::stored, this,
                &CDialogPICVIEW::OnImageStored);
}

CDialogPICVIEW::~CDialogPICVIEW() = default;

CSkinButton* CDialogPICVIEW::Button(int id) const {
    const auto found = buttons_.find(id);
    return found == buttons_.end() ? nullptr : found->second;
}

void CDialogPICVIEW::CreateButtons() {
    for (const ViewerButtonPlace& place : ViewerButtons()) {
        auto* button = new CSkinButton(this);
        const QPixmap normal = ViewerButtonImage(place.id, place.width, false);
        const QPixmap active = ViewerButtonImage(place.id, place.width, true);
        button->SetSkin(normal, active, active, active);
        button->setToolTip(QString::fromUtf8(place.label));
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(place.width, kViewerButtonHeight);
        buttons_[place.id] = button;
    }
    using namespace ViewerButtonId;
    connect(Button(kZoomIn), &QAbstractButton::clicked, this, &CDialogPICVIEW::OnZoomIn);
    connect(Button(kZoomOut), &QAbstractButton::clicked, this, &CDialogPICVIEW::OnZoomOut);
    connect(Button(kNatural), &QAbstractButton::clicked, this, &CDialogPICVIEW::OnNaturalSize);
    connect(Button(kPrevious), &QAbstractButton::clicked, this, &CDialogPICVIEW::OnPrevious);
    connect(Button(kNext), &QAbstractButton::clicked, this, &CDialogPICVIEW::OnNext);
    connect(Button(kTurnLeft), &QAbstractButton::clicked, this, [this] { OnTurn(false); });
    connect(Button(kTurnRight), &QAbstractButton::clicked, this, [this] { OnTurn(true); });
    connect(Button(kDelete), &QAbstractButton::clicked, this, &CDialogPICVIEW::OnDelete);
    // 更多 opens the properties dialog once the shell connects moreRequested.
    connect(Button(kMore), &QAbstractButton::clicked, this, [this] {
        const PhotoList& photos = *services_.photos;
        if (photos.IsValid(photos.currentIndex))
            emit moreRequested(photos.Entry(photos.currentIndex).ref.idPic);
    });
    LayOutButtons();
}

void CDialogPICVIEW::showEvent(QShowEvent* event) {
    // 更多 works once someone opens the properties dialog for it.
    Button(ViewerButtonId::kMore)
        ->setEnabled(isSignalConnected(QMetaMethod::fromSignal(&CDialogPICVIEW::moreRequested)));
    QDialog::showEvent(event);
}

void CDialogPICVIEW::LayOutButtons() {
    const int c = width() / 2;
    for (const ViewerButtonPlace& place : ViewerButtons())
        Button(place.id)->move(c + place.leftOffset, height() - 50);
}

void CDialogPICVIEW::SetButtonsShown(bool shown) {
    buttonsShown_ = shown;
    if (shown) LayOutButtons();
    for (auto& [id, button] : buttons_) button->setVisible(shown);
}

void CDialogPICVIEW::ResetView() {
    const PhotoList& photos = *services_.photos;
    if (displayed_ && displayedIndex_ >= 0) {
        imageSize_ = displayed_->fullSize;
    } else if (photos.IsValid(photos.currentIndex)) {
        // The thumbnail stands in at the size the full image will get.
        const PhotoListEntry& entry = photos.Entry(photos.currentIndex);
        imageSize_ = QSize(entry.width, entry.height);
        if (imageSize_.isEmpty() && displayed_) imageSize_ = displayed_->picture.size();
        const bool turned =
            photos.autoOrient && OrientationFromText(entry.orientation).quarterTurns % 2 != 0;
        if (turned) imageSize_.transpose();
    } else {
        imageSize_ = {};
    }
    zoom_ = FitZoom(imageSize_.width(), imageSize_.height(), screen_.width(), screen_.height(),
                    ViewerZoom::kNatural);
    naturalShown_ = false;
    previousKnown_ = false;
    previous_ = {};
    dragging_ = panning_ = false;
    dragOffset_ = {};
    unsetCursor();
    update();
}

void CDialogPICVIEW::TakeCachedImage(const DisplayImagePtr& image) {
    displayed_ = image;
    displayedIndex_ = services_.photos->currentIndex;
    tick_.stop();
}

void CDialogPICVIEW::ShowPhotoAt(int index) {
    PhotoList& photos = *services_.photos;
    if (!photos.IsValid(index)) return;
    photos.currentIndex = index;
    if (services_.worker) services_.worker->SetCurrent(index);
    if (const DisplayImagePtr cached = services_.cache->Find(index)) {
        TakeCachedImage(cached);
    } else if (index != displayedIndex_) {
        auto standIn = std::make_shared<DisplayImage>();
        if (photos.EnsureThumbnail(index)) {
            standIn->picture = photos.Entry(index).thumbnail;
        } else {
            *standIn = PlaceholderImage(photos.Entry(index).fullPath);
        }
        standIn->fullSize = standIn->picture.size();
        displayed_ = std::move(standIn);
        displayedIndex_ = -1;
    }
    ResetView();
    if (displayedIndex_ == -1) tick_.start(kViewerTickMs, this);
}

void CDialogPICVIEW::PollCache() {
    const int current = services_.photos->currentIndex;
    if (const DisplayImagePtr cached = services_.cache->Find(current)) {
        TakeCachedImage(cached);
        ResetView();
    }
}

void CDialogPICVIEW::OnImageStored(int index) {
    const int current = services_.photos->currentIndex;
    if (index != current) return;
    const DisplayImagePtr cached = services_.cache->Find(current);
    if (!cached || cached == displayed_) return;
    if (displayedIndex_ == -1) {
        TakeCachedImage(cached);
        ResetView();
    } else if (cached->fullSize == displayed_->fullSize) {
        // The full-resolution picture of the photo shown: same geometry.
        displayed_ = cached;
        update();
    }
}

void CDialogPICVIEW::timerEvent(QTimerEvent* event) {
    if (event->timerId() == tick_.timerId()) {
        PollCache();
        return;
    }
    QDialog::timerEvent(event);
}

void CDialogPICVIEW::Flash(const QString& text, const QRect& box, const QColor& colour) {
    // Drawn by one repaint only: the next repaint clears it.
    flashText_ = text;
    flashBox_ = box;
    flashColour_ = colour;
    lastFlash_ = text;
    repaint();
    flashText_.clear();
}

void CDialogPICVIEW::OnPrevious() {
    const PhotoList& photos = *services_.photos;
    if (photos.currentIndex >= 1) {
        ShowPhotoAt(photos.currentIndex - 1);
        return;
    }
    const QPoint c(screen_.width() / 2, screen_.height() / 2);
    Flash(QStringLiteral("第一张"), QRect(c.x() - 45, c.y() - 15, 90, 30), Qt::white);
}

void CDialogPICVIEW::OnNext() {
    const PhotoList& photos = *services_.photos;
    if (photos.currentIndex + 1 < photos.Count()) {
        ShowPhotoAt(photos.currentIndex + 1);
        return;
    }
    const QPoint c(screen_.width() / 2, screen_.height() / 2);
    Flash(QStringLiteral("最后一张"), QRect(c.x() - 60, c.y() - 15, 120, 30), Qt::white);
}

void CDialogPICVIEW::AnimateZoom(bool in, bool aboutCentre) {
    if (in && zoom_ >= ViewerZoom::kMax) return;
    zoomAboutCentre_ = aboutCentre;
    wheelAnimating_ = !aboutCentre;
    const bool hide = in || !aboutCentre;
    if (hide) SetButtonsShown(false);
    for (int step = 0; step < ViewerZoom::kAnimationSteps; ++step) {
        zoom_ = in ? ZoomInStep(zoom_) : ZoomOutStep(zoom_);
        repaint();
    }
    zoomAboutCentre_ = false;
    wheelAnimating_ = false;
    if (hide) SetButtonsShown(true);
    update();
}

void CDialogPICVIEW::OnZoomIn() {
    AnimateZoom(true, true);
}

void CDialogPICVIEW::OnZoomOut() {
    AnimateZoom(false, true);
}

void CDialogPICVIEW::OnNaturalSize() {
    if (naturalShown_) {
        zoom_ = FitZoom(imageSize_.width(), imageSize_.height(), screen_.width(), screen_.height(),
                        zoom_);
        naturalShown_ = false;
    } else {
        zoom_ = ViewerZoom::kNatural;
        naturalShown_ = true;
    }
    previousKnown_ = false;
    update();
}

void CDialogPICVIEW::OnTurn(bool clockwise) {
    if (!displayed_) return;
    auto turned = std::make_shared<const DisplayImage>(Turned(*displayed_, clockwise ? 1 : -1));
    if (displayedIndex_ >= 0) {
        // The turn lasts while the photo stays in the cache.
        ViewerImageCache::CacheGuard guard(*services_.cache);
        services_.cache->ReplaceLocked(displayedIndex_, turned);
    }
    displayed_ = std::move(turned);
    imageSize_.transpose();
    zoom_ =
        FitZoom(imageSize_.width(), imageSize_.height(), screen_.width(), screen_.height(), zoom_);
    previousKnown_ = false;
    update();
}

void CDialogPICVIEW::OnDelete() {
    PhotoList& photos = *services_.photos;
    const int removed = photos.currentIndex;
    if (!photos.IsValid(removed)) return;
    photos.EnsureThumbnail(removed);
    if (!QFile::exists(QString::fromStdString(photos.Entry(removed).fullPath))) return;
    const std::optional<bool> deleteFile =
        services_.confirmDelete ? services_.confirmDelete() : std::optional<bool>(false);
    if (!deleteFile) return;
    photoDeleted_ = true;
    darkThumbnails_.clear();

    if (photos.Count() == 1) {
        const QPoint c(screen_.width() / 2, screen_.height() / 2);
        Flash(QStringLiteral("此文件夹没有照片了"), QRect(c.x() - 150, c.y() - 25, 300, 50),
              QColor(255, 0, 0));
        QEventLoop wait;
        QTimer::singleShot(services_.farewellMs, &wait, &QEventLoop::quit);
        wait.exec(QEventLoop::ExcludeUserInputEvents);
        if (services_.worker) services_.worker->RemoveAt(removed);
        services_.removePhoto(removed, *deleteFile);
        CloseViewer();
        return;
    }
    // Step to the neighbour first, so that the photo shown never goes.
    const bool hasNext = removed + 1 < photos.Count();
    ShowPhotoAt(hasNext ? removed + 1 : removed - 1);
    if (services_.worker) {
        services_.worker->Pause();
        services_.worker->RemoveAt(removed);
    }
    services_.removePhoto(removed, *deleteFile);
    if (hasNext) {
        photos.currentIndex = removed;
        if (displayedIndex_ > removed) --displayedIndex_;
    }
    if (services_.worker) {
        services_.worker->SetCurrent(photos.currentIndex);
        services_.worker->Resume();
    }
    if (displayedIndex_ == -1) tick_.start(kViewerTickMs, this);
    update();
}

void CDialogPICVIEW::Run() {
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    if (!closing_) loop.exec(QEventLoop::DialogExec);
}

void CDialogPICVIEW::CloseViewer() {
    closing_ = true;
    tick_.stop();
    done(QDialog::Accepted);
}

void CDialogPICVIEW::reject() {
    CloseViewer();
}

void CDialogPICVIEW::SwitchToWindowed() {
    if (closing_) return;
    const QRect screen = ScreenGeometry();
    const QRect frame = WindowAroundPicture(previous_, screen.width(), screen.height());
    fullscreen_ = false;
    setWindowFlags(Qt::Window);
    // The frame geometry includes the system frame; the client is inside it.
    setGeometry(QRect(frame.left() + 9, frame.top() + 31, frame.width() - 18, frame.height() - 38));
    screen_ = size();
    previousKnown_ = false;
    SetButtonsShown(false);
    show();
    update();
}

void CDialogPICVIEW::SetFullscreen(bool fullscreen) {
    if (!fullscreen) {
        SwitchToWindowed();
        return;
    }
    fullscreen_ = true;
    const QRect screen = ScreenGeometry();
    screen_ = screen.size();
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setGeometry(screen);
    zoom_ =
        FitZoom(imageSize_.width(), imageSize_.height(), screen_.width(), screen_.height(), zoom_);
    dragging_ = panning_ = false;
    previousKnown_ = false;
    unsetCursor();
    show();
    SetButtonsShown(true);
    update();
}

void CDialogPICVIEW::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // Maximizing the windowed viewer returns it to fullscreen.
    if (event->type() == QEvent::WindowStateChange && !fullscreen_ &&
        (windowState() & Qt::WindowMaximized))
        QTimer::singleShot(0, this, [this] {
            setWindowState(Qt::WindowNoState);
            SetFullscreen(true);
        });
}
