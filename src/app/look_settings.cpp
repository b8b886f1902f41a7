#include "app/look_settings.h"

#include <QSettings>

#include "app/application_look.h"

namespace {

QSettings Store() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope,
                     QString::fromUtf8(kSettingsCompany), QString::fromUtf8(kSettingsApplication));
}

}  // namespace

int ReadApplicationLook() {
    bool ok = false;
    const int id = Store().value(QLatin1String(kApplicationLookKey), LookId::kDefault).toInt(&ok);
    return ok ? id : LookId::kDefault;
}

void WriteApplicationLook(int id) {
    QSettings store = Store();
    store.setValue(QLatin1String(kApplicationLookKey), id);
    store.sync();
}
