#pragma once
// A temporary data folder made current for one test, with a library of its
// own and the exit flag cleared before and after.

#include <QString>
#include <filesystem>

#include "catalogue/photo_catalogue.h"
#include "catalogue/process_flags.h"
#include "fresh_catalogue.h"

class AppTestFolder {
  public:
    AppTestFolder() { std::filesystem::create_directories(fresh_.DataFolder()); }
    QString Path() const { return QString::fromStdString(fresh_.DataFolder()); }
    QString CatalogueFile() const { return QString::fromStdString(CatalogueFilePath()); }
    Library& library() { return fresh_.library(); }

  private:
    FreshCatalogue fresh_;
};
