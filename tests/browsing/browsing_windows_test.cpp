// The seam between the frame's commands and the windows that carry them:
// once the program's windows are connected, no command of the menus, the
// toolbar or the context menu is left without a handler.

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <map>
#include <set>

#include "../app/app_test_folder.h"
#include "app/application_look.h"
#include "app/command_table.h"
#include "app/main_frame.h"
#include "app/verero_app.h"
#include "browsing/browsing_windows.h"
#include "messaging/command_ids.h"

namespace {

// QObject::receivers is protected; a pointer to it taken through a derived
// class may be called on any object.
struct ReceiverCount : QObject {
    static int Of(const QObject& object, const char* signal) {
        return (object.*(&ReceiverCount::receivers))(signal);
    }
};

// The menus and the toolbar connect to their actions themselves, so a
// command counts as carried when it gained a receiver since the shell alone
// was built.
int Receivers(const QAction& action) {
    return ReceiverCount::Of(action, SIGNAL(triggered(bool))) +
           ReceiverCount::Of(action, SIGNAL(toggled(bool)));
}

// The commands the frame handles itself: exit, the about boxes, the bars,
// 自定义... and the looks.
bool CarriedByTheFrame(int id) {
    using namespace CommandId;
    static const std::set<int> own{kExit,        kAbout,         kAboutCompanion,
                                   kViewToolbar, kViewStatusBar, kCustomizeToolbar};
    return own.count(id) > 0 || (id >= LookId::kFirst && id <= LookId::kLast);
}

void AddMenuActions(const QMenu& menu, std::set<QAction*>& actions) {
    for (QAction* action : menu.actions()) {
        if (action->isSeparator()) continue;
        if (action->menu()) {
            AddMenuActions(*action->menu(), actions);
        } else {
            actions.insert(action);
        }
    }
}

// Every command the user can reach, by id: the table's ids, the frame's
// own shortcut actions, and whatever the menus hold (the looks submenu too).
std::map<QAction*, int> ReachableCommands(CMainFrame& frame) {
    std::set<QAction*> actions;
    auto add = [&](int id) {
        if (id == 0) return;
        QAction* action = frame.Command(id);
        EXPECT_NE(action, nullptr) << "command " << id << " has no action";
        if (action) actions.insert(action);
    };
    for (const MenuDefinition& menu : MainMenus())
        for (const MenuEntry& entry : menu.entries) add(entry.id);
    for (int id : StandardToolbarCommands()) add(id);
    for (int id : EditContextMenuCommands()) add(id);
    add(CommandId::kPropertiesAlternate);
    for (QAction* action : frame.actions()) actions.insert(action);  // the looks by id
    for (QAction* action : frame.menuBar()->actions())
        if (action->menu()) AddMenuActions(*action->menu(), actions);
    AddMenuActions(*frame.EditContextMenu(), actions);
    std::map<QAction*, int> ids;
    for (QAction* action : actions) ids[action] = action->data().toInt();
    return ids;
}

TEST(TheBrowsingWindows, CarryEveryCommandOfTheFrame) {
    AppTestFolder folder;
    CVereroApp app;
    ASSERT_EQ(app.InitInstance({.dataFolder = folder.Path().toStdString()},
                               MakeBrowsingParts(app.PhotoLibrary())),
              CVereroApp::StartOutcome::Running);
    CMainFrame& frame = *app.MainFrame();
    const std::map<QAction*, int> commands = ReachableCommands(frame);
    std::map<QAction*, int> shellReceivers;
    for (const auto& [action, id] : commands) shellReceivers[action] = Receivers(*action);

    ConnectBrowsingWindows(app);
    for (const auto& [action, id] : commands) {
        const bool carried = CarriedByTheFrame(id) ? Receivers(*action) > 0
                                                   : Receivers(*action) > shellReceivers[action];
        EXPECT_TRUE(carried) << id << " " << action->text().toStdString() << " is not carried";
    }
}

}  // namespace
