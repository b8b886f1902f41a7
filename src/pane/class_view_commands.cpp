// CClassView: context menu 119, the Ctrl keys, 添加文件夹, paste, dropped
// files.

#include <QAction>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

#include "messaging/command_ids.h"
#include "pane/class_view.h"
#include "pane/import_paths.h"
#include "pane/tree_ctrl_ex.h"
#include "view/verero_view.h"

namespace {

struct MenuCommand {
    int id;
    const char* text;           // UTF-8
    const char* tip = nullptr;  // UTF-8, shown when the pointer rests on it
};

// Menu 119 in order; id 0 is a separator.
constexpr MenuCommand kMenuCommands[] = {
    {CommandId::kShowPhoto, "显示照片"},
    {CommandId::kProperties, "查看照片属性"},
    {0, nullptr},
    {CommandId::kPickPositionOnMap, "从Darazoz地图中选取位置"},
    {CommandId::kPositionsFromTracks, "根据Darazoz地图轨迹自动选取位置"},
    {CommandId::kShowOnMap, "在Darazoz地图中显示位置"},
    {CommandId::kRegionsFromGps, "根据GPS获取地区信息"},
    {0, nullptr},
    {CommandId::kCut, "剪切"},
    {CommandId::kCopy, "复制"},
    {CommandId::kPaste, "黏贴"},
    {0, nullptr},
    {CommandId::kOpenFileLocation, "打开文件位置"},
    {CommandId::kRemoveFromAlbumContext, "从相册移除"},
    {CommandId::kAddDuplicatesToCatalogue, "将重复照片添加到数据库中",
     "将重复列表中的照片替换数据库中的照片。"},
};

}  // namespace

void CClassView::CreateContextMenu() {
    menu_ = new QMenu(this);
    for (const MenuCommand& command : kMenuCommands) {
        if (command.id == 0) {
            menu_->addSeparator();
            continue;
        }
        QAction* action = menu_->addAction(QString::fromUtf8(command.text));
        action->setData(command.id);
        if (command.tip != nullptr) action->setToolTip(QString::fromUtf8(command.tip));
        const int id = command.id;
        connect(action, &QAction::triggered, this, [this, id] { RunMenuCommand(id); });
    }
    menu_->setToolTipsVisible(true);
    connect(menu_, &QMenu::aboutToShow, this, &CClassView::UpdateMenuStates);
}

bool CClassView::ViewHasPhotos() const {
    return view_.HasPhotos();
}

bool CClassView::CommandAvailable(int commandId) const {
    return hooks_.commandAvailable && hooks_.runCommand && hooks_.commandAvailable(commandId);
}

void CClassView::RunViewCommand(int commandId) {
    if (CommandAvailable(commandId)) hooks_.runCommand(commandId);
}

void CClassView::UpdateMenuStates() {
    for (QAction* action : menu_->actions()) {
        const int id = action->data().toInt();
        if (id == 0) continue;
        if (id == CommandId::kPaste) {
            action->setEnabled(hooks_.acceptPastedPaths &&
                               ClipboardOffersImport(QGuiApplication::clipboard()->mimeData()));
        } else if (id == CommandId::kAddDuplicatesToCatalogue) {
            bool duplicates = false;
            if (ViewHasPhotos()) {
                CollectSelection();
                const SelectionList& selection = view_.Selection().list;
                for (const PhotoRef& photo : selection.Photos())
                    duplicates = duplicates || photo.fromDuplicates;
                if (selection.Empty() && current_ != nullptr)
                    duplicates = current_->CaretInsideDuplicatesGroup();
            }
            action->setEnabled(duplicates && CommandAvailable(id));
        } else {
            action->setEnabled(CommandAvailable(id));
        }
    }
}

void CClassView::RunMenuCommand(int commandId) {
    switch (commandId) {
        case CommandId::kPaste:
            Paste();
            return;
        case CommandId::kOpenFileLocation:
            RunViewCommand(commandId);
            return;
        case CommandId::kShowPhoto:
            if (ViewHasPhotos()) RunViewCommand(commandId);
            return;
        case CommandId::kPositionsFromTracks:
        case CommandId::kShowOnMap:
        case CommandId::kRegionsFromGps:
        case CommandId::kAddDuplicatesToCatalogue:
            CollectSelection();
            RunViewCommand(commandId);
            return;
        case CommandId::kPickPositionOnMap:
            // The carrier sends the pick request when the map application
            // is ready.
            CollectSelection();
            if (ViewHasPhotos()) RunViewCommand(commandId);
            return;
        default:  // properties, cut, copy, remove from album
            if (!ViewHasPhotos()) return;
            CollectSelection();
            RunViewCommand(commandId);
            return;
    }
}

void CClassView::OnContextMenuAsked(const QPoint& globalPos, const QModelIndex& pointed) {
    if (current_ == nullptr || current_->Tree() == nullptr || !ViewHasPhotos()) return;
    // Until a command collects the tree selection, the menu acts on the
    // listed category.
    const std::optional<NodeIndex> listed = view_.Photos().categoryNode;
    if (listed && listedFrom_ == current_->Tree() &&
        current_->Tree()->Node(*listed).HasChildren()) {
        SelectionList& selection = view_.Selection().list;
        selection.Clear();
        std::vector<PhotoRef> photos;
        current_->Tree()->AppendPhotosBeneath(*listed, photos);
        for (const PhotoRef& photo : photos) selection.Toggle(photo);
    }
    if (pointed.isValid()) current_->PointCaret(pointed);
    current_->setFocus();
    menu_->popup(globalPos);
}

void CClassView::OnDoubleClicked() {
    emit prefetchRequested();
    if (ViewHasPhotos()) RunViewCommand(CommandId::kShowPhoto);
}

void CClassView::HandleControlKey(int key) {
    switch (key) {
        case Qt::Key_A:
            view_.SelectAll();
            view_.viewport()->repaint();
            break;
        case Qt::Key_C:
            RunViewCommand(CommandId::kCopy);
            break;
        case Qt::Key_X:
            RunViewCommand(CommandId::kCut);
            break;
        case Qt::Key_V:
            Paste();
            break;
        default:
            break;
    }
}

bool CClassView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & Qt::ControlModifier) HandleControlKey(key->key());
    }
    return QWidget::eventFilter(watched, event);
}

void CClassView::Paste() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (hooks_.acceptPastedPaths && ClipboardOffersImport(data))
        hooks_.acceptPastedPaths(LocalFilePaths(data->urls()));
}

void CClassView::AddFolder() {
    if (hooks_.startFolderImport) hooks_.startFolderImport();
}

void CClassView::DropPaths(const QList<QUrl>& urls) {
    update();
    if (hooks_.acceptDroppedPaths) hooks_.acceptDroppedPaths(LocalFilePaths(urls));
}

void CClassView::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CClassView::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    event->acceptProposedAction();
    DropPaths(urls);
}
