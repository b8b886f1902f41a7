#pragma once
// CDateTimeField: a date, or a date and time, typed as text the way people
// write it ("2005-09-01 10:20:30", "2005-9-1 10:20", "2005/9/1", the EXIF
// form "2005:09:01 10:20:30"), or picked from a calendar that its button
// opens. Section spin editors misread a whole date typed over a selection;
// this field reads the text only when the owner asks.
//
// UI thread only.

#include <QDateTime>
#include <QLineEdit>

class QCalendarWidget;

class CDateTimeField : public QLineEdit {
    Q_OBJECT

  public:
    enum class Parts { Date, DateAndTime };
    explicit CDateTimeField(Parts parts, QWidget* parent = nullptr);

    // Shows the value as "yyyy-MM-dd HH:mm:ss" (a date field: "yyyy-MM-dd").
    void setDateTime(const QDateTime& value);
    // Sets the date part; a time already shown is kept.
    void setDate(const QDate& date);
    // The typed value; invalid when the text names no date (and time).
    QDateTime dateTime() const;
    QDate date() const { return dateTime().date(); }

    // The calendar of the button, created when first opened.
    QCalendarWidget* Calendar() const { return calendar_; }
    void ShowCalendar();

  private:
    Parts parts_;
    QCalendarWidget* calendar_ = nullptr;
};

// The text as a date and time: a four-digit year, then month, day and the
// optional hour, minute and second, separated by anything that is not a
// digit. Invalid for any other text or an impossible date or time.
QDateTime ParseTypedDateTime(const QString& text);
