#include "companion/track_reader.h"

#include <QBuffer>
#include <QFile>
#include <charconv>

#include "companion/track_readers.h"

namespace {

// The first byte that is neither a byte order mark nor white space.
char FirstMeaningfulByte(QIODevice& device) {
    const QByteArray head = device.peek(4096);
    int at = head.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (at < head.size() &&
           (head[at] == ' ' || head[at] == '\t' || head[at] == '\r' || head[at] == '\n'))
        ++at;
    return at < head.size() ? head[at] : '\0';
}

void ReadXml(QIODevice& device, TrackReadResult& result) {
    QXmlStreamReader xml(&device);
    if (!xml.readNextStartElement()) {
        FailXml(xml, result);
        if (result.status == TrackReadStatus::Ok) result.status = TrackReadStatus::NotATrack;
        return;
    }
    if (xml.name() == QLatin1String("gpx")) {
        result.format = TrackFormat::Gpx;
        ReadGpx(xml, result);
    } else if (xml.name() == QLatin1String("kml")) {
        result.format = TrackFormat::Kml;
        ReadKml(xml, result);
    } else {
        result.status = TrackReadStatus::NotATrack;
        result.detail = "an XML file that is neither GPX nor KML";
    }
}

TrackReadResult Read(QIODevice& device) {
    TrackReadResult result;
    const char first = FirstMeaningfulByte(device);
    if (first == '<') {
        ReadXml(device, result);
    } else if (first == '$') {
        result.format = TrackFormat::Nmea;
        ReadNmea(device, result);
    } else {
        result.status = TrackReadStatus::NotATrack;
        result.detail = "neither GPX, KML nor an NMEA log";
    }
    if (result.status == TrackReadStatus::Ok) {
        NormaliseTrack(result.track);
    } else {
        result.track = {};
    }
    return result;
}

}  // namespace

bool ShortText::Blank() const {
    return fits &&
           std::string_view(chars, size).find_first_not_of(" \t\r\n") == std::string_view::npos;
}

ShortText ReadShortText(QXmlStreamReader& xml) {
    ShortText text;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::EndElement) break;
        if (token == QXmlStreamReader::StartElement) {
            text.fits = false;
            xml.skipCurrentElement();
        } else if (token == QXmlStreamReader::Characters) {
            for (const QChar c : xml.text()) {
                if (c.unicode() > 0x7f || text.size == sizeof text.chars) {
                    text.fits = false;
                    break;
                }
                text.chars[text.size++] = static_cast<char>(c.unicode());
            }
        }
    }
    return text;
}

std::optional<double> ParseNumber(QStringView text) {
    text = text.trimmed();
    if (text.startsWith(QLatin1Char('+'))) text = text.mid(1);
    char ascii[64];
    if (text.isEmpty() || text.size() > static_cast<qsizetype>(sizeof ascii)) return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() > 0x7f) return std::nullopt;
        ascii[i] = static_cast<char>(text[i].unicode());
    }
    double value = 0;
    const char* end = ascii + text.size();
    const auto [stop, error] = std::from_chars(ascii, end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

void FailXml(const QXmlStreamReader& xml, TrackReadResult& result) {
    if (!xml.hasError()) return;
    if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError) {
        result.status = TrackReadStatus::Truncated;
        result.detail = "the file ends in the middle of the document";
    } else {
        result.status = TrackReadStatus::Damaged;
        result.detail = "malformed XML on line " + std::to_string(xml.lineNumber()) + ": " +
                        xml.errorString().toStdString();
    }
}

void FailAt(const QXmlStreamReader& xml, const char* what, TrackReadResult& result) {
    result.status = TrackReadStatus::Damaged;
    result.detail = std::string(what) + " on line " + std::to_string(xml.lineNumber());
}

void FinishTrack(bool sawPositions, TrackReadResult& result) {
    if (result.track.FixCount() > 0) {
        result.status = TrackReadStatus::Ok;
    } else if (sawPositions) {
        result.status = TrackReadStatus::NoTimes;
        result.detail = "positions without times";
    } else {
        result.status = TrackReadStatus::NotATrack;
        result.detail = "no positions";
    }
}

TrackReadResult ReadTrackFile(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        TrackReadResult result;
        result.status = TrackReadStatus::Unreadable;
        result.detail = file.errorString().toStdString();
        return result;
    }
    return Read(file);
}

TrackReadResult ReadTrackBytes(const std::string& bytes) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    return Read(buffer);
}

const char* TrackFormatName(TrackFormat format) {
    switch (format) {
        case TrackFormat::Gpx:
            return "GPX";
        case TrackFormat::Kml:
            return "KML";
        case TrackFormat::Nmea:
            return "NMEA";
        case TrackFormat::Unknown:
            break;
    }
    return "unknown";
}
