#include "app/main_frame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QGuiApplication>
#include <QLabel>
#include <QList>
#include <QWindow>

#include "app/about_dialog.h"
#include "app/look_settings.h"
#include "app/program_settings.h"
#include "app/shutdown_sequence.h"
#include "catalogue/photo_rows.h"
#include "maplink/companion_launcher.h"
#include "maplink/map_link.h"
#include "messaging/command_ids.h"
#include "messaging/ui_messages.h"

namespace {
CMainFrame* instance = nullptr;
}

CMainFrame::CMainFrame(QWidget* paneWidget, QWidget* viewWidget)
    : registration_(ReceiverRole::MainFrame, this), lookId_(ReadApplicationLook()) {
    instance = this;
    setWindowTitle(QStringLiteral("Darazoz相册管理系统"));
    setObjectName(QStringLiteral("RezidaDoz"));
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);

    CreateMenus();
    CreateToolbar();
    CreateStatusBar();
    CreatePane(paneWidget);
    if (viewWidget == nullptr) {
        viewWidget = new QWidget;
        viewWidget->setAutoFillBackground(true);
        viewWidget->setBackgroundRole(QPalette::Base);
    }
    setCentralWidget(viewWidget);

    bringToFrontTimer_.setSingleShot(true);
    bringToFrontTimer_.setInterval(kBringToFrontTimerDelay);
    connect(&bringToFrontTimer_, &QTimer::timeout, this, [this] {
        if (mapLink_ != nullptr) mapLink_->OnBringToFrontTimer();
    });

    SwitchLook(lookId_);
    resize(1024, 700);
}

CMainFrame::~CMainFrame() {
    AttachMapLink(nullptr);
    if (instance == this) instance = nullptr;
}

CMainFrame* CMainFrame::Instance() {
    return instance;
}

QAction* CMainFrame::Command(int id) const {
    const auto it = commands_.find(id);
    return it == commands_.end() ? nullptr : it->second;
}

QAction* CMainFrame::AddCommand(int id, const QString& text, bool checkable) {
    QAction* action = new QAction(text, this);
    action->setData(id);
    action->setCheckable(checkable);
    action->setEnabled(false);
    commands_[id] = action;
    return action;
}

void CMainFrame::SetStatusText(const QString& text) {
    statusLabel_->setText(text.isEmpty() ? IdleStatusText() : text);
}

QString CMainFrame::StatusText() const {
    return statusLabel_->text();
}

void CMainFrame::SwitchLook(int id) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    lookId_ = id;
    look_.Apply(id);
    if (id >= LookId::kFirst && id <= LookId::kLast) {
        Command(id)->setChecked(true);
    } else if (QAction* checked = lookGroup_->checkedAction()) {
        checked->setChecked(false);  // a value without a command: no mark
    }
    WriteApplicationLook(id);
    update();
    QApplication::restoreOverrideCursor();
}

void CMainFrame::AttachMapLink(MapLink* link) {
    if (mapLink_ != nullptr) {
        mapLink_->SetBringToFrontReceiver({});
        mapLink_->SetPhotoSelectionReceiver({});
        mapLink_->SetPhotoIdCheck({});
    }
    mapLink_ = link;
    if (link == nullptr) return;
    // Receivers run on the link's dispatch thread, which is this UI thread.
    link->SetBringToFrontReceiver([this] { BringToFront(); });
    // Only photos of this catalogue are handed to the pane.
    link->SetPhotoIdCheck(
        [this](std::int64_t id) { return library_ != nullptr && PhotoIdExists(*library_, id); });
    link->SetPhotoSelectionReceiver([](std::vector<std::int64_t> ids) {
        QList<qint64> list(ids.begin(), ids.end());
        ReceiverRegistry::Post(ReceiverRole::CategoryPane, UiMessage::kShowMapPhotos,
                               QVariant::fromValue(list));
    });
}

void CMainFrame::StartBringToFrontTimer() {
    bringToFrontTimer_.start();
}

int CMainFrame::MapLinkPumpEvent() {
    static const int type = QEvent::registerEventType();
    return type;
}

bool CMainFrame::event(QEvent* event) {
    if (event->type() == MapLinkPumpEvent()) {
        if (mapLink_ != nullptr) mapLink_->Endpoint().ProcessPendingMessages();
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::BringToFront() {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    // A modal dialog open over the window (a result dialog waiting for its
    // 确定) stays above it, also where no window manager keeps it there.
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != this) {
        modal->raise();
        modal->activateWindow();
    }
}

void CMainFrame::ShowAbout() {
    CAboutDlg dialog(this);
    dialog.exec();
}

void CMainFrame::Shutdown() {
    if (shutDown_) return;
    shutDown_ = true;
    hide();
    QGuiApplication::sync();  // let the window disappear before the wait
    RunShutdownSequence(library_, ShutdownPause);
    close();
    // Top-level windows without a parent (the viewer) must not keep the
    // program alive once the frame is gone.
    QCoreApplication::quit();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (paneDock_ != nullptr && paneDock_->isVisible() && !paneDock_->isFloating())
        WritePaneWidth(paneDock_->width());
    Shutdown();
    event->accept();
}
