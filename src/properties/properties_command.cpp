#include "properties/properties_command.h"

#include "browsemodel/photo_browser.h"
#include "dialogs/dlg_msg.h"
#include "properties/dialog_exif.h"

bool RunPropertiesDialog(PropertiesSession& session, QWidget* parent) {
    if (!LoadSessionRecord(session)) return false;
    session.photosModified = false;
    {
        CDialog_Exif dialog(session, parent);
        dialog.exec();
    }
    session.record.reset();
    return true;
}

PropertiesSession SessionOnViewPhoto(const PhotoBrowser& view, int index,
                                     PropertiesContext context) {
    PropertiesSession session;
    session.library = &view.PhotoLibrary();
    session.context = std::move(context);
    session.shownPhoto = view.Photos().Entry(index).ref;
    session.selection = view.Selection().list.Photos();
    return session;
}

void RunPropertiesOrSayInvalid(PropertiesSession& session, QWidget* parent) {
    if (RunPropertiesDialog(session, parent)) return;
    ShowDlgMsg(parent, QStringLiteral("提示"), QStringLiteral("此照片已失效，请先整理数据库."));
    session.tidyRequested = true;
}

bool RunPropertiesCommand(PhotoBrowser& view, const PropertiesContext& context,
                          const std::function<void()>& runTidy) {
    if (!view.HasPhotos()) return false;
    const std::optional<int> index = view.PickCommandPhoto(false);
    if (!index) return false;
    PropertiesSession session = SessionOnViewPhoto(view, *index, context);
    view.PhotoStatusText(session.shownPhoto);
    RunPropertiesOrSayInvalid(session, view.DialogParent());
    if (session.tidyRequested && runTidy) runTidy();
    if (session.photosModified) {
        // A rename may have given the photo a new id: reselect it by that.
        if (view.Photos().IsValid(*index))
            view.Photos().Entry(*index).ref.idPic = session.shownPhoto.idPic;
        view.RefreshList(false);
        view.RefreshDetailRows();
    }
    return session.photosModified;
}
