#include "zidevu/map_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <algorithm>
#include <array>

namespace {

const QColor kSea(170, 211, 223);
const QColor kLand(242, 239, 233);
const QColor kLabelHalo(255, 255, 255, 200);

struct BorderStyle {
    double minScale;  // pixels per world unit from which the level is drawn
    QColor color;
};

// Country, province, city, district; the finer the level, the fainter.
const std::array<BorderStyle, 4> kBorderStyles{{
    {0, QColor(100, 100, 100)},
    {0, QColor(150, 100, 165)},
    {14, QColor(165, 155, 155)},
    {55, QColor(195, 190, 190)},
}};

// One pixel wide at every scale: the raster engine draws such lines without
// stroking them into polygons first.
QPen CosmeticPen(const QColor& color) {
    QPen pen(color, 1);
    pen.setCosmetic(true);
    return pen;
}

// A name is shown from this scale on, and when its region is this many pixels wide.
struct LabelRule {
    double minScale;
    double minPixels;
    int pointSize;
};
const std::array<LabelRule, 4> kLabelRules{{
    {1, 45, 9},
    {6, 40, 10},
    {30, 40, 9},
    {110, 36, 8},
}};

constexpr int kMaxLabels = 400;
constexpr double kSmoothBordersFrom = 400;  // pixels per world unit

}  // namespace

ShapeFit FitOf(const MapShape& shape, const WorldBox& visible, double scale, double minPixels) {
    if (std::max(shape.maxX - shape.minX, shape.maxY - shape.minY) * scale < minPixels)
        return ShapeFit::TooSmall;
    if (shape.maxX < visible.minX || shape.minX > visible.maxX || shape.maxY < visible.minY ||
        shape.minY > visible.maxY)
        return ShapeFit::Outside;
    return ShapeFit::Drawn;
}

MapPainter::MapPainter(const MapGeometry& geometry) : geometry_(geometry) {
    names_.reserve(geometry.Labels().size());
    for (const MapLabel& label : geometry.Labels())
        names_.push_back(QString::fromStdString(label.name));
}

void MapPainter::Paint(QPainter& painter, const MapView& view) {
    painter.fillRect(QRectF(0, 0, view.Width(), view.Height()), kSea);
    const int step = MapGeometry::DetailStepFor(view.Scale());
    const WorldBox visible = view.Visible();
    painter.save();
    if (geometry_.IsOpen()) PaintLands(painter, view, step, visible);
    if (underlay_) underlay_(painter, view);
    if (geometry_.IsOpen()) {
        PaintBorders(painter, view, step, visible);
        PaintLabels(painter, view, visible);
    }
    painter.restore();
}

void MapPainter::SetUnderlay(std::function<void(QPainter&, const MapView&)> underlay) {
    underlay_ = std::move(underlay);
}

int MapPainter::Project(const MapShape& shape, int step, const MapView& view) {
    const MapSpan span = shape.spans[step];
    buffer_.resize(static_cast<int>(span.count));
    const WorldPoint* points = geometry_.Points().data() + span.first;
    // MapView::ToScreen, spelled out for the hottest loop of a frame.
    const ScreenPoint origin = view.ToScreen(0, 0);
    const double scale = view.Scale();
    QPointF* out = buffer_.data();
    for (std::uint32_t i = 0; i < span.count; ++i)
        out[i] = QPointF(origin.x + points[i].x * scale, origin.y - points[i].y * scale);
    return static_cast<int>(span.count);
}

void MapPainter::PaintLands(QPainter& painter, const MapView& view, int step,
                            const WorldBox& visible) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    // The outline in the land's colour closes the hairline gaps between
    // neighbouring polygons simplified apart.
    painter.setPen(CosmeticPen(kLand));
    painter.setBrush(kLand);
    for (const MapShape& shape : geometry_.Lands()) {
        const ShapeFit fit = FitOf(shape, visible, view.Scale(), 1.0);
        if (fit == ShapeFit::TooSmall) break;  // and so are all after it
        if (fit == ShapeFit::Outside) continue;
        const int count = Project(shape, step, view);
        if (count >= 3) painter.drawPolygon(buffer_.constData(), count);
    }
}

void MapPainter::PaintBorders(QPainter& painter, const MapView& view, int step,
                              const WorldBox& visible) {
    // Smoothing costs more than it shows where borders are dense; it is kept
    // for the few, long lines of the district scale.
    painter.setRenderHint(QPainter::Antialiasing, view.Scale() >= kSmoothBordersFrom);
    painter.setBrush(Qt::NoBrush);
    // The finest levels first, so that a coarser border lies on top of them.
    for (int level = 3; level >= 0; --level) {
        const BorderStyle& style = kBorderStyles[level];
        if (view.Scale() < style.minScale) continue;
        painter.setPen(CosmeticPen(style.color));
        for (const MapShape& shape : geometry_.Borders(static_cast<BorderLevel>(level))) {
            const ShapeFit fit = FitOf(shape, visible, view.Scale(), 1.0);
            if (fit == ShapeFit::TooSmall) break;  // and so are all after it
            if (fit == ShapeFit::Outside) continue;
            const int count = Project(shape, step, view);
            if (count >= 2) painter.drawPolyline(buffer_.constData(), count);
        }
    }
}

void MapPainter::PaintLabels(QPainter& painter, const MapView& view, const WorldBox& visible) {
    std::vector<QRectF> taken;
    QFont font = painter.font();
    const auto& labels = geometry_.Labels();
    // Coarser names first: they win a place over the finer ones.
    for (int level = 0; level < 4 && static_cast<int>(taken.size()) < kMaxLabels; ++level) {
        const LabelRule& rule = kLabelRules[level];
        if (view.Scale() < rule.minScale) continue;
        font.setPointSize(rule.pointSize);
        font.setBold(level <= 1);
        painter.setFont(font);
        const QFontMetrics metrics(font);
        for (std::size_t i = 0; i < labels.size(); ++i) {
            const MapLabel& label = labels[i];
            if (static_cast<int>(label.level) != level) continue;
            if (label.extent * view.Scale() < rule.minPixels) continue;
            if (label.at.x < visible.minX || label.at.x > visible.maxX ||
                label.at.y < visible.minY || label.at.y > visible.maxY)
                continue;
            const ScreenPoint p = view.ToScreen(label.at);
            QRectF box = metrics.boundingRect(names_[i]);
            box.moveCenter(QPointF(p.x, p.y));
            if (std::any_of(taken.begin(), taken.end(),
                            [&](const QRectF& other) { return other.intersects(box); }))
                continue;
            taken.push_back(box.adjusted(-3, -2, 3, 2));
            painter.setPen(kLabelHalo);
            painter.drawText(box.translated(1, 1), Qt::AlignCenter, names_[i]);
            painter.setPen(level == 0 ? QColor(70, 70, 70) : QColor(90, 60, 100));
            painter.drawText(box, Qt::AlignCenter, names_[i]);
            if (static_cast<int>(taken.size()) >= kMaxLabels) break;
        }
    }
}
