#include "widgets/date_time_field.h"

#include <QAction>
#include <QCalendarWidget>
#include <QRegularExpression>
#include <QStyle>

namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd");
const QString kDateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

}  // namespace

QDateTime ParseTypedDateTime(const QString& text) {
    static const QRegularExpression digitRuns(QStringLiteral("\\d+"));
    QList<int> fields;
    for (auto match = digitRuns.globalMatch(text.trimmed()); match.hasNext();) {
        const QString run = match.next().captured();
        if (run.size() > (fields.isEmpty() ? 4 : 2)) return {};
        fields << run.toInt();
    }
    const bool startsWithYear = !text.trimmed().isEmpty() && text.trimmed().front().isDigit();
    if (fields.size() < 3 || fields.size() > 6 || !startsWithYear || fields[0] < 1000) return {};
    while (fields.size() < 6) fields << 0;
    const QDate date(fields[0], fields[1], fields[2]);
    const QTime time(fields[3], fields[4], fields[5]);
    if (!date.isValid() || !time.isValid()) return {};
    return QDateTime(date, time);
}

CDateTimeField::CDateTimeField(Parts parts, QWidget* parent) : QLineEdit(parent), parts_(parts) {
    setPlaceholderText(parts == Parts::Date ? QStringLiteral("2005-09-01")
                                            : QStringLiteral("2005-09-01 10:20:30"));
    QAction* pick = addAction(style()->standardIcon(QStyle::SP_ArrowDown), TrailingPosition);
    pick->setToolTip(QStringLiteral("从日历中选择"));
    connect(pick, &QAction::triggered, this, &CDateTimeField::ShowCalendar);
}

void CDateTimeField::setDateTime(const QDateTime& value) {
    setText(value.isValid() ? value.toString(parts_ == Parts::Date ? kDateFormat : kDateTimeFormat)
                            : QString());
}

void CDateTimeField::setDate(const QDate& date) {
    const QDateTime shown = dateTime();
    setDateTime(QDateTime(date, shown.isValid() ? shown.time() : QTime(0, 0)));
}

QDateTime CDateTimeField::dateTime() const {
    const QDateTime value = ParseTypedDateTime(text());
    if (parts_ == Parts::Date && value.isValid()) return QDateTime(value.date(), QTime(0, 0));
    return value;
}

void CDateTimeField::ShowCalendar() {
    if (calendar_ == nullptr) {
        calendar_ = new QCalendarWidget(this);
        calendar_->setWindowFlags(Qt::Popup);
        calendar_->setGridVisible(true);
        connect(calendar_, &QCalendarWidget::clicked, this, [this](QDate day) {
            setDate(day);
            calendar_->hide();
            setFocus();
        });
    }
    if (date().isValid()) calendar_->setSelectedDate(date());
    calendar_->move(mapToGlobal(QPoint(0, height())));
    calendar_->show();
}
