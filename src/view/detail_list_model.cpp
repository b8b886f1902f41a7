#include "view/detail_list_model.h"

#include <QPainter>
#include <QPixmap>
#include <cstdlib>

#include "browsemodel/photo_list.h"

namespace {

// Every row shows the same 16 x 16 photo icon: a framed picture of a hill
// under a sky.
QIcon MakePhotoIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.fillRect(1, 2, 14, 12, QColor(68, 118, 198));
    painter.setBrush(QColor(92, 160, 72));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPoint(9, 14), 8, 6);
    painter.setBrush(QColor(255, 220, 90));
    painter.drawEllipse(QPoint(5, 5), 2, 2);
    painter.setPen(QColor(60, 60, 60));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(1, 2, 13, 11);
    return QIcon(pixmap);
}

}  // namespace

DetailListModel::DetailListModel(const PhotoList& photos, QObject* parent)
    : QAbstractTableModel(parent), photos_(photos), photoIcon_(MakePhotoIcon()) {}

int DetailListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int DetailListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kDetailColumnCount;
}

void DetailListModel::DropFarRows(int row) const {
    for (int i = 0; i < rows_; ++i) {
        auto& held = cells_[static_cast<std::size_t>(i)];
        if (held && std::abs(i - row) > kKeptAround) {
            held.reset();
            --loadedRows_;
        }
    }
}

const DetailListModel::Cells& DetailListModel::RowCells(int row) const {
    auto& held = cells_[static_cast<std::size_t>(row)];
    if (held) return *held;
    if (loadedRows_ >= kMostLoadedRows) DropFarRows(row);
    held = std::make_unique<Cells>();
    ++loadedRows_;
    Cells& cells = *held;
    if (!photos_.IsValid(row)) return cells;
    const std::int64_t idPic = photos_.Entry(row).ref.idPic;
    // A photo that left the catalogue after the list was filled keeps its
    // row with only its id.
    constexpr int kIdColumn = kDetailColumnCount - 1;
    const std::optional<DetailRow> detail =
        ReadDetailRow(photos_.PhotoLibrary(), PhotoRef{idPic, false});
    if (!detail) {
        DetailRow idOnly;
        idOnly.idPic = idPic;
        cells[kIdColumn] = QString::fromStdString(DetailCellText(idOnly, kIdColumn));
        return cells;
    }
    for (int c = 0; c < kDetailColumnCount; ++c)
        cells[static_cast<std::size_t>(c)] = QString::fromStdString(DetailCellText(*detail, c));
    return cells;
}

QVariant DetailListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_) return {};
    if (role == Qt::DecorationRole && index.column() == 0) return photoIcon_;
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    return RowCells(index.row())[static_cast<std::size_t>(index.column())];
}

QVariant DetailListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kDetailColumnCount) return {};
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(kDetailColumns[static_cast<std::size_t>(section)].header);
    if (role == Qt::SizeHintRole)
        return QSize(kDetailColumns[static_cast<std::size_t>(section)].width, 20);
    return {};
}

void DetailListModel::Reload() {
    beginResetModel();
    rows_ = photos_.Count();
    cells_.clear();
    cells_.resize(static_cast<std::size_t>(rows_));
    loadedRows_ = 0;
    endResetModel();
}

void DetailListModel::RefreshRows() {
    for (auto& held : cells_) held.reset();
    loadedRows_ = 0;
    if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, kDetailColumnCount - 1));
}

void DetailListModel::RowRemoved(int row) {
    if (row < 0 || row >= rows_) return;
    beginRemoveRows({}, row, row);
    if (cells_[static_cast<std::size_t>(row)]) --loadedRows_;
    cells_.erase(cells_.begin() + row);
    --rows_;
    endRemoveRows();
}
