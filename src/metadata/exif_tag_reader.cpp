#include "metadata/exif_tag_reader.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "metadata/exif_entry_numbers.h"
#include "metadata/exif_gps_tags.h"
#include "metadata/exif_text_parsers.h"
#include "metadata/orientation.h"
#include "platform/text_codec.h"
#include "record/keyword_list.h"

namespace {

// Texts whose limit is the entry's own size are still cut to what their
// parser can use.
constexpr std::size_t kShortTextLimit = 64;
constexpr std::size_t kMakeTextLimit = 31;
constexpr std::size_t kModelTextLimit = 39;
constexpr std::size_t kXpTextLimit = 99;
constexpr std::size_t kXpTextSlack = 10;

ExifEntry* Find(ExifData* data, ExifTag tag) {
    return exif_data_get_entry(data, tag);
}

// The entry's size plus room for a terminator: some cameras count ASCII
// texts without their terminating zero, and a buffer of only the entry's
// size would then lose the last character ("N" of a reference, a digit of
// the seconds).
std::size_t EntrySizeLimit(const ExifEntry* entry, std::size_t cap) {
    return std::min<std::size_t>(std::size_t{entry->size} + 1, cap);
}

std::size_t XpTextLimit(const ExifEntry* entry) {
    return entry->size < 100 ? entry->size + kXpTextSlack : kXpTextLimit;
}

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Drops a multi-byte UTF-8 character cut in half at the end of the text.
void TrimPartialCharacter(std::string& text) {
    std::size_t lead = text.size();
    while (lead > 0 && IsContinuation(text[lead - 1])) --lead;
    if (lead == 0) return;
    --lead;
    unsigned char c = static_cast<unsigned char>(text[lead]);
    std::size_t expected = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    if (text.size() - lead < expected) text.resize(lead);
}

// The formatter's text with limit bytes of buffer (at most limit - 1
// characters). A limit of 0 would leave the buffer unwritten, so the buffer
// always has room for the terminator.
std::string EntryText(ExifEntry* entry, std::size_t limit) {
    limit = std::max<std::size_t>(limit, 1);
    std::vector<char> buffer(limit, '\0');
    exif_entry_get_value(entry, buffer.data(), static_cast<unsigned int>(limit));
    std::string text(buffer.data(), strnlen(buffer.data(), limit));
    TrimPartialCharacter(text);
    return text;
}

ExifByteOrder ByteOrder(ExifData* data) {
    return exif_data_get_byte_order(data);
}

// An ASCII entry's text up to its terminator, at most limit - 1 bytes;
// empty for an entry of another format (whose display text would be a
// translated description, not a value).
std::string AsciiText(const ExifEntry* entry, std::size_t limit) {
    if (entry->format != EXIF_FORMAT_ASCII || !entry->data || limit == 0) return {};
    const auto* bytes = reinterpret_cast<const char*>(entry->data);
    std::string text(bytes, strnlen(bytes, std::min<std::size_t>(entry->size, limit - 1)));
    TrimPartialCharacter(text);
    return text;
}

// Camera names padded to a fixed width ("E-1     ") lose the padding.
std::string CameraName(const ExifEntry* entry, std::size_t limit) {
    std::string name = AsciiText(entry, limit);
    name.erase(name.find_last_not_of(' ') + 1);
    return name;
}

// Only an ASCII reference counts: 'N'/'E' +1, 'S'/'W' -1, anything else
// (an interoperability index "R98" found in its place, bytes, no entry) 0.
int ReferenceSign(ExifData* data, ExifTag tag, char positive, char negative) {
    const char first = FirstAsciiByte(Find(data, tag));
    return first == positive ? 1 : first == negative ? -1 : 0;
}

void ReadCoordinate(ExifData* data, ExifTag refTag, char positive, char negative, ExifTag valueTag,
                    float& field) {
    int sign = ReferenceSign(data, refTag, positive, negative);
    if (sign == 0) return;
    if (ExifEntry* entry = Find(data, valueTag))
        field = CoordinateOf(ShownNumbers(entry, ByteOrder(data)), sign);
}

template <std::size_t N>
void ReadXpText(ExifData* data, ExifTag tag, char (&field)[N]) {
    ExifEntry* entry = Find(data, tag);
    if (!entry) return;
    std::string text = EntryText(entry, XpTextLimit(entry));
    Utf8ToCodePage(text, field, N);
}

void ReadXpKeywords(ExifData* data, PhotoRecord& record) {
    if (std::optional<std::string> text = WholeXpText(data, EXIF_TAG_XP_KEYWORDS))
        StoreKeywordText(std::move(*text), record);
}

void ReadXpComment(ExifData* data, PhotoRecord& record) {
    ExifEntry* entry = Find(data, EXIF_TAG_XP_COMMENT);
    if (!entry) return;
    std::size_t capacity = std::size_t{entry->size} + kXpTextSlack;
    std::string text = EntryText(entry, capacity);
    std::vector<char> converted(capacity, '\0');
    std::size_t length = Utf8ToCodePage(text, converted.data(), capacity);
    record.strXpComent.assign(converted.data(), length);
    record.szOfComent = static_cast<std::int32_t>(capacity);
}

void ReadInteger(ExifData* data, ExifTag tag, std::int32_t& field) {
    ExifEntry* entry = Find(data, tag);
    if (!entry) return;
    const std::vector<double> numbers = ShownNumbers(entry, ByteOrder(data));
    field = numbers.empty() ? 0 : WholeOf(numbers[0]);
}

// A size tag of 0 says nothing; it must not wipe out a size already taken
// from the decoded image.
void ReadPixelDimension(ExifData* data, ExifTag tag, std::int32_t& field) {
    std::int32_t value = 0;
    ReadInteger(data, tag, value);
    if (value > 0) field = value;
}

void ReadTexts(ExifData* data, PhotoRecord& record) {
    if (ExifEntry* entry = Find(data, EXIF_TAG_MAKE))
        SetField(record.strMake, CameraName(entry, EntrySizeLimit(entry, kMakeTextLimit)));
    if (ExifEntry* entry = Find(data, EXIF_TAG_MODEL))
        SetField(record.strModel, CameraName(entry, EntrySizeLimit(entry, kModelTextLimit)));
    // The number, named as the catalogue has always named it: libexif's
    // own name would be translated under many locales.
    if (ExifEntry* entry = Find(data, EXIF_TAG_ORIENTATION)) {
        const std::optional<std::uint16_t> value = SingleShort(entry, ByteOrder(data));
        SetField(record.strOrientation, value ? OrientationText(*value) : std::string());
    }

    ReadXpKeywords(data, record);
    ReadXpText(data, EXIF_TAG_XP_AUTHOR, record.strXpAuthor);
    ReadXpText(data, EXIF_TAG_XP_TITLE, record.strXpTitle);
    ReadXpText(data, EXIF_TAG_XP_SUBJECT, record.strXpSubject);
    ReadXpComment(data, record);
}

// Whole metres. The standard form is an unsigned RATIONAL with the reference
// byte 1 for below sea level; files written by older versions hold a 32-bit
// LONG whose bits are the signed metres.
std::int32_t ReadAltitude(ExifData* data, ExifEntry* entry) {
    const ExifByteOrder order = exif_data_get_byte_order(data);
    if ((entry->format == EXIF_FORMAT_LONG || entry->format == EXIF_FORMAT_SLONG) &&
        entry->size >= 4)
        return static_cast<std::int32_t>(exif_get_long(entry->data, order));
    const std::vector<double> shown = ShownNumbers(entry, order);
    const std::int32_t metres = shown.empty() ? 0 : WholeOf(shown[0]);
    ExifEntry* ref = exif_content_get_entry(data->ifd[EXIF_IFD_GPS], kTagGpsAltitudeRef);
    const bool below =
        ref && ref->format == EXIF_FORMAT_BYTE && ref->size >= 1 && ref->data[0] == 1;
    return below && metres > 0 ? -metres : metres;
}

void ReadPosition(ExifData* data, PhotoRecord& record) {
    ReadCoordinate(data, kTagGpsLatitudeRef, 'N', 'S', kTagGpsLatitude, record.fGPSLatitude);
    ReadCoordinate(data, kTagGpsLongitudeRef, 'E', 'W', kTagGpsLongitude, record.fGPSLongitude);
    if (ExifEntry* entry = Find(data, kTagGpsAltitude))
        record.nGPSAlititude = ReadAltitude(data, entry);
}

void ReadExposure(ExifData* data, PhotoRecord& record) {
    const ExifByteOrder order = ByteOrder(data);
    if (ExifEntry* entry = Find(data, EXIF_TAG_FNUMBER)) {
        const auto value = SingleRational(entry, order);
        record.fApertureFNumber = value ? FNumberOf(*value) : 0;
    }
    if (ExifEntry* entry = Find(data, EXIF_TAG_EXPOSURE_TIME)) {
        const auto value = SingleRational(entry, order);
        record.fExposureTime = value ? ExposureSecondsOf(*value) : 0;
    }
    if (ExifEntry* entry = Find(data, EXIF_TAG_FOCAL_LENGTH)) {
        const auto value = SingleRational(entry, order);
        record.nFocalLength = value ? FocalMillimetresOf(*value) : 0;
    }
    ReadInteger(data, EXIF_TAG_ISO_SPEED_RATINGS, record.nISOequivalent);
}

}  // namespace

std::optional<std::string> WholeXpText(ExifData* data, ExifTag tag) {
    ExifEntry* entry = Find(data, tag);
    if (!entry) return std::nullopt;
    // UTF-16 in the file: UTF-8 takes at most 3 bytes for every 2.
    return EntryText(entry, 2 * std::size_t{entry->size} + kXpTextSlack);
}

// A keyword list longer than its field keeps only the keywords that fit
// whole: a keyword cut in half would become a keyword row, be offered by
// the pickers and be written back cut.
void StoreKeywordText(std::string text, PhotoRecord& record) {
    // A text holding no keyword (empty, ";") puts the photo with those without.
    record.nbKeyword = SplitKeywords(text).empty() ? 0 : 1;
    constexpr std::size_t kRoom = sizeof record.strXpKeyword - 1;
    if (text.size() > kRoom) {
        const std::size_t lastEnd = text.rfind(';', kRoom - 1);
        text.resize(lastEnd == std::string::npos ? 0 : lastEnd + 1);
    }
    Utf8ToCodePage(text, record.strXpKeyword, sizeof record.strXpKeyword);
}

void ReadExifTags(ExifData* data, PhotoRecord& record) {
    if (ExifEntry* entry = Find(data, EXIF_TAG_DATE_TIME_ORIGINAL))
        record.dwDateTime =
            ShotTimeFromText(AsciiText(entry, EntrySizeLimit(entry, kShortTextLimit)));
    ReadPosition(data, record);
    ReadTexts(data, record);
    ReadExposure(data, record);
    ReadPixelDimension(data, EXIF_TAG_PIXEL_X_DIMENSION, record.nWidth);
    ReadPixelDimension(data, EXIF_TAG_PIXEL_Y_DIMENSION, record.nHeight);
    ReadInteger(data, EXIF_TAG_X_RESOLUTION, record.nFocalplaneXRes);
    ReadInteger(data, EXIF_TAG_Y_RESOLUTION, record.nFocalplaneYRes);
}
