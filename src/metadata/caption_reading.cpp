#include "metadata/caption_reading.h"

#include <algorithm>
#include <cstring>

#include "metadata/exif_document.h"
#include "metadata/exif_tag_reader.h"
#include "metadata/iptc_record.h"
#include "metadata/utf8_text.h"
#include "metadata/xmp_packet.h"
#include "platform/text_codec.h"
#include "record/keyword_list.h"

namespace {

void AddXp(ExifData* exif, ExifTag tag, const char* form, CaptionField field, CaptionForms& forms) {
    std::optional<std::string> text = WholeXpText(exif, tag);
    if (text && !text->empty()) forms.Of(field).push_back({CaptionSource::Exif, form, {*text}});
}

// An ASCII tag's text without the spaces cameras pad it with; a blank or
// non-UTF-8 text says nothing.
void AddAscii(ExifData* exif, ExifTag tag, const char* form, CaptionField field,
              CaptionForms& forms) {
    const ExifEntry* entry = exif_data_get_entry(exif, tag);
    if (!entry || entry->format != EXIF_FORMAT_ASCII || !entry->data) return;
    const auto* bytes = reinterpret_cast<const char*>(entry->data);
    std::string text(bytes, strnlen(bytes, entry->size));
    text.erase(text.find_last_not_of(' ') + 1);
    if (!text.empty() && IsUtf8(text))
        forms.Of(field).push_back({CaptionSource::Exif, form, {text}});
}

template <std::size_t N>
void FillIfEmpty(char (&field)[N], const CaptionForms& forms, CaptionField which) {
    if (field[0] != '\0') return;
    if (std::optional<std::string> text = FirstCaptionText(forms, which))
        Utf8ToCodePage(*text, field, N);
}

// The XP tag's keywords, when every keyword of the other forms is among them.
bool XpHoldsAllKeywords(const CaptionForms& forms) {
    const std::vector<std::string> all = MergedKeywords(forms);
    const std::vector<CaptionValue>& values = forms.Of(CaptionField::Keywords);
    if (values.empty() || values.front().source != CaptionSource::Exif) return all.empty();
    const std::vector<std::string> xp = SplitKeywords(values.front().items.front());
    return all.size() == xp.size();
}

}  // namespace

CaptionForms CollectCaptionForms(ExifData* exif, const JpegHead& head) {
    CaptionForms forms;
    if (exif) {
        AddXp(exif, EXIF_TAG_XP_KEYWORDS, "XPKeywords", CaptionField::Keywords, forms);
        AddXp(exif, EXIF_TAG_XP_TITLE, "XPTitle", CaptionField::Title, forms);
        AddXp(exif, EXIF_TAG_XP_COMMENT, "XPComment", CaptionField::Comment, forms);
        AddXp(exif, EXIF_TAG_XP_AUTHOR, "XPAuthor", CaptionField::Author, forms);
        AddXp(exif, EXIF_TAG_XP_SUBJECT, "XPSubject", CaptionField::Subject, forms);
    }
    if (!head.xmpPacket.empty())
        forms.xmp =
            ReadXmpCaptions(head.xmpPacket, forms) ? PacketState::Read : PacketState::Unparsable;
    forms.extendedXmp = head.hasExtendedXmp;
    if (!head.photoshopResources.empty())
        forms.iptc = ReadIptcCaptions(head.photoshopResources, forms);
    // The plain EXIF texts come last, and count only in files that another
    // program's captions went into: in camera files they hold placeholders
    // ("OLYMPUS DIGITAL CAMERA") that would become every photo's subject.
    if (exif && (forms.xmp != PacketState::Absent || forms.iptc != PacketState::Absent)) {
        AddAscii(exif, EXIF_TAG_ARTIST, "Artist", CaptionField::Author, forms);
        AddAscii(exif, EXIF_TAG_IMAGE_DESCRIPTION, "ImageDescription", CaptionField::Subject,
                 forms);
    }
    return forms;
}

void ApplyCaptionForms(const CaptionForms& forms, PhotoRecord& record) {
    if (!XpHoldsAllKeywords(forms)) StoreKeywordText(JoinKeywords(MergedKeywords(forms)), record);
    FillIfEmpty(record.strXpTitle, forms, CaptionField::Title);
    FillIfEmpty(record.strXpAuthor, forms, CaptionField::Author);
    FillIfEmpty(record.strXpSubject, forms, CaptionField::Subject);
    if (record.szOfComent == 0) {
        if (std::optional<std::string> text = FirstCaptionText(forms, CaptionField::Comment)) {
            record.strXpComent = *text;
            record.szOfComent = static_cast<std::int32_t>(text->size() + 1);
        }
    }
}

std::optional<std::string> WholeKeywordText(ExifData* exif, const CaptionForms& forms) {
    if (!XpHoldsAllKeywords(forms)) return JoinKeywords(MergedKeywords(forms));
    return exif ? WholeXpText(exif, EXIF_TAG_XP_KEYWORDS) : std::nullopt;
}

std::vector<std::string> MergedKeywords(const CaptionForms& forms) {
    std::vector<std::string> keywords;
    auto add = [&keywords](const std::string& keyword) {
        if (std::find(keywords.begin(), keywords.end(), keyword) == keywords.end())
            keywords.push_back(keyword);
    };
    const std::vector<CaptionValue>& values = forms.Of(CaptionField::Keywords);
    for (const CaptionValue& value : values)
        if (value.source != CaptionSource::XmpLeaves)
            for (const std::string& item : value.items)
                for (const std::string& keyword : SplitKeywords(item)) add(keyword);
    for (const CaptionValue& value : values)
        if (value.source == CaptionSource::XmpLeaves)
            for (const std::string& path : value.items)
                for (const std::string& keyword :
                     SplitKeywords(HierarchyLeaf(path, value.leafSeparator)))
                    add(keyword);
    return keywords;
}

std::string HierarchyLeaf(const std::string& path, char separator) {
    const std::size_t cut = path.rfind(separator);
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::optional<std::string> FirstCaptionText(const CaptionForms& forms, CaptionField field) {
    for (const CaptionValue& value : forms.Of(field)) {
        std::string text;
        for (const std::string& item : value.items) {
            if (item.empty()) continue;
            if (!text.empty()) text += ';';
            text += item;
        }
        if (!text.empty()) return text;
    }
    return std::nullopt;
}

CaptionForms ReadCaptionForms(const std::string& path) {
    JpegHead head;
    if (!ReadJpegHead(CodePageToUtf8(path), head)) return {};
    std::unique_ptr<ExifDocument> exif;
    if (!head.exifPayload.empty())
        exif = ExifDocument::Load(head.exifPayload.data(), head.exifPayload.size());
    return CollectCaptionForms(exif ? exif->Data() : nullptr, head);
}
