#pragma once
// The main view's commands on photo files: 复制 and 剪切 (the files on the
// clipboard), 打开文件位置, 从相册移除 (with or without deleting the files)
// and 将重复照片添加到数据库中. They act on the view's multi-selection when
// there is one, otherwise on the current photo; with no photos listed they
// do nothing.
//
// UI thread only.

#include <QObject>
#include <QStringList>
#include <functional>
#include <vector>

#include "import/photo_region.h"
#include "record/photo_ref.h"

class CVereroView;

// How many of these photos sit on a volume without a trash, whose files a
// removal with the files would delete for good.
int PhotosWithoutTrash(Library& library, const std::vector<PhotoRef>& photos);

class PhotoFileCommands : public QObject {
    Q_OBJECT

  public:
    explicit PhotoFileCommands(CVereroView& view, QObject* parent = nullptr);

    void Copy();
    void Cut();
    // The paths 复制 and 剪切 put on the clipboard, in order.
    QStringList ClipboardPaths() const;

    void OpenFileLocation();

    // Asks with DialogDelete, then removes.
    void RemoveFromAlbum();
    // Removes the photos from the catalogue; deleteFiles moves their files to
    // the trash as well. A photo removed while its file stays is recorded as
    // removed, so that a later update does not bring it back.
    void Remove(bool deleteFiles);

    // Single-photo removal, also the viewer's 删除: the photo at index leaves
    // the catalogue, the selection and the list (the current index stays on
    // its photo, or on the last one); its file goes to the trash, or is
    // recorded as removed. False for an index outside the list.
    bool RemoveAt(int index, bool deleteFile);

    // Whether 将重复照片添加到数据库中 applies: a duplicate among the selected
    // photos, or, without a selection, the current photo is a duplicate.
    bool PromoteAvailable() const;
    // The promoted photos take their region names through regions.
    void PromoteDuplicates(const RegionRoute& regions);

    // The delete confirmation; tests replace it. Returns false for 取消,
    // otherwise sets deleteFiles.
    std::function<bool(bool& deleteFiles)> askRemoval;
    // The "photo no longer valid" notice; tests replace it.
    std::function<void()> showInvalidPhoto;
    // No file manager nor the desktop could show the photo's folder; tests
    // replace it.
    std::function<void(const QString& folder)> showNoFileManager;

  signals:
    // The current photo's file is gone: the tidy dialog should follow.
    void tidyRequested();

  private:
    // The photos a command acts on: the selection, else the current photo.
    std::vector<PhotoRef> Targets() const;
    void PutOnClipboard(bool cut);

    CVereroView& view_;
};
