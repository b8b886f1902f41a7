#pragma once
// The companion's window (class "zazadoRud"): for now the state of the
// region data, the number of region lookups answered and the last one.
//
// UI thread only; it reads the service's status on a timer.

#include <QMainWindow>

#include "zidevu/region_data.h"

class CompanionService;
class QLabel;

class ZidevuWindow : public QMainWindow {
    Q_OBJECT

  public:
    ZidevuWindow(const CompanionService& service, const RegionDataState& regionData,
                 QWidget* parent = nullptr);

    // Shows the service's current counters; the timer calls it too.
    void Refresh();

  private:
    const CompanionService& service_;
    QLabel* lookups_ = nullptr;
    QLabel* lastLookup_ = nullptr;
};

// The window's line for the region data.
QString RegionDataText(const RegionDataState& state);
