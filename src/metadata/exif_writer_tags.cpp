// The text and date setters of the EXIF writer.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "metadata/exif_document.h"
#include "metadata/exif_entry_edit.h"
#include "metadata/exif_writer.h"
#include "metadata/metadata_reader.h"
#include "platform/local_time.h"
#include "platform/text_codec.h"
#include "record/keyword_list.h"

namespace {

constexpr unsigned int kMakeModelSlack = 11;  // room a new Make/Model entry gets beyond the text
constexpr unsigned int kXpTextSlack = 10;     // bytes a Windows text tag gets beyond its text
constexpr unsigned int kDateTextSize = 20;    // "YYYY:MM:DD hh:mm:ss" and its zero

// The entry for tag found anywhere, else created in ifd with size bytes,
// grown to at least minSize bytes. Null when memory runs out.
ExifEntry* TextEntry(ExifData* data, ExifTag tag, ExifIfd ifd, unsigned int createSize,
                     unsigned int minSize) {
    ExifEntry* entry = FindEntryInAnyIfd(data, tag);
    if (!entry) return CreateEntry(data, ifd, tag, EXIF_FORMAT_ASCII, createSize, createSize);
    if (entry->size < minSize) {
        if (!ResizeEntry(entry, minSize)) return nullptr;
        entry->components = minSize;
    }
    // Text in an entry of another format would be read with the wrong
    // component size.
    entry->format = EXIF_FORMAT_ASCII;
    entry->components = entry->size;
    return entry;
}

bool SetAsciiTag(MetadataReader& reader, ExifTag tag, std::string_view text) {
    if (!PrepareExifForEdit(reader)) return false;
    const auto length = static_cast<unsigned int>(text.size());
    ExifEntry* entry =
        TextEntry(reader.Exif()->Data(), tag, EXIF_IFD_0, length + kMakeModelSlack, length + 1);
    if (!entry) return false;
    std::memcpy(entry->data, text.data(), length);
    entry->data[length] = 0;
    MarkEdited(reader, entry);
    return true;
}

// Whether entry already holds units as UCS-2 little-endian, zeros after
// them to its end: then rewriting it would change nothing that reads
// differently, and an edit new only to the XMP and IPTC forms leaves the
// EXIF segment as it is.
bool HoldsAlready(const ExifEntry* entry, std::u16string_view units) {
    if (!entry || entry->format != EXIF_FORMAT_BYTE || !entry->data ||
        entry->size < 2 * units.size() + 2)
        return false;
    for (std::size_t i = 0; i < entry->size; ++i) {
        const char16_t unit = i / 2 < units.size() ? units[i / 2] : 0;
        if (entry->data[i] != static_cast<unsigned char>(i % 2 ? unit >> 8 : unit)) return false;
    }
    return true;
}

// Authors as XMP and IPTC list them: the ";"-separated names one by one.
std::vector<std::string> AuthorList(const std::string& text) {
    return SplitKeywords(text);
}

// Writes units as UCS-2 little-endian into a BYTE entry of IFD 0 of at
// least size bytes, zero-filled after the text.
bool SetWindowsTag(MetadataReader& reader, ExifTag tag, std::u16string_view units,
                   unsigned int size) {
    if (!PrepareExifForEdit(reader)) return false;
    ExifData* data = reader.Exif()->Data();
    ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_0], tag);
    if (HoldsAlready(entry, units)) return true;
    if (!entry) {
        entry = CreateEntry(data, EXIF_IFD_0, tag, EXIF_FORMAT_BYTE, size, size);
        if (!entry) return false;
    } else if (entry->size < size) {
        if (!ResizeEntry(entry, size)) return false;
    }
    entry->format = EXIF_FORMAT_BYTE;
    entry->components = entry->size;
    std::memset(entry->data, 0, size);
    for (std::size_t i = 0; i < units.size(); ++i) {
        entry->data[2 * i] = static_cast<unsigned char>(units[i]);
        entry->data[2 * i + 1] = static_cast<unsigned char>(units[i] >> 8);
    }
    MarkEdited(reader, entry);
    return true;
}

unsigned int WindowsTextSize(std::u16string_view text) {
    return static_cast<unsigned int>(2 * text.size() + kXpTextSlack);
}

template <std::size_t N>
bool SetWindowsText(MetadataReader& reader, ExifTag tag, std::u16string_view text,
                    char (&field)[N]) {
    if (text.empty() || !SetWindowsTag(reader, tag, text, WindowsTextSize(text))) return false;
    SetField(field, WideToUtf8(text));
    return true;
}

// Minutes the local wall clock (local, the time seconds shows) is ahead of
// UTC, from the two calendar times: tm_gmtoff is not everywhere.
// Minutes the local clock runs ahead of UTC at seconds, both counted in whole
// minutes (a zone offset with seconds, as old local mean times have, is cut).
long ZoneOffsetMinutes(std::int64_t seconds, const LocalWallTime& local) {
    using namespace std::chrono;
    const year_month_day date{year(local.year), month(static_cast<unsigned>(local.month)),
                              day(static_cast<unsigned>(local.day))};
    const std::int64_t localMinutes =
        static_cast<std::int64_t>(sys_days(date).time_since_epoch().count()) * 24 * 60 +
        local.hour * 60 + local.minute;
    const std::int64_t utcMinutes = seconds >= 0 ? seconds / 60 : (seconds - 59) / 60;
    return static_cast<long>(localMinutes - utcMinutes);
}

}  // namespace

bool SetExifMake(MetadataReader& reader, std::string_view text) {
    if (!SetAsciiTag(reader, EXIF_TAG_MAKE, text)) return false;
    SetField(reader.Record().strMake, text);
    return true;
}

bool SetExifModel(MetadataReader& reader, std::string_view text) {
    if (!SetAsciiTag(reader, EXIF_TAG_MODEL, text)) return false;
    SetField(reader.Record().strModel, text);
    return true;
}

bool SetExifKeywords(MetadataReader& reader, std::string_view utf8) {
    const auto size = static_cast<unsigned int>(2 * utf8.size() + 2);
    if (!SetWindowsTag(reader, EXIF_TAG_XP_KEYWORDS, Utf8ToWide(utf8), size)) return false;
    SetField(reader.Record().strXpKeyword, utf8);
    reader.Record().nbKeyword = SplitKeywords(utf8).empty() ? 0 : 1;
    reader.CaptionChanges().keywords = SplitKeywords(utf8);
    return true;
}

bool SetExifSubject(MetadataReader& reader, std::u16string_view text) {
    return SetWindowsText(reader, EXIF_TAG_XP_SUBJECT, text, reader.Record().strXpSubject);
}

bool SetExifAuthor(MetadataReader& reader, std::u16string_view text) {
    if (!SetWindowsText(reader, EXIF_TAG_XP_AUTHOR, text, reader.Record().strXpAuthor))
        return false;
    reader.CaptionChanges().authors = AuthorList(WideToUtf8(text));
    return true;
}

bool SetExifTitle(MetadataReader& reader, std::u16string_view text) {
    if (!SetWindowsText(reader, EXIF_TAG_XP_TITLE, text, reader.Record().strXpTitle)) return false;
    reader.CaptionChanges().title = WideToUtf8(text);
    return true;
}

bool SetExifComment(MetadataReader& reader, std::u16string_view text) {
    const unsigned int size = WindowsTextSize(text);
    if (text.empty() || !SetWindowsTag(reader, EXIF_TAG_XP_COMMENT, text, size)) return false;
    PhotoRecord& record = reader.Record();
    record.strXpComent = WideToUtf8(text);
    record.szOfComent = static_cast<std::int32_t>(2 * size + 1);
    reader.CaptionChanges().comment = record.strXpComent;
    return true;
}

bool SetExifShotTime(MetadataReader& reader, std::int32_t time) {
    if (!PrepareExifForEdit(reader)) return false;
    const std::optional<LocalWallTime> local = LocalWallTimeOf(time);
    if (!local) return false;
    char text[64] = {};
    std::snprintf(text, sizeof text, "%04d:%02d:%02d %02d:%02d:%02d", local->year, local->month,
                  local->day, local->hour, local->minute, local->second);
    // DateTime belongs in IFD 0; the two EXIF dates in the EXIF IFD.
    const struct {
        ExifTag tag;
        ExifIfd ifd;
    } dates[] = {{EXIF_TAG_DATE_TIME_DIGITIZED, EXIF_IFD_EXIF},
                 {EXIF_TAG_DATE_TIME_ORIGINAL, EXIF_IFD_EXIF},
                 {EXIF_TAG_DATE_TIME, EXIF_IFD_0}};
    for (const auto& date : dates) {
        ExifEntry* entry =
            TextEntry(reader.Exif()->Data(), date.tag, date.ifd, kDateTextSize, kDateTextSize);
        if (!entry) return false;
        std::memcpy(entry->data, text, kDateTextSize - 1);
        entry->data[kDateTextSize - 1] = 0;
        MarkEdited(reader, entry);
        reader.Record().dwDateTime = time;
    }
    // The XMP copies of the shot time, where the file has them.
    char xmpText[64] = {};
    std::snprintf(xmpText, sizeof xmpText, "%04d-%02d-%02dT%02d:%02d:%02d", local->year,
                  local->month, local->day, local->hour, local->minute, local->second);
    const long offsetMinutes = ZoneOffsetMinutes(time, *local);
    char offset[32] = {};  // room for any long the compiler cannot rule out
    std::snprintf(offset, sizeof offset, "%c%02ld:%02ld", offsetMinutes < 0 ? '-' : '+',
                  std::labs(offsetMinutes) / 60, std::labs(offsetMinutes) % 60);
    reader.CaptionChanges().shotTime = xmpText;
    reader.CaptionChanges().shotTimeOffset = offset;
    return true;
}
