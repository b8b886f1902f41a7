#include "properties/dialog_exif.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTableWidget>

#include "dialogs/dlg_msg.h"
#include "messaging/message_event.h"
#include "messaging/ui_messages.h"
#include "metadata/metadata_reader.h"
#include "properties/batch_apply.h"
#include "widgets/skin_button.h"

namespace {

const QColor kGreyRow(230, 230, 230);

// The window follows the resource's layout (202 x 299 dialog units, the
// grid above three 50 x 14 buttons at x 35, 94 and 151) at 1.75 pixels per
// unit across; it is as tall as the 25 rows of 18 pixels need, and the
// buttons take their 63 x 22 face images' size.
constexpr int kWidth = 354;
constexpr int kRowHeight = 18;
constexpr int kButtonTop = 482;
constexpr int kHeight = 508;
constexpr int kButtonWidth = 63;
constexpr int kButtonHeight = 22;
constexpr int kOkLeft = 61;
constexpr int kCancelLeft = 164;
constexpr int kApplyLeft = 264;

QPixmap RowIcon(PropertyIcon icon) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (icon) {
        case PropertyIcon::ImageGroup:
            painter.setBrush(QColor(68, 118, 198));
            painter.setPen(Qt::NoPen);
            painter.drawRoundedRect(1, 2, 14, 12, 2, 2);
            painter.setBrush(QColor(250, 220, 90));
            painter.drawEllipse(3, 4, 4, 4);
            painter.setBrush(QColor(120, 200, 120));
            painter.drawPolygon(QPolygon({QPoint(2, 13), QPoint(8, 7), QPoint(14, 13)}));
            break;
        case PropertyIcon::GpsGroup:
            painter.setPen(QPen(QColor(40, 140, 70), 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(2, 2, 12, 12);
            painter.drawLine(8, 0, 8, 16);
            painter.drawLine(0, 8, 16, 8);
            break;
        case PropertyIcon::CameraGroup:
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(70, 70, 80));
            painter.drawRoundedRect(1, 4, 14, 10, 2, 2);
            painter.drawRect(5, 2, 6, 3);
            painter.setBrush(QColor(200, 210, 230));
            painter.drawEllipse(5, 6, 6, 6);
            break;
        case PropertyIcon::Item:
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(120, 130, 150));
            painter.drawEllipse(6, 6, 4, 4);
            break;
    }
    return pixmap;
}

// A 63 x 22 button face reading text; pressed faces are darker and shifted.
QPixmap ButtonFace(const QString& text, bool pressed, bool enabled = true) {
    QPixmap face(kButtonWidth, kButtonHeight);
    QPainter painter(&face);
    const QColor top = pressed ? QColor(150, 180, 225) : QColor(236, 242, 252);
    const QColor bottom = pressed ? QColor(110, 150, 210) : QColor(190, 208, 235);
    QLinearGradient gradient(0, 0, 0, kButtonHeight);
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.fillRect(face.rect(), gradient);
    painter.setPen(QColor(68, 118, 198));
    painter.drawRect(face.rect().adjusted(0, 0, -1, -1));
    painter.setPen(enabled ? Qt::black : QColor(150, 150, 150));
    const QRect label = face.rect().translated(pressed ? 1 : 0, pressed ? 1 : 0);
    painter.drawText(label, Qt::AlignCenter, text);
    return face;
}

}  // namespace

CDialog_Exif::CDialog_Exif(PropertiesSession& session, QWidget* parent)
    : QDialog(parent),
      session_(session),
      registration_(ReceiverRole::PropertiesDialog, this),
      writer_(session.context.writer) {
    messageBox_ = [](QWidget* owner, const QString& title, const QString& text, bool twoButtons) {
        return ShowDlgMsg(owner, title, text, twoButtons);
    };
    setWindowTitle(QStringLiteral("照片属性（EXIF）"));
    setFixedSize(kWidth, kHeight);
    BuildGrid();
    FillGrid();
    BuildButtons();

    progressTimer_.setInterval(1000);
    connect(&progressTimer_, &QTimer::timeout, this, &CDialog_Exif::OnProgressTimer);
    endTimer_.setInterval(100);
    endTimer_.setSingleShot(true);
    connect(&endTimer_, &QTimer::timeout, this, &CDialog_Exif::EndTimer);
}

CDialog_Exif::~CDialog_Exif() {
    if (job_) job_->proceed = false;
    if (worker_.joinable()) worker_.join();
}

void CDialog_Exif::BuildGrid() {
    grid_ = new QTableWidget(PropertyRow::Count, 2, this);
    grid_->setObjectName(QStringLiteral("1001"));
    grid_->setGeometry(0, 0, kWidth, kButtonTop - 2);
    grid_->setHorizontalHeaderLabels({QStringLiteral("属性"), QStringLiteral("内容")});
    grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid_->setColumnWidth(0, 150);
    grid_->setColumnWidth(1, 200);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setMinimumSectionSize(kRowHeight);
    grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setShowGrid(true);
    grid_->setIconSize(QSize(16, 16));
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    // A click leaves no row highlighted.
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setFocusPolicy(Qt::StrongFocus);
    grid_->setMouseTracking(true);
    grid_->viewport()->setMouseTracking(true);
    grid_->viewport()->installEventFilter(this);
    for (int row = 0; row < PropertyRow::Count; ++row) {
        auto* label =
            new QTableWidgetItem(QIcon(RowIcon(PropertyRowIcon(row))), PropertyRowLabel(row));
        auto* value = new QTableWidgetItem;
        if (IsGreyPropertyRow(row)) {
            label->setBackground(kGreyRow);
            value->setBackground(kGreyRow);
        }
        grid_->setItem(row, 0, label);
        grid_->setItem(row, 1, value);
    }
}

void CDialog_Exif::FillGrid() {
    static const PhotoRecord kEmpty;
    const std::optional<PhotoRecord>& record = session_.record;
    const PropertyValues values = FormatPropertyValues(record ? *record : kEmpty);
    for (int row = 0; row < PropertyRow::Count; ++row) SetCellText(row, values[row]);
    // The catalogue keeps only the keywords that fit its 100 bytes; the row
    // shows all the file holds, so that a keyword edit writes them all back.
    if (record) {
        if (const std::optional<std::string> whole = ReadWholeKeywords(record->strFullPath))
            SetCellText(PropertyRow::Keywords, QString::fromStdString(*whole));
    }
    changed_.ClearAll();
    const PresetPositionState& preset = session_.preset;
    if (preset.set) {
        SetCellText(PropertyRow::Longitude, QString::asprintf("%.4f", preset.longitude));
        SetCellText(PropertyRow::Latitude, QString::asprintf("%.4f", preset.latitude));
        changed_.Set(EditField::Longitude);
        changed_.Set(EditField::Latitude);
    }
}

void CDialog_Exif::BuildButtons() {
    const std::pair<CSkinButton**, const char*> buttons[] = {
        {&ok_, "确定"}, {&cancel_, "取消"}, {&apply_, "应用"}};
    const int lefts[] = {kOkLeft, kCancelLeft, kApplyLeft};
    for (int i = 0; i < 3; ++i) {
        auto* button = new CSkinButton(this);
        const QString text = QString::fromUtf8(buttons[i].second);
        button->SetSkin(ButtonFace(text, false), ButtonFace(text, true), ButtonFace(text, false),
                        ButtonFace(text, false, false));
        button->setAccessibleName(text);
        button->setGeometry(lefts[i], kButtonTop, kButtonWidth, kButtonHeight);
        *buttons[i].first = button;
    }
    connect(ok_, &QAbstractButton::clicked, this, &CDialog_Exif::accept);
    connect(cancel_, &QAbstractButton::clicked, this, &CDialog_Exif::reject);
    connect(apply_, &QAbstractButton::clicked, this, [this] { Apply(); });
}

QString CDialog_Exif::CellText(int row) const {
    const QTableWidgetItem* item = grid_->item(row, 1);
    return item != nullptr ? item->text() : QString();
}

PropertyValues CDialog_Exif::Values() const {
    PropertyValues values;
    for (int row = 0; row < PropertyRow::Count; ++row) values[row] = CellText(row);
    return values;
}

void CDialog_Exif::SetCellText(int row, const QString& text) {
    if (QTableWidgetItem* item = grid_->item(row, 1)) item->setText(text);
}

bool CDialog_Exif::event(QEvent* event) {
    if (IsMessageEvent(event)) {
        const int number = static_cast<MessageEvent*>(event)->Number();
        if (number == UiMessage::kOpenKeywordEditor) {
            OpenKeywordEditor();
            return true;
        }
        if (number == UiMessage::kBatchApplyEnded) {
            BatchEnded();
            return true;
        }
    }
    return QDialog::event(event);
}

bool CDialog_Exif::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            const QModelIndex cell =
                grid_->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
            if (cell.isValid()) HoverCell(cell.row(), cell.column());
        } else if (event->type() == QEvent::MouseButtonPress) {
            const QModelIndex cell =
                grid_->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
            if (cell.isValid()) ClickCell(cell.row(), cell.column());
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CDialog_Exif::keyPressEvent(QKeyEvent* event) {
    // Enter belongs to the control with the focus (a new line in the
    // comment); it never presses 确定.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
