#pragma once
// The persisted look: integer "ApplicationLook" in the per-user settings of
// the application (company "应用程序向导生成的本地应用程序", application
// "Darazoz图片浏览器"); QSettings in native format.

inline constexpr const char* kSettingsCompany = "应用程序向导生成的本地应用程序";
inline constexpr const char* kSettingsApplication = "Darazoz图片浏览器";
inline constexpr const char* kApplicationLookKey = "ApplicationLook";

// The saved look, or 215 when none was saved.
int ReadApplicationLook();
void WriteApplicationLook(int id);
