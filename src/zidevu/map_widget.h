#pragma once
// The map of the companion's window: the base map of the region data, the
// album's photos as markers (clustered with a count where they overlap),
// their selection, recorded tracks as lines, and a picking state in which a
// click gives a position.
//
// Mouse: drag to pan, wheel to zoom, click a marker to select it, Ctrl+click
// to add or remove it, Shift+drag (or Ctrl+drag, adding) for a rubber band.
// Keys: arrows pan, + and - zoom, Esc ends picking. UI thread only.

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "companion/map_geometry.h"
#include "companion/marker_clusters.h"
#include "maplink/map_records.h"

class MapPainter;
class TileLayer;

struct GeoPosition {
    double latitude = 0;
    double longitude = 0;
};

class MapWidget : public QWidget {
    Q_OBJECT

  public:
    // Without geometry (or with a closed one) the map says notice in its middle.
    explicit MapWidget(QString notice, QWidget* parent = nullptr);
    // The outlines to draw from now on; notice says why when they are not open.
    void SetGeometry(std::shared_ptr<const MapGeometry> geometry, QString notice);
    ~MapWidget() override;

    // Replaces the markers, clears the selection and fits the view to them.
    void SetPhotos(std::vector<MapPhotoRecord> photos);
    const std::vector<MapPhotoRecord>& Photos() const { return photos_; }
    // The selected photos in the order received, as the album expects them back (kind 2).
    std::vector<MapPhotoRecord> SelectedPhotos() const;
    // The photo's name for the hover text; unknown names show the id.
    void SetNameLookup(std::function<std::optional<QString>(std::int64_t)> lookup);
    // What hovering at this pixel shows: the names (or ids) of the marker's
    // photos; empty away from the markers.
    QString HoverText(QPoint at);

    // Raster tiles under the borders (not owned); nullptr: the vector map alone.
    void SetTileLayer(TileLayer* tiles);

    // Recorded tracks, each a line through its positions, drawn above the base map.
    void SetTracks(std::vector<std::vector<GeoPosition>> tracks);

    void StartPicking();
    void StopPicking();
    // Esc: ends picking without a position (pickAbandoned).
    void AbandonPicking();
    bool IsPicking() const { return picking_; }
    // A pin at the position with a line of text beside it.
    void ShowPickedPoint(GeoPosition position, QString text);

    void ZoomIn();
    void ZoomOut();
    // The photos when there are any, else all the outlines.
    void FitAll();

    // Why the map cannot be drawn (shown in its middle); empty when it can.
    QString Notice() const { return geometry_->IsOpen() ? QString() : notice_; }

    const MapView& View() const { return view_; }
    void SetView(const MapView& view);

  signals:
    void pointerMoved(double latitude, double longitude);
    void selectionChanged(int selected);
    // A click in the picking state; picking has ended.
    void positionPicked(double latitude, double longitude);
    // Esc in the picking state; picking has ended.
    void pickAbandoned();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    struct ClusterLevel {
        std::vector<MarkerCluster> clusters;
        std::vector<std::uint32_t> chosen;  // per cluster, its chosen markers
        bool chosenCounted = false;
    };
    ClusterLevel& Level();
    const std::vector<MarkerCluster>& Clusters();
    void SelectionEdited();
    void PaintBaseMap(QPainter& painter);
    void PaintMarkers(QPainter& painter, const MapView& view);
    void PaintTracks(QPainter& painter, const MapView& view);
    void PaintPickedPoint(QPainter& painter);
    void PaintOverlay(QPainter& painter);
    void ClickAt(QPoint at, bool toggle);
    void SelectRectangle(QRect rectangle, bool add);
    void ShowHoverText(QPoint at, QPoint global);
    void ZoomBy(double factor, QPointF at);

    std::shared_ptr<const MapGeometry> geometry_;
    QString notice_;
    std::unique_ptr<MapPainter> painter_;
    MapView view_;
    // The view is the last fit and nobody moved it: a resize fits again, so
    // that the first layout of the window shows the whole picture.
    bool showingFit_ = true;
    QImage base_;              // base map, tracks and markers around the view
    MapView baseView_;         // what base_ shows
    bool layersStale_ = true;  // photos, selection or tracks changed since base_ was drawn

    std::vector<MapPhotoRecord> photos_;
    std::vector<WorldPoint> markers_;
    std::vector<char> selected_;
    std::map<int, ClusterLevel> levels_;  // by quarter octave of the scale
    std::function<std::optional<QString>(std::int64_t)> nameOf_;

    std::vector<std::vector<WorldPoint>> tracks_;
    TileLayer* tiles_ = nullptr;

    bool picking_ = false;
    std::optional<WorldPoint> picked_;
    QString pickedText_;

    enum class Drag { None, Pan, Band } drag_ = Drag::None;
    QPoint pressAt_, lastAt_;
    bool moved_ = false;
    bool bandAdds_ = false;
};
