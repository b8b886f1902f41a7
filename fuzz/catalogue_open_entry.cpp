#include <filesystem>
#include <optional>

#include "catalogue/catalogue_rows.h"
#include "catalogue/folder_stamps.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/photo_rows.h"
#include "fuzz_entries.h"
#include "fuzz_scratch.h"
#include "platform/data_folder.h"

namespace {

constexpr const char* kFirstPhotoId = "select min(idPic) from tJpgMsg";

}  // namespace

int FuzzCatalogueOpen(const std::uint8_t* data, std::size_t size) {
    static const std::string folder = ScratchPath("data");
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    std::filesystem::create_directories(folder, error);
    SetDataFolder(folder);
    if (!WriteScratchFile(CatalogueFilePath(), data, size)) return 0;

    Library library;
    if (OpenCatalogue(library)) {
        CountPhotosNow(library);
        LoadFolderList(library);
        std::optional<std::int64_t> first;
        {
            CatalogueSession session(library);
            if (session.ok()) first = QueryInt64(session, kFirstPhotoId);
        }
        PhotoRecord record;
        if (first) LoadPhotoRecord(library, PhotoRef{*first, false}, record);
    }
    return 0;
}
