#include "zidevu/install_settings.h"

#include <QSettings>

namespace {

const QString kVersionKey = QStringLiteral("MainFrm/LastVersion");
const QString kRunPathKey = QStringLiteral("MainFrm/LastRunPath");

}  // namespace

QSettings ZidevuSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope,
                     QStringLiteral("Darazoz Software"), QStringLiteral("zidevu"));
}

bool InstallSettingsCurrent(const QString& executablePath) {
    QSettings settings = ZidevuSettings();
    return settings.value(kVersionKey).toInt() == kZidevuVersion &&
           settings.value(kRunPathKey).toString() == executablePath;
}

bool WriteInstallSettings(const QString& executablePath) {
    QSettings settings = ZidevuSettings();
    settings.setValue(kVersionKey, kZidevuVersion);
    settings.setValue(kRunPathKey, executablePath);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QString InstallSettingsLocation() {
    return ZidevuSettings().fileName();
}
