// GPX 1.0 and 1.1: every trkseg of every trk is a segment; a route's timed
// points are one segment, and so are the file's timed waypoints. Points
// without a time are passed over; a file whose points all lack one has no
// times.
#include <cmath>

#include "companion/track_readers.h"
#include "companion/track_time.h"

namespace {

struct GpxReading {
    QXmlStreamReader& xml;
    TrackReadResult& result;
    bool sawPositions = false;

    bool Failed() const { return result.status == TrackReadStatus::Damaged; }

    // A wpt, rtept or trkpt; appends it to segment when it has a time.
    void ReadPoint(TrackSegment& segment) {
        const QXmlStreamAttributes attributes = xml.attributes();
        const auto lat = ParseNumber(attributes.value(QLatin1String("lat")));
        const auto lon = ParseNumber(attributes.value(QLatin1String("lon")));
        if (!lat || !lon || !(std::fabs(*lat) <= 90) || !(std::fabs(*lon) <= 180)) {
            FailAt(xml, "a point without a valid lat and lon", result);
            return;
        }
        const double latitude = *lat, longitude = *lon;
        sawPositions = true;
        std::optional<std::int64_t> time;
        while (!Failed() && xml.readNextStartElement()) {
            if (xml.name() != QLatin1String("time")) {
                xml.skipCurrentElement();
                continue;
            }
            // Read in place: one point's time must not cost an allocation.
            const ShortText text = ReadShortText(xml);
            time = ParseTrackTime(text.View());
            if (!time && !text.Blank()) FailAt(xml, "an impossible time", result);
        }
        if (time) segment.push_back({*time, latitude, longitude});
    }

    // The points named pointName among the children of the current element,
    // into one new segment; a name child names the track when it has none.
    void ReadPointList(QLatin1String pointName) {
        TrackSegment segment;
        while (!Failed() && xml.readNextStartElement()) {
            if (xml.name() == pointName) {
                ReadPoint(segment);
            } else if (xml.name() == QLatin1String("name") && result.track.name.empty()) {
                result.track.name = xml.readElementText().trimmed().toStdString();
            } else {
                xml.skipCurrentElement();
            }
        }
        result.track.segments.push_back(std::move(segment));
    }

    void ReadTrk() {
        while (!Failed() && xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("trkseg")) {
                ReadPointList(QLatin1String("trkpt"));
            } else if (xml.name() == QLatin1String("name") && result.track.name.empty()) {
                result.track.name = xml.readElementText().trimmed().toStdString();
            } else {
                xml.skipCurrentElement();
            }
        }
    }

    void ReadDocument() {
        TrackSegment waypoints;
        while (!Failed() && xml.readNextStartElement()) {
            if (xml.name() == QLatin1String("trk")) {
                ReadTrk();
            } else if (xml.name() == QLatin1String("rte")) {
                ReadPointList(QLatin1String("rtept"));
            } else if (xml.name() == QLatin1String("wpt")) {
                ReadPoint(waypoints);
            } else if (xml.name() == QLatin1String("name") && result.track.name.empty()) {
                result.track.name = xml.readElementText().trimmed().toStdString();
            } else {
                xml.skipCurrentElement();
            }
        }
        result.track.segments.push_back(std::move(waypoints));
    }
};

}  // namespace

void ReadGpx(QXmlStreamReader& xml, TrackReadResult& result) {
    GpxReading reading{xml, result};
    reading.ReadDocument();
    if (reading.Failed()) return;
    // Whatever follows the root must still be read to know the file is whole.
    while (!xml.atEnd()) xml.readNext();
    if (xml.hasError()) return FailXml(xml, result);
    FinishTrack(reading.sawPositions, result);
}
