#pragma once
// The format readers behind ReadTrackFile, each over an open device
// positioned at the start of the content.

#include <QIODevice>
#include <QXmlStreamReader>

#include "companion/track_reader.h"

// The XML readers start after the root element (gpx or kml) was read.
void ReadGpx(QXmlStreamReader& xml, TrackReadResult& result);
void ReadKml(QXmlStreamReader& xml, TrackReadResult& result);
void ReadNmea(QIODevice& device, TrackReadResult& result);

// Sets the result of an XML reader that stopped on an error, with its line.
void FailXml(const QXmlStreamReader& xml, TrackReadResult& result);
// Sets Damaged with the reader's current line.
void FailAt(const QXmlStreamReader& xml, const char* what, TrackReadResult& result);
// Ok, NotATrack or NoTimes once the whole document was read.
void FinishTrack(bool sawPositions, TrackReadResult& result);
