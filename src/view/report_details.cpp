#include "view/report_details.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>
#include <unordered_set>

#include "messaging/command_ids.h"
#include "view/detail_list_model.h"
#include "view/verero_view.h"

namespace {

constexpr int kRowHeight = 20;
constexpr int kCellPadding = 12;  // the style's margins on both sides of a cell's text

}  // namespace

CDialog_ReportDetails::CDialog_ReportDetails(CVereroView& view, QWidget* parent)
    : QWidget(parent), view_(view), model_(new DetailListModel(view.Photos(), this)) {
    table_ = new QTableView(this);
    table_->setModel(model_);
    table_->setShowGrid(true);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->setIconSize(QSize(16, 16));
    table_->setContextMenuPolicy(Qt::DefaultContextMenu);
    // Fixed row heights and column widths: the table never measures rows,
    // which keeps opening a long list independent of its length.
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionsMovable(true);
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The stated widths, widened where the font would cut a number or date.
    const QFontMetrics metrics(table_->font());
    for (int c = 0; c < kDetailColumnCount; ++c) {
        const DetailColumn& column = kDetailColumns[static_cast<std::size_t>(c)];
        int width = column.width;
        if (column.widest != nullptr)
            width = std::max(
                width, metrics.horizontalAdvance(QString::fromUtf8(column.widest)) + kCellPadding);
        table_->setColumnWidth(c, width);
    }
    table_->installEventFilter(this);
    table_->viewport()->installEventFilter(this);

    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) MakeCurrent(current.row());
            });
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CDialog_ReportDetails::CollectSelection);
    connect(table_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        MakeCurrent(index.row());
        if (view_.Photos().IsValid(index.row())) emit view_.openPhotoRequested(index.row());
    });
}

void CDialog_ReportDetails::Refill() {
    model_->Reload();
    selectedRow_ = -1;
    const int current = view_.Photos().currentIndex;
    if (!view_.Photos().IsValid(current)) return;
    const QModelIndex index = model_->index(current, 0);
    table_->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    table_->scrollTo(index, QAbstractItemView::PositionAtTop);
}

void CDialog_ReportDetails::RefreshRows() {
    model_->RefreshRows();
}

void CDialog_ReportDetails::DeleteRow(int row) {
    model_->RowRemoved(row);
    if (selectedRow_ >= model_->rowCount()) selectedRow_ = model_->rowCount() - 1;
}

void CDialog_ReportDetails::MakeCurrent(int row) {
    if (!view_.Photos().IsValid(row)) return;
    selectedRow_ = row;
    view_.Photos().currentIndex = row;
    view_.PhotoStatusText(view_.Photos().Entry(row).ref);
}

void CDialog_ReportDetails::CollectSelection() {
    // Several rows: their photos in row order, each once. One row is the
    // current photo alone, not a selection.
    GridSelection& selection = view_.Selection();
    selection.Clear();
    QModelIndexList rows = table_->selectionModel()->selectedRows();
    if (rows.size() < 2) return;
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::unordered_set<std::int64_t> listed;
    for (const QModelIndex& index : rows) {
        if (!view_.Photos().IsValid(index.row())) continue;
        const PhotoRef ref = view_.Photos().Entry(index.row()).ref;
        if (listed.insert(ref.idPic).second) selection.list.Append(ref);
    }
    selection.multiSelectActive = true;
}

bool CDialog_ReportDetails::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_->viewport() && event->type() == QEvent::ContextMenu) {
        auto* menu = static_cast<QContextMenuEvent*>(event);
        const QModelIndex index = table_->indexAt(menu->pos());
        if (index.isValid()) MakeCurrent(index.row());
        if (view_.HasPhotos()) emit view_.contextMenuRequested(menu->globalPos());
        return true;
    }
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        // Copy and cut act on the photos, as in the grid, not on cell text.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers().testFlag(Qt::ControlModifier) &&
            (key->key() == Qt::Key_C || key->key() == Qt::Key_X)) {
            emit view_.commandRequested(key->key() == Qt::Key_C ? CommandId::kCopy
                                                                : CommandId::kCut);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CDialog_ReportDetails::resizeEvent(QResizeEvent*) {
    table_->setGeometry(rect());
}
