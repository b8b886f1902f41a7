#pragma once
// The main window: menu bar, the standard toolbar "标准", the status bar,
// the dockable category pane "照片列表" at the left and the main view in
// the centre. It owns the commands of every menu (addressed by id), the
// look commands, the bring-to-front timer of the map link and the shutdown.
//
// UI thread only. One instance, published as CMainFrame::Instance() and as
// the MainFrame receiver of application-defined messages.

#include <QMainWindow>
#include <QTimer>
#include <map>

#include "app/application_look.h"
#include "app/toolbar_layout.h"
#include "messaging/receiver_registry.h"

class QAction;
class QActionGroup;
class QDockWidget;
class QLabel;
class QMenu;
class QToolBar;
class Library;
class MapLink;

// The status bar's text while no photo is named.
inline QString IdleStatusText() {
    return QStringLiteral("就绪");
}

class CMainFrame : public QMainWindow {
    Q_OBJECT

  public:
    // paneWidget fills the category pane, viewWidget is the main view; the
    // frame takes ownership. Null gives empty placeholders.
    explicit CMainFrame(QWidget* paneWidget = nullptr, QWidget* viewWidget = nullptr);
    ~CMainFrame() override;

    static CMainFrame* Instance();

    // The action of a command id (menus, toolbar, looks), or null. Windows
    // that carry a command connect to triggered() and keep its enabled and
    // checked state; commands nobody carries stay disabled.
    QAction* Command(int id) const;

    QDockWidget* CategoryPaneDock() const { return paneDock_; }

    // The photo context menu "编辑" (menu 119), made of the same commands.
    QMenu* EditContextMenu() const { return editContextMenu_; }

    // The status bar's text; empty gives the idle text "就绪" (also at start).
    void SetStatusText(const QString& text);
    QString StatusText() const;

    // 自定义...: lets the user show, hide and reorder the standard toolbar's
    // buttons; the choice is applied and saved when the dialog is accepted.
    void CustomizeToolbar();
    // The context menu of the toolbar and the pane's title: the bars to show,
    // then 自定义... for the standard toolbar.
    QMenu* createPopupMenu() override;
    // Rebuilds the standard toolbar from a layout (shown slots only).
    void ApplyToolbarLayout(const ToolbarLayout& layout);

    // The look commands 205 to 219: applies the look, marks it and saves it.
    void SwitchLook(int id);
    int CurrentLook() const { return lookId_; }

    // Connects the map link's bring-to-front requests and photo selections
    // to the window; the link must outlive the frame or be detached (null).
    void AttachMapLink(MapLink* link);
    // The catalogue that closing the window saves when it is modified, and
    // whose photos the map link hands to the pane.
    void AttachLibrary(Library* library) { library_ = library; }
    // Restores, raises and activates the window and a modal dialog over it
    // (a companion's request, a later start of the program).
    void BringToFront();
    // Arms bring-to-front for the next region reply after 500 ms (one-shot timer).
    void StartBringToFrontTimer();
    // Event type posted (any thread) when a companion message waits; the
    // frame then lets the link handle it on this thread.
    static int MapLinkPumpEvent();

    // Hides the window, stops and waits for the workers, saves a modified
    // catalogue; the window then closes. Also what closing the window does.
    void Shutdown();

  signals:
    // A menu is about to open: carriers update enabled and checked states.
    void commandStatesRequested();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void CreateMenus();
    void CreateLookMenu(QMenu* viewMenu);
    void CreateEditContextMenu();
    void CreateToolbar();
    void CreateStatusBar();
    void CreatePane(QWidget* paneWidget);
    QAction* AddCommand(int id, const QString& text, bool checkable);
    void ShowAbout();

    ReceiverRegistration registration_;
    std::map<int, QAction*> commands_;
    QActionGroup* lookGroup_ = nullptr;
    QDockWidget* paneDock_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    QMenu* editContextMenu_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    QTimer bringToFrontTimer_;
    ApplicationLook look_;
    int lookId_ = LookId::kDefault;
    MapLink* mapLink_ = nullptr;
    Library* library_ = nullptr;
    bool shutDown_ = false;
};
