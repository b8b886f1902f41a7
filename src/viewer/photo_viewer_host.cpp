#include "viewer/photo_viewer_host.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <chrono>
#include <thread>

#include "browsemodel/photo_browser.h"
#include "catalogue/process_flags.h"
#include "messaging/message_event.h"
#include "messaging/receiver_registry.h"
#include "messaging/ui_messages.h"
#include "viewer/dialog_delete2.h"
#include "viewer/dialog_picview.h"

namespace {

// Opening waits this long for the current photo's full image; after that
// its thumbnail stands in and the full image follows.
constexpr auto kOpeningWait = std::chrono::milliseconds(100);
constexpr auto kOpeningPoll = std::chrono::milliseconds(5);
constexpr int kDesktopDarken = -150;

QSize PrimaryScreenSize() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) return screen->size();
    return {};
}

qreal PrimaryScreenPixelRatio() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) return screen->devicePixelRatio();
    return 1;
}

std::vector<PhotoRef> ListRefs(const PhotoList& photos) {
    std::vector<PhotoRef> refs;
    refs.reserve(static_cast<std::size_t>(photos.Count()));
    for (int i = 0; i < photos.Count(); ++i) refs.push_back(photos.Entry(i).ref);
    return refs;
}

}  // namespace

PhotoViewerHost::PhotoViewerHost(PhotoBrowser& browser, PhotoRemoval removePhoto, QObject* parent)
    : QObject(parent),
      view_(browser),
      removePhoto_(std::move(removePhoto)),
      worker_(cache_, CatalogueSources(browser.PhotoLibrary())) {}

PhotoViewerHost::~PhotoViewerHost() {
    cache_.Clear();
}

void PhotoViewerHost::OnPrefetchRequested() {
    const PhotoList& photos = view_.Photos();
    worker_.SetScreen(PrimaryScreenSize(), PrimaryScreenPixelRatio());
    worker_.SetAutoOrient(photos.autoOrient);
    worker_.Reset(ListRefs(photos), photos.currentIndex);
}

void PhotoViewerHost::OnCacheClearRequested() {
    worker_.SetAutoOrient(view_.Photos().autoOrient);
    worker_.ClearCache();
}

QImage PhotoViewerHost::DarkenedDesktop() {
    const QString platform = QGuiApplication::platformName();
    QImage desktop;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen && platform != QLatin1String("offscreen") &&
        !platform.startsWith(QLatin1String("wayland")))
        desktop = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    if (desktop.isNull()) return {};
    Lighten(desktop, kDesktopDarken);
    return desktop;
}

DisplayImagePtr PhotoViewerHost::WaitForCurrent() {
    const int current = view_.Photos().currentIndex;
    if (worker_.Count() != view_.Photos().Count()) OnPrefetchRequested();
    worker_.SetCurrent(current);
    const auto deadline = std::chrono::steady_clock::now() + kOpeningWait;
    while (true) {
        if (DisplayImagePtr image = cache_.Find(current)) return image;
        if (std::chrono::steady_clock::now() >= deadline) return nullptr;
        std::this_thread::sleep_for(kOpeningPoll);
    }
}

void PhotoViewerHost::Open(ViewerOrigin origin) {
    PhotoList& photos = view_.Photos();
    if (!photos.IsValid(photos.currentIndex) || photos.AllocatedCount() == 0) return;
    const DisplayImagePtr opening = WaitForCurrent();

    CDialogPICVIEW::Services services;
    services.photos = &photos;
    services.cache = &cache_;
    services.worker = &worker_;
    services.removePhoto = [this](int index, bool deleteFile) {
        return removePhoto_.remove(index, deleteFile);
    };
    services.confirmDelete = [this, &photos]() -> std::optional<bool> {
        const PhotoRef shown = photos.Entry(photos.currentIndex).ref;
        CDialogDelete2 dialog(view_.DialogParent(), removePhoto_.withoutTrash({shown}));
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        return dialog.DeleteFiles();
    };
    CDialogPICVIEW viewer(services, opening, DarkenedDesktop(), view_.DialogParent());
    if (onViewerCreated) onViewerCreated(viewer);
    viewer.Run();

    // The viewer moved the current photo: the grid and the status bar follow.
    view_.RedrawSelection();
    if (photos.IsValid(photos.currentIndex))
        view_.PhotoStatusText(photos.Entry(photos.currentIndex).ref);
    if (!viewer.PhotoDeleted()) return;
    if (origin == ViewerOrigin::ShowCommand) {
        view_.RefreshList(true);
    } else {
        // The trees count the photo still; the pane drops and rebuilds them.
        ReceiverRegistry::Post(ReceiverRole::CategoryPane, UiMessage::kDropTrees);
        ReceiverRegistry::Post(ReceiverRole::CategoryPane, UiMessage::kRebuildCurrentTree);
    }
}
