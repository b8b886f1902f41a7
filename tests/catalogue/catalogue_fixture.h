#pragma once
// Gives each test a fresh, empty data folder and a closed catalogue.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "catalogue/photo_catalogue.h"
#include "catalogue/process_flags.h"
#include "platform/data_folder.h"
#include "record/photo_record.h"

class CatalogueTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() /
                ("dz-catalogue-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_);
        SetDataFolder((root_ / "data").string());
        CloseCatalogue();
        CatalogueModified = false;
    }
    void TearDown() override {
        CloseCatalogue();
        std::filesystem::remove_all(root_);
    }

    std::string Root() const { return root_.string(); }

    // A record for a photo file at folder/name (the file need not exist).
    static PhotoRecord MakeRecord(const std::string& folder, const std::string& name) {
        PhotoRecord r;
        SetField(r.strName, name);
        SetField(r.strPath, folder);
        SetField(r.strFullPath, folder + "/" + name);
        r.dwDateTime = 1337000000;
        r.fGPSLatitude = 39.9f;
        r.fGPSLongitude = 116.4f;
        SetField(r.strModel, "Model X");
        return r;
    }

    std::filesystem::path root_;
};
