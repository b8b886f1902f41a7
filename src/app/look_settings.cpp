#include "app/look_settings.h"

#include "app/application_look.h"
#include "app/program_settings.h"

int ReadApplicationLook() {
    bool ok = false;
    const int id =
        ProgramSettings().value(QLatin1String(kApplicationLookKey), LookId::kDefault).toInt(&ok);
    return ok ? id : LookId::kDefault;
}

void WriteApplicationLook(int id) {
    QSettings store = ProgramSettings();
    store.setValue(QLatin1String(kApplicationLookKey), id);
    store.sync();
}
