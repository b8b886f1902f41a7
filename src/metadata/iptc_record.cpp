#include "metadata/iptc_record.h"

#include <cstring>
#include <memory>
#include <string>

#include <libiptcdata/iptc-data.h>
#include <libiptcdata/iptc-dataset.h>
#include <openssl/evp.h>

#include "metadata/photoshop_resources.h"
#include "metadata/utf8_text.h"
#include "platform/text_codec.h"

namespace {

struct IptcFree {
    void operator()(IptcData* data) const { iptc_data_unref(data); }
};
using IptcHandle = std::unique_ptr<IptcData, IptcFree>;

// A dataset's record and tag numbers. libiptcdata keeps them in enums that
// a file's numbers may lie outside of, so they are read as the integers
// they are.
unsigned RecordOf(const IptcDataSet* dataset) {
    unsigned value = 0;
    static_assert(sizeof value == sizeof dataset->record);
    std::memcpy(&value, &dataset->record, sizeof value);
    return value;
}

unsigned TagOf(const IptcDataSet* dataset) {
    unsigned value = 0;
    static_assert(sizeof value == sizeof dataset->tag);
    std::memcpy(&value, &dataset->tag, sizeof value);
    return value;
}

// Whether every dataset's stated length lies within the record. libiptcdata
// takes an extended length (its top bit set, the length in the next bytes)
// as it stands and copies that many bytes: four gigabytes from a 50-byte
// hostile record.
bool DatasetsFit(std::span<const std::uint8_t> iim) {
    std::size_t pos = 0;
    // The datasets end at the first byte that does not start one (padding).
    while (pos < iim.size() && iim[pos] == 0x1C) {
        if (iim.size() - pos < 5) return false;
        std::size_t length = std::size_t{iim[pos + 3]} << 8 | iim[pos + 4];
        pos += 5;
        if (length & 0x8000) {
            const std::size_t bytes = length & 0x7FFF;
            if (bytes > 4 || iim.size() - pos < bytes) return false;
            length = 0;
            for (std::size_t i = 0; i < bytes; ++i) length = length << 8 | iim[pos + i];
            pos += bytes;
        }
        if (length > iim.size() - pos) return false;
        pos += length;
    }
    return true;
}

struct Record {
    IptcHandle data;
    std::vector<PhotoshopResource> resources;
    const PhotoshopResource* iptc = nullptr;
};

// Absent: no IPTC resource; Unparsable: the stream or the record is broken.
PacketState Load(std::span<const std::uint8_t> stream, Record& record) {
    std::optional<std::vector<PhotoshopResource>> resources = ParsePhotoshopResources(stream);
    if (!resources) return PacketState::Unparsable;
    record.resources = std::move(*resources);
    record.iptc = FindResource(record.resources, kIptcResource);
    if (!record.iptc) return PacketState::Absent;
    record.data.reset(iptc_data_new());
    if (!record.data) return PacketState::Unparsable;
    const auto iim = stream.subspan(record.iptc->dataStart, record.iptc->dataSize);
    if (!DatasetsFit(iim) ||
        (!iim.empty() &&
         iptc_data_load(record.data.get(), iim.data(), static_cast<unsigned int>(iim.size())) != 0))
        return PacketState::Unparsable;
    return PacketState::Read;
}

// Records without a coded character set are often UTF-8 all the same;
// anything else is taken as Latin-1, the IIM's customary coding.
std::string TextOf(const IptcDataSet* dataset, bool utf8) {
    std::string text(reinterpret_cast<const char*>(dataset->data), dataset->size);
    if (utf8 || IsUtf8(text)) return text;
    std::string converted;
    for (unsigned char c : text) AppendUtf8(converted, c);
    return converted;
}

std::vector<std::string> Texts(IptcData* data, IptcTag tag) {
    const bool utf8 = iptc_data_get_encoding(data) == IPTC_ENCODING_UTF8;
    std::vector<std::string> texts;
    for (unsigned int i = 0; i < data->count; ++i) {
        const IptcDataSet* dataset = data->datasets[i];
        if (RecordOf(dataset) == IPTC_RECORD_APP_2 && TagOf(dataset) == tag && dataset->size > 0)
            texts.push_back(TextOf(dataset, utf8));
    }
    return texts;
}

void Add(CaptionForms& forms, CaptionField field, const char* form,
         std::vector<std::string> items) {
    if (!items.empty()) forms.Of(field).push_back({CaptionSource::Iptc, form, std::move(items)});
}

// Declares the record UTF-8, converting the texts it held in another coding.
void MakeUtf8(IptcData* data) {
    if (iptc_data_get_encoding(data) == IPTC_ENCODING_UTF8) return;
    for (unsigned int i = 0; i < data->count; ++i) {
        IptcDataSet* dataset = data->datasets[i];
        if (RecordOf(dataset) != IPTC_RECORD_APP_2 ||
            iptc_dataset_get_format(dataset) != IPTC_FORMAT_STRING)
            continue;
        const std::string text = TextOf(dataset, false);
        iptc_dataset_set_data(dataset, reinterpret_cast<const unsigned char*>(text.data()),
                              static_cast<unsigned int>(text.size()), IPTC_DONT_VALIDATE);
    }
    // The coded character set (1:90) "ESC % G" goes first: record 1 comes
    // before record 2.
    static const unsigned char kUtf8[] = {0x1B, 0x25, 0x47};
    // Both calls hand over a reference of their own.
    IptcDataSet* set = iptc_data_get_dataset(data, IPTC_RECORD_OBJECT_ENV, IPTC_TAG_CHARACTER_SET);
    const bool created = set == nullptr;
    if (created) set = iptc_dataset_new();
    if (!set) return;
    iptc_dataset_set_tag(set, IPTC_RECORD_OBJECT_ENV, IPTC_TAG_CHARACTER_SET);
    iptc_dataset_set_data(set, kUtf8, sizeof kUtf8, IPTC_DONT_VALIDATE);
    if (created && data->count > 0)
        iptc_data_add_dataset_before(data, data->datasets[0], set);
    else if (created)
        iptc_data_add_dataset(data, set);
    iptc_dataset_unref(set);
}

// Replaces every dataset of tag with one per text, where the first of them
// was (or at the end of record 2), in order.
void SetTexts(IptcData* data, IptcTag tag, const std::vector<std::string>& texts) {
    IptcDataSet* after = nullptr;
    for (unsigned int i = 0; i < data->count;) {
        IptcDataSet* dataset = data->datasets[i];
        if (RecordOf(dataset) == IPTC_RECORD_APP_2 && TagOf(dataset) == tag) {
            iptc_data_remove_dataset(data, dataset);
            continue;
        }
        if (RecordOf(dataset) <= IPTC_RECORD_APP_2) after = dataset;
        ++i;
    }
    for (const std::string& text : texts) {
        if (text.empty()) continue;
        IptcDataSet* dataset = iptc_dataset_new();
        if (!dataset) return;
        iptc_dataset_set_tag(dataset, IPTC_RECORD_APP_2, tag);
        iptc_dataset_set_data(dataset, reinterpret_cast<const unsigned char*>(text.data()),
                              static_cast<unsigned int>(text.size()), IPTC_DONT_VALIDATE);
        if (after)
            iptc_data_add_dataset_after(data, after, dataset);
        else
            iptc_data_add_dataset(data, dataset);
        after = dataset;
        iptc_dataset_unref(dataset);
    }
}

std::vector<std::uint8_t> Md5(std::span<const std::uint8_t> bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE] = {};
    unsigned int length = 0;
    static const std::uint8_t kNothing = 0;
    EVP_Digest(bytes.empty() ? &kNothing : bytes.data(), bytes.size(), digest, &length, EVP_md5(),
               nullptr);
    return std::vector<std::uint8_t>(digest, digest + length);
}

std::vector<std::string> Optional(const std::optional<std::string>& text) {
    return text && !text->empty() ? std::vector<std::string>{*text} : std::vector<std::string>{};
}

}  // namespace

PacketState ReadIptcCaptions(std::span<const std::uint8_t> stream, CaptionForms& forms) {
    Record record;
    const PacketState state = Load(stream, record);
    if (state != PacketState::Read) return state;
    IptcData* data = record.data.get();
    Add(forms, CaptionField::Keywords, "IPTC Keywords", Texts(data, IPTC_TAG_KEYWORDS));
    Add(forms, CaptionField::Title, "IPTC ObjectName", Texts(data, IPTC_TAG_OBJECT_NAME));
    Add(forms, CaptionField::Comment, "IPTC Caption-Abstract", Texts(data, IPTC_TAG_CAPTION));
    Add(forms, CaptionField::Author, "IPTC By-line", Texts(data, IPTC_TAG_BYLINE));
    return PacketState::Read;
}

std::optional<std::vector<std::uint8_t>> EditIptcStream(std::span<const std::uint8_t> stream,
                                                        const CaptionEdit& edit) {
    Record record;
    if (Load(stream, record) != PacketState::Read) return std::nullopt;
    IptcData* data = record.data.get();
    MakeUtf8(data);
    if (edit.keywords) SetTexts(data, IPTC_TAG_KEYWORDS, *edit.keywords);
    if (edit.title) SetTexts(data, IPTC_TAG_OBJECT_NAME, Optional(edit.title));
    if (edit.comment) SetTexts(data, IPTC_TAG_CAPTION, Optional(edit.comment));
    if (edit.authors) SetTexts(data, IPTC_TAG_BYLINE, *edit.authors);

    unsigned char* saved = nullptr;
    unsigned int savedSize = 0;
    if (iptc_data_save(data, &saved, &savedSize) != 0) return std::nullopt;
    const std::vector<std::uint8_t> iim(saved, saved + savedSize);
    iptc_data_free_buf(data, saved);

    const auto oldIim = stream.subspan(record.iptc->dataStart, record.iptc->dataSize);
    const PhotoshopResource* digest = FindResource(record.resources, kIptcDigestResource);
    const bool digestMatched =
        digest && Md5(oldIim) == std::vector<std::uint8_t>(
                                     stream.begin() + digest->dataStart,
                                     stream.begin() + digest->dataStart + digest->dataSize);
    std::vector<std::uint8_t> edited =
        ReplaceResource(stream, record.resources, kIptcResource, iim);
    if (!digestMatched) return edited;
    const std::optional<std::vector<PhotoshopResource>> resources = ParsePhotoshopResources(edited);
    if (!resources) return std::nullopt;
    return ReplaceResource(edited, *resources, kIptcDigestResource, Md5(iim));
}
