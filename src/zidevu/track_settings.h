#pragma once
// The remembered settings of the positions from tracks (the camera clock
// and both gaps), in zidevu's own settings (group Tracks), and where its
// track store lives: beside those settings.

#include <QString>

#include "companion/track_positions.h"

// A camera set to the wrong week, at most; gaps of a day at most.
inline constexpr int kMaxCameraOffsetSeconds = 7 * 24 * 3600;
inline constexpr int kMaxGapSeconds = 24 * 3600;

// Values that make no sense (a negative gap, a zone the system does not
// know) read as the defaults; values beyond the limits above as the limits.
TrackMatchSettings LoadTrackSettings();
void SaveTrackSettings(const TrackMatchSettings& settings);

// ~/.config/Darazoz Software/zidevu-tracks.db on Linux; the application's
// data folder where the settings are not a file (the registry).
QString DefaultTrackStorePath();
