#pragma once
// The user-interface side of importing: the commands 添加文件夹 and 添加照片,
// dropped and pasted files, the found-photos counter during a folder count,
// the modal progress dialog, and the questions the import workers ask at
// their end. Owns the import list (non-empty exactly while a list import is
// pending or running) and the folder the last folder import started from.
//
// Threads: every member function is for the UI thread. The workers run on
// one std::thread at a time, recorded in the worker registry; they reach the
// UI only through queued calls and the receiver registry, and stop on
// the exit token.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "import/import_state.h"
#include "maplink/companion_locator.h"

class CDialog_Num;
class Library;
class CDlg_NewPic;
class MapLink;
class MapLinkRegionSource;
class QEventLoop;
class QWidget;
class RegionBuffer;
class WorkerSlot;

class ImportController : public QObject {
    Q_OBJECT

  public:
    // Shows a message box; returns 1 for 确定 and 2 otherwise.
    using MessageBox = std::function<int(QWidget* parent, const QString& title, const QString& text,
                                         bool twoButtons)>;

    // With a map link and its region buffer, photos with a position get
    // their region names from the running companion while they are
    // imported; the others wait in the library's pending region queue.
    // Hands the library and its own progress, receivers and region route to
    // every import it starts; one controller per process.
    explicit ImportController(Library& library, MapLink* link = nullptr,
                              RegionBuffer* regionNames = nullptr, QObject* parent = nullptr);
    ~ImportController() override;

    // The companion's region source (while the controller lives) and the
    // queue: what the other jobs that store photos are handed.
    RegionRoute Regions() const;

    // The progress of the import that runs or ran last.
    const ImportProgress& Progress() const { return progress_; }

    // Called when a progress dialog is created (the main frame arms its
    // bring-to-front timer there).
    void SetDialogOpenedHook(std::function<void()> hook) { dialogOpened_ = std::move(hook); }
    // Replaces the companion check run before the region lookup (default:
    // CheckRegionLookupReadiness with the map link).
    void SetCompanionCheck(std::function<bool(QWidget*)> check) {
        companionCheck_ = std::move(check);
    }
    // Replaces the message box (default: CDlgMsg).
    void SetMessageBox(MessageBox box) { messageBox_ = std::move(box); }

    // 添加文件夹: the folder chooser starting at the last import folder, then
    // ImportFolder. parent is the category pane (owner of the counter).
    void StartFolderImport(QWidget* parent);
    // Counts the folder's photos with the counter shown, imports them, and
    // runs the progress dialog modally until it is closed.
    void ImportFolder(const QString& folder, QWidget* parent);

    // 添加照片: the file chooser (several .jpg/.jpeg files), then AcceptFilePaths.
    void AddFilesCommand(QWidget* parent);
    // 添加照片 after the chooser and 黏贴: files with a JPEG extension
    // replace the import list and are imported; folders are not taken.
    // Refused with a message while an import runs. True when an import ran.
    bool AcceptFilePaths(const QStringList& paths, QWidget* parent);
    // Files dropped on the pane or the view: folders and JPEG files. The
    // import starts once the drop handler has returned. Refused with a
    // message while an import runs. True when something was queued.
    bool AcceptDroppedPaths(const QStringList& paths, QWidget* parent);

    // Files and folders handed in from outside the window (the command line,
    // a later start of the program): taken as a drop would take them, at
    // once or, while an import runs or a dialog is open, as soon as none is.
    void ImportWhenFree(const QStringList& paths, QWidget* parent);

    // The counter's 取消 (UiMessage::kCancelFolderScan): hides the counter, stops its timer
    // and stops the count; no import follows. Safe to call more than once.
    void CancelFolderCount();

    // An import is pending or running: new ones are refused.
    bool ImportRunning() const;
    const QStringList& ImportPathList() const { return importPathList_; }
    const QString& LastImportFolder() const { return lastImportFolder_; }
    CDialog_Num* FoundPhotosCounter() const;
    // The progress dialog on the screen, or null.
    CDlg_NewPic* ProgressDialog() const;

  signals:
    // The worker of the last import ended and the import list is empty again.
    void importEnded();

  private:
    void StartListImport(QWidget* parent);
    void StartWaitingImport();
    // Shows the dialog modally once startWorker has started the worker; without
    // a worker (its slot is taken) there is nothing to show. A folder import
    // shows the found-photos counter alone first, and the dialog only when
    // the count was not cancelled.
    void RunProgressDialog(QWidget* parent, bool folderCount, std::function<bool()> startWorker);
    // Shows the counter modally until the count ends; true when the worker
    // goes on to import (the count was not cancelled in time).
    bool RunCounter(QWidget* parent);
    void ShowCounter(QWidget* parent);
    void CloseProgressDialog();
    void ShowCount();
    void OnCountEnded(bool counted);
    void OnWorkerEnded();
    void Refuse(QWidget* parent);
    // What the closing steps of the controller's imports tell the windows.
    ImportReceivers MakeReceivers();
    QWidget* DialogParent() const;
    bool StopWaiting() const;

    void RunFolderWorker(WorkerSlot countSlot, const std::string& folder);
    void RunListWorker(WorkerSlot listSlot, const std::vector<std::string>& paths);

    QStringList importPathList_;
    QString lastImportFolder_;
    QPointer<QWidget> dialogParent_;
    QPointer<CDialog_Num> counter_;
    std::unique_ptr<CDialog_Num> ownedCounter_;  // when no pane was given
    QPointer<CDlg_NewPic> progressDialog_;
    QStringList waitingPaths_;  // ImportWhenFree's, not yet taken
    QPointer<QWidget> waitingParent_;
    QTimer waitingRetry_;
    QTimer countTick_;  // 1 s, while the category pane counts: shows the running count

    std::function<void()> dialogOpened_;
    std::function<bool(QWidget*)> companionCheck_;
    MessageBox messageBox_;

    MapLink* link_;
    CompanionLocator locator_;
    std::unique_ptr<MapLinkRegionSource> regionSource_;
    Library& library_;
    ImportProgress progress_;
    ImportReceivers receivers_;

    std::thread worker_;
    bool countCompleted_ = false;
    QEventLoop* countEnded_ = nullptr;  // RunCounter's, while it waits
    std::atomic<bool> workerActive_{false};
    std::atomic<bool> closing_{false};
};
