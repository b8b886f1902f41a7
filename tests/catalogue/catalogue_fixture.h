#pragma once
// Gives each test a fresh, empty data folder and a closed catalogue.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "catalogue/photo_catalogue.h"
#include "catalogue/process_flags.h"
#include "fresh_catalogue.h"
#include "platform/data_folder.h"
#include "record/photo_record.h"

class CatalogueTest : public ::testing::Test {
  protected:
    Library& library() { return fresh_.library(); }
    std::string Root() const { return fresh_.Root(); }

    // A record for a photo file at folder/name (the file need not exist).
    static PhotoRecord MakeRecord(const std::string& folder, const std::string& name) {
        PhotoRecord r = RecordOf(folder, name);
        r.dwDateTime = 1337000000;
        r.fGPSLatitude = 39.9f;
        r.fGPSLongitude = 116.4f;
        SetField(r.strModel, "Model X");
        return r;
    }

    FreshCatalogue fresh_;
};
