#include "metadata/xmp_packet.h"

#include <cmath>
#include <cstdlib>
#include <memory>

#include <exempi/xmp.h>
#include <exempi/xmpconsts.h>

#include "platform/c_locale_numbers.h"

namespace {

constexpr const char* kDc = "http://purl.org/dc/elements/1.1/";
constexpr const char* kXmpBasic = "http://ns.adobe.com/xap/1.0/";
constexpr const char* kPhotoshop = "http://ns.adobe.com/photoshop/1.0/";
constexpr const char* kExifNs = "http://ns.adobe.com/exif/1.0/";
constexpr const char* kLightroom = "http://ns.adobe.com/lightroom/1.0/";
constexpr const char* kDigiKam = "http://www.digikam.org/ns/1.0/";
constexpr const char* kMicrosoftPhoto = "http://ns.microsoft.com/photo/1.0/";

// Exempi wants one initialisation per process before any call; the
// schemas it does not know by itself are registered with it.
bool Initialised() {
    static const bool done = [] {
        if (!xmp_init()) return false;
        const char* const namespaces[][2] = {
            {kLightroom, "lr"}, {kDigiKam, "digiKam"}, {kMicrosoftPhoto, "MicrosoftPhoto"}};
        for (const auto& ns : namespaces) xmp_register_namespace(ns[0], ns[1], nullptr);
        return true;
    }();
    return done;
}

struct XmpFree {
    void operator()(_Xmp* xmp) const { xmp_free(xmp); }
};
using XmpHandle = std::unique_ptr<_Xmp, XmpFree>;

struct XmpStringFree {
    void operator()(_XmpString* s) const { xmp_string_free(s); }
};
struct XmpText {
    std::unique_ptr<_XmpString, XmpStringFree> handle{xmp_string_new()};
    operator XmpStringPtr() const { return handle.get(); }
    std::string Value() const { return xmp_string_cstr(handle.get()); }
};

XmpHandle Parse(std::string_view packet) {
    if (!Initialised()) return nullptr;
    XmpHandle xmp(xmp_new_empty());
    if (!xmp) return nullptr;
    if (!packet.empty() && !xmp_parse(xmp.get(), packet.data(), packet.size())) return nullptr;
    return xmp;
}

std::vector<std::string> ArrayItems(XmpPtr xmp, const char* schema, const char* name) {
    std::vector<std::string> items;
    XmpText item;
    // Indexes count from 1; a hostile packet's array still ends somewhere.
    for (int32_t i = 1; xmp_get_array_item(xmp, schema, name, i, item, nullptr); ++i)
        if (!item.Value().empty()) items.push_back(item.Value());
    return items;
}

std::optional<std::string> AltText(XmpPtr xmp, const char* schema, const char* name) {
    XmpText text;
    if (!xmp_get_localized_text(xmp, schema, name, "", "x-default", nullptr, text, nullptr))
        return std::nullopt;
    return text.Value();
}

void Add(CaptionForms& forms, CaptionField field, CaptionSource source, const char* form,
         std::vector<std::string> items, char leafSeparator = 0) {
    if (!items.empty()) forms.Of(field).push_back({source, form, std::move(items), leafSeparator});
}

void SetArray(XmpPtr xmp, const char* schema, const char* name, std::uint32_t form,
              const std::vector<std::string>& items) {
    xmp_delete_property(xmp, schema, name);
    for (const std::string& item : items)
        xmp_append_array_item(xmp, schema, name, form, item.c_str(), 0);
}

void SetAltText(XmpPtr xmp, const char* schema, const char* name, const std::string& text) {
    if (text.empty())
        xmp_delete_property(xmp, schema, name);
    else
        xmp_set_localized_text(xmp, schema, name, "", "x-default", text.c_str(), 0);
}

// Hierarchical keywords whose leaf the new keywords no longer hold go, so
// that a removed keyword does not come back from the hierarchy.
void KeepHierarchy(XmpPtr xmp, const char* schema, const char* name, char separator,
                   std::uint32_t form, const std::vector<std::string>& keywords) {
    if (!xmp_has_property(xmp, schema, name)) return;
    std::vector<std::string> kept;
    for (std::string& path : ArrayItems(xmp, schema, name))
        for (const std::string& keyword : keywords)
            if (HierarchyLeaf(path, separator) == keyword) {
                kept.push_back(std::move(path));
                break;
            }
    SetArray(xmp, schema, name, form, kept);
}

// True when the packet has the property (and it is set).
bool SetIfPresent(XmpPtr xmp, const char* schema, const char* name, const std::string& value) {
    return xmp_has_property(xmp, schema, name) &&
           xmp_set_property(xmp, schema, name, value.c_str(), 0);
}

// "DDD,MM.mmmmmmK", the XMP form of an EXIF coordinate, in the C locale.
std::string XmpCoordinate(double degrees, char positive, char negative) {
    const double magnitude = std::fabs(degrees);
    const double whole = std::floor(magnitude);
    return std::to_string(static_cast<int>(whole)) + "," + FixedText((magnitude - whole) * 60, 6) +
           (degrees < 0 ? negative : positive);
}

// A date that carries a zone offset keeps one: the local wall-clock time is
// then stated with the offset the photo's time zone has now.
std::string DateLike(XmpPtr xmp, const char* schema, const char* name, const CaptionEdit& edit) {
    XmpText old;
    if (!xmp_get_property(xmp, schema, name, old, nullptr)) return *edit.shotTime;
    const std::string value = old.Value();
    const std::size_t time = value.find('T');
    const bool zoned =
        time != std::string::npos && value.find_first_of("Z+-", time) != std::string::npos;
    return zoned ? *edit.shotTime + edit.shotTimeOffset : *edit.shotTime;
}

// False when the edit changed nothing in the packet (only a date or a
// position the packet has no copy of).
bool ApplyEdit(XmpPtr xmp, const CaptionEdit& edit) {
    constexpr std::uint32_t kBag = XMP_PROP_VALUE_IS_ARRAY;
    constexpr std::uint32_t kSeq = XMP_PROP_VALUE_IS_ARRAY | XMP_PROP_ARRAY_IS_ORDERED;
    bool changed = edit.HasCaptions();
    if (edit.keywords) {
        SetArray(xmp, kDc, "subject", kBag, *edit.keywords);
        KeepHierarchy(xmp, kLightroom, "hierarchicalSubject", kLightroomSeparator, kBag,
                      *edit.keywords);
        KeepHierarchy(xmp, kDigiKam, "TagsList", kDigiKamSeparator, kSeq, *edit.keywords);
        // Explorer's record of the keywords it last wrote follows, or it
        // would take the edit for a change by a program it must undo.
        for (const char* last : {"LastKeywordXMP", "LastKeywordIPTC"})
            if (xmp_has_property(xmp, kMicrosoftPhoto, last))
                SetArray(xmp, kMicrosoftPhoto, last, kBag, *edit.keywords);
    }
    if (edit.title) SetAltText(xmp, kDc, "title", *edit.title);
    if (edit.comment) SetAltText(xmp, kDc, "description", *edit.comment);
    if (edit.authors) SetArray(xmp, kDc, "creator", kSeq, *edit.authors);
    if (edit.shotTime) {
        const std::pair<const char*, const char*> dates[] = {
            {kXmpBasic, "CreateDate"}, {kPhotoshop, "DateCreated"}, {kExifNs, "DateTimeOriginal"}};
        for (const auto& [schema, name] : dates)
            changed = SetIfPresent(xmp, schema, name, DateLike(xmp, schema, name, edit)) || changed;
    }
    if (edit.position) {
        changed = SetIfPresent(xmp, kExifNs, "GPSLatitude",
                               XmpCoordinate(edit.position->latitude, 'N', 'S')) ||
                  changed;
        changed = SetIfPresent(xmp, kExifNs, "GPSLongitude",
                               XmpCoordinate(edit.position->longitude, 'E', 'W')) ||
                  changed;
    }
    return changed;
}

std::optional<std::string> Serialise(XmpPtr xmp, std::uint32_t padding) {
    XmpText packet;
    if (!xmp_serialize(xmp, packet, XMP_SERIAL_ENCODEUTF8, padding)) return std::nullopt;
    return packet.Value();
}

}  // namespace

bool ReadXmpCaptions(std::string_view packet, CaptionForms& forms) {
    XmpHandle handle = Parse(packet);
    if (!handle) return false;
    XmpPtr xmp = handle.get();
    Add(forms, CaptionField::Keywords, CaptionSource::Xmp, "XMP dc:subject",
        ArrayItems(xmp, kDc, "subject"));
    Add(forms, CaptionField::Keywords, CaptionSource::XmpLeaves, "XMP lr:hierarchicalSubject",
        ArrayItems(xmp, kLightroom, "hierarchicalSubject"), kLightroomSeparator);
    Add(forms, CaptionField::Keywords, CaptionSource::XmpLeaves, "XMP digiKam:TagsList",
        ArrayItems(xmp, kDigiKam, "TagsList"), kDigiKamSeparator);
    if (auto title = AltText(xmp, kDc, "title"); title && !title->empty())
        Add(forms, CaptionField::Title, CaptionSource::Xmp, "XMP dc:title", {*title});
    if (auto description = AltText(xmp, kDc, "description"); description && !description->empty())
        Add(forms, CaptionField::Comment, CaptionSource::Xmp, "XMP dc:description", {*description});
    Add(forms, CaptionField::Author, CaptionSource::Xmp, "XMP dc:creator",
        ArrayItems(xmp, kDc, "creator"));
    return true;
}

std::optional<std::string> EditXmpPacket(std::string_view packet, const CaptionEdit& edit) {
    XmpHandle handle = Parse(packet);
    if (!handle) return std::nullopt;
    // A packet the edit does not change keeps its bytes: the toolkit would
    // normalise it when serialising it anew.
    if (!ApplyEdit(handle.get(), edit)) return std::string(packet);
    // Room to grow in place, as XMP writers leave it, unless the segment
    // cannot hold it.
    for (std::uint32_t padding : {2048u, 0u}) {
        std::optional<std::string> text = Serialise(handle.get(), padding);
        if (!text) return std::nullopt;
        if (text->size() <= kMaxXmpPacketBytes) return text;
    }
    return std::nullopt;
}
