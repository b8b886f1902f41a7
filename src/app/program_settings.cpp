#include "app/program_settings.h"

#include "app/look_settings.h"

namespace {

constexpr const char* kPaneWidthKey = "PaneWidth";
constexpr int kNarrowestPane = 120;
constexpr int kWidestPane = 2000;

}  // namespace

QSettings ProgramSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope,
                     QString::fromUtf8(kSettingsCompany), QString::fromUtf8(kSettingsApplication));
}

int ReadPaneWidth(int fallback) {
    bool ok = false;
    const int width = ProgramSettings().value(QLatin1String(kPaneWidthKey)).toInt(&ok);
    return ok && width >= kNarrowestPane && width <= kWidestPane ? width : fallback;
}

void WritePaneWidth(int width) {
    QSettings store = ProgramSettings();
    store.setValue(QLatin1String(kPaneWidthKey), width);
    store.sync();
}
