#include "generated_library.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "catalogue/catalogue_save.h"
#include "catalogue/folder_stamps.h"
#include "catalogue/library_internals.h"
#include "catalogue/photo_catalogue.h"
#include "catalogue/photo_rows.h"
#include "catalogue/sql_query.h"
#include "catalogue/sql_statement.h"
#include "image/raster_image.h"
#include "platform/data_folder.h"
#include "platform/file_status.h"

namespace {

constexpr int kFolders = 1000;
constexpr int kYears = 15;
constexpr int kModels = 20;
constexpr int kKeywords = 50;
constexpr int kRegions = 30;

const char* const kProvinces[] = {"广东省", "浙江省", "江苏省", "四川省", "北京市", "上海市"};

}  // namespace

std::string GeneratedFolder(const std::string& root, int id) {
    return root + "/" + std::to_string(2010 + id % kYears) + "/album" +
           std::to_string(id % kFolders);
}

std::string GeneratedPath(const std::string& root, int id) {
    return GeneratedFolder(root, id) + "/IMG_" + std::to_string(id) + ".jpg";
}

void GenerateLibrary(Library& library, int photos,
                     const std::vector<std::vector<std::uint8_t>>& thumbnails,
                     const std::string& root, std::int32_t fileTime) {
    BeginTransaction(library);
    CatalogueSession session(library);
    for (int id = 1; id <= photos; ++id) {
        PhotoRecord r;
        const std::string folder = GeneratedFolder(root, id);
        const std::string name = "IMG_" + std::to_string(id) + ".jpg";
        SetField(r.strName, name);
        SetField(r.strPath, folder);
        SetField(r.strFullPath, folder + "/" + name);
        SetField(r.strModel, "Camera " + std::to_string(id % kModels));
        const std::string k1 = "关键词" + std::to_string(id % kKeywords);
        const std::string k2 = "关键词" + std::to_string((id / 7) % kKeywords);
        SetField(r.strXpKeyword, k1 + ";" + k2);
        r.nbKeyword = 1;
        if (id % 10 == 0) SetField(r.strXpSubject, "主题" + std::to_string(id % 13));
        SetField(r.strOrientation, "Top-left");
        r.nWidth = 4000;
        r.nHeight = 3000;
        r.fSize = 4.2f;
        r.dwMTime = fileTime;
        // Spread over 15 years, one photo about every 80 minutes.
        r.dwDateTime =
            1262304000 + static_cast<std::int32_t>((static_cast<std::int64_t>(id) * 4733) %
                                                   (kYears * 31536000LL));
        // Four of five photos carry a position in 100..125 E, 20..45 N.
        if (id % 5 != 0) {
            r.fGPSLongitude = 100 + static_cast<float>(id * 37 % 2500) / 100;
            r.fGPSLatitude = 20 + static_cast<float>(id * 53 % 2500) / 100;
        }
        const int region = id % kRegions;
        RegionNames regions{kProvinces[region % 6], "城市" + std::to_string(region),
                            "区" + std::to_string(region)};
        InsertPhotoRow(library, PhotoRef{id, false}, r,
                       thumbnails[static_cast<std::size_t>(id) % thumbnails.size()], regions);
        for (const std::string& keyword : {k1, k2})
            ExecuteStatement(
                SessionDb(session),
                FormatStatement("insert into tKeyWord(strKeyword,idPic,dwDateTime,fGPSLatitude,"
                                "fGPSLongitude,strModel,strName,strPath) "
                                "values('%s',%lld,%d,%f,%f,'%s','%s','%s')",
                                keyword, static_cast<std::int64_t>(id), r.dwDateTime,
                                r.fGPSLatitude, r.fGPSLongitude, r.strModel, r.strName, r.strPath));
        if (r.strXpSubject[0])
            ExecuteStatement(
                SessionDb(session),
                FormatStatement("insert into tSubject(strSubject,idPic,dwDateTime,strModel,strName,"
                                "strPath) values('%s',%lld,%d,'%s','%s','%s')",
                                r.strXpSubject, static_cast<std::int64_t>(id), r.dwDateTime,
                                r.strModel, r.strName, r.strPath));
        if (id % 100 == 0) {
            CommitTransaction(library);
            BeginTransaction(library);
        }
    }
    CommitTransaction(library);
}

void GenerateLibraryWithFiles(Library& library, int photos, const std::string& root,
                              std::int32_t fileTime) {
    OpenCatalogue(library);
    GenerateLibrary(library, photos, SampleThumbnails(), root, fileTime);
    // Ids 1..lcm(kYears, kFolders) cover every generated folder.
    for (int id = 1; id <= photos; ++id) {
        const std::string path = GeneratedPath(root, id);
        if (id <= kYears * kFolders) std::filesystem::create_directories(GeneratedFolder(root, id));
        std::ofstream(path).put('\0');
        SetFileLastWriteTime(path, fileTime);
    }
    RebuildFolderList(library);
    WriteFolderTable(library);
    SaveCatalogue(library);
    CloseCatalogue(library);
}

std::vector<std::vector<std::uint8_t>> SampleThumbnails() {
    std::vector<std::vector<std::uint8_t>> blobs;
    std::vector<std::uint8_t> rgb(160 * 120 * 3);
    for (int seed = 0; seed < 8; ++seed) {
        for (std::size_t i = 0; i < rgb.size(); ++i)
            rgb[i] = static_cast<std::uint8_t>(i * (seed + 3));
        std::vector<std::uint8_t> jpeg;
        RasterImage::FromRgbTopDown(160, 120, rgb.data()).EncodeJpeg(jpeg);
        blobs.push_back(std::move(jpeg));
    }
    return blobs;
}

void EnsureGeneratedCatalogue(Library& library, const std::string& folder, int photos) {
    SetDataFolder(folder);
    if (std::filesystem::exists(CatalogueFilePath())) return;
    const auto start = std::chrono::steady_clock::now();
    OpenCatalogue(library);
    GenerateLibrary(library, photos, SampleThumbnails());
    SaveCatalogue(library);
    CloseCatalogue(library);
    std::printf("generated %d photos in %.1f s\n", photos,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
}
