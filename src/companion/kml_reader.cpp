// KML: each gx:Track (alone or in a gx:MultiTrack) is a segment of its when
// and gx:coord pairs; the placemarks with a TimeStamp and a Point are one
// segment together. Elements are matched by their local names, so that KML
// 2.1 and 2.2 files read alike.
#include <cmath>

#include "companion/track_readers.h"
#include "companion/track_time.h"

namespace {

bool ValidPosition(double latitude, double longitude) {
    return std::fabs(latitude) <= 90 && std::fabs(longitude) <= 180;
}

struct KmlReading {
    QXmlStreamReader& xml;
    TrackReadResult& result;
    bool sawPositions = false;
    TrackSegment placemarks;

    bool Failed() const { return result.status == TrackReadStatus::Damaged; }

    std::optional<std::int64_t> ReadWhen() {
        const auto time = ParseTrackTime(ReadShortText(xml).View());
        if (!time) FailAt(xml, "an impossible time", result);
        return time;
    }

    // "lon lat [alt]" of gx:coord, or "lon,lat[,alt]" of coordinates.
    bool ReadPosition(QChar separator, double& latitude, double& longitude) {
        const QString text = xml.readElementText().simplified();
        const QStringList parts = text.split(separator, Qt::SkipEmptyParts);
        const auto lon = parts.size() >= 2 ? ParseNumber(parts[0]) : std::nullopt;
        const auto lat = parts.size() >= 2 ? ParseNumber(parts[1]) : std::nullopt;
        if (lon) longitude = *lon;
        if (lat) latitude = *lat;
        if (!lon || !lat || !ValidPosition(latitude, longitude)) {
            FailAt(xml, "an impossible position", result);
            return false;
        }
        sawPositions = true;
        return true;
    }

    void ReadGxTrack() {
        std::vector<std::int64_t> times;
        TrackSegment segment;
        while (!Failed() && xml.readNextStartElement()) {
            double latitude = 0, longitude = 0;
            if (xml.name() == QLatin1String("when")) {
                if (const auto time = ReadWhen()) times.push_back(*time);
            } else if (xml.name() == QLatin1String("coord")) {
                if (ReadPosition(QLatin1Char(' '), latitude, longitude))
                    segment.push_back({0, latitude, longitude});
            } else {
                xml.skipCurrentElement();
            }
        }
        if (Failed()) return;
        if (times.empty() && !segment.empty()) return;  // positions only: no times
        if (times.size() != segment.size()) {
            FailAt(xml, "a gx:Track whose when and gx:coord counts differ", result);
            return;
        }
        for (std::size_t i = 0; i < times.size(); ++i) segment[i].timeMs = times[i];
        result.track.segments.push_back(std::move(segment));
    }

    void ReadTimeStamp(std::optional<std::int64_t>& time) {
        while (!Failed() && xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("when")) {
                time = ReadWhen();
            } else {
                xml.skipCurrentElement();
            }
        }
    }

    void ReadPoint(std::optional<TrackFix>& fix) {
        while (!Failed() && xml.readNextStartElement()) {
            if (xml.name() != QLatin1String("coordinates")) {
                xml.skipCurrentElement();
                continue;
            }
            TrackFix f;
            if (ReadPosition(QLatin1Char(','), f.latitude, f.longitude)) fix = f;
        }
    }

    void ReadPlacemark() {
        std::optional<std::int64_t> time;
        std::optional<TrackFix> point;
        while (!Failed() && xml.readNextStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("TimeStamp")) {
                ReadTimeStamp(time);
            } else if (name == QLatin1String("Point")) {
                ReadPoint(point);
            } else if (name == QLatin1String("Track")) {
                ReadGxTrack();
            } else if (name == QLatin1String("MultiTrack")) {
                while (!Failed() && xml.readNextStartElement()) {
                    if (xml.name() == QLatin1String("Track")) {
                        ReadGxTrack();
                    } else {
                        xml.skipCurrentElement();
                    }
                }
            } else if (name == QLatin1String("name") && result.track.name.empty()) {
                result.track.name = xml.readElementText().trimmed().toStdString();
            } else {
                xml.skipCurrentElement();
            }
        }
        if (time && point) placemarks.push_back({*time, point->latitude, point->longitude});
    }

    // Documents and folders nest freely: walk them without recursion.
    void ReadDocument() {
        while (!Failed() && !xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            const auto name = xml.name();
            if (name == QLatin1String("Placemark")) {
                ReadPlacemark();
            } else if (name == QLatin1String("Track")) {
                ReadGxTrack();
            }
        }
        result.track.segments.push_back(std::move(placemarks));
    }
};

}  // namespace

void ReadKml(QXmlStreamReader& xml, TrackReadResult& result) {
    KmlReading reading{xml, result};
    reading.ReadDocument();
    if (reading.Failed()) return;
    if (xml.hasError()) return FailXml(xml, result);
    FinishTrack(reading.sawPositions, result);
}
