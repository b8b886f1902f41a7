// CDialogFind: the grid, the keyword picker, the 搜索 button and the search.

#include "search/dialog_find.h"

#include <QHeaderView>
#include <QLinearGradient>
#include <QPainter>
#include <QTableWidget>
#include <algorithm>

#include "catalogue/keyword_rows.h"
#include "dialogs/dlg_msg.h"
#include "widgets/check_combo_box.h"
#include "widgets/date_time_field.h"
#include "widgets/num_edit.h"
#include "widgets/skin_button.h"

namespace {

struct GridColumn {
    const char* header;  // UTF-8
    int width;
};
constexpr GridColumn kColumns[] = {{"属性", 44}, {"", 85}, {"", 28}, {"", 85}, {"", 1000}};
constexpr const char* kRowLabels[] = {"关键词", "日期", "经度", "纬度"};
constexpr int kRowHeight = 20;
constexpr int kNarrowestValueColumn = 50;
constexpr int kGridHeight = 103;  // header and four rows
const QRect kSearchButtonRect(100, 105, 63, 22);
const QRect kKeywordPickerRect(2, 105, 94, 22);

// The face of the 搜索 button in one state: a band in the colours of the
// dialogs' title bands with the caption in white.
QPixmap SearchFace(const QColor& top, const QColor& bottom) {
    QPixmap face(kSearchButtonRect.size());
    QPainter painter(&face);
    QLinearGradient band(0, 0, 0, face.height());
    band.setColorAt(0, top);
    band.setColorAt(1, bottom);
    painter.fillRect(face.rect(), band);
    painter.setPen(bottom.darker(130));
    painter.drawRect(face.rect().adjusted(0, 0, -1, -1));
    painter.setPen(Qt::white);
    painter.drawText(face.rect(), Qt::AlignCenter, QString::fromUtf8("搜索"));
    return face;
}

}  // namespace

CDialogFind::CDialogFind(Library& library, QWidget* parent) : QWidget(parent), library_(library) {
    setAutoFillBackground(true);
    CreateGrid();

    valueEditor_ = new CnumEdit(grid_->viewport());
    valueEditor_->hide();
    connect(valueEditor_, &QLineEdit::returnPressed, this, [this] { CommitEditors(); });
    datePicker_ = new CDateTimeField(CDateTimeField::Parts::Date, grid_->viewport());
    datePicker_->hide();

    keywordPicker_ = new CCheckComboBox(this);
    keywordPicker_->setGeometry(kKeywordPickerRect);
    keywordPicker_->setPlaceholderText(QString::fromUtf8("选择关键词"));
    keywordPicker_->setToolTip(QString::fromUtf8("选择关键词（最多两个）"));
    keywordPicker_->SetTickLimitCheck([this](int) {
        int ticked = 0;
        for (int i = 0; i < keywordPicker_->count(); ++i) ticked += keywordPicker_->Ticked(i);
        return ticked < 2;
    });
    connect(keywordPicker_->model(), &QAbstractItemModel::dataChanged, this, [this] {
        if (!fillingPicker_) TakePickedKeywords();
    });

    searchButton_ = new CSkinButton(this, SkinButtonKind::Push);
    searchButton_->SetSkin(SearchFace(QColor(98, 148, 228), QColor(68, 118, 198)),
                           SearchFace(QColor(48, 88, 160), QColor(68, 118, 198)),
                           SearchFace(QColor(128, 172, 240), QColor(78, 132, 214)),
                           SearchFace(QColor(170, 180, 196), QColor(150, 160, 176)));
    searchButton_->setGeometry(kSearchButtonRect);
    searchButton_->setToolTip(QStringLiteral("Search"));
    connect(searchButton_, &QAbstractButton::clicked, this, &CDialogFind::Search);

    message_ = [this](const QString& text) {
        ShowDlgMsg(this, QString::fromUtf8("提示"), text, false);
    };
    InitPanel();
}

void CDialogFind::CreateGrid() {
    grid_ = new QTableWidget(kRowCount, static_cast<int>(std::size(kColumns)), this);
    grid_->setShowGrid(true);
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setFocusPolicy(Qt::NoFocus);
    grid_->setAutoScroll(false);  // the label column always stays in sight
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid_->horizontalHeader()->setFixedHeight(kRowHeight);
    grid_->horizontalHeader()->setSectionsClickable(false);
    for (int c = 0; c < static_cast<int>(std::size(kColumns)); ++c) {
        grid_->setHorizontalHeaderItem(c,
                                       new QTableWidgetItem(QString::fromUtf8(kColumns[c].header)));
        grid_->setColumnWidth(c, kColumns[c].width);
    }
    grid_->viewport()->setMouseTracking(true);
    grid_->viewport()->installEventFilter(this);
}

void CDialogFind::InitPanel() {
    HideEditors();
    currentRow_ = currentColumn_ = -1;
    forced_ = false;
    entered_.fill(false);
    const QString dash = QString::fromUtf8("—");
    const QString cells[kRowCount][4] = {
        {"", QString::fromUtf8(kKeyword1Placeholder), QString::fromUtf8("或"),
         QString::fromUtf8(kKeyword2Placeholder)},
        {"", QString::fromStdString(FormatDay(kUnsetStartDay)), dash,
         QString::fromStdString(FormatDay(LocalToday()))},
        {"", "", dash, ""},
        {"", "", dash, ""},
    };
    for (int r = 0; r < kRowCount; ++r) {
        SetCell(r, 0, QString::fromUtf8(kRowLabels[r]));
        for (int c = 1; c < 4; ++c) SetCell(r, c, cells[r][c]);
    }
}

void CDialogFind::SetCell(int row, int column, const QString& text) {
    if (QTableWidgetItem* item = grid_->item(row, column)) {
        item->setText(text);
    } else {
        grid_->setItem(row, column, new QTableWidgetItem(text));
    }
}

QString CDialogFind::CellText(int row, int column) const {
    const QTableWidgetItem* item = grid_->item(row, column);
    return item ? item->text() : QString();
}

void CDialogFind::SetEntered(int row, int column) {
    entered_[static_cast<std::size_t>(row * 2 + (column == kHighColumn ? 1 : 0))] = true;
}

SearchEntries CDialogFind::Entries() const {
    SearchEntries entries;
    for (int r = 0; r < kRowCount; ++r) {
        for (int c : {kLowColumn, kHighColumn}) {
            const std::size_t cell = static_cast<std::size_t>(r * 2 + (c == kHighColumn ? 1 : 0));
            entries.text[cell] = CellText(r, c).toStdString();
        }
    }
    entries.entered = entered_;
    return entries;
}

void CDialogFind::Search() {
    // A refused value is for the user to enter again, not to search without.
    if (!CommitEditors()) return;
    if (const auto filter = FilterFromEntries(Entries(), LocalToday()))
        emit searchRequested(*filter);
}

void CDialogFind::RefillKeywords() {
    QStringList ticked;
    for (int i = 0; i < keywordPicker_->count(); ++i)
        if (keywordPicker_->Ticked(i)) ticked << keywordPicker_->itemText(i);
    fillingPicker_ = true;
    keywordPicker_->clear();
    // A keyword that does not fit a search field cannot be searched for.
    for (const std::string& keyword : DistinctKeywords(library_)) {
        if (!KeywordFits(keyword)) continue;
        const QString text = QString::fromStdString(keyword);
        keywordPicker_->AddItem(text, ticked.contains(text));
    }
    fillingPicker_ = false;
}

void CDialogFind::TakePickedKeywords() {
    QStringList picked;
    for (int i = 0; i < keywordPicker_->count(); ++i)
        if (keywordPicker_->Ticked(i)) picked << keywordPicker_->itemText(i);
    HideEditors();
    SetCell(kKeywordRow, kLowColumn,
            picked.size() > 0 ? picked[0] : QString::fromUtf8(kKeyword1Placeholder));
    SetCell(kKeywordRow, kHighColumn,
            picked.size() > 1 ? picked[1] : QString::fromUtf8(kKeyword2Placeholder));
    SetEntered(kKeywordRow, kLowColumn);
    SetEntered(kKeywordRow, kHighColumn);
}

void CDialogFind::Refuse(const QString& message) {
    valueEditor_->hide();
    valueHolding_ = false;
    if (message_) message_(message);
}

void CDialogFind::resizeEvent(QResizeEvent*) {
    grid_->setGeometry(0, 0, width(), kGridHeight);
    FitColumns(width() - 2 * grid_->frameWidth());
}

void CDialogFind::FitColumns(int available) {
    // A pane narrower than the grid's natural width shares what is left
    // after the label and "或/至" columns between the two value columns, so
    // that the second keyword and the end date stay in sight.
    const int fixed = kColumns[0].width + kColumns[2].width;
    const int value = std::clamp((available - fixed) / 2, kNarrowestValueColumn, kColumns[1].width);
    grid_->setColumnWidth(1, value);
    grid_->setColumnWidth(3, value);
}

void CDialogFind::showEvent(QShowEvent* event) {
    // The catalogue's keywords change with imports and edits; the picker
    // offers them as they are when the panel appears.
    RefillKeywords();
    QWidget::showEvent(event);
}
