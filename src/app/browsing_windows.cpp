#include "app/browsing_windows.h"

#include <QAction>

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "catalogue/photo_catalogue.h"
#include "view/verero_view.h"

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
        orient->setChecked(PhotoCatalogue::Instance().autoOrient);
    }
}

}  // namespace

FrameParts MakeBrowsingParts() {
    FrameParts parts;
    parts.makeView = [] { return new CVereroView; };
    return parts;
}

void ConnectBrowsingWindows(CMainFrame& frame) {
    CVereroView* view = CVereroView::Instance();
    if (!view) return;
    QObject::connect(view, &CVereroView::statusTextChanged, &frame, &CMainFrame::SetStatusText);
    Carry(frame, CommandId::kLargeIcons, view, &CVereroView::OnLargeIcons);
    Carry(frame, CommandId::kSmallIcons, view, &CVereroView::OnSmallIcons);
    Carry(frame, CommandId::kShowKeywords, view, &CVereroView::OnToggleKeywords);
    Carry(frame, CommandId::kAutoOrient, view, &CVereroView::OnToggleAutoOrient);
    UpdateViewChecks(frame, view);
    QObject::connect(view, &CVereroView::commandStatesChanged, &frame,
                     [&frame, view] { UpdateViewChecks(frame, view); });
}
