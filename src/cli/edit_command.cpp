#include <cstdio>
#include <filesystem>

#include "catalogue/catalogue_save.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/photo_path_lookup.h"
#include "catalogue/process_flags.h"
#include "cli/cli_commands.h"
#include "cli/edit_arguments.h"
#include "import/photo_edit.h"

namespace {

std::string RewriteReason(RewriteFailure failure, const std::string& newName) {
    switch (failure) {
        case RewriteFailure::DestinationOccupied:
            return "a file named " + newName + " already exists";
        case RewriteFailure::SegmentTooLarge:
            return "its EXIF data would grow beyond the 64 KiB one JPEG segment holds";
        case RewriteFailure::WriteFailed:
            return "the new file could not be written (no permission or the disk is full)";
        case RewriteFailure::ReplaceFailed:
            return "the new file could not be put in place of the old one";
        case RewriteFailure::TrailerOffsets:
            return "it ends in an AFCP trailer whose offsets do not add up, so they could not be "
                   "moved with the new EXIF data";
        case RewriteFailure::WouldNotReadBack:
            return "its EXIF data is damaged so that the edit would not read back; the file is "
                   "left as it was";
        case RewriteFailure::NotLoaded:
        case RewriteFailure::Unreadable:
        case RewriteFailure::None:
            break;
    }
    return "the file could not be read again for writing";
}

std::string FailureReason(const PhotoEditResult& result, const PhotoEdit& edit) {
    switch (result.outcome) {
        case PhotoEditOutcome::Unreadable:
            return "cannot be read as a JPEG photo";
        case PhotoEditOutcome::InvalidValue:
            return "a value cannot be written (an empty text cannot replace one the file has; "
                   "a new name must not contain a folder)";
        case PhotoEditOutcome::RewriteFailed:
            return "not changed: " +
                   RewriteReason(result.rewriteFailure, edit.newName.value_or(""));
        case PhotoEditOutcome::RefreshFailed:
            return "written, but its catalogue rows could not be read back from the file";
        case PhotoEditOutcome::Written:
            break;
    }
    return "";
}

}  // namespace

// Writes the given fields into each file with the same core as the
// properties dialog; catalogued photos get their rows refreshed and the
// catalogue is saved once at the end.
int RunEdit(Library& library, const std::vector<std::string>& args) {
    EditArguments arguments;
    std::string error;
    if (!ParseEditArguments(args, arguments, error)) {
        std::fprintf(stderr, "darazoz-cli edit: %s\n", error.c_str());
        return 2;
    }
    if (!OpenCatalogueOrReport(library)) return 1;
    std::vector<PhotoEditTarget> targets;
    for (const std::string& file : arguments.files) {
        std::error_code ec;
        PhotoEditTarget target;
        target.path = std::filesystem::absolute(file, ec).lexically_normal().string();
        target.catalogued = FindPhotoByPath(library, target.path).value_or(PhotoRef{});
        targets.push_back(std::move(target));
    }
    const std::vector<PhotoEditResult> results =
        WritePhotoEdits(library, targets, arguments.edit, {nullptr, library.PendingRegions()});
    int failed = 0;
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (results[i].Succeeded() && results[i].captionsInExifOnly)
            std::fprintf(stderr,
                         "%s: written into the Windows XP tags only: its XMP or IPTC data cannot "
                         "be parsed (or would outgrow its segment) and was left as it was\n",
                         arguments.files[i].c_str());
        if (results[i].Succeeded()) continue;
        ++failed;
        std::fprintf(stderr, "%s: %s\n", arguments.files[i].c_str(),
                     FailureReason(results[i], arguments.edit).c_str());
    }
    if (library.Modified() && SaveCatalogue(library) != 0) return ReportSaveFailure();
    const std::size_t queued = library.PendingRegions().Size();
    if (queued > 0)
        std::fprintf(stderr,
                     "%zu photos with a new position wait for their region names "
                     "(the companion map was not running)\n",
                     queued);
    return failed == 0 ? 0 : 1;
}
