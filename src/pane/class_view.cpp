// CClassView: creation, groupings and their trees, messages and layout.

#include "pane/class_view.h"

#include <QAction>
#include <QActionGroup>
#include <QList>
#include <QPainter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "messaging/message_event.h"
#include "messaging/ui_messages.h"
#include "pane/sort_buttons.h"
#include "pane/tree_ctrl_ex.h"
#include "tree/category_tree_builder.h"
#include "view/verero_view.h"

namespace {
CClassView* instance = nullptr;
constexpr int kSearchPanelHeight = 130;
constexpr const char* kModeProperty = "sortMode";  // the grouping of a toolbar button
}  // namespace

CClassView::CClassView(CVereroView& view, QWidget* parent, FirstTree firstTree)
    : QWidget(parent), view_(view), registration_(ReceiverRole::CategoryPane, this) {
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    CreateToolBar();
    CreateContextMenu();
    instance = this;
    connect(&view_, &CVereroView::refreshRequested, this, &CClassView::OnRefreshRequested);
    if (firstTree == FirstTree::Now) BuildFirstTree();
    Relayout();
}

void CClassView::BuildFirstTree() {
    if (!firstTreePending_) return;
    firstTreePending_ = false;
    CTreeCtrlEx* control = EnsureControl(SortMode::ShotTime);
    MakeCurrent(control);
    if (control->Tree() != nullptr || BuildTree(SortMode::ShotTime)) SelectFirst();
}

CClassView::~CClassView() {
    if (instance == this) instance = nullptr;
}

CClassView* CClassView::Instance() {
    return instance;
}

void CClassView::CreateToolBar() {
    toolbar_ = new QToolBar(this);
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    toolbar_->setContextMenuPolicy(Qt::PreventContextMenu);  // not customisable
    modeButtons_ = new QActionGroup(this);
    modeButtons_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    auto addButton = [this](int commandId, const QString& text, const QString& tip, SortMode mode) {
        QAction* action = toolbar_->addAction(text);
        action->setData(commandId);
        action->setToolTip(tip);
        action->setStatusTip(tip);
        action->setCheckable(true);
        action->setProperty(kModeProperty, static_cast<int>(mode));
        modeButtons_->addAction(action);
        connect(action, &QAction::triggered, this, [this, mode] { ShowMode(mode); });
        return action;
    };
    for (const SortButton& button : kSortButtons)
        addButton(button.commandId, QString::fromUtf8(button.text), QString::fromUtf8(button.tip),
                  button.mode);
    // The photos chosen on the map stay one click away once they came.
    mapButton_ = addButton(0, QStringLiteral("地图"), QStringLiteral("来自Zidevu地图的照片"),
                           SortMode::FromMap);
    mapButton_->setVisible(false);
    CheckModeButton();
}

void CClassView::CheckModeButton() {
    for (QAction* action : modeButtons_->actions())
        action->setChecked(action->property(kModeProperty).toInt() == static_cast<int>(mode_));
    MarkOverflow();
}

void CClassView::MarkOverflow() {
    // A grouping chosen from the » menu has no button in sight: the »
    // button itself shows that the current grouping is behind it.
    auto* more = toolbar_->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
    if (more == nullptr) return;
    bool hidden = false;
    for (QAction* action : modeButtons_->actions()) {
        const QWidget* button = toolbar_->widgetForAction(action);
        hidden = hidden || (action->isChecked() && button != nullptr && button->isHidden());
    }
    more->setCheckable(true);
    more->setChecked(hidden);
}

CTreeCtrlEx* CClassView::TreeOf(SortMode mode) const {
    return controls_[static_cast<int>(mode)];
}

SortMode CClassView::SlotOf(SortMode mode) const {
    const bool filtered = mode == SortMode::KeywordGroups || mode == SortMode::SubjectGroups ||
                          mode == SortMode::RegionGroups;
    return searchActive_ && filtered ? SortMode::ShotTime : mode;
}

CTreeCtrlEx* CClassView::EnsureControl(SortMode slot) {
    CTreeCtrlEx*& control = controls_[static_cast<int>(slot)];
    if (control != nullptr) return control;
    control = new CTreeCtrlEx(this);
    control->setFrameShape(QFrame::NoFrame);  // the pane draws the frame
    control->hide();
    control->installEventFilter(this);
    connect(control, &CTreeCtrlEx::caretReported, this, &CClassView::OnCaretReported);
    connect(control, &CTreeCtrlEx::selectionListCleared, this, &CClassView::ClearViewSelection);
    connect(control, &CTreeCtrlEx::itemDoubleClicked, this, &CClassView::OnDoubleClicked);
    connect(control, &CTreeCtrlEx::contextMenuAsked, this, &CClassView::OnContextMenuAsked);
    return control;
}

bool CClassView::BuildTree(SortMode mode) {
    std::unique_ptr<CategoryTree> tree;
    if (mode == SortMode::FromMap) {
        tree = BuildFromMapTree(view_.PhotoLibrary(), mapIds_);
    } else {
        tree = BuildCategoryTree(view_.PhotoLibrary(), mode, searchActive_ ? &filter_ : nullptr);
        if (tree) AppendDuplicatesGroup(view_.PhotoLibrary(), *tree);
    }
    if (!tree) return false;
    ApplyGroupCounts(*tree);
    CTreeCtrlEx* control = EnsureControl(SlotOf(mode));
    control->SetTree(std::move(tree));
    MakeCurrent(control);
    return true;
}

void CClassView::MakeCurrent(CTreeCtrlEx* control) {
    for (CTreeCtrlEx* other : controls_) {
        if (other != nullptr && other != control) other->hide();
    }
    current_ = control;
    if (control != nullptr) {
        control->show();
        Relayout();
    }
    update();
}

void CClassView::ShowMode(SortMode mode) {
    if (mode == mode_) {
        CheckModeButton();  // a click on the checked button unchecked it
        return;
    }
    mode_ = mode;
    CheckModeButton();
    if (searchActive_) DropTrees();  // the filtered trees are built anew
    CTreeCtrlEx* control = TreeOf(SlotOf(mode));
    if (control != nullptr && control->Tree() != nullptr) {
        MakeCurrent(control);
        SelectFirst();
    } else if (BuildTree(mode)) {
        SelectFirst();
    } else {
        MakeCurrent(nullptr);
    }
}

void CClassView::RebuildCurrent() {
    CTreeCtrlEx* control = TreeOf(SlotOf(mode_));
    if (control != nullptr && control->Tree() != nullptr) {
        MakeCurrent(control);
        return;
    }
    if (!BuildTree(mode_)) MakeCurrent(nullptr);
}

void CClassView::DropTrees() {
    // Where the list stood, for the rebuild that follows a drop.
    if (!pendingPlace_ && current_ != nullptr && current_->Tree() == listedFrom_)
        pendingPlace_ = PlaceOf(view_.ListedRequest());
    for (int slot = 0; slot < kSortModeCount; ++slot) {
        if (controls_[slot] != nullptr && static_cast<SortMode>(slot) != SortMode::FromMap)
            controls_[slot]->DropTree();
    }
    current_ = nullptr;
    update();
}

void CClassView::DropRegionTree() {
    // The view's refresh reads the labels of the listed category while its
    // tree still stands, then drops every tree (the region tree with them),
    // rebuilds the shown one and finds its place again.
    if (mode_ == SortMode::RegionGroups) {
        view_.RefreshList(false);
        return;
    }
    // While searching, the region grouping shares the filtered shot-time
    // tree, which no region update changes; only a region tree of its own
    // is dropped.
    if (CTreeCtrlEx* control = TreeOf(SortMode::RegionGroups)) control->DropTree();
}

void CClassView::ShowMapPhotos(std::vector<std::int64_t> ids) {
    mapIds_ = std::move(ids);
    mapButton_->setVisible(true);
    mode_ = SortMode::FromMap;
    CheckModeButton();
    if (BuildTree(SortMode::FromMap)) {
        SelectFirst();
    } else {
        MakeCurrent(nullptr);
    }
}

void CClassView::SetSearchActive(bool active) {
    if (active == searchActive_) return;
    searchActive_ = active;
    if (active) {
        if (searchPanel_ != nullptr) searchPanel_->show();
        Relayout();
        return;
    }
    if (searchPanel_ != nullptr) searchPanel_->hide();
    DropTrees();
    RebuildCurrent();
    SelectFirst();
    Relayout();
}

void CClassView::SetSearchPanel(QWidget* panel) {
    searchPanel_ = panel;
    if (panel == nullptr) return;
    panel->setParent(this);
    panel->setVisible(searchActive_);
    Relayout();
}

void CClassView::Search(const SearchFilter& filter) {
    filter_ = filter;
    DropTrees();
    RebuildCurrent();
    SelectFirst();
    Relayout();
}

bool CClassView::event(QEvent* event) {
    if (!IsMessageEvent(event)) return QWidget::event(event);
    const auto* message = static_cast<MessageEvent*>(event);
    switch (message->Number()) {
        case UiMessage::kShowMapPhotos: {
            const QList<qint64> ids = message->Payload().value<QList<qint64>>();
            ShowMapPhotos(std::vector<std::int64_t>(ids.begin(), ids.end()));
            return true;
        }
        case UiMessage::kRebuildCurrentTree: {
            // The list stays in its category: where it stood before the
            // trees were dropped, or where it stands now.
            const ListedPlace place =
                pendingPlace_ ? *pendingPlace_ : PlaceOf(view_.ListedRequest());
            RebuildCurrent();
            ReselectAfterRebuild(place);
            Relayout();
            view_.viewport()->update();
            return true;
        }
        case UiMessage::kCancelFolderScan:
            if (hooks_.cancelFolderScan) hooks_.cancelFolderScan();
            return true;
        case UiMessage::kPaneRelayout:
            Relayout();
            return true;
        case UiMessage::kDropTrees:
            DropTrees();
            return true;
        case UiMessage::kRegionTreeStale:
            DropRegionTree();
            return true;
        default:
            return QWidget::event(event);
    }
}

void CClassView::Relayout() {
    if (toolbar_ == nullptr) return;
    const int toolbarHeight = toolbar_->sizeHint().height();
    toolbar_->setGeometry(0, 0, width(), toolbarHeight);
    // The toolbar lays its buttons out when it handles the resize.
    QTimer::singleShot(0, this, &CClassView::MarkOverflow);
    // The search panel lies below the toolbar, slightly wider than the pane
    // so that its own border does not show; the tree follows below it.
    int treeTop = toolbarHeight + 1;
    if (searchActive_ && searchPanel_ != nullptr) {
        searchPanel_->setGeometry(-2, toolbarHeight, width() + 2, kSearchPanelHeight);
        treeTop = toolbarHeight + kSearchPanelHeight;
    }
    const QRect treeArea(1, treeTop, std::max(0, width() - 2), std::max(0, height() - treeTop - 1));
    for (CTreeCtrlEx* control : controls_) {
        if (control != nullptr) control->setGeometry(treeArea);
    }
    update();
}

void CClassView::resizeEvent(QResizeEvent*) {
    Relayout();
}

void CClassView::paintEvent(QPaintEvent*) {
    if (firstTreePending_) {
        QPainter(this).drawText(rect().adjusted(0, toolbar_->height(), 0, 0), Qt::AlignCenter,
                                QStringLiteral("正在读取相册……"));
        // After this paint has reached the screen.
        QTimer::singleShot(0, this, &CClassView::BuildFirstTree);
        return;
    }
    if (current_ == nullptr) return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(current_->geometry().adjusted(-1, -1, 0, 0));
}

void CClassView::focusInEvent(QFocusEvent*) {
    if (current_ != nullptr) current_->setFocus();
}
