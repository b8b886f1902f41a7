#pragma once
// The settings by which the album program finds zidevu: organisation
// "Darazoz Software", application "zidevu", group MainFrm with LastVersion
// and LastRunPath, in Qt's native settings format (the registry on Windows,
// ~/.config/Darazoz Software/zidevu.conf on Linux).

#include <QSettings>
#include <QString>

// zidevu's settings: the install marker above and the window's own groups
// (Tracks, Tiles), in the one file the album reads.
QSettings ZidevuSettings();

// The version recorded as LastVersion; the album needs more than 500.
inline constexpr int kZidevuVersion = 501;

// True when the settings name this executable at this version.
bool InstallSettingsCurrent(const QString& executablePath);
// Writes LastVersion and LastRunPath; false when the settings cannot be stored.
bool WriteInstallSettings(const QString& executablePath);
// Where the settings live, for messages.
QString InstallSettingsLocation();
