#pragma once
// A fresh data folder (root/data, not yet created) made current for one
// test, with a library of its own (not yet opened) and the exit flag
// cleared before and after. The suites of the catalogue, the import, the trees, the view and the
// shell build their fixtures on it.

#include <string>

#include "catalogue/photo_catalogue.h"
#include "record/photo_record.h"
#include "temp_folder.h"

class FreshCatalogue {
  public:
    FreshCatalogue();
    ~FreshCatalogue();
    FreshCatalogue(const FreshCatalogue&) = delete;
    FreshCatalogue& operator=(const FreshCatalogue&) = delete;

    // The temporary folder that holds the data folder; removed at the end.
    const std::string& Root() const { return root_.Path(); }
    std::string DataFolder() const { return root_.File("data"); }
    Library& library() { return library_; }

  private:
    TempFolder root_;
    Library library_;
};

// A record of a photo file at folder/name (the file need not exist).
PhotoRecord RecordOf(const std::string& folder, const std::string& name);
