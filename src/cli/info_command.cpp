#include <cinttypes>
#include <cstdio>

#include "catalogue/photo_id.h"
#include "cli/cli_commands.h"
#include "metadata/caption_forms.h"
#include "metadata/metadata_reader.h"
#include "platform/c_locale_numbers.h"

namespace {

void PrintText(const char* name, const char* value) {
    std::printf("%-16s %s\n", name, value);
}
void PrintNumber(const char* name, long long value) {
    std::printf("%-16s %lld\n", name, value);
}
void PrintReal(const char* name, double value) {
    std::printf("%-16s %s\n", name, FixedText(value, 6).c_str());
}

const char* StateText(PacketState state) {
    switch (state) {
        case PacketState::Absent:
            return "none";
        case PacketState::Read:
            return "read";
        case PacketState::Unparsable:
            return "cannot be parsed (kept as it is; edits write the XP tags only)";
    }
    return "";
}

// Each caption field's forms in the order reading takes them, so that a
// user can see where a keyword or a caption comes from.
void PrintCaptionForms(const std::string& path) {
    const CaptionForms forms = ReadCaptionForms(path);
    PrintText("XMP", StateText(forms.xmp));
    if (forms.extendedXmp) PrintText("XMP extended", "present");
    PrintText("IPTC", StateText(forms.iptc));
    static const char* const kFieldNames[kCaptionFieldCount] = {"keywords", "title", "comment",
                                                                "author", "subject"};
    for (std::size_t field = 0; field < kCaptionFieldCount; ++field)
        for (const CaptionValue& value : forms.fields[field]) {
            std::string items;
            for (const std::string& item : value.items)
                items += (items.empty() ? "" : " | ") + item;
            std::printf("%-16s %s: %s\n", kFieldNames[field], value.form.c_str(), items.c_str());
        }
}

}  // namespace

// Shows what reading one file gives, without touching the catalogue.
int RunInfo(Library&, const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "darazoz-cli info: name one JPEG file\n");
        return 2;
    }
    MetadataReader reader;
    if (!ReadPhotoFile(reader, args[0], true)) {
        std::fprintf(stderr, "darazoz-cli info: %s cannot be read as a photo\n", args[0].c_str());
        return 1;
    }
    const PhotoRecord& r = reader.Record();
    auto thumbnail = reader.Thumbnail();
    PrintNumber("idPic", ComputePhotoId(thumbnail.data(), thumbnail.size()));
    PrintNumber("thumbnail bytes", static_cast<long long>(thumbnail.size()));
    PrintText("strName", r.strName);
    PrintText("strPath", r.strPath);
    PrintText("strFullPath", r.strFullPath);
    PrintReal("fSize", r.fSize);
    PrintNumber("dwCTime", r.dwCTime);
    PrintNumber("dwMTime", r.dwMTime);
    PrintNumber("dwDateTime", r.dwDateTime);
    PrintReal("fGPSLatitude", r.fGPSLatitude);
    PrintReal("fGPSLongitude", r.fGPSLongitude);
    PrintNumber("nGPSAlititude", r.nGPSAlititude);
    PrintText("strMake", r.strMake);
    PrintText("strModel", r.strModel);
    PrintNumber("nWidth", r.nWidth);
    PrintNumber("nHeight", r.nHeight);
    PrintNumber("nFocalLength", r.nFocalLength);
    PrintReal("fExposureTime", r.fExposureTime);
    PrintReal("fApertureFNumber", r.fApertureFNumber);
    PrintNumber("nISOequivalent", r.nISOequivalent);
    PrintNumber("nFocalplaneXRes", r.nFocalplaneXRes);
    PrintNumber("nFocalplaneYRes", r.nFocalplaneYRes);
    PrintText("strOrientation", r.strOrientation);
    PrintText("strXpTitle", r.strXpTitle);
    PrintText("strXpComent", r.strXpComent.c_str());
    PrintText("strXpAuthor", r.strXpAuthor);
    PrintText("strXpKeyword", r.strXpKeyword);
    PrintNumber("nbKeyword", r.nbKeyword);
    PrintText("strXpSubject", r.strXpSubject);
    PrintCaptionForms(args[0]);
    return 0;
}
