#pragma once
// The remembered settings of the positions from tracks (the camera clock
// and both gaps), in zidevu's own settings (group Tracks), and where its
// track store lives: beside those settings.

#include <QString>

#include "companion/track_positions.h"

// Values that make no sense (a negative gap, a zone the system does not
// know) read as the defaults.
TrackMatchSettings LoadTrackSettings();
void SaveTrackSettings(const TrackMatchSettings& settings);

// ~/.config/Darazoz Software/zidevu-tracks.db on Linux; the application's
// data folder where the settings are not a file (the registry).
QString DefaultTrackStorePath();
