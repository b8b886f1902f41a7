// CDialogFind: the hover protocol over the grid and the commit rules.

#include <QMouseEvent>
#include <QTableWidget>
#include <algorithm>
#include <cstdlib>

#include "platform/c_locale_numbers.h"
#include "search/dialog_find.h"
#include "widgets/date_time_field.h"
#include "widgets/num_edit.h"

namespace {

bool Editable(int row, int column) {
    return row >= 0 && row < CDialogFind::kRowCount &&
           (column == CDialogFind::kLowColumn || column == CDialogFind::kHighColumn);
}

// The days whose local times fit the catalogue's 32-bit shot times.
const QDate kFirstSearchDay(1970, 1, 2);
const QDate kLastSearchDay(2037, 12, 31);

QString RangeMessage(CDialogFind::Row row, const QString& typed) {
    if (row == CDialogFind::kLongitudeRow)
        return QString::fromUtf8("经度值(") + typed +
               QString::fromUtf8(")超出范围（ - 180°, 180°），\r\n请重新输入。");
    return QString::fromUtf8("纬度值(") + typed +
           QString::fromUtf8(")超出范围（ - 90°, 90°），\r\n请重新输入。");
}

}  // namespace

bool CDialogFind::EditorBusy() const {
    if (valueEditor_->isVisible()) {
        const int length = static_cast<int>(valueEditor_->text().size());
        if (length != 0 && valueEditor_->selectedText().size() < length) return true;
    }
    return datePicker_->isVisible() && datePicker_->text() != CellText(kDateRow, currentColumn_);
}

void CDialogFind::HoverCell(int row, int column) {
    if (!forced_ && EditorBusy()) return;
    forced_ = false;
    if (!CommitEditors()) return;
    currentRow_ = row;
    currentColumn_ = column;
    if (!Editable(row, column)) {
        HideEditors();
        return;
    }
    if (row == kDateRow) {
        valueEditor_->hide();
        valueHolding_ = false;
        const auto day = ParseDay(CellText(row, column).toStdString());
        if (day) datePicker_->setDate(QDate(day->year, day->month, day->day));
        ShowEditorOver(datePicker_, row, column);
        datePicker_->selectAll();
        dateHolding_ = true;
        return;
    }
    datePicker_->hide();
    dateHolding_ = false;
    valueEditor_->SetNumericMode(row != kKeywordRow);
    valueEditor_->setText(CellText(row, column));
    valueEditor_->selectAll();
    ShowEditorOver(valueEditor_, row, column);
    valueHolding_ = true;
}

void CDialogFind::ClickCell(int row, int column) {
    if (row != currentRow_ || column != currentColumn_) forced_ = true;
    HoverCell(row, column);
}

void CDialogFind::ShowEditorOver(QWidget* editor, int row, int column) {
    // An editor narrower than it needs (the date picker with its arrow)
    // reaches over the cells to its right rather than cutting its text.
    QRect area = grid_->visualRect(grid_->model()->index(row, column));
    area.setWidth(std::max(area.width(), editor->sizeHint().width()));
    editor->setGeometry(area);
    editor->show();
    editor->raise();
    editor->setFocus();
}

void CDialogFind::HideEditors() {
    valueEditor_->hide();
    datePicker_->hide();
    valueHolding_ = dateHolding_ = false;
}

bool CDialogFind::CommitEditors() {
    if (valueHolding_ && !CommitValueEditor()) return false;
    if (dateHolding_ && !CommitDatePicker()) return false;
    return true;
}

bool CDialogFind::CommitValueEditor() {
    const QString typed = valueEditor_->text();
    if (typed == CellText(currentRow_, currentColumn_)) return true;
    if (currentRow_ == kKeywordRow) {
        if (!KeywordFits(typed.toStdString())) {
            Refuse(QString::fromUtf8("关键词(") + typed +
                   QString::fromUtf8(")超过19个字节，\r\n请重新输入。"));
            return false;
        }
        SetCell(currentRow_, currentColumn_, typed);
    } else {
        // Text that is no number reads as 0, which the search takes for
        // "no bound".
        const double degrees = LeadingDouble(typed.toStdString());
        const auto row = static_cast<Row>(currentRow_);
        const SearchAxis axis = row == kLongitudeRow ? SearchAxis::Longitude : SearchAxis::Latitude;
        if (!CoordinateInRange(axis, degrees)) {
            Refuse(RangeMessage(row, typed));
            return false;
        }
        SetCell(currentRow_, currentColumn_, QString::asprintf("%.4f", degrees));
    }
    SetEntered(currentRow_, currentColumn_);
    return true;
}

bool CDialogFind::CommitDatePicker() {
    const QString typed = datePicker_->text();
    if (typed == CellText(kDateRow, currentColumn_)) return true;
    const QDate day = datePicker_->date();
    if (!day.isValid() || day < kFirstSearchDay || day > kLastSearchDay) {
        datePicker_->hide();
        dateHolding_ = false;
        if (message_)
            message_(
                QStringLiteral("日期(%1)无效，请按 2005-09-01 的格式输入，\r\n范围为 %2 至 %3。")
                    .arg(typed, kFirstSearchDay.toString(Qt::ISODate),
                         kLastSearchDay.toString(Qt::ISODate)));
        return false;
    }
    SetCell(kDateRow, currentColumn_, day.toString(Qt::ISODate));
    SetEntered(kDateRow, currentColumn_);
    return true;
}

bool CDialogFind::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_->viewport() &&
        (event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonPress)) {
        const QPoint point = static_cast<QMouseEvent*>(event)->position().toPoint();
        const QModelIndex cell = grid_->indexAt(point);
        if (cell.isValid()) {
            if (event->type() == QEvent::MouseMove) {
                HoverCell(cell.row(), cell.column());
            } else {
                ClickCell(cell.row(), cell.column());
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}
