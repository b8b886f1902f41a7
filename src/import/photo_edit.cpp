#include "import/photo_edit.h"

#include <cstring>
#include <vector>

#include "import/photo_refresh.h"
#include "metadata/metadata_reader.h"
#include "platform/native_path.h"
#include "platform/text_codec.h"

namespace {

// The text in the code page, as the record's fields hold it.
std::string ToCodePage(const std::string& utf8) {
    std::vector<char> buffer(utf8.size() + 1);
    std::size_t length = Utf8ToCodePage(utf8, buffer.data(), buffer.size());
    return std::string(buffer.data(), length);
}

bool Differs(const std::optional<std::string>& text, const char* field) {
    return text && ToCodePage(*text) != field;
}

// A file name the rename can use: not empty, no folder part.
bool IsUsableName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find(kPathSeparator) == std::string::npos && name.find('\0') == std::string::npos;
}

// Applies the fields that differ from what the file holds to the reader.
// False when a setter refuses its value.
bool ApplyFields(MetadataReader& reader, const PhotoEdit& edit, bool& positionWritten) {
    const PhotoRecord& r = reader.Record();
    if (Differs(edit.subject, r.strXpSubject) && !SetExifSubject(reader, Utf8ToWide(*edit.subject)))
        return false;
    if (Differs(edit.keywords, r.strXpKeyword) && !SetExifKeywords(reader, *edit.keywords))
        return false;
    if (Differs(edit.author, r.strXpAuthor) && !SetExifAuthor(reader, Utf8ToWide(*edit.author)))
        return false;
    // The comment is written unless the file holds the same one; an empty
    // comment for a file without any leaves it without.
    const bool hasComment = r.szOfComent > 0;
    if (edit.comment && !(hasComment && ToCodePage(*edit.comment) == r.strXpComent) &&
        !(!hasComment && edit.comment->empty()) &&
        !SetExifComment(reader, Utf8ToWide(*edit.comment)))
        return false;
    if (edit.position) {
        if (!SetExifPosition(reader, edit.position->latitude, edit.position->longitude,
                             edit.position->altitude))
            return false;
        positionWritten = true;
    }
    if (edit.shotTime && !SetExifShotTime(reader, *edit.shotTime)) return false;
    if (Differs(edit.make, r.strMake) && !SetExifMake(reader, *edit.make)) return false;
    if (Differs(edit.model, r.strModel) && !SetExifModel(reader, *edit.model)) return false;
    return true;
}

}  // namespace

PhotoEditResult WritePhotoEdit(const std::string& path, const PhotoEdit& edit,
                               std::int64_t catalogueId, bool isDuplicate) {
    PhotoEditResult result;
    result.finalPath = path;
    MetadataReader reader;
    if (!ReadPhotoFile(reader, path, false)) return result;  // Unreadable

    bool positionWritten = false;
    result.outcome = PhotoEditOutcome::InvalidValue;
    if (!ApplyFields(reader, edit, positionWritten)) return result;
    std::string destination;
    if (edit.newName && ToCodePage(*edit.newName) != reader.Record().strName) {
        if (!IsUsableName(*edit.newName) || !SetExifTitle(reader, Utf8ToWide(*edit.newName)))
            return result;
        destination = JoinPath(FolderOfPath(path), ToCodePage(*edit.newName));
        if (FolderOfPath(path).empty()) destination = ToCodePage(*edit.newName);
    }
    if (!RewriteJpegExif(reader, destination, &result.rewriteFailure)) {
        result.outcome = PhotoEditOutcome::RewriteFailed;
        return result;
    }
    if (!destination.empty()) result.finalPath = destination;
    if (catalogueId != 0) {
        result.photoId =
            RefreshPhotoFromFile(result.finalPath, catalogueId, isDuplicate, positionWritten);
        if (result.photoId == 0) {
            result.outcome = PhotoEditOutcome::RefreshFailed;
            return result;
        }
    }
    result.outcome = PhotoEditOutcome::Written;
    return result;
}
