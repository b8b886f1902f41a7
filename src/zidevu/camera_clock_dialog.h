#pragma once
// Finds the camera clock's offset from one photo whose true time the user
// knows (a photographed GPS screen or clock): shows the photo's shot time as
// the camera recorded it and takes the time it should have been.
//
// UI thread only.

#include <QDialog>
#include <cstdint>
#include <optional>

class QDateTimeEdit;

class CameraClockDialog : public QDialog {
    Q_OBJECT

  public:
    CameraClockDialog(std::int32_t dwDateTime, QWidget* parent = nullptr);

    // The true time typed, as wall seconds.
    void SetTrueWallSeconds(std::int64_t wallSeconds);
    // Camera minus true time; nothing when the shot time cannot be read.
    std::optional<std::int64_t> Offset() const;

  private:
    const std::int32_t dwDateTime_;
    QDateTimeEdit* trueTime_ = nullptr;
};
