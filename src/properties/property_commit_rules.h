#pragma once
// The rules that turn an editor's text into a grid value: file names,
// authors, keyword lists, numbers with their ranges and the shot time.
// Pure functions over texts, so the dialog and its tests share them.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

// Texts longer than this are refused by the hover commit of the subject,
// author, make, model and keyword rows.
inline constexpr int kMaxFieldTextLength = 100;
// File names longer than this are refused by the hover commit.
inline constexpr int kMaxFileNameLength = 356;

// Where the initial selection of the file-name editor ends: the position of
// the first ".JPG", ".jpg", ".jpeg" or ".JPEG" (tried in that order) when it
// is at least 1, else the text's length.
int FileNameStemLength(const QString& name);

// The hover commit's extension rule: up to the first "." then ".JPG";
// without a "." a trailing "JPG" becomes ".JPG"; else ".JPG" is appended.
QString NormaliseFileNameOnHover(const QString& typed);
// Apply's rule: up to the first "." then ".JPG", else ".JPG" appended.
QString NormaliseFileNameOnApply(const QString& typed);
// Whether name can name a file in a folder: not empty, no separator or NUL,
// not "." or "..", at most 255 bytes in UTF-8. Touches no file.
bool IsUsableFileName(const QString& name);

// Spaces, "；" and "、" become ";", leading ";" go, ";;" collapse, and the
// text ends in ";". An empty text stays empty.
QString NormaliseAuthor(const QString& text);

// The keywords of a list ("a;b", "a;b;", "a; b" alike), as SplitKeywords
// reads them.
QStringList KeywordItems(const QString& list);
// The picker's text ("a; b") as a committed keyword list ("a;b;"); spaces
// inside a keyword stay.
QString NormaliseKeywordText(const QString& pickerText);
// Whether both lists hold the same keywords, in any order.
bool KeywordSetEquals(const QString& a, const QString& b);

// The longitude, latitude and altitude rows.
enum class NumberRowKind { Longitude, Latitude, Altitude };
enum class CommitVariant { Hover, Apply };

struct NumberCommit {
    bool accepted = false;
    QString cellText;  // when accepted: "%.4f" or "%d"
    QString message;   // when refused: the range message
};
// Reads typed as a decimal number (as a whole number for the altitude;
// text that is no number reads 0) and checks the row's range.
NumberCommit CommitNumber(NumberRowKind kind, const QString& typed, CommitVariant variant);

// The shot-time row's text ("2014-03-03 09:05:07") read field by field as
// year (first four characters), month, day, hour, minute and second, each
// up to its separator; nullopt when the text is too short to hold a year.
struct ShotTimeFields {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
std::optional<ShotTimeFields> ParseShotTimeText(const QString& text);
// Those fields as local time in seconds since 1970 UTC; nullopt when they
// name no representable time.
std::optional<std::int32_t> ShotTimeSeconds(const QString& text);
// The notice for a typed shot time that names no time or none the catalogue
// can hold: the form to type and the range, in local time.
QString ShotTimeRefusal(const QString& typed);
