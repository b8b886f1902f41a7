#pragma once
// The format readers behind ReadTrackFile, each over an open device
// positioned at the start of the content.

#include <QIODevice>
#include <QXmlStreamReader>
#include <optional>
#include <string_view>

#include "companion/track_reader.h"

// The XML readers start after the root element (gpx or kml) was read.
void ReadGpx(QXmlStreamReader& xml, TrackReadResult& result);
void ReadKml(QXmlStreamReader& xml, TrackReadResult& result);
void ReadNmea(QIODevice& device, TrackReadResult& result);

// The text of an element without children when it is short ASCII (a time,
// a number); anything else reads as not fitting.
struct ShortText {
    char chars[64];
    std::size_t size = 0;
    bool fits = true;

    std::string_view View() const { return fits ? std::string_view(chars, size) : "?"; }
    bool Blank() const;
};
// Reads to the end of the current element.
ShortText ReadShortText(QXmlStreamReader& xml);

// A decimal number as XML writes it ("22.5", "-1e-3"), whatever the
// locale; nothing for anything else. Qt's own conversion allocates, which
// costs more than reading the whole point.
std::optional<double> ParseNumber(QStringView text);

// Sets the result of an XML reader that stopped on an error, with its line.
void FailXml(const QXmlStreamReader& xml, TrackReadResult& result);
// Sets Damaged with the reader's current line.
void FailAt(const QXmlStreamReader& xml, const char* what, TrackReadResult& result);
// Ok, NotATrack or NoTimes once the whole document was read.
void FinishTrack(bool sawPositions, TrackReadResult& result);
