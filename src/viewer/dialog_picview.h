#pragma once
// CDialogPICVIEW: the full-screen viewer of one photo of the main view's
// list at a time, over a darkened picture of the desktop: a button bar, a
// thumbnail strip, zoom, pan, quarter turns for display, navigation,
// deletion and the link to the properties dialog (moreRequested).
//
// UI thread only. The picture shown is a cached DisplayImage when its
// full image is ready, otherwise the photo's thumbnail scaled to the size
// the full image will get; a 20 ms tick timer and the worker's stored
// notification swap the full image in.

#include <QBasicTimer>
#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>

#include "viewer/display_image.h"

class CSkinButton;
class PhotoList;
class PrefetchWorker;
class ViewerImageCache;

class CDialogPICVIEW : public QDialog {
    Q_OBJECT

  public:
    struct Services {
        PhotoList* photos = nullptr;
        ViewerImageCache* cache = nullptr;
        PrefetchWorker* worker = nullptr;  // may be null (no prefetch)
        // The main view's single-photo removal; false when nothing was removed.
        std::function<bool(int index, bool deleteFile)> removePhoto;
        // Asks 删除's question (CDialogDelete2): nullopt for 取消, else
        // whether the file is deleted from disk too.
        std::function<std::optional<bool>()> confirmDelete;
        // How long the last photo's farewell stays up before the viewer closes.
        int farewellMs = 2000;
    };

    // opening: the image to show first (the current photo's cached image or
    // null for its thumbnail); backdrop: the darkened desktop picture.
    CDialogPICVIEW(const Services& services, DisplayImagePtr opening, const QImage& backdrop,
                   QWidget* parent = nullptr);
    ~CDialogPICVIEW() override;

    // Shows the viewer application-modal and returns when it closes. Unlike
    // exec() it survives the window being re-created when it switches
    // between fullscreen and windowed mode.
    void Run();

    // Navigation through the list (buttons, keys, wheel and strip).
    void ShowPhotoAt(int index);
    void OnZoomIn();
    void OnZoomOut();
    void OnNaturalSize();
    void OnPrevious();
    void OnNext();
    void OnTurn(bool clockwise);
    void OnDelete();
    void SetFullscreen(bool fullscreen);

    // State, for the shell and for tests.
    int Zoom() const { return zoom_; }
    QSize ImageSize() const { return imageSize_; }
    bool ShowsFullImage() const { return displayedIndex_ >= 0; }
    bool Fullscreen() const { return fullscreen_; }
    bool PhotoDeleted() const { return photoDeleted_; }
    const DisplayImagePtr& Displayed() const { return displayed_; }
    CSkinButton* Button(int id) const;
    // The text flashed by the last paint ("第一张", "最后一张", ...), for tests.
    QString LastFlash() const { return lastFlash_; }

  signals:
    // 更多: the properties dialog for this photo (connected by the shell).
    void moreRequested(std::int64_t photoId);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void reject() override;

  private:
    void CreateButtons();
    void LayOutButtons();
    void SetButtonsShown(bool shown);
    // Resets zoom, position and drag state for the displayed picture.
    void ResetView();
    void TakeCachedImage(const DisplayImagePtr& image);
    void OnImageStored(int index);
    void PollCache();
    void Flash(const QString& text, const QRect& box, const QColor& colour);
    void AnimateZoom(bool in, bool aboutCentre);
    void SwitchToWindowed();
    void CloseViewer();
    void RequestFullResolutionIfNeeded(int shownWidth);
    QImage StripThumbnail(int index, bool darkened);

    // Where the picture goes in this paint (consumes the drag offset).
    QRect PlacePicture();
    void PaintPicture(QPainter& painter, const QRect& target);
    void PaintStrip(QPainter& painter);

    Services services_;
    QImage backdrop_;
    QPixmap closeIcon_;
    std::map<int, CSkinButton*> buttons_;
    QBasicTimer tick_;  // polls the cache while a thumbnail stands in

    DisplayImagePtr displayed_;
    int displayedIndex_ = -1;
    QSize imageSize_;
    QSize screen_;  // the screen in fullscreen mode, the window in windowed mode
    int zoom_ = 1000;
    QRect previous_;  // the picture's rectangle as last drawn
    bool previousKnown_ = false;
    QPoint pointer_;
    QPoint dragLast_;
    QPoint dragOffset_;
    bool fullscreen_ = true;
    bool dragging_ = false;
    bool panning_ = false;
    bool zoomAboutCentre_ = false;
    bool wheelAnimating_ = false;
    bool naturalShown_ = false;
    bool buttonsShown_ = true;
    bool stripHighlighted_ = false;
    bool closing_ = false;
    bool photoDeleted_ = false;
    QString flashText_;
    QRect flashBox_;
    QColor flashColour_;
    QString lastFlash_;
    int wheelRemainder_ = 0;                // wheel delta short of a whole notch
    std::map<int, QImage> darkThumbnails_;  // strip cells darkened once per photo
};
