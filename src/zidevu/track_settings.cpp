#include "zidevu/track_settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>

#include "zidevu/install_settings.h"

namespace {

const QString kOffsetKey = QStringLiteral("Tracks/CameraOffsetSeconds");
const QString kZoneKey = QStringLiteral("Tracks/CameraTimeZone");
const QString kGapKey = QStringLiteral("Tracks/MaxGapSeconds");
const QString kDistanceKey = QStringLiteral("Tracks/MaxDistanceSeconds");

std::int64_t SecondsOr(const QSettings& settings, const QString& key, std::int64_t fallback) {
    bool ok = false;
    const qlonglong value = settings.value(key).toLongLong(&ok);
    return ok && value >= 0 ? std::min<qlonglong>(value, kMaxGapSeconds) : fallback;
}

}  // namespace

TrackMatchSettings LoadTrackSettings() {
    const QSettings settings = ZidevuSettings();
    TrackMatchSettings s;
    s.clock.offsetSeconds = std::clamp<qlonglong>(
        settings.value(kOffsetKey).toLongLong(), -kMaxCameraOffsetSeconds, kMaxCameraOffsetSeconds);
    const std::string zone = settings.value(kZoneKey).toString().toStdString();
    if (IsKnownTimeZone(zone)) s.clock.timeZone = zone;
    s.rules.maxGapMs = SecondsOr(settings, kGapKey, s.rules.maxGapMs / 1000) * 1000;
    s.rules.maxDistanceMs = SecondsOr(settings, kDistanceKey, s.rules.maxDistanceMs / 1000) * 1000;
    return s;
}

void SaveTrackSettings(const TrackMatchSettings& s) {
    QSettings settings = ZidevuSettings();
    settings.setValue(kOffsetKey, static_cast<qlonglong>(s.clock.offsetSeconds));
    settings.setValue(kZoneKey, QString::fromStdString(s.clock.timeZone));
    settings.setValue(kGapKey, static_cast<qlonglong>(s.rules.maxGapMs / 1000));
    settings.setValue(kDistanceKey, static_cast<qlonglong>(s.rules.maxDistanceMs / 1000));
}

QString DefaultTrackStorePath() {
#ifdef Q_OS_WIN
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/zidevu-tracks.db");
#else
    return QFileInfo(InstallSettingsLocation()).absolutePath() +
           QStringLiteral("/zidevu-tracks.db");
#endif
}
