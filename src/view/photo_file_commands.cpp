#include "view/photo_file_commands.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QMimeData>

#include "catalogue/deleted_paths.h"
#include "catalogue/photo_rows.h"
#include "catalogue/process_flags.h"
#include "dialogs/dialog_delete.h"
#include "dialogs/dlg_msg.h"
#include "import/photo_refresh.h"
#include "platform/file_status.h"
#include "view/file_location.h"
#include "view/photo_clipboard.h"
#include "view/photo_trash.h"
#include "view/verero_view.h"

PhotoFileCommands::PhotoFileCommands(CVereroView& view, QObject* parent)
    : QObject(parent), view_(view) {
    askRemoval = [this](bool& deleteFiles) {
        DialogDelete dialog(&view_, PhotosWithoutTrash(view_.PhotoLibrary(), Targets()));
        if (dialog.exec() != QDialog::Accepted) return false;
        deleteFiles = dialog.DeleteFiles();
        return true;
    };
    showNoFileManager = [this](const QString& folder) {
        ShowDlgMsg(&view_, QStringLiteral("提示"),
                   QStringLiteral("没有找到能打开文件位置的文件管理器。\r\n照片所在的文件夹：") +
                       QDir::toNativeSeparators(folder),
                   false);
    };
    showInvalidPhoto = [this] {
        ShowDlgMsg(&view_, QStringLiteral("提示"), QStringLiteral("此照片已失效，请先整理数据库."),
                   false);
    };
}

int PhotosWithoutTrash(Library& library, const std::vector<PhotoRef>& photos) {
    int count = 0;
    for (const PhotoRef& photo : photos) {
        const auto path = PhotoFullPath(library, photo);
        if (path && !VolumeHasTrash(QString::fromStdString(*path))) ++count;
    }
    return count;
}

std::vector<PhotoRef> PhotoFileCommands::Targets() const {
    if (!view_.HasPhotos()) return {};
    const SelectionList& selected = view_.Selection().list;
    if (!selected.Empty()) return selected.Photos();
    const PhotoList& photos = view_.Photos();
    if (!photos.IsValid(photos.currentIndex)) return {};
    return {photos.Entry(photos.currentIndex).ref};
}

QStringList PhotoFileCommands::ClipboardPaths() const {
    QStringList paths;
    const bool selection = !view_.Selection().list.Empty();
    for (const PhotoRef& photo : Targets()) {
        // The current photo alone is always named by its catalogued copy.
        const bool duplicate = selection && photo.fromDuplicates;
        if (auto path = PhotoFullPath(view_.PhotoLibrary(), PhotoRef{photo.idPic, duplicate}))
            paths << QString::fromStdString(*path);
    }
    return paths;
}

void PhotoFileCommands::PutOnClipboard(bool cut) {
    const QStringList paths = ClipboardPaths();
    if (paths.isEmpty()) return;
    QApplication::clipboard()->setMimeData(MakePhotoFilesMimeData(paths, cut));
}

void PhotoFileCommands::Copy() {
    PutOnClipboard(false);
}

void PhotoFileCommands::Cut() {
    PutOnClipboard(true);
}

void PhotoFileCommands::OpenFileLocation() {
    const PhotoList& photos = view_.Photos();
    if (!view_.HasPhotos() || !photos.IsValid(photos.currentIndex)) return;
    // The catalogue's path, not the entry's: the entry reads its path only
    // when it is first painted, which the detail list never does.
    const PhotoRef photo = photos.Entry(photos.currentIndex).ref;
    const std::string path = PhotoFullPath(view_.PhotoLibrary(), photo).value_or("");
    if (path.empty() || FileSizeOfUtf8Path(path) < 1) {
        if (showInvalidPhoto) showInvalidPhoto();
        emit tidyRequested();
        return;
    }
    const QString file = QString::fromStdString(path);
    ShowFileInFileManager(file, this, [this, file] {
        if (showNoFileManager) showNoFileManager(QFileInfo(file).absolutePath());
    });
}

void PhotoFileCommands::RemoveFromAlbum() {
    if (!view_.HasPhotos()) return;
    bool deleteFiles = false;
    if (!askRemoval || !askRemoval(deleteFiles)) return;
    Remove(deleteFiles);
}

namespace {

// One photo out of the catalogue, its file to the trash or marked removed.
void RemovePhoto(Library& library, PhotoRef photo, bool deleteFile) {
    const auto path = PhotoFullPath(library, photo);
    if (path && deleteFile) {
        DeletePhotoFile(QString::fromStdString(*path));
    } else if (path) {
        AddDeletedPath(library, *path);
    }
    DeletePhotoRows(library, std::nullopt, photo);
}

}  // namespace

void PhotoFileCommands::Remove(bool deleteFiles) {
    if (!view_.HasPhotos()) return;
    SelectionList& selected = view_.Selection().list;
    if (!selected.Empty()) {
        for (const PhotoRef& photo : selected.Photos())
            RemovePhoto(view_.PhotoLibrary(), photo, deleteFiles);
        view_.Selection().Clear();
        view_.Photos().currentIndex = 0;
    } else {
        RemoveAt(view_.Photos().currentIndex, deleteFiles);
    }
    view_.RefreshList(true);
}

bool PhotoFileCommands::RemoveAt(int index, bool deleteFile) {
    PhotoList& photos = view_.Photos();
    if (!photos.IsValid(index)) return false;
    const PhotoRef photo = photos.Entry(index).ref;
    RemovePhoto(view_.PhotoLibrary(), photo, deleteFile);
    SelectionList& selected = view_.Selection().list;
    if (selected.Contains(photo)) selected.Toggle(photo);
    photos.RemoveAt(index);
    if (photos.currentIndex > index ||
        (photos.currentIndex >= photos.Count() && photos.currentIndex > 0))
        --photos.currentIndex;
    view_.viewport()->update();
    return true;
}

bool PhotoFileCommands::PromoteAvailable() const {
    for (const PhotoRef& photo : Targets())
        if (photo.fromDuplicates) return true;
    return false;
}

void PhotoFileCommands::PromoteDuplicates(const RegionRoute& regions) {
    bool promoted = false;
    for (const PhotoRef& photo : Targets()) {
        if (!photo.fromDuplicates) continue;
        PromoteDuplicate(view_.PhotoLibrary(), photo.idPic, regions);
        promoted = true;
    }
    if (!promoted) return;
    view_.RefreshList(false);
}
