#pragma once
// Development aid for the start-up benchmark (--report-startup): prints on
// standard output the monotonic clock, in seconds, when the window is first
// drawn ("window") and when the first grouping is drawn ("grouping"), then
// closes the program.
//
// UI thread only.

#include <QObject>
#include <functional>

class StartupReport : public QObject {
  public:
    // groupingShown says whether the first grouping is on screen.
    explicit StartupReport(std::function<bool()> groupingShown, QObject* parent = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<bool()> groupingShown_;
    bool windowDrawn_ = false;
    bool done_ = false;
};
