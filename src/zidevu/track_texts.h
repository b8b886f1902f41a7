#pragma once
// The window's wording of the track core's results.

#include <QString>

#include "companion/track_positions.h"

// Why a file imported nothing, in a few words.
QString TrackReadStatusText(TrackReadStatus status);
// A wall clock ("wall seconds", see camera_clock.h) as 2026-05-01 20:37:30.
QString WallClockText(std::int64_t wallSeconds);
// An instant in the computer's time zone, same form.
QString LocalInstantText(std::int64_t seconds);
// Seconds as "+37 分 10 秒" style text for the camera clock's offset.
QString OffsetText(std::int64_t seconds);
