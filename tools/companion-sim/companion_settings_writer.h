#pragma once
// Writes the companion's settings file (install marker, LastVersion,
// LastRunPath) in the INI form QSettings uses, so that the program's
// readiness checks find the simulator.

#include <cstdint>
#include <string>

bool WriteCompanionSettings(const std::string& settingsPath, std::uint32_t version,
                            const std::string& runPath);
