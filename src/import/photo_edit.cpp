#include "import/photo_edit.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "catalogue/folder_stamps.h"
#include "import/photo_refresh.h"
#include "metadata/metadata_reader.h"
#include "platform/native_path.h"
#include "platform/text_codec.h"
#include "record/keyword_list.h"

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
    // Keywords are compared as lists: "a;b" already holds "a;b;".
    if (edit.keywords && !SameKeywords(ToCodePage(*edit.keywords), r.strXpKeyword) &&
        !SetExifKeywords(reader, *edit.keywords))
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

// Reads the photo and applies the edit to the reader. False, with the
// outcome set, when the photo cannot be read or a value is refused.
bool Apply(MetadataReader& reader, const std::string& path, const PhotoEdit& edit,
           PhotoEditResult& result, std::string& destination, bool& positionWritten) {
    result.finalPath = path;
    result.outcome = PhotoEditOutcome::Unreadable;
    if (!ReadPhotoFile(reader, path, false)) return false;
    result.outcome = PhotoEditOutcome::InvalidValue;
    if (!ApplyFields(reader, edit, positionWritten)) return false;
    if (edit.newName && ToCodePage(*edit.newName) != reader.Record().strName) {
        if (!IsUsableName(*edit.newName) || !SetExifTitle(reader, Utf8ToWide(*edit.newName)))
            return false;
        const std::string name = ToCodePage(*edit.newName);
        destination = FolderOfPath(path).empty() ? name : JoinPath(FolderOfPath(path), name);
    }
    return true;
}

// Every photo the program writes passes here once its new file is in
// place, whoever wrote it (the properties dialog, its batch, the track
// workflow, the command-line edit). The folder's new time is taken into the
// folder list, so that the program's own rewrite is not offered as a change
// of the library at the next start, and the catalogue rows follow the file.
void AfterPhotoWritten(Library& library, const PhotoEditTarget& target,
                       const std::string& destination, bool positionWritten,
                       const RegionRoute& regions, PhotoEditResult& result) {
    if (!destination.empty()) result.finalPath = destination;
    RefreshFolderStamp(library, CodePageToUtf8(FolderOfPath(result.finalPath)));
    if (target.catalogued.idPic != 0) {
        result.photoId = RefreshPhotoFromFile(library, result.finalPath, target.catalogued,
                                              positionWritten, regions);
        if (result.photoId == 0) {
            result.outcome = PhotoEditOutcome::RefreshFailed;
            return;
        }
    }
    result.outcome = PhotoEditOutcome::Written;
}

// Photos prepared before one shared flush: their temporary files together
// take at most this many photos' room on the disk.
constexpr std::size_t kFlushGroup = 32;

struct GroupEntry {
    PreparedRewrite rewrite;
    std::string destination;
    bool positionWritten = false;
    bool prepared = false;
};

void WriteGroup(Library& library, std::span<const PhotoEditTarget> targets, const PhotoEdit& edit,
                const RegionRoute& regions, std::span<PhotoEditResult> results) {
    std::vector<GroupEntry> entries(targets.size());
    std::vector<PreparedRewrite*> prepared;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        MetadataReader reader;
        GroupEntry& entry = entries[i];
        if (!Apply(reader, targets[i].path, edit, results[i], entry.destination,
                   entry.positionWritten))
            continue;
        if (!PrepareRewrite(reader, entry.destination, entry.rewrite, &results[i].rewriteFailure)) {
            results[i].outcome = PhotoEditOutcome::RewriteFailed;
            continue;
        }
        results[i].captionsInExifOnly = reader.CaptionsInExifOnly();
        entry.prepared = true;
        prepared.push_back(&entry.rewrite);
    }
    const bool flushed = FlushPreparedRewrites(prepared);
    for (std::size_t i = 0; i < targets.size(); ++i) {
        GroupEntry& entry = entries[i];
        if (!entry.prepared) continue;
        if (!flushed) {
            AbandonRewrite(entry.rewrite);
            results[i].outcome = PhotoEditOutcome::RewriteFailed;
            results[i].rewriteFailure = RewriteFailure::WriteFailed;
        } else if (!CompleteRewrite(entry.rewrite, &results[i].rewriteFailure)) {
            results[i].outcome = PhotoEditOutcome::RewriteFailed;
        } else {
            AfterPhotoWritten(library, targets[i], entry.destination, entry.positionWritten,
                              regions, results[i]);
        }
    }
    FlushRewrittenFolders(prepared);
}

}  // namespace

PhotoEditResult WritePhotoEdit(Library& library, const std::string& path, const PhotoEdit& edit,
                               const PhotoRef& catalogued, const RegionRoute& regions) {
    PhotoEditResult result;
    MetadataReader reader;
    std::string destination;
    bool positionWritten = false;
    if (!Apply(reader, path, edit, result, destination, positionWritten)) return result;
    if (!RewriteJpegExif(reader, destination, &result.rewriteFailure)) {
        result.outcome = PhotoEditOutcome::RewriteFailed;
        return result;
    }
    result.captionsInExifOnly = reader.CaptionsInExifOnly();
    AfterPhotoWritten(library, {path, catalogued}, destination, positionWritten, regions, result);
    return result;
}

std::vector<PhotoEditResult> WritePhotoEdits(Library& library,
                                             std::span<const PhotoEditTarget> targets,
                                             const PhotoEdit& edit, const RegionRoute& regions) {
    // One photo flushes its own file rather than the whole file system,
    // which may hold other programs' unwritten data.
    if (targets.size() == 1)
        return {WritePhotoEdit(library, targets[0].path, edit, targets[0].catalogued, regions)};
    std::vector<PhotoEditResult> results(targets.size());
    for (std::size_t start = 0; start < targets.size(); start += kFlushGroup) {
        const std::size_t count = std::min(kFlushGroup, targets.size() - start);
        WriteGroup(library, targets.subspan(start, count), edit, regions,
                   std::span(results).subspan(start, count));
    }
    return results;
}
