#include "zidevu/map_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "zidevu/map_painter.h"
#include "zidevu/tile_layer.h"

namespace {

constexpr double kClusterCellPixels = 36;
constexpr double kMarkerHitPixels = 12;
constexpr int kFitMarginPixels = 40;
constexpr double kScaleForOnePhoto = 2000;  // about a town
constexpr double kZoomStep = 2.0;
constexpr int kDragThreshold = 4;
constexpr int kHoverNamesShown = 5;
constexpr int kBaseMargin = 160;
constexpr std::size_t kClusterLevelsKept =
    8;  // pixels of base map kept beyond each side of the view

const QColor kMarker(40, 110, 220);
const QColor kMarkerSelected(245, 140, 20);
const QColor kTrack(220, 40, 120, 210);

int ClusterRadius(std::size_t count) {
    return count == 1 ? 6 : 9 + static_cast<int>(std::min(10.0, 2.5 * std::log10(count)));
}

}  // namespace

MapWidget::MapWidget(QString notice, QWidget* parent)
    : QWidget(parent),
      geometry_(std::make_shared<MapGeometry>()),
      notice_(std::move(notice)),
      painter_(std::make_unique<MapPainter>(*geometry_)) {
    setObjectName(QStringLiteral("map"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 150);
    setAttribute(Qt::WA_OpaquePaintEvent);
    view_.Resize(width(), height());
    FitAll();
}

MapWidget::~MapWidget() = default;

void MapWidget::SetPhotos(std::vector<MapPhotoRecord> photos) {
    photos_.clear();
    markers_.clear();
    for (const MapPhotoRecord& photo : photos) {
        if (!std::isfinite(photo.latitude) || !std::isfinite(photo.longitude) ||
            std::fabs(photo.latitude) > 90 || std::fabs(photo.longitude) > 180)
            continue;  // not a position: nowhere to show it
        photos_.push_back(photo);
        markers_.push_back(ToWorld(photo.latitude, photo.longitude));
    }
    selected_.assign(photos_.size(), 0);
    levels_.clear();
    layersStale_ = true;
    FitAll();
    emit selectionChanged(0);
}

std::vector<MapPhotoRecord> MapWidget::SelectedPhotos() const {
    std::vector<MapPhotoRecord> chosen;
    for (std::size_t i = 0; i < photos_.size(); ++i) {
        if (!selected_[i]) continue;
        MapPhotoRecord record = photos_[i];
        record.kind = kMapPhotoSelectionKind;
        record.dwDateTime = 0;
        chosen.push_back(record);
    }
    return chosen;
}

void MapWidget::SetNameLookup(std::function<std::optional<QString>(std::int64_t)> lookup) {
    nameOf_ = std::move(lookup);
}

void MapWidget::SetGeometry(std::shared_ptr<const MapGeometry> geometry, QString notice) {
    geometry_ = geometry ? std::move(geometry) : std::make_shared<MapGeometry>();
    notice_ = std::move(notice);
    painter_ = std::make_unique<MapPainter>(*geometry_);
    SetTileLayer(tiles_);  // onto the new painter
    if (markers_.empty()) FitAll();
    layersStale_ = true;
    update();
}

void MapWidget::SetTileLayer(TileLayer* tiles) {
    if (tiles_) disconnect(tiles_, nullptr, this, nullptr);
    tiles_ = tiles;
    if (tiles_) {
        painter_->SetUnderlay(
            [tiles](QPainter& painter, const MapView& view) { tiles->Paint(painter, view); });
        connect(tiles_, &TileLayer::tileArrived, this, [this] {
            layersStale_ = true;
            update();
        });
        connect(tiles_, &QObject::destroyed, this, [this] { SetTileLayer(nullptr); });
    } else {
        painter_->SetUnderlay({});
    }
    layersStale_ = true;
    update();
}

void MapWidget::SetTracks(std::vector<std::vector<GeoPosition>> tracks) {
    tracks_.clear();
    for (const auto& track : tracks) {
        std::vector<WorldPoint> line;
        line.reserve(track.size());
        for (const GeoPosition& p : track) line.push_back(ToWorld(p.latitude, p.longitude));
        tracks_.push_back(std::move(line));
    }
    layersStale_ = true;
    update();
}

void MapWidget::StartPicking() {
    picking_ = true;
    setCursor(Qt::CrossCursor);
    setFocus();
    update();
}

void MapWidget::StopPicking() {
    picking_ = false;
    unsetCursor();
    update();
}

void MapWidget::AbandonPicking() {
    if (!picking_) return;
    StopPicking();
    emit pickAbandoned();
}

void MapWidget::ShowPickedPoint(GeoPosition position, QString text) {
    picked_ = ToWorld(position.latitude, position.longitude);
    pickedText_ = std::move(text);
    update();
}

void MapWidget::ZoomIn() {
    ZoomBy(kZoomStep, QPointF(width() / 2.0, height() / 2.0));
}

void MapWidget::ZoomOut() {
    ZoomBy(1 / kZoomStep, QPointF(width() / 2.0, height() / 2.0));
}

void MapWidget::FitAll() {
    WorldBox box = WorldBox::None();
    for (WorldPoint p : markers_) box.Include(p.x, p.y);
    if (box.Empty()) box = geometry_->Bounds();
    if (box.Empty()) box = {-180, -70, 180, 85};
    view_.Fit(box, kFitMarginPixels, kScaleForOnePhoto);
    showingFit_ = true;
    update();
}

void MapWidget::SetView(const MapView& view) {
    view_ = view;
    showingFit_ = false;
    view_.Resize(width(), height());
    update();
}

void MapWidget::ZoomBy(double factor, QPointF at) {
    view_.ZoomAt(factor, at.x(), at.y());
    showingFit_ = false;
    update();
}

// Clusters are made for scales a quarter octave apart, so that a zoom step
// within one reuses them; the last few levels are kept.
MapWidget::ClusterLevel& MapWidget::Level() {
    const int level = static_cast<int>(std::floor(std::log2(view_.Scale()) * 4));
    auto found = levels_.find(level);
    if (found == levels_.end()) {
        if (levels_.size() >= kClusterLevelsKept) levels_.clear();
        found = levels_.emplace(level, ClusterLevel{}).first;
        found->second.clusters =
            ClusterMarkers(markers_, std::exp2(level / 4.0), kClusterCellPixels);
    }
    ClusterLevel& current = found->second;
    if (!current.chosenCounted) {
        current.chosen.assign(current.clusters.size(), 0);
        for (std::size_t c = 0; c < current.clusters.size(); ++c)
            for (std::uint32_t m : current.clusters[c].members)
                current.chosen[c] += selected_[m] != 0;
        current.chosenCounted = true;
    }
    return current;
}

const std::vector<MarkerCluster>& MapWidget::Clusters() {
    return Level().clusters;
}

void MapWidget::SelectionEdited() {
    for (auto& [level, clusters] : levels_) clusters.chosenCounted = false;
    layersStale_ = true;
    emit selectionChanged(static_cast<int>(std::count(selected_.begin(), selected_.end(), 1)));
}

// The base map is drawn into an image larger than the widget and then only
// copied while the view pans within it; a new scale, a new size or a pan
// beyond its margin draws it again.
void MapWidget::PaintBaseMap(QPainter& painter) {
    const QSize wanted(width() + 2 * kBaseMargin, height() + 2 * kBaseMargin);
    double x = 0, y = 0;
    auto offset = [&] {
        const ScreenPoint p = baseView_.ToScreen(view_.CenterX(), view_.CenterY());
        x = p.x - width() / 2.0;
        y = p.y - height() / 2.0;
    };
    offset();
    const bool stale = layersStale_ || base_.size() != wanted ||
                       baseView_.Scale() != view_.Scale() || x < 0 || y < 0 ||
                       x > 2 * kBaseMargin || y > 2 * kBaseMargin;
    if (stale) {
        if (base_.size() != wanted) base_ = QImage(wanted, QImage::Format_RGB32);
        baseView_ = MapView(view_.CenterX(), view_.CenterY(), view_.Scale(), wanted.width(),
                            wanted.height());
        QPainter basePainter(&base_);
        painter_->Paint(basePainter, baseView_);
        basePainter.setRenderHint(QPainter::Antialiasing, true);
        PaintTracks(basePainter, baseView_);
        PaintMarkers(basePainter, baseView_);
        layersStale_ = false;
        offset();
    }
    painter.drawImage(QPointF(-std::round(x), -std::round(y)), base_);
}

void MapWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintBaseMap(painter);
    painter.setRenderHint(QPainter::Antialiasing, true);
    PaintPickedPoint(painter);
    PaintOverlay(painter);
}

void MapWidget::PaintTracks(QPainter& painter, const MapView& view) {
    painter.setPen(QPen(kTrack, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    QVector<QPointF> line;
    for (const auto& track : tracks_) {
        line.resize(static_cast<int>(track.size()));
        for (std::size_t i = 0; i < track.size(); ++i) {
            const ScreenPoint p = view.ToScreen(track[i]);
            line[static_cast<int>(i)] = QPointF(p.x, p.y);
        }
        painter.drawPolyline(line.constData(), line.size());
    }
}

void MapWidget::PaintMarkers(QPainter& painter, const MapView& view) {
    QFont font = painter.font();
    font.setPointSize(8);
    font.setBold(true);
    painter.setFont(font);
    // Culled in world units first: most clusters lie far outside the view.
    WorldBox near = view.Visible();
    const double slack = 30 / view.Scale();
    near = {near.minX - slack, near.minY - slack, near.maxX + slack, near.maxY + slack};
    const ClusterLevel& level = Level();
    for (std::size_t c = 0; c < level.clusters.size(); ++c) {
        const MarkerCluster& cluster = level.clusters[c];
        if (cluster.at.x < near.minX || cluster.at.x > near.maxX || cluster.at.y < near.minY ||
            cluster.at.y > near.maxY)
            continue;
        const ScreenPoint p = view.ToScreen(cluster.at);
        const QPointF centre(p.x, p.y);
        const std::size_t chosen = level.chosen[c];
        const int radius = ClusterRadius(cluster.members.size());
        painter.setPen(
            QPen(chosen > 0 ? kMarkerSelected.darker(130) : Qt::white, chosen > 0 ? 3 : 1.5));
        painter.setBrush(chosen == cluster.members.size() ? kMarkerSelected : kMarker);
        painter.drawEllipse(centre, radius, radius);
        if (cluster.members.size() > 1) {
            painter.setPen(Qt::white);
            painter.drawText(
                QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius),
                Qt::AlignCenter, QString::number(cluster.members.size()));
        }
    }
}

void MapWidget::PaintPickedPoint(QPainter& painter) {
    if (!picked_) return;
    const ScreenPoint p = view_.ToScreen(*picked_);
    const QPointF tip(p.x, p.y);
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(QColor(210, 30, 30));
    QPainterPath pin;
    pin.moveTo(tip);
    pin.lineTo(tip + QPointF(-6, -14));
    pin.arcTo(QRectF(tip.x() - 7, tip.y() - 26, 14, 14), 200, -220);
    pin.closeSubpath();
    painter.drawPath(pin);
    if (pickedText_.isEmpty()) return;
    const QFontMetrics metrics(painter.font());
    QRectF box = metrics.boundingRect(pickedText_).adjusted(-5, -3, 5, 3);
    box.moveBottomLeft(tip + QPointF(8, -28));  // above the pin's head
    // Kept inside the map, over the pin if it must.
    if (box.right() > width() - 2) box.moveRight(std::max(width() - 2.0, box.width() + 2));
    if (box.left() < 2) box.moveLeft(2);
    painter.setPen(QColor(120, 120, 120));
    painter.setBrush(QColor(255, 255, 255, 230));
    painter.drawRoundedRect(box, 3, 3);
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignCenter, pickedText_);
}

void MapWidget::PaintOverlay(QPainter& painter) {
    QFont font = this->font();
    font.setPointSize(9);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    if (!geometry_->IsOpen()) {
        painter.setPen(QColor(60, 60, 60));
        painter.drawText(rect().adjusted(20, 20, -20, -20), Qt::AlignCenter | Qt::TextWordWrap,
                         notice_);
    }
    if (drag_ == Drag::Band) {
        painter.setPen(QPen(QColor(40, 110, 220), 1, Qt::DashLine));
        painter.setBrush(QColor(40, 110, 220, 40));
        painter.drawRect(QRect(pressAt_, lastAt_).normalized());
    }
    if (picking_) {
        const QString text = QStringLiteral("请在地图上单击要选取的位置（Esc 放弃）");
        QRectF box = metrics.boundingRect(text).adjusted(-10, -5, 10, 5);
        box.moveTopLeft(QPointF((width() - box.width()) / 2, 10));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(40, 40, 40, 200));
        painter.drawRoundedRect(box, 4, 4);
        painter.setPen(Qt::white);
        painter.drawText(box, Qt::AlignCenter, text);
    }
    // Scale bar, bottom left.
    const double metres = ScaleBarMetres(view_.MetresPerPixel(), 120);
    if (metres > 0) {
        const double pixels = metres / view_.MetresPerPixel();
        const QString label = metres >= 1000 ? QStringLiteral("%1 km").arg(metres / 1000)
                                             : QStringLiteral("%1 m").arg(metres);
        const QPointF origin(12, height() - 14);
        painter.setPen(QPen(Qt::black, 2));
        painter.drawLine(origin, origin + QPointF(pixels, 0));
        painter.drawLine(origin, origin + QPointF(0, -6));
        painter.drawLine(origin + QPointF(pixels, 0), origin + QPointF(pixels, -6));
        painter.drawText(origin + QPointF(4, -6), label);
    }
    // The outlines are a database derived from OpenStreetMap.
    QString attribution = QStringLiteral("© OpenStreetMap contributors");
    if (tiles_ && tiles_->Attribution() != attribution)
        attribution += QStringLiteral(" · 瓦片：") + tiles_->Attribution();
    QRectF box = metrics.boundingRect(attribution).adjusted(-4, -2, 4, 2);
    box.moveBottomRight(QPointF(width() - 2, height() - 2));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 190));
    painter.drawRect(box);
    painter.setPen(QColor(50, 50, 50));
    painter.drawText(box, Qt::AlignCenter, attribution);
}

void MapWidget::resizeEvent(QResizeEvent*) {
    view_.Resize(width(), height());
    if (showingFit_) FitAll();
}

void MapWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressAt_ = lastAt_ = event->position().toPoint();
    moved_ = false;
    if (picking_) return;  // answered on release, so that a drag can still pan
    const auto modifiers = event->modifiers();
    drag_ = modifiers & (Qt::ShiftModifier | Qt::ControlModifier) ? Drag::Band : Drag::Pan;
    bandAdds_ = (modifiers & Qt::ControlModifier) != 0;
}

void MapWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    double latitude = 0, longitude = 0;
    view_.ToPosition(at.x(), at.y(), latitude, longitude);
    emit pointerMoved(latitude, longitude);
    if (!(event->buttons() & Qt::LeftButton)) {
        ShowHoverText(at, event->globalPosition().toPoint());
        return;
    }
    if ((at - pressAt_).manhattanLength() >= kDragThreshold) moved_ = true;
    if (picking_ && moved_ && drag_ == Drag::None) drag_ = Drag::Pan;
    if (drag_ == Drag::Pan) {
        view_.PanBy(at.x() - lastAt_.x(), at.y() - lastAt_.y());
        showingFit_ = false;
        update();
    } else if (drag_ == Drag::Band) {
        update();
    }
    lastAt_ = at;
}

void MapWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = event->position().toPoint();
    const Drag drag = drag_;
    drag_ = Drag::None;
    if (picking_ && !moved_) {
        double latitude = 0, longitude = 0;
        view_.ToPosition(at.x(), at.y(), latitude, longitude);
        StopPicking();
        emit positionPicked(latitude, longitude);
        return;
    }
    if (drag == Drag::Band && moved_) {
        SelectRectangle(QRect(pressAt_, at).normalized(), bandAdds_);
    } else if (!moved_) {
        ClickAt(at, (event->modifiers() & Qt::ControlModifier) != 0);
    }
    update();
}

void MapWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (picking_ || event->button() != Qt::LeftButton) return;
    ZoomBy(kZoomStep, event->position());
}

void MapWidget::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    if (steps != 0) ZoomBy(std::pow(kZoomStep, steps / 2), event->position());
    event->accept();
}

void MapWidget::keyPressEvent(QKeyEvent* event) {
    const double panX = width() / 8.0, panY = height() / 8.0;
    switch (event->key()) {
        case Qt::Key_Left:
            view_.PanBy(panX, 0);
            break;
        case Qt::Key_Right:
            view_.PanBy(-panX, 0);
            break;
        case Qt::Key_Up:
            view_.PanBy(0, panY);
            break;
        case Qt::Key_Down:
            view_.PanBy(0, -panY);
            break;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            ZoomIn();
            return;
        case Qt::Key_Minus:
            ZoomOut();
            return;
        case Qt::Key_Escape:
            AbandonPicking();
            return;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    showingFit_ = false;  // one of the arrow keys panned
    update();
}

void MapWidget::ClickAt(QPoint at, bool toggle) {
    const auto& clusters = Clusters();
    const int hit = ClusterAt(clusters, view_, at.x(), at.y(), kMarkerHitPixels);
    if (!toggle) std::fill(selected_.begin(), selected_.end(), 0);
    if (hit >= 0) {
        const auto& members = clusters[static_cast<std::size_t>(hit)].members;
        // Ctrl+click on a cluster that is wholly chosen takes it out again.
        const bool all = std::all_of(members.begin(), members.end(),
                                     [&](std::uint32_t m) { return selected_[m] != 0; });
        for (std::uint32_t m : members) selected_[m] = toggle && all ? 0 : 1;
    }
    SelectionEdited();
}

void MapWidget::SelectRectangle(QRect rectangle, bool add) {
    if (!add) std::fill(selected_.begin(), selected_.end(), 0);
    for (std::uint32_t m : MarkersInRectangle(markers_, view_, rectangle.left(), rectangle.top(),
                                              rectangle.right(), rectangle.bottom()))
        selected_[m] = 1;
    SelectionEdited();
}

QString MapWidget::HoverText(QPoint at) {
    const auto& clusters = Clusters();
    const int hit = ClusterAt(clusters, view_, at.x(), at.y(), kMarkerHitPixels);
    if (hit < 0) return {};
    const auto& members = clusters[static_cast<std::size_t>(hit)].members;
    QStringList lines;
    if (members.size() > 1) lines << QStringLiteral("%1张照片").arg(members.size());
    for (std::size_t k = 0; k < members.size() && k < kHoverNamesShown; ++k) {
        const std::int64_t id = photos_[members[k]].idPic;
        const std::optional<QString> name = nameOf_ ? nameOf_(id) : std::nullopt;
        lines << (name ? *name : QStringLiteral("照片 %1").arg(id));
    }
    if (members.size() > kHoverNamesShown) lines << QStringLiteral("……");
    return lines.join(QLatin1Char('\n'));
}

void MapWidget::ShowHoverText(QPoint at, QPoint global) {
    const QString text = HoverText(at);
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(global, text, this);
}
