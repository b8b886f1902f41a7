#pragma once
// The captions of a photo (keywords, title, comment, author, subject) in
// every form a file may hold them: the Windows XP tags and other EXIF tags,
// XMP (as Lightroom, digiKam, phones and Explorer write it) and IPTC IIM
// (as cameras and older tools write it). Reading takes each field from
// them in a fixed precedence; an edit writes every form the file has.
//
// Plain data; any thread.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class CaptionField { Keywords, Title, Comment, Author, Subject };
inline constexpr std::size_t kCaptionFieldCount = 5;

enum class CaptionSource {
    Exif,       // an EXIF tag: XPKeywords and its siblings, Artist, ImageDescription
    Xmp,        // dc:subject, dc:title, dc:description, dc:creator
    XmpLeaves,  // hierarchical keywords ("A|B|C", "A/B/C"): only their leaves count
    Iptc,       // IPTC IIM datasets of record 2
};

// One form's value of one field: items are the keywords one by one, the
// authors one by one, or a single text.
struct CaptionValue {
    CaptionSource source = CaptionSource::Exif;
    std::string form;  // how the file names it: "XPKeywords", "XMP dc:subject", "IPTC Keywords"
    std::vector<std::string> items;
    char leafSeparator = 0;  // of XmpLeaves items
};

enum class PacketState { Absent, Read, Unparsable };

struct CaptionForms {
    // Per field, the forms the file holds, in reading precedence.
    std::array<std::vector<CaptionValue>, kCaptionFieldCount> fields;
    PacketState xmp = PacketState::Absent;
    PacketState iptc = PacketState::Absent;
    bool extendedXmp = false;

    const std::vector<CaptionValue>& Of(CaptionField field) const {
        return fields[static_cast<std::size_t>(field)];
    }
    std::vector<CaptionValue>& Of(CaptionField field) {
        return fields[static_cast<std::size_t>(field)];
    }
};

// The keywords the forms give together: the keywords of every form in
// first-seen order without repeats (a keyword holding ";" split there),
// then the leaf of each hierarchical keyword not already among them.
std::vector<std::string> MergedKeywords(const CaptionForms& forms);

// The leaf of a hierarchical keyword: the text after its last separator
// ('|' in lr:hierarchicalSubject, '/' in digiKam:TagsList).
std::string HierarchyLeaf(const std::string& path, char separator);
inline constexpr char kLightroomSeparator = '|';
inline constexpr char kDigiKamSeparator = '/';

// The first non-empty text of a field among the forms, items joined by ";".
std::optional<std::string> FirstCaptionText(const CaptionForms& forms, CaptionField field);

// The forms of the file at path (UTF-8 or code page). Empty forms when it
// cannot be read.
CaptionForms ReadCaptionForms(const std::string& path);

// What an edit of captions writes into XMP and IPTC besides the EXIF tags.
// Unset fields are left alone; dates and positions are written only where
// the file already holds them.
struct CaptionEdit {
    std::optional<std::vector<std::string>> keywords;
    std::optional<std::string> title;
    std::optional<std::string> comment;
    std::optional<std::vector<std::string>> authors;
    std::optional<std::string> shotTime;  // local wall-clock "YYYY-MM-DDThh:mm:ss"
    std::string shotTimeOffset;           // the local zone's offset then, "+08:00"
    struct Position {
        double latitude = 0;   // degrees, negative south
        double longitude = 0;  // degrees, negative west
    };
    std::optional<Position> position;

    bool HasCaptions() const { return keywords || title || comment || authors; }
    bool Empty() const { return !HasCaptions() && !shotTime && !position; }
};
