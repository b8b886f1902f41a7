#pragma once
// A temporary data folder made current for one test; the catalogue is closed
// and the process flags cleared before and after.

#include <QTemporaryDir>

#include "catalogue/photo_catalogue.h"
#include "catalogue/process_flags.h"
#include "platform/data_folder.h"

class AppTestFolder {
  public:
    AppTestFolder() {
        Reset();
        SetDataFolder(folder_.path().toStdString());
    }
    ~AppTestFolder() { Reset(); }
    QString Path() const { return folder_.path(); }
    QString CatalogueFile() const { return QString::fromStdString(CatalogueFilePath()); }

  private:
    static void Reset() {
        CloseCatalogue();
        CatalogueModified = false;
        ExitRequested = false;
    }
    QTemporaryDir folder_;
};
