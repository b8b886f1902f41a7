#pragma once
// The window's track panel: 导入轨迹, the stored tracks with 删除, and the
// settings of the positions from tracks (camera clock offset, camera time
// zone, max gap, max distance), remembered as they change.
//
// UI thread only. It opens the store for each action, as the request
// handler does, so that imports from the command line show up on Refresh.

#include <QDockWidget>
#include <QStringList>
#include <string>

#include "companion/track_store.h"

class QComboBox;
class QSpinBox;
class QTreeWidget;

class TrackDock : public QDockWidget {
    Q_OBJECT

  public:
    explicit TrackDock(std::string storePath, QWidget* parent = nullptr);

    // Imports the files and says what came of each; the file dialog's work.
    void ImportFiles(const QStringList& files);
    // Removes the tracks selected in the list.
    void RemoveSelected();
    void Refresh();
    // Shows the remembered settings (after the review changed them).
    void LoadSettings();
    // Each stored segment as a latitude/longitude polyline, for the map.
    std::vector<TrackPolyline> Polylines() const;

  signals:
    // The stored tracks changed (imported or removed).
    void tracksChanged();

  private:
    void ChooseFiles();
    void SaveSettings();

    const std::string storePath_;
    QTreeWidget* list_ = nullptr;
    QSpinBox* offset_ = nullptr;
    QComboBox* zone_ = nullptr;
    QSpinBox* maxGap_ = nullptr;
    QSpinBox* maxDistance_ = nullptr;
};
