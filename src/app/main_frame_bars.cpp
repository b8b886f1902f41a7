// CMainFrame: building the menu bar, the toolbar, the status bar and the pane.

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDockWidget>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "app/command_table.h"
#include "app/main_frame.h"
#include "app/program_settings.h"
#include "app/toolbar_customize_dialog.h"
#include "maplink/companion_launcher.h"
#include "messaging/command_ids.h"

namespace {

QIcon ToolbarIcon(int id) {
    QStyle* style = QApplication::style();
    switch (id) {
        case CommandId::kAddFolder:
            return QIcon::fromTheme(QStringLiteral("folder-new"),
                                    style->standardIcon(QStyle::SP_FileDialogNewFolder));
        case CommandId::kShowPhoto:
            return QIcon::fromTheme(QStringLiteral("image-x-generic"),
                                    style->standardIcon(QStyle::SP_DesktopIcon));
        case CommandId::kProperties:
            return QIcon::fromTheme(QStringLiteral("document-properties"),
                                    style->standardIcon(QStyle::SP_FileDialogInfoView));
        case CommandId::kSearch:
            return QIcon::fromTheme(QStringLiteral("edit-find"),
                                    style->standardIcon(QStyle::SP_FileDialogContentsView));
        case CommandId::kLargeIcons:
            return QIcon::fromTheme(QStringLiteral("view-list-icons"),
                                    style->standardIcon(QStyle::SP_FileDialogStart));
        case CommandId::kSmallIcons:
            return QIcon::fromTheme(QStringLiteral("view-grid"),
                                    style->standardIcon(QStyle::SP_FileDialogListView));
        default:
            return QIcon::fromTheme(QStringLiteral("view-list-details"),
                                    style->standardIcon(QStyle::SP_FileDialogDetailedView));
    }
}

// The usual keys of the commands that have one; the menus show them. They
// work anywhere in the main window except where a text field takes the key
// (Ctrl+C in the search panel copies its text). 显示照片 is Enter on the grid
// itself, so that Enter in the search panel still searches.
QList<QKeySequence> CommandShortcuts(int id) {
    using namespace CommandId;
    switch (id) {
        case kCut:
            return QKeySequence::keyBindings(QKeySequence::Cut);
        case kCopy:
            return QKeySequence::keyBindings(QKeySequence::Copy);
        case kPaste:
            return QKeySequence::keyBindings(QKeySequence::Paste);
        case kRemoveFromAlbum:
            return {QKeySequence(Qt::Key_Delete)};
        case kProperties:
            return {QKeySequence(Qt::ALT | Qt::Key_Return)};
        case kSearch:
            return QKeySequence::keyBindings(QKeySequence::Find);
        case kUpdateLibrary:
            return {QKeySequence(Qt::Key_F5)};
        case kSaveCatalogue:
            return QKeySequence::keyBindings(QKeySequence::Save);
        case kExit:
            return {QKeySequence(Qt::CTRL | Qt::Key_Q)};
        default:
            return {};
    }
}

constexpr int kDefaultPaneWidth = 200;

}  // namespace

void CMainFrame::CreateMenus() {
    menuBar()->setFocusPolicy(Qt::NoFocus);
    for (const MenuDefinition& definition : MainMenus()) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(definition.title));
        menu->setToolTipsVisible(true);
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::commandStatesRequested);
        for (const MenuEntry& entry : definition.entries) {
            if (entry.id == 0) {
                menu->addSeparator();
                continue;
            }
            QAction* action = AddCommand(entry.id, QString::fromUtf8(entry.text), entry.checkable);
            action->setShortcuts(CommandShortcuts(entry.id));
            menu->addAction(action);
            if (entry.id == CommandId::kViewStatusBar) CreateLookMenu(menu);
        }
    }
    // The context menu's name for 从相册移除 and the alternative properties id.
    addAction(AddCommand(CommandId::kRemoveFromAlbumContext, QStringLiteral("从相册移除"), false));
    addAction(AddCommand(CommandId::kPropertiesAlternate, QStringLiteral("查看照片属性"), false));

    CreateEditContextMenu();

    QAction* exitAction = Command(CommandId::kExit);
    exitAction->setEnabled(true);
    connect(exitAction, &QAction::triggered, this, &CMainFrame::close);
    QAction* about = Command(CommandId::kAbout);
    about->setEnabled(true);
    connect(about, &QAction::triggered, this, &CMainFrame::ShowAbout);
    QAction* aboutCompanion = Command(CommandId::kAboutCompanion);
    aboutCompanion->setEnabled(true);
    connect(aboutCompanion, &QAction::triggered, this, [] { OpenCompanionDownloadPage(); });
}

void CMainFrame::CreateEditContextMenu() {
    editContextMenu_ = new QMenu(QStringLiteral("编辑"), this);
    editContextMenu_->setToolTipsVisible(true);  // 将重复照片添加到数据库中 explains itself
    connect(editContextMenu_, &QMenu::aboutToShow, this, &CMainFrame::commandStatesRequested);
    for (int id : EditContextMenuCommands()) {
        if (id == 0)
            editContextMenu_->addSeparator();
        else
            editContextMenu_->addAction(Command(id));
    }
}

void CMainFrame::CreateLookMenu(QMenu* viewMenu) {
    QMenu* lookMenu = viewMenu->addMenu(QStringLiteral("程序外观"));
    lookGroup_ = new QActionGroup(this);
    lookGroup_->setExclusive(true);
    for (int id = LookId::kFirst; id <= LookId::kLast; ++id) {
        QAction* action = AddCommand(id, QStringLiteral("外观 %1").arg(id), true);
        action->setEnabled(true);
        lookGroup_->addAction(action);
        addAction(action);  // reachable by id even without a menu item
        connect(action, &QAction::triggered, this, [this, id] { SwitchLook(id); });
    }
    for (const LookMenuItem& item : LookMenuItems()) {
        QAction* action = Command(item.id);
        action->setText(QString::fromUtf8(item.text));
        lookMenu->addAction(action);
    }
}

void CMainFrame::CreateToolbar() {
    toolbar_ = addToolBar(QStringLiteral("标准"));
    toolbar_->setObjectName(QStringLiteral("StandardToolbar"));
    toolbar_->setIconSize(QSize(24, 24));
    for (int id : StandardToolbarCommands()) {
        if (id == 0) continue;
        QAction* action = Command(id);
        action->setIcon(ToolbarIcon(id));
        if (const char* text = ToolbarText(id)) action->setToolTip(QString::fromUtf8(text));
    }
    ApplyToolbarLayout(ReadToolbarLayout());
    QAction* toggle = Command(CommandId::kViewToolbar);
    toggle->setEnabled(true);
    toggle->setChecked(true);
    connect(toggle, &QAction::toggled, toolbar_, &QToolBar::setVisible);
    connect(toolbar_, &QToolBar::visibilityChanged, toggle, &QAction::setChecked);
    QAction* customize = Command(CommandId::kCustomizeToolbar);
    customize->setEnabled(true);
    connect(customize, &QAction::triggered, this, &CMainFrame::CustomizeToolbar);
}

QMenu* CMainFrame::createPopupMenu() {
    QMenu* menu = QMainWindow::createPopupMenu();
    if (menu == nullptr) menu = new QMenu(this);
    menu->addSeparator();
    menu->addAction(Command(CommandId::kCustomizeToolbar));
    return menu;
}

void CMainFrame::ApplyToolbarLayout(const ToolbarLayout& layout) {
    toolbar_->clear();
    for (const ToolbarSlot& slot : NormalizedToolbarLayout(layout)) {
        if (!slot.shown) continue;
        if (slot.id == 0)
            toolbar_->addSeparator();
        else
            toolbar_->addAction(Command(slot.id));
    }
}

void CMainFrame::CustomizeToolbar() {
    auto describe = [this](int id) -> QListWidgetItem* {
        QAction* action = Command(id);
        if (!action) return nullptr;
        QString text = action->text();
        text.remove(QLatin1Char('&'));
        return new QListWidgetItem(action->icon(), text);
    };
    CDlgCustomizeToolbar dialog(ReadToolbarLayout(), describe, this);
    if (dialog.exec() != QDialog::Accepted) return;
    const ToolbarLayout layout = NormalizedToolbarLayout(dialog.Layout());
    WriteToolbarLayout(layout);
    ApplyToolbarLayout(layout);
}

void CMainFrame::CreateStatusBar() {
    statusLabel_ = new QLabel(IdleStatusText());
    statusBar()->addWidget(statusLabel_, 1);
    QAction* toggle = Command(CommandId::kViewStatusBar);
    toggle->setEnabled(true);
    toggle->setChecked(true);
    connect(toggle, &QAction::toggled, statusBar(), &QStatusBar::setVisible);
}

void CMainFrame::CreatePane(QWidget* paneWidget) {
    paneDock_ = new QDockWidget(QStringLiteral("照片列表"), this);
    paneDock_->setObjectName(QStringLiteral("CategoryPane"));
    paneDock_->setAllowedAreas(Qt::AllDockWidgetAreas);
    if (paneWidget == nullptr) {
        paneWidget = new QWidget;
        paneWidget->setAutoFillBackground(true);
        paneWidget->setBackgroundRole(QPalette::Base);
    }
    paneDock_->setWidget(paneWidget);
    addDockWidget(Qt::LeftDockWidgetArea, paneDock_);
    resizeDocks({paneDock_}, {ReadPaneWidth(kDefaultPaneWidth)}, Qt::Horizontal);
}
