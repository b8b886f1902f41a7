#pragma once
// The user-interface side of keeping the library true: the commands
// 更新照片库, 整理数据库, 保存数据库 and 清空数据库, the start-up offer to update a
// changed library, and the update, tidy and save workers behind their
// progress dialogs.
//
// Threads: every member function is for the UI thread. Each worker runs on a
// std::thread of its own, recorded in the worker registry (LibraryUpdate,
// Tidy, Save) so that closing the program waits for it; workers report only
// by posting messages to the dialogs' and windows' roles.

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <thread>

#include "import/library_upkeep.h"
#include "import/photo_region.h"

class Library;
class QWidget;

class UpkeepController : public QObject {
    Q_OBJECT

  public:
    // Shows a message box; returns 1 for 确定 and 2 otherwise.
    using MessageBox = std::function<int(QWidget* parent, const QString& title, const QString& text,
                                         bool twoButtons)>;

    // library is the catalogue the commands update, tidy, save and clear;
    // the update's re-read photos take their region names through regions.
    UpkeepController(Library& library, RegionRoute regions, QObject* parent = nullptr);
    ~UpkeepController() override;

    void SetMessageBox(MessageBox box) { messageBox_ = std::move(box); }

    // 更新照片库: asks the main view to start the update (kStartLibraryUpdate) and shows the
    // update dialog modally; then offers to import the new files it saw in
    // catalogued folders (newPhotosFound).
    void UpdateLibraryCommand(QWidget* parent);
    // 整理数据库: the tidy dialog, modally.
    void TidyCommand(QWidget* parent);
    // 保存数据库: asks the main view to start the save (kStartSave) and shows the
    // save dialog modally.
    void SaveCommand(QWidget* parent);
    // 清空数据库: asks, clears the catalogue and refreshes the windows.
    void ClearCommand(QWidget* parent);
    // kLibraryChanged: tells that the library changed, then updates as the command.
    void LibraryChangedPrompt(QWidget* parent);

    // The workers; each starts only when none of its kind runs.
    bool StartUpdateWorker();
    bool StartTidyWorker(bool thorough);
    bool StartSaveWorker();

    // Command states.
    bool UpdateAvailable();      // a catalogued folder changed (reads the disk)
    bool SaveAvailable() const;  // the library is modified

  signals:
    // The user chose to import the files the update saw in catalogued folders.
    void newPhotosFound(const QStringList& paths);

  private:
    void Reap();
    void OfferNewPhotos(QWidget* parent);

    Library& library_;
    const RegionRoute regions_;
    MessageBox messageBox_;
    // The progress of the update or tidy that runs or ran last; its workers
    // and dialogs are handed it.
    UpkeepProgress progress_;
    std::thread update_;
    std::thread tidy_;
    std::thread save_;
};
