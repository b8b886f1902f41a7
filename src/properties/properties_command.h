#pragma once
// 查看照片属性 (32787, 32826): the properties dialog on the main view's
// current photo, with the view's multi-selection for the batch.
//
// UI thread only.

#include <functional>

#include "properties/properties_session.h"

class PhotoBrowser;
class QWidget;

// Runs the dialog modally for session (the opening contract): loads the
// record of session.shownPhoto, runs the dialog with the session's preset
// position, and frees the record again. False without running it when the
// photo's row cannot be read.
bool RunPropertiesDialog(PropertiesSession& session, QWidget* parent);

// A session on the view's photo at index, with the view's multi-selection
// for the batch, in the opener's context.
PropertiesSession SessionOnViewPhoto(const PhotoBrowser& view, int index,
                                     PropertiesContext context);
// Runs the dialog; a photo whose row cannot be read is reported as invalid
// and asks for the tidy (session.tidyRequested).
void RunPropertiesOrSayInvalid(PropertiesSession& session, QWidget* parent);

// The command on view's current photo, in the opener's context. After the
// dialog: a photo that turned out invalid runs runTidy (the 整理数据库
// dialog), and written photos refresh the list, which rebuilds the trees
// that group by the edited fields. True when photos were written.
bool RunPropertiesCommand(PhotoBrowser& view, const PropertiesContext& context,
                          const std::function<void()>& runTidy);
