#include "browsing/browsing_windows.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QPointer>
#include <algorithm>

#include "app/main_frame.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/process_flags.h"
#include "importui/import_controller.h"
#include "importui/upkeep_controller.h"
#include "locationui/location_controller.h"
#include "messaging/command_ids.h"
#include "pane/class_view.h"
#include "pane/import_paths.h"
#include "properties/dialog_exif.h"
#include "properties/properties_command.h"
#include "search/dialog_find.h"
#include "view/photo_file_commands.h"
#include "view/verero_view.h"
#include "viewer/dialog_picview.h"
#include "viewer/photo_viewer_host.h"

namespace {

// A command that the view carries: enabled, triggering slot, and its check
// mark kept in step with the view.
template <typename Slot>
void Carry(CMainFrame& frame, int id, CVereroView* view, Slot slot) {
    if (QAction* action = frame.Command(id)) {
        action->setEnabled(true);
        QObject::connect(action, &QAction::triggered, view, slot);
    }
}

void UpdateViewChecks(CMainFrame& frame, CVereroView* view) {
    if (QAction* keywords = frame.Command(CommandId::kShowKeywords)) {
        keywords->setCheckable(true);
        keywords->setChecked(view->ShowKeywords());
    }
    if (QAction* orient = frame.Command(CommandId::kAutoOrient)) {
        orient->setCheckable(true);
        orient->setChecked(view->Photos().autoOrient);
    }
}

// The commands that act on listed photos do nothing without any: they are
// greyed then. 搜索 stays enabled while the panel is open, so that it can be
// switched off.
void UpdatePhotoCommands(CMainFrame& frame, CVereroView* view) {
    using namespace CommandId;
    const bool photos = view->HasPhotos();
    for (int id : {kShowPhoto, kProperties, kPropertiesAlternate, kPickPositionOnMap,
                   kPositionsFromTracks, kShowOnMap, kRegionsFromGps, kCut, kCopy,
                   kOpenFileLocation, kRemoveFromAlbum, kRemoveFromAlbumContext})
        if (QAction* action = frame.Command(id)) action->setEnabled(photos);
    if (QAction* search = frame.Command(kSearch)) search->setEnabled(photos || search->isChecked());
}

// The pane hands its photos to the view, so whichever the frame asks for
// first creates the view.
CVereroView* TheView(Library& library) {
    return CVereroView::Instance() ? CVereroView::Instance() : new CVereroView(library);
}

void ConnectPaneToImports(CMainFrame& frame, CClassView* pane, ImportController* imports) {
    PaneHooks hooks;
    hooks.commandAvailable = [&frame](int id) {
        // The frame brings its commands' states up to date only when one of
        // its menus opens; the pane asks about the selection it collected now.
        emit frame.commandStatesRequested();
        QAction* action = frame.Command(id);
        return action && action->isEnabled();
    };
    hooks.runCommand = [&frame](int id) {
        if (QAction* action = frame.Command(id)) action->trigger();
    };
    hooks.acceptDroppedPaths = [pane, imports](const QStringList& p) {
        imports->AcceptDroppedPaths(p, pane);
    };
    hooks.acceptPastedPaths = [pane, imports](const QStringList& p) {
        imports->AcceptFilePaths(p, pane);
    };
    hooks.startFolderImport = [pane, imports] { imports->StartFolderImport(pane); };
    hooks.cancelFolderScan = [imports] { imports->CancelFolderCount(); };
    pane->SetHooks(hooks);
    if (QAction* addFolder = frame.Command(CommandId::kAddFolder)) {
        addFolder->setEnabled(true);
        QObject::connect(addFolder, &QAction::triggered, pane, &CClassView::AddFolder);
    }
    if (QAction* addPhotos = frame.Command(CommandId::kAddPhotos)) {
        addPhotos->setEnabled(true);
        QObject::connect(addPhotos, &QAction::triggered, pane,
                         [pane, imports] { imports->AddFilesCommand(pane); });
    }
}

// 显示照片 (menu, toolbar, both context menus), the double click on a
// thumbnail, and the prefetch the pane and the view ask for.
// 整理数据库, when the frame carries it.
void RunTidy(CMainFrame& frame) {
    QAction* tidy = frame.Command(CommandId::kTidyCatalogue);
    if (tidy && tidy->isEnabled()) tidy->trigger();
}

void ConnectViewer(CMainFrame& frame, CVereroView* view, LocationController* location,
                   const PropertiesContext& properties) {
    auto* removal = new PhotoFileCommands(*view, view);
    auto* host = new PhotoViewerHost(
        *view,
        {[removal](int index, bool deleteFile) { return removal->RemoveAt(index, deleteFile); },
         [view](const std::vector<PhotoRef>& photos) {
             return PhotosWithoutTrash(view->PhotoLibrary(), photos);
         }},
        view);
    QObject::connect(view, &CVereroView::prefetchRequested, host,
                     &PhotoViewerHost::OnPrefetchRequested);
    QObject::connect(view, &CVereroView::imageCacheClearRequested, host,
                     &PhotoViewerHost::OnCacheClearRequested);
    if (QAction* show = frame.Command(CommandId::kShowPhoto)) {
        show->setEnabled(true);
        QObject::connect(show, &QAction::triggered, host, [view, host] {
            if (view->HasPhotos() && view->PickCommandPhoto(true))
                host->Open(ViewerOrigin::ShowCommand);
        });
    }
    // 更多: the properties dialog over the viewer for its current photo; a
    // written photo refreshes the list once the viewer has closed.
    host->onViewerCreated = [view, &frame, location, properties](CDialogPICVIEW& viewer) {
        QObject::connect(&viewer, &CDialogPICVIEW::moreRequested, &viewer,
                         [view, &viewer, &frame, location, properties] {
                             PhotoList& photos = view->Photos();
                             if (!photos.IsValid(photos.currentIndex)) return;
                             PropertiesSession session =
                                 SessionOnViewPhoto(*view, photos.currentIndex, properties);
                             const int queuedBefore = location->PendingRegionCount();
                             RunPropertiesOrSayInvalid(session, &viewer);
                             if (session.tidyRequested) {
                                 // Once the viewer has closed.
                                 QObject::connect(&viewer, &QObject::destroyed, &frame, [&frame] {
                                     QMetaObject::invokeMethod(
                                         &frame, [&frame] { RunTidy(frame); },
                                         Qt::QueuedConnection);
                                 });
                             }
                             if (!session.photosModified) return;
                             photos.Entry(photos.currentIndex).ref = session.shownPhoto;
                             // A rename or a new id: the entry reads its row (name, path) again,
                             // so that 删除 and the caption follow the file.
                             photos.ReleaseThumbnail(photos.currentIndex);
                             photos.EnsureThumbnail(photos.currentIndex);
                             photos.reselectIndex = std::max(0, photos.currentIndex);
                             location->OfferRegionLookup(
                                 LocationController::EditSource::ViewerOrPick, queuedBefore);
                             QObject::connect(&viewer, &QObject::destroyed, view,
                                              [view] { view->RefreshList(false); });
                         });
    };
    QObject::connect(view, &CVereroView::openPhotoRequested, host, [view, host](int index) {
        view->Photos().currentIndex = index;
        host->Open(ViewerOrigin::DoubleClick);
    });
    if (CClassView* pane = CClassView::Instance())
        QObject::connect(pane, &CClassView::prefetchRequested, host,
                         &PhotoViewerHost::OnPrefetchRequested);
}

// 更新照片库, 整理数据库, 保存数据库 and 清空数据库, the workers the view asks
// for, the start-up offer to update a changed library, and the tidy dialog
// that follows 打开文件位置 on a photo whose file is gone.
void ConnectUpkeep(CMainFrame& frame, CVereroView* view, PhotoFileCommands* files,
                   ImportController* imports, Library& library) {
    auto* upkeep = new UpkeepController(library, imports->Regions(), &frame);
    QObject::connect(
        upkeep, &UpkeepController::newPhotosFound, imports,
        [imports, &frame](const QStringList& paths) { imports->AcceptFilePaths(paths, &frame); });
    auto carry = [&frame](int id, auto run) {
        if (QAction* action = frame.Command(id))
            QObject::connect(action, &QAction::triggered, &frame, run);
    };
    carry(CommandId::kUpdateLibrary, [upkeep, &frame] { upkeep->UpdateLibraryCommand(&frame); });
    carry(CommandId::kTidyCatalogue, [upkeep, &frame] { upkeep->TidyCommand(&frame); });
    carry(CommandId::kSaveCatalogue, [upkeep, &frame] { upkeep->SaveCommand(&frame); });
    carry(CommandId::kClearCatalogue, [upkeep, &frame] { upkeep->ClearCommand(&frame); });
    auto updateStates = [&frame, view, upkeep] {
        auto enable = [&frame](int id, bool enabled) {
            if (QAction* action = frame.Command(id)) action->setEnabled(enabled);
        };
        enable(CommandId::kUpdateLibrary, upkeep->UpdateAvailable());
        enable(CommandId::kTidyCatalogue, true);
        enable(CommandId::kSaveCatalogue, upkeep->SaveAvailable());
        enable(CommandId::kClearCatalogue, view->HasPhotos());
    };
    updateStates();
    QObject::connect(&frame, &CMainFrame::commandStatesRequested, &frame, updateStates);
    QObject::connect(view, &CVereroView::libraryUpdateRequested, upkeep,
                     &UpkeepController::StartUpdateWorker);
    QObject::connect(view, &CVereroView::saveRequested, upkeep, &UpkeepController::StartSaveWorker);
    QObject::connect(view, &CVereroView::libraryChanged, upkeep,
                     [upkeep, &frame] { upkeep->LibraryChangedPrompt(&frame); });
    QObject::connect(files, &PhotoFileCommands::tidyRequested, upkeep,
                     [upkeep, &frame] { upkeep->TidyCommand(&frame); });
    view->ArmLibraryChangeCheck();
}

// 搜索: shows or hides the search panel, creating it on the first use. The
// check mark follows the panel. Switching on needs photos listed; switching
// off is always possible, also when the search found nothing.
void CarrySearch(CMainFrame& frame, CClassView* pane, CVereroView* view) {
    QAction* action = frame.Command(CommandId::kSearch);
    if (!action) return;
    action->setCheckable(true);
    action->setEnabled(true);
    QObject::connect(action, &QAction::triggered, pane, [action, pane, view](bool on) {
        if (on && !view->HasPhotos()) {
            action->setChecked(false);
            return;
        }
        if (on && pane->SearchPanel() == nullptr) {
            auto* panel = new CDialogFind(view->PhotoLibrary(), pane);
            QObject::connect(panel, &CDialogFind::searchRequested, pane, &CClassView::Search);
            pane->SetSearchPanel(panel);
        }
        pane->SetSearchActive(on);
        action->setChecked(pane->SearchActive());
    });
}

// The clipboard, removal and duplicate commands of the main menu and of menu
// 119 act on the view's photos; 黏贴 imports what the clipboard offers, as
// the pane's Ctrl+V does.
PhotoFileCommands* ConnectFileCommands(CMainFrame& frame, CVereroView* view, CClassView* pane,
                                       const RegionRoute& regions) {
    auto* files = new PhotoFileCommands(*view, view);
    const std::pair<int, void (PhotoFileCommands::*)()> commands[] = {
        {CommandId::kCopy, &PhotoFileCommands::Copy},
        {CommandId::kCut, &PhotoFileCommands::Cut},
        {CommandId::kOpenFileLocation, &PhotoFileCommands::OpenFileLocation},
        {CommandId::kRemoveFromAlbum, &PhotoFileCommands::RemoveFromAlbum},
        {CommandId::kRemoveFromAlbumContext, &PhotoFileCommands::RemoveFromAlbum},
    };
    for (const auto& [id, slot] : commands) {
        if (QAction* action = frame.Command(id)) {
            action->setEnabled(true);
            QObject::connect(action, &QAction::triggered, files, slot);
        }
    }
    QAction* promote = frame.Command(CommandId::kAddDuplicatesToCatalogue);
    if (promote) {
        promote->setEnabled(true);
        QObject::connect(promote, &QAction::triggered, files,
                         [files, regions] { files->PromoteDuplicates(regions); });
        promote->setToolTip(QStringLiteral("将重复列表中的照片替换数据库中的照片。"));
    }
    QAction* paste = frame.Command(CommandId::kPaste);
    auto updatePaste = [paste] {
        if (paste)
            paste->setEnabled(ClipboardOffersImport(QGuiApplication::clipboard()->mimeData()));
    };
    // Ctrl+V works without a menu opened first: 黏贴 follows the clipboard.
    updatePaste();
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, files, updatePaste);
    QObject::connect(&frame, &CMainFrame::commandStatesRequested, files, [files, promote] {
        if (promote) promote->setEnabled(files->PromoteAvailable());
    });
    if (paste && pane) QObject::connect(paste, &QAction::triggered, pane, &CClassView::Paste);
    return files;
}

// 查看照片属性 under both its ids; a photo found invalid runs 整理数据库 when
// that command is carried.
void CarryProperties(CMainFrame& frame, CVereroView* view, LocationController* location,
                     const PropertiesContext& properties) {
    auto runTidy = [&frame] { RunTidy(frame); };
    for (int id : {CommandId::kProperties, CommandId::kPropertiesAlternate}) {
        if (QAction* action = frame.Command(id)) {
            action->setEnabled(true);
            QObject::connect(
                action, &QAction::triggered, view, [view, runTidy, location, properties] {
                    const int queuedBefore = location->PendingRegionCount();
                    if (RunPropertiesCommand(*view, properties, runTidy))
                        location->OfferRegionLookup(
                            LocationController::EditSource::PropertiesCommand, queuedBefore);
                });
        }
    }
}

// The four map commands of menu 编辑.
LocationController* ConnectLocation(CVereroApp& app, CMainFrame& frame, CVereroView* view,
                                    const RegionRoute& regions,
                                    const PropertiesContext& properties) {
    auto* location = new LocationController(app.Link(), &app.RegionNames(), regions, *view, &frame);
    location->SetPropertiesContext(properties);
    location->SetDialogOpenedHook([&frame] { frame.StartBringToFrontTimer(); });
    QObject::connect(view, &CVereroView::regionLookupRequested, location,
                     &LocationController::StartRegionLookup);
    const std::pair<int, void (LocationController::*)()> commands[] = {
        {CommandId::kRegionsFromGps, &LocationController::RegionsFromGps},
        {CommandId::kPositionsFromTracks, &LocationController::PositionsFromTracks},
        {CommandId::kPickPositionOnMap, &LocationController::PickPositionOnMap},
        {CommandId::kShowOnMap, &LocationController::ShowOnMap},
    };
    for (const auto& [id, slot] : commands) {
        if (QAction* action = frame.Command(id)) {
            action->setEnabled(true);
            QObject::connect(action, &QAction::triggered, location, slot);
        }
    }
    return location;
}

}  // namespace

FrameParts MakeBrowsingParts(Library& library) {
    FrameParts parts;
    parts.makeView = [&library] { return TheView(library); };
    parts.makePane = [&library] {
        return new CClassView(*TheView(library), nullptr, CClassView::FirstTree::AfterFirstPaint);
    };
    return parts;
}

void ConnectBrowsingWindows(CVereroApp& app) {
    CMainFrame& frame = *app.MainFrame();
    CVereroView* view = CVereroView::Instance();
    if (!view) return;
    auto* imports =
        new ImportController(app.PhotoLibrary(), app.Link(), &app.RegionNames(), &frame);
    imports->SetDialogOpenedHook([&frame] { frame.StartBringToFrontTimer(); });
    if (CClassView* pane = CClassView::Instance()) {
        ConnectPaneToImports(frame, pane, imports);
        CarrySearch(frame, pane, view);
    }
    // Files and folders of the command line and of later starts on the same
    // data folder, imported as a drop on the pane is.
    QWidget* importOwner = CClassView::Instance() ? static_cast<QWidget*>(CClassView::Instance())
                                                  : static_cast<QWidget*>(view);
    app.SetPathsReceiver([imports, owner = QPointer<QWidget>(importOwner)](const QStringList& p) {
        imports->ImportWhenFree(p, owner);
    });
    QObject::connect(view, &CVereroView::urlsDropped, imports,
                     [view, imports](const QList<QUrl>& urls) {
                         imports->AcceptDroppedPaths(LocalFilePaths(urls), view);
                     });
    PhotoFileCommands* files =
        ConnectFileCommands(frame, view, CClassView::Instance(), imports->Regions());
    QObject::connect(view, &CVereroView::statusTextChanged, &frame, &CMainFrame::SetStatusText);
    Carry(frame, CommandId::kLargeIcons, view, &CVereroView::OnLargeIcons);
    Carry(frame, CommandId::kSmallIcons, view, &CVereroView::OnSmallIcons);
    Carry(frame, CommandId::kDetailList, view, &CVereroView::OnDetailList);
    Carry(frame, CommandId::kShowKeywords, view, &CVereroView::OnToggleKeywords);
    Carry(frame, CommandId::kAutoOrient, view, &CVereroView::OnToggleAutoOrient);
    // Every properties dialog of the run writes on the import's region route
    // and shares the answers of the others.
    const PropertiesContext properties{RoutedPhotoWriter(app.PhotoLibrary(), imports->Regions())};
    LocationController* location =
        ConnectLocation(app, frame, view, imports->Regions(), properties);
    CarryProperties(frame, view, location, properties);
    ConnectViewer(frame, view, location, properties);
    ConnectUpkeep(frame, view, files, imports, app.PhotoLibrary());
    auto updateCommands = [&frame, view] {
        UpdateViewChecks(frame, view);
        UpdatePhotoCommands(frame, view);
    };
    updateCommands();
    QObject::connect(view, &CVereroView::commandStatesChanged, &frame, updateCommands);
    QObject::connect(&frame, &CMainFrame::commandStatesRequested, &frame, updateCommands);
    // Menu 119 over the grid, and the grid's Ctrl+C / Ctrl+X, run the
    // frame's commands, which act on the view's selection.
    QObject::connect(
        view, &CVereroView::contextMenuRequested, &frame,
        [&frame](const QPoint& globalPos) { frame.EditContextMenu()->popup(globalPos); });
    QObject::connect(view, &CVereroView::commandRequested, &frame, [&frame](int id) {
        if (QAction* action = frame.Command(id); action && action->isEnabled()) action->trigger();
    });
}
